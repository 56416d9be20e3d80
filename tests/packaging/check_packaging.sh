#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` make of a finished build:
# exactly the program's files and no helper or test program, the theme icons
# at their sizes and still pixel for pixel the 32x32 picture, desktop files
# the freedesktop validators accept, and a package that depends on the Qt
# libraries the programs load.
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
usr/share/icons/hicolor/64x64/apps/kostwerk.png
usr/share/icons/hicolor/128x128/apps/kostwerk.png
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
for size in 32 64 128; do
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
  appstreamcli validate-tree --no-net "$root"

check "cpack makes the Debian package" \
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb"
package=$(find "$work/deb" -maxdepth 1 -name "kostwerk_${version}-*.deb" -print -quit 2>/dev/null) || true
check "the package is named kostwerk_${version}-<release>_<arch>.deb" test -n "$package"
if [ -n "$package" ]; then
  check "the package holds exactly the program's files" \
    same_files "$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')"
  depends=$(dpkg-deb -f "$package" Depends) || true
  for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n; do
    check "the package depends on $library" grep -Eq "(^|, )$library( |,|$)" <<<"$depends"
  done
fi

finish
