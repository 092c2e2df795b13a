#!/usr/bin/env bash
# The program at a display scale, as a user sees it on Wine's virtual desktop: "LogPixels"
# set under HKCU\Control Panel\Desktop before a fresh wineserver, the graph stored as
# 100 x 40 (96-DPI units) and the tray watching loopback traffic. Checked: the graph is
# its stored size times the scale, the tray picture fills the larger small icon, the
# options sheet offers the automatic adapter first, and Quit stores the size in units.
#   scale.sh BUILD_DIR [DPI] [--docs DIR]   DPI 96 or 144 (the default); with --docs, the
#                                           graph and tray and the options sheet as PNGs
set -u
build=$(cd "${1:?usage: scale.sh BUILD_DIR [DPI] [--docs DIR]}" && pwd)
dpi=${2:-144}
docs=""
[ "${3:-}" = --docs ] && docs=$(mkdir -p "$4" && cd "$4" && pwd)
. "$(dirname "$0")/desktop.sh"
percent=$((dpi * 100 / 96))
work="$build/user/scale-$dpi"
traffic_pid=""
trap 'rc=$?; [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null; desktop_finish "$rc"' EXIT

desktop_start "$work" "$build/tarvelo.exe"
desktop_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
for v in "Adapter REG_SZ lo" "Width REG_DWORD 100" "Height REG_DWORD 40" "LeftPos REG_DWORD 60" \
         "TopPos REG_DWORD 60"; do reg_set $v; done
desktop_up StatsForm || { echo "FAILED: the graph window never came"; exit 1; }
( while true; do for s in 9000 30000 60000 20000 45000; do ping -q -c 5 -i 0.2 -s "$s" 127.0.0.1 >/dev/null 2>&1
  done; done ) &
traffic_pid=$!
sleep 25
xdotool mousemove 300 200
sleep 2

scaled() { echo $((($1 * dpi + 48) / 96)); }
read -r gx gy gw gh <<<"$(probe_rect obj_Form StatsForm)"
check "the graph is 100 x 40 units at $percent %" is "$(scaled 100) $(scaled 40)" "$gw $gh"
shot "$work/desktop.png"
# The tray picture: its down- and up-link colours in the taskbar's bottom strip.
taskbar=$(scaled 30)
read -r x0 y0 x1 y1 <<<"$(colour_box "$work/desktop.png" "${DesktopWidth}x${taskbar}+0+$((DesktopHeight - taskbar))" \
  '#FF1515' '#FFFF30')"
tray_w=$((${x1:-0} - ${x0:-0} + 1)) tray_h=$((${y1:-0} - ${y0:-0} + 1))
echo "tray picture's lit part: ${tray_w} x ${tray_h} px"
want=$((dpi >= 144 ? 24 : 16))
check "the tray picture fills a $want px icon" [ "$tray_w" -ge $((want - 4)) ] && [ "$tray_w" -le "$want" ]
if [ -n "$docs" ]; then  # the graph and, beside it, the taskbar's right end with the tray
  convert "$work/desktop.png" \( -clone 0 -crop "$((gw + 40))x$((gh + 40))+$((gx - 20))+$((gy - 20))" \) \
    \( -clone 0 -crop "120x$((taskbar + 20))+$((DesktopWidth - 120))+$((DesktopHeight - taskbar - 20))" \) \
    -delete 0 +repage -background '#236E96' -gravity south +append "$docs/scale-$percent.png"
  echo "$docs/scale-$percent.png"
fi

# The options sheet from the menu (the popup's ids start at 4096; Options is its 7th).
Sheet="Tarvelo  - options"
probe command StatsForm 4102
wait_window "$Sheet" 30 || { echo "FAILED: no options sheet"; exit 1; }
sleep 2
# lo is no adapter the list offers; Home goes to its first item, F4 opens it
xdotool key Home && sleep 0.5
check "the adapter list offers Automatic first" is "Automatic (the connection in use)" "$(probe text "$Sheet" 1015)"
xdotool mousemove 1000 10 && xdotool key F4 && sleep 1
if [ -n "$docs" ]; then
  shot "$work/sheet.png"
  read -r x y w h <<<"$(window_geometry "$Sheet")"
  convert "$work/sheet.png" -crop "${w}x${h}+${x}+${y}" +repage "$docs/options-general-$percent.png"
  echo "$docs/options-general-$percent.png"
fi
xdotool key Escape && sleep 0.5 && xdotool key Escape
check "the sheet closed" within 10 not has_window "$Sheet"

probe command StatsForm 4113  # Quit stores the window's state
sleep 3
check "Quit stores the size in units" is "0x64 0x28" "$(reg_get Width) $(reg_get Height)"

echo "scale $dpi: $failures failed"
[ "$failures" -eq 0 ]
