#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the bundled sample week's overview and saves its first page as the
# picture docs/week-overview.png. Needs pdftoppm (Debian package poppler-utils).
# Usage: tools/week-overview-png.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
cmake --build "$build" --parallel "$(nproc)" --target kostwerk-week-overview

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/weekoverview/kostwerk-week-overview" \
  sample-site/uni/refekt/t2026kw50.html "$work/overview.pdf" 'Stand: 07.12.2026, 09:30'
pdftoppm -png -r 60 -singlefile "$work/overview.pdf" docs/week-overview
echo docs/week-overview.png
