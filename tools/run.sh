#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Kostwerk and the sample server, serves the
# bundled sample canteen site on loopback and starts the program on it.
#
# With a display the window opens as usual, and the server stops when the
# program ends. Without one (neither DISPLAY nor WAYLAND_DISPLAY set) the
# program runs in Xvfb instead: a mouse click on "Daten aktualisieren" fetches
# the sample week, a screenshot of the window is saved and its path printed.
#
# With --next-week the server serves the sample site as it would be a week
# later, every date seven days on, at the same address: the program's next
# fetch finds a new week.
set -euo pipefail
cd "$(dirname "$0")/.."

server_options=()
case "${1:-}" in
  "") ;;
  --next-week) server_options=(--next-week) ;;
  *) echo "usage: tools/run.sh [--next-week]" >&2; exit 2 ;;
esac

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target kostwerk kostwerk-sample-server

program=$PWD/build/app/kostwerk
sample_server=$PWD/build/tools/sampleserver/kostwerk-sample-server
# The port a fresh refekt.ini points at when it is free. A fixed one, so that
# the server of the next run can take it again.
port=8741
title='Refekt Küchenplan'
screenshot=$PWD/build/kostwerk-screenshot.png

# Where the refresh button lies in the window's client area, and the client
# area's height.
client_height=398
button_x=16 button_y=352 button_width=121 button_height=33

work=$(mktemp -d)
pids=()
cleanup() {
  local i pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2>/dev/null || continue
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

# Waits up to $2 seconds for the command in the remaining arguments to succeed.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || fail "gave up waiting for $what after $seconds s"
    sleep 0.1
  done
}

# Starts the sample server on the port given (0 for a free one) and sets
# server_url. Returns 1 when that port is taken.
start_sample_server() {
  local log=$work/server.out
  : >"$log"
  "$sample_server" --root sample-site --port "$1" "${server_options[@]}" >"$log" 2>"$work/server.err" &
  local pid=$!
  until [ -s "$log" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" || true
      grep -q 'Port nicht verfügbar' "$work/server.err" && return 1
      fail "the sample server did not start: $(cat "$work/server.err")"
    fi
    sleep 0.1
  done
  pids+=("$pid")
  server_url=$(head -n 1 "$log")
}

# Serves the sample site and writes refekt.ini into the program folder $1,
# unless one is there already: the server then takes the port that file
# points at, or does not start when it points elsewhere.
serve_sample_site() {
  local folder=$1 ini=$1/refekt.ini
  if [ -e "$ini" ]; then
    local ini_port
    ini_port=$(sed -n 's|^startURL=http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$ini" | head -n 1)
    if [ -z "$ini_port" ]; then
      echo "Keeping $ini, which points at another site than the sample site."
      return
    fi
    start_sample_server "$ini_port" \
      || fail "port $ini_port is taken, and $ini expects the sample server there. Free the port, or delete $ini to let this script choose another one."
    echo "Serving the sample site at $server_url; keeping $ini"
    return
  fi
  if ! start_sample_server "$port"; then
    echo "Port $port is taken; serving the sample site on a free port instead."
    start_sample_server 0
  fi
  printf '[Settings]\r\nstartURL=%suni/refekt/00.html\r\nbasisURL=%suni/refekt/\r\ncacheFile=cache.rfk\r\n' \
    "$server_url" "$server_url" >"$ini"
  echo "Serving the sample site at $server_url; wrote $ini"
}

# The program asks the system's proxy for every address, so keep loopback
# away from it.
export no_proxy="127.0.0.1${no_proxy:+,$no_proxy}" NO_PROXY="127.0.0.1${NO_PROXY:+,$NO_PROXY}"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  serve_sample_site "$(dirname "$program")"
  status=0
  "$program" || status=$?
  exit "$status"
fi

# No display: a demonstration in Xvfb. The program runs from a fresh folder
# of its own (the program looks for refekt.ini and cache.rfk beside the real
# binary, so it is copied, not linked), so that neither a cache nor settings
# from earlier runs change what the screenshot shows.
echo "No display found; running the program in Xvfb."
folder=$work/program
mkdir "$folder"
cp "$program" "$folder/kostwerk"
serve_sample_site "$folder"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
wait_for "Xvfb" 10 test -s "$work/display"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY

mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb "$folder/kostwerk" &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) \
  || fail "the program's window did not appear"
# What a window manager would do with a new window; bare Xvfb has none.
xdotool windowfocus --sync "$window"

# Without a window manager the X window is the main window itself: the menu
# bar, the client area and the status bar. The two bars hold one line of the
# same font each, so they share the remaining height about equally; aiming at
# the middle of the 33 pixels high button leaves room for them to differ.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu_bar_height=$(((HEIGHT - client_height) / 2))
click_x=$((X + button_x + button_width / 2))
click_y=$((Y + menu_bar_height + button_y + button_height / 2))
xdotool mousemove "$click_x" "$click_y" click 1
# The cache file is written when the week has arrived, just before the day is
# shown; move the pointer off the button and give the window a moment to paint.
wait_for "the fetch to write $folder/cache.rfk" 30 test -s "$folder/cache.rfk"
xdotool mousemove 0 0
sleep 1
import -window "$window" "$screenshot"
echo "The window after a click on \"Daten aktualisieren\": $screenshot"
