#!/usr/bin/env bash
# The program at a display scale ("LogPixels" before a fresh wineserver) on Wine's virtual
# desktop: the graph stored as 100 x 40 (96-DPI units) is that times the scale, the tray
# picture fills the small icon, the adapter list offers Automatic first, and Quit stores
# the size in units again.
#   scale.sh BUILD_DIR [DPI] [--docs DIR]   DPI 96 or 144 (default); with --docs the graph
#                                           and tray, and the opened adapter list, as PNGs
set -u
build=$(cd "${1:?usage: scale.sh BUILD_DIR [DPI] [--docs DIR]}" && pwd)
dpi=${2:-144} docs=""
[ "${3:-}" = --docs ] && docs=$(mkdir -p "$4" && cd "$4" && pwd)
. "$(dirname "$0")/desktop.sh"
percent=$((dpi * 100 / 96)) work="$build/user/scale-$dpi" traffic_pid="" Sheet="Tarvelo  - options"
trap 'rc=$?; [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null; desktop_finish "$rc"' EXIT
scaled() { echo $((($1 * dpi + 48) / 96)); }

desktop_start "$work" "$build/tarvelo.exe"
desktop_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
for v in "Adapter REG_SZ lo" "Width REG_DWORD 100" "Height REG_DWORD 40" "LeftPos REG_DWORD 60" "TopPos REG_DWORD 60"; do
  reg_set $v
done
desktop_up StatsForm || { echo "FAILED: the graph window never came"; exit 1; }
( while true; do for s in 9000 30000 60000 20000 45000; do ping -q -c 5 -i 0.2 -s "$s" 127.0.0.1 >/dev/null 2>&1
  done; done ) &
traffic_pid=$!
sleep 25
xdotool mousemove 1000 10 && sleep 2
read -r gx gy gw gh <<<"$(probe_rect obj_Form StatsForm)"
check "the graph is 100 x 40 units at $percent %" is "$(scaled 100) $(scaled 40)" "$gw $gh"
shot "$work/desktop.png"
bar=$(scaled 30) want=$((dpi >= 144 ? 24 : 16))  # the taskbar's strip; the tray's colours in it
read -r x0 _ x1 _ <<<"$(colour_box "$work/desktop.png" "${DesktopWidth}x$bar+0+$((DesktopHeight - bar))" '#FF1515' '#FFFF30')"
check "the tray picture fills a $want px icon ($((${x1:-0} - ${x0:-0} + 1)) px lit)" \
  [ $((${x1:-0} - ${x0:-0} + 1)) -ge $((want - 4)) -a $((${x1:-0} - ${x0:-0} + 1)) -le "$want" ]
[ -n "$docs" ] && convert "$work/desktop.png" \( -clone 0 -crop "$((gw + 40))x$((gh + 40))+$((gx - 20))+$((gy - 20))" \) \
  \( -clone 0 -crop "120x$((bar + 20))+$((DesktopWidth - 120))+$((DesktopHeight - bar - 20))" \) \
  -delete 0 +repage -background '#236E96' -gravity south +append "$docs/scale-$percent.png"

probe command StatsForm 4102  # Options (the popup's ids start at 4096)
wait_window "$Sheet" 30 || { echo "FAILED: no options sheet"; exit 1; }
sleep 2
xdotool key Home && sleep 0.5  # lo is not offered: Home goes to the first item
check "the adapter list offers Automatic first" is "Automatic (the connection in use)" "$(probe text "$Sheet" 1015)"
xdotool key F4 && sleep 1
if [ -n "$docs" ]; then
  shot "$work/sheet.png" && read -r x y w h <<<"$(window_geometry "$Sheet")"
  convert "$work/sheet.png" -crop "${w}x${h}+${x}+${y}" +repage "$docs/options-general-$percent.png"
fi
xdotool key Escape && sleep 0.5 && xdotool key Escape
check "the sheet closed" within 10 not has_window "$Sheet"
probe command StatsForm 4113  # Quit
sleep 3
check "Quit stores the size in units" is "0x64 0x28" "$(reg_get Width) $(reg_get Height)"
echo "scale $dpi: $failures failed"
[ "$failures" -eq 0 ]
