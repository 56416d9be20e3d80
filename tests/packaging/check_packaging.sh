#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what `cmake --install` and `cpack -G DEB` make of a finished build:
# exactly the program's files and no helper or test program, the theme icons
# at their sizes and still pixel for pixel the 32x32 picture, desktop files
# the freedesktop validators accept, manual pages man renders without a
# warning, a changelog whose newest entry is the AppStream release, and a
# package that depends on the Qt libraries the programs load and that lintian
# finds nothing wrong with.
#
# Usage: check_packaging.sh BUILD_FOLDER APP_ID VERSION
set -euo pipefail

build=$1
app_id=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected=$(LC_ALL=C sort <<EOF_FILES
usr/bin/kostwerk
usr/bin/kostwerk-dump
usr/share/applications/$app_id.desktop
usr/share/metainfo/$app_id.metainfo.xml
usr/share/icons/hicolor/32x32/apps/kostwerk.png
usr/share/icons/hicolor/48x48/apps/kostwerk.png
usr/share/icons/hicolor/64x64/apps/kostwerk.png
usr/share/icons/hicolor/128x128/apps/kostwerk.png
usr/share/doc/kostwerk/copyright
usr/share/doc/kostwerk/changelog.gz
usr/share/man/man1/kostwerk.1.gz
usr/share/man/man1/kostwerk-dump.1.gz
usr/share/man/de/man1/kostwerk.1.gz
usr/share/man/de/man1/kostwerk-dump.1.gz
EOF_FILES
)

passed=0
failed=0
check() {
  local what=$1
  shift
  if output=$("$@" 2>&1); then
    echo "PASS: $what"
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    [ -z "$output" ] || sed 's/^/    /' <<<"$output"
    failed=$((failed + 1))
  fi
}

same_files() {  # LISTING: the files found, one per line
  diff -u --label expected --label found <(echo "$expected") <(LC_ALL=C sort <<<"$1")
}

icon_has_size() {  # FILE SIZE
  local description
  description=$(file -b "$1") || return 1
  [[ $description == "PNG image data, $2 x $2,"* ]] || { echo "$1: $description"; return 1; }
}

icon_repeats_pixels() {  # LARGE_ICON SMALL_ICON: every pixel of the small one, repeated
  local small large
  small=$(identify -format '%#' "$2") || return 1
  large=$(convert "$1" -sample 32x32 -format '%#' info:) || return 1
  [ "$small" = "$large" ] || { echo "$1 is not $2 with its pixels repeated"; return 1; }
}

desktop_file_is_clean() {  # FILE: no error, no warning; hints are advice
  local report
  report=$(desktop-file-validate "$1") || { echo "$report"; return 1; }
  ! grep -E ': (error|warning):' <<<"$report"
}

manual_page_is_clean() {  # PAGE: groff's and man's warnings fail it
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null) && [ -z "$warnings" ] \
    || { echo "$warnings"; return 1; }
}

newest_entry_is_the_release() {  # CHANGELOG.gz METAINFO: same version, same day
  local changelog entry release
  changelog=$(zcat "$1") || return 1
  entry="$(dpkg-parsechangelog -l - -S Version <<<"$changelog")"
  entry+=" $(date -u +%F -d "$(dpkg-parsechangelog -l - -S Date <<<"$changelog")")" || return 1
  release=$(sed -En 's|.*<release version="([^"]*)" date="([^"]*)".*|\1 \2|p' "$2")
  [ "$entry" = "$release" ] && [ "${entry% *}" = "$version" ] \
    || { echo "changelog: $entry, AppStream: $release, CMake: $version"; return 1; }
}

lists() {  # FIELD NAME PACKAGE: the control field names that package
  grep -Eq "(^|, )$2( |,|$)" <<<"$(dpkg-deb -f "$3" "$1")"
}

lintian_is_silent() {  # PACKAGE: any error or warning fails it; infos are shown then
  local as_user=()
  # As root lintian would unpack a package it does not trust with root's rights.
  if [ "$(id -u)" -eq 0 ]; then
    chmod a+rx "$work" "$(dirname "$1")"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent)
  fi
  "${as_user[@]}" lintian --fail-on error,warning --display-info "$1"
}

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && exit 0
  exit 1
}

root=$work/root
check "cmake --install runs" \
  env DESTDIR="$root" cmake --install "$build" --prefix /usr
# Nothing else can be checked without the installed tree.
[ "$failed" -eq 0 ] || finish
check "the installed files are exactly the program's" \
  same_files "$(cd "$root" && find . ! -type d | sed 's|^\./||')"

icons=$root/usr/share/icons/hicolor
for size in 32 48 64 128; do
  check "the ${size}x${size} icon is ${size} pixels square" \
    icon_has_size "$icons/${size}x${size}/apps/kostwerk.png" "$size"
done
for size in 64 128; do
  check "the ${size}x${size} icon is the 32x32 picture scaled without blending" \
    icon_repeats_pixels "$icons/${size}x${size}/apps/kostwerk.png" "$icons/32x32/apps/kostwerk.png"
done

check "desktop-file-validate accepts the desktop entry" \
  desktop_file_is_clean "$root/usr/share/applications/$app_id.desktop"
# The tree check also finds the desktop entry the metainfo launches.
check "appstreamcli accepts the metainfo and the installed tree" \
  appstreamcli validate-tree --pedantic --no-net "$root"

for page in man1/kostwerk man1/kostwerk-dump de/man1/kostwerk de/man1/kostwerk-dump; do
  check "man renders $page without a warning" manual_page_is_clean "$root/usr/share/man/$page.1.gz"
done
check "the changelog's newest entry is this version and the AppStream release" \
  newest_entry_is_the_release "$root/usr/share/doc/kostwerk/changelog.gz" \
  "$root/usr/share/metainfo/$app_id.metainfo.xml"

check "cpack makes the Debian package" \
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb"
package=$(find "$work/deb" -maxdepth 1 -name "kostwerk_${version}_*.deb" -print -quit 2>/dev/null) || true
check "the package is named kostwerk_${version}_<arch>.deb" test -n "$package"
if [ -n "$package" ]; then
  check "the package holds exactly the program's files" \
    same_files "$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')"
  for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6printsupport6 qt6-qpa-plugins; do
    check "the package depends on $library" lists Depends "$library" "$package"
  done
  # Only Qt's own dialogs speak German with it, and English without.
  check "the package recommends qt6-translations-l10n" lists Recommends qt6-translations-l10n "$package"
  check "lintian reports no error and no warning" lintian_is_silent "$package"
fi

finish
