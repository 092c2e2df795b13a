#!/usr/bin/env bash
# The options sheet as a user meets it on the first start: the adapter message, the
# sheet, its pages walked with the keyboard, values typed, OK; then the registry.
#   options_sheet.sh BUILD_DIR [--docs DIR]   with --docs, the five pages as PNGs there
set -u
build=$(cd "${1:?usage: options_sheet.sh BUILD_DIR [--docs DIR]}" && pwd)
docs=""
[ "${2:-}" = --docs ] && docs=$(mkdir -p "$3" && cd "$3" && pwd)
. "$(dirname "$0")/desktop.sh"

Sheet="Tarvelo  - options"
work="$build/user/options_sheet"
keys() { xdotool key --delay 150 "$@"; sleep 0.5; }
focused() { probe focus | cut -f2; }
# Whether control ID of the sheet is visible, that is, its page is the one shown.
shown() { probe controls "$Sheet" | awk -F'\t' -v id="$1" '$1 == id { print ($4 ~ /visible=1/) ? "shown" : "hidden"; exit }'; }
page_shot() {  # the sheet cut out of a screenshot
  [ -n "$docs" ] || return 0
  shot "$work/screen.png"
  read -r x y w h <<<"$(window_geometry "$Sheet")"
  convert "$work/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$docs/options-$1.png"
}

desktop_start "$work" "$build/tarvelo.exe"
trap desktop_finish EXIT
desktop_up "Tarvelo " || { echo "FAILED: no adapter message"; exit 1; }
sleep 1
keys Return
wait_window "$Sheet" 30 || { echo "FAILED: no options sheet"; exit 1; }
sleep 1

# General: the first adapter, a log file name, logging on
check "the adapter list has the focus" is 1015 "$(focused)"
keys Down
adapter=$(probe text "$Sheet" 1015)
check "an adapter chosen" test -n "$adapter"
keys Tab  # into the file name, all of it selected
xdotool type --delay 100 "daily.txt" && sleep 0.5
keys Tab Tab space
page_shot general
keys shift+Tab shift+Tab shift+Tab shift+Tab
check "back on the tabs" is 12320 "$(focused)"

# the arrows walk the tabs: Window, Graph, Tray, Data plan; back to Tray
for page in "1001 window" "1039 graph" "1036 tray" "1101 plan"; do
  set -- $page
  keys Right
  check "$2 settings shown" is shown "$(shown "$1")"
  [ "$2" = tray ] || page_shot "$2"
done
keys Left

# Tray: Manual, then a scale typed in KB/s; Enter is OK
keys Tab Tab Tab Tab
check "on the Auto button" is 1032 "$(focused)"
keys Down Tab
check "on the tray scale, enabled by Manual" is 1030 "$(focused)"
xdotool type --delay 100 "512" && sleep 0.5
page_shot tray
keys Return
check "the sheet closed" within 10 not has_window "$Sheet"
sleep 1

for value in "Adapter $adapter" "LogFile daily.txt" "EnableLogging 0x1" "TrayAutoScale 0x0" \
             "TrayScaleMax 0x80000" "ScaleMax 0x80e8" "AutoHide 0x0"; do  # 512 KB/s; the Graph page's default
  set -- $value
  check "$1 stored" is "$2" "$(reg_get "$1")"
done

echo "options sheet: $failures failed"
[ "$failures" -eq 0 ]
