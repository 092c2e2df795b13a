#!/usr/bin/env bash
# The usage window as a user meets it on Wine's virtual desktop: opened from the graph's
# menu with the keyboard alone (Shift+F10, Up, Up, Enter), the month's bars after some
# loopback traffic, the CSV written by its button through the save dialog, Esc to close
# it and its size kept.
#   usage_window.sh BUILD_DIR [--docs DIR]    with --docs, the window as DIR/usage.png
set -uo pipefail
build=$(cd "${1:?usage: usage_window.sh BUILD_DIR [--docs DIR]}" && pwd)
docs=""; [ "${2:-}" = --docs ] && docs=$(cd "${3:?--docs DIR}" && pwd)
work="$build/user-usage"
. "$(dirname "$0")/desktop.sh"
keys() { xdotool key --delay 200 "$@"; sleep 0.7; }
usage_open() { [ -n "$(probe_rect '#32770' 'Tarvelo usage')" ]; }

ping_pid=""
trap 'rc=$?; [ -n "$ping_pid" ] && kill "$ping_pid" 2>/dev/null; desktop_finish "$rc"' EXIT
desktop_start "$work" "$build/tarvelo.exe"
rm -f "$work"/*.csv
for v in "Adapter REG_SZ lo" "PlanLimitGB REG_DWORD 1" "LeftPos REG_DWORD 700" "TopPos REG_DWORD 80" \
         "Width REG_DWORD 200" "Height REG_DWORD 100"; do reg_set $v; done
desktop_up StatsForm || { echo "FAILED: the graph window never came"; exit 1; }
ping -q -i 0.2 -s 60000 127.0.0.1 >/dev/null 2>&1 &
ping_pid=$!
sleep 20
kill "$ping_pid"; ping_pid=""

read -r gx gy gw gh <<<"$(probe_rect obj_Form StatsForm)"
xdotool mousemove $((gx + gw / 2)) $((gy + gh / 2)) click 1
sleep 1
keys shift+F10 Up Up Return
check "Shift+F10, Up, Up and Enter open the usage window" within 10 usage_open
read -r ux uy uw uh <<<"$(probe_rect '#32770' 'Tarvelo usage')"
sleep 1
shot "$work/usage.png"
[ -n "$docs" ] && [ -n "${uw:-}" ] && convert "$work/usage.png" -crop "${uw}x${uh}+${ux}+${uy}" +repage "$docs/usage.png"
keys alt+e
save_open() { [ -n "$(probe_rect '#32770' 'Save As')" ]; }
check "Export CSV opens the save dialog" within 10 save_open
keys ctrl+a
xdotool type --delay 50 "Z:${work//\//\\}\\button.csv"
keys Return
check "the button writes the CSV" within 10 test -s "$work/button.csv"
check "with today's loopback row" grep -q "^$(date +%Y-%m-%d),lo,[1-9]" "$work/button.csv"
keys Escape
check "Esc closes the usage window" within 10 not usage_open
check "its size is kept" [ -n "$(reg_get UsageWidth)" ]

echo "usage window: $failures failed"
[ "$failures" -eq 0 ]
