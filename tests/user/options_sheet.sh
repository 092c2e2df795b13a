#!/usr/bin/env bash
# The options sheet as a user meets it on the first start: the adapter message, the
# sheet, its pages walked with the keyboard, values typed, OK; then the registry.
#   options_sheet.sh BUILD_DIR [--docs DIR]   with --docs, the four pages as PNGs there
set -u
build=$(cd "${1:?usage: options_sheet.sh BUILD_DIR [--docs DIR]}" && pwd)
docs=""
[ "${2:-}" = --docs ] && docs=$(mkdir -p "$3" && cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/desktop.sh"

Sheet="Tarvelo  - options"
work="$build/user/options_sheet"
failures=0
check() {  # what expected actual
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
keys() { xdotool key --delay 150 "$@"; sleep 0.5; }
focused() { probe focus | cut -f2; }
# Whether control ID of the sheet is visible, that is, its page is the one shown.
shown() { probe controls "$Sheet" | awk -F'\t' -v id="$1" '$1 == id { print ($4 ~ /visible=1/) ? "shown" : "hidden"; exit }'; }
# The sheet cut out of a screenshot.
page_shot() {
  [ -n "$docs" ] || return 0
  shot "$work/screen.png"
  read -r x y w h <<<"$(window_geometry "$Sheet")"
  convert "$work/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$docs/options-$1.png"
}

desktop_start "$work" "$build/tarvelo.exe"
trap desktop_stop EXIT
desktop_run
wait_window "Tarvelo " 90 || { echo "FAILED: no adapter message"; exit 1; }
sleep 1
keys Return
wait_window "$Sheet" 30 || { echo "FAILED: no options sheet"; exit 1; }
sleep 1

# General: the first adapter, a log file name, logging on
check "the adapter list has the focus" 1015 "$(focused)"
keys Down
adapter=$(probe text "$Sheet" 1015)
check "an adapter chosen" yes "$([ -n "$adapter" ] && echo yes)"
keys Tab  # into the file name, all of it selected
xdotool type --delay 100 "daily.txt" && sleep 0.5
keys Tab Tab space
page_shot general
keys shift+Tab shift+Tab shift+Tab shift+Tab
check "back on the tabs" 12320 "$(focused)"

# the arrows walk the tabs: Window, Graph, Tray
keys Right
check "Window settings shown" shown "$(shown 1001)"
page_shot window
keys Right
check "Graph settings shown" shown "$(shown 1039)"
page_shot graph
keys Right
check "Tray Icon settings shown" shown "$(shown 1036)"

# Tray: Manual, then a scale typed in KB/s; Enter is OK
keys Tab Tab Tab Tab
check "on the Auto button" 1032 "$(focused)"
keys Down Tab
check "on the tray scale, enabled by Manual" 1030 "$(focused)"
xdotool type --delay 100 "512" && sleep 0.5
page_shot tray
keys Return
for ((i = 0; i < 50; i++)); do [ -z "$(window_geometry "$Sheet")" ] && break; sleep 0.2; done
check "the sheet closed" "" "$(window_geometry "$Sheet")"
sleep 1

check "Adapter" "$adapter" "$(reg_get Adapter)"
check "LogFile" "daily.txt" "$(reg_get LogFile)"
check "EnableLogging" 0x1 "$(reg_get EnableLogging)"
check "TrayAutoScale" 0x0 "$(reg_get TrayAutoScale)"
check "TrayScaleMax (512 KB/s)" 0x80000 "$(reg_get TrayScaleMax)"
check "ScaleMax (the Graph page's default)" 0x80e8 "$(reg_get ScaleMax)"
check "AutoHide (the Window page, shown)" 0x0 "$(reg_get AutoHide)"

echo "options sheet: $failures failed"
[ "$failures" -eq 0 ]
