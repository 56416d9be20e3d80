#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what `cmake --install` and `cpack -G DEB` make of a finished build:
# exactly the program's files and no helper or test program, the theme icons
# at their sizes and still pixel for pixel the 32x32 picture, desktop files
# the freedesktop validators accept, manual pages man renders without a
# warning, a changelog whose newest entry is the AppStream release, and a
# package that depends on the Qt libraries the programs load, whose programs
# are hardened and that lintian finds nothing wrong with. Then the release
# as a distribution takes it: the sources meet the REUSE rules, and the
# source tarball holds exactly the files git tracks, builds in another folder
# with the same settings, passes the unit tests there and makes the very
# same package, byte for byte.
#
# Usage: check_packaging.sh SOURCE_FOLDER BUILD_FOLDER GENERATOR APP_ID VERSION
set -euo pipefail

source=$1
build=$2
generator=$3
app_id=$4
version=$5

# Without one of these tools nothing is checked; CTest reports the test as
# skipped, naming what is missing.
declare -A tool_packages=(
  [appstreamcli]=appstream [convert]=imagemagick [cpack]=cmake [desktop-file-validate]=desktop-file-utils
  [dpkg-deb]=dpkg [dpkg-parsechangelog]=dpkg-dev [file]=file [git]=git [hardening-check]=devscripts
  [identify]=imagemagick [lintian]=lintian [man]=man-db [reuse]=reuse [setpriv]=util-linux [xz]=xz-utils
)
missing=()
for tool in "${!tool_packages[@]}"; do
  command -v "$tool" >/dev/null || missing+=("$tool (Debian package ${tool_packages[$tool]})")
done
if [ ${#missing[@]} -gt 0 ]; then
  printf -v missing_list '%s, ' "${missing[@]}"
  echo "SKIPPED: missing ${missing_list%, }"
  exit 77
fi
if ! git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "SKIPPED: $source is no git checkout, so the source tarball has nothing to be compared with"
  exit 77
fi

# Inside the build folder, so that the source release is built at the same
# depth below its sources as the build itself, where compiler caches that
# shorten paths below a base folder (ccache's CCACHE_BASEDIR) shorten both
# alike.
work=$(mktemp -d "$build/packaging-check.XXXXXX")
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

fortified_unless_debugging() {
  grep -q '^CMAKE_BUILD_TYPE:STRING=Debug$' "$build/CMakeCache.txt" && return 0
  ! grep '"command":' "$build/compile_commands.json" | grep -v -e '-D_FORTIFY_SOURCE=2'
}

tarball_holds_the_tracked_files() {  # TARBALL
  diff -u --label "git ls-files" --label "$(basename "$1")" \
    <(git -C "$source" -c core.quotePath=off ls-files | LC_ALL=C sort) \
    <(tar -tJf "$1" | grep -v '/$' | sed "s|^kostwerk-$version/||" | LC_ALL=C sort)
}

# The build's own settings, for building the source release the same way:
# every cache entry a user or CMake set, except those naming the build's
# or the sources' folder.
build_settings() {
  local entry type
  while IFS= read -r entry; do
    case $entry in '' | '#'* | '//'*) continue ;; esac
    type=${entry%%=*}
    case ${type#*:} in INTERNAL | STATIC) continue ;; esac
    [[ $entry == *"$source"* || $entry == *"$build"* ]] || echo "-D$entry"
  done <"$build/CMakeCache.txt"
}

package_summary() {  # PACKAGE: its control fields, its files' sums, sizes and times
  dpkg-deb -f "$1"
  dpkg-deb --ctrl-tarfile "$1" | tar -xO ./md5sums
  dpkg-deb -c "$1"
}

same_bytes() {  # PACKAGE OTHER_PACKAGE: diffoscope, when there, tells what differs
  cmp "$1" "$2" && return 0
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$1" "$2" | head -n 200
  else
    diff <(package_summary "$1") <(package_summary "$2")
  fi
  return 1
}

passes() {  # like check, and tells whether it passed
  local failed_before=$failed
  check "$@"
  [ "$failed" -eq "$failed_before" ]
}

# Builds the tarball a second time, in another folder, with the build's
# settings and the unit tests only; the package must be the same.
build_the_release() {  # TARBALL PACKAGE
  local released=$work/released/kostwerk-$version
  local -a settings
  mkdir -p "$work/released"
  passes "the source tarball unpacks" tar -xJf "$1" -C "$work/released" || return 0
  mapfile -t settings < <(build_settings)
  passes "the source release configures in another folder" \
    cmake -S "$released" -B "$released/build" -G "$generator" "${settings[@]}" \
    -DBUILD_TESTING=ON -DKOSTWERK_UNIT_TESTS_ONLY=ON || return 0
  passes "the source release builds" cmake --build "$released/build" --parallel "$(nproc)" || return 0
  check "the source release passes its unit tests" \
    ctest --test-dir "$released/build" -L unit --output-on-failure --parallel "$(nproc)"
  passes "the source release makes its Debian package" \
    cpack --config "$released/build/CPackConfig.cmake" -G DEB -B "$work/released-deb" || return 0
  check "both packages are the same, byte for byte" \
    same_bytes "$2" "$work/released-deb/$(basename "$2")"
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
  dpkg-deb -x "$package" "$work/unpacked-package"
  # The programs make no libc call whose bounds the compiler cannot prove, so
  # there is no checked call for hardening-check to find, though the
  # compiler was told to fortify (checked below); and Debian 12's C start
  # files carry no control-flow notes, so no program linked with them has any.
  check "hardening-check finds PIE, stack protector, RELRO and bindnow in the packaged programs" \
    hardening-check --nofortify --nocfprotection \
    "$work/unpacked-package/usr/bin/kostwerk" "$work/unpacked-package/usr/bin/kostwerk-dump"
fi
check "every file is compiled with fortified libc calls, unless the build is for debugging" \
  fortified_unless_debugging

check "reuse lint finds the copyright and licence of every file" reuse --root "$source" lint

check "cpack makes the source tarball" cpack --config "$build/CPackSourceConfig.cmake" -B "$work/release"
tarball=$work/release/kostwerk-$version.tar.xz
check "the source tarball kostwerk-$version.tar.xz holds exactly the files git tracks" \
  tarball_holds_the_tracked_files "$tarball"
[ -f "$tarball" ] && [ -n "$package" ] && build_the_release "$tarball" "$package"

finish
