#!/usr/bin/env bash
# The tray icon and the graph window as a user meets them, on Wine's virtual desktop
# with its taskbar and real input through xdotool; one desktop session for all checks.
#   tray_behaviours.sh BUILD_DIR      (the Windows build: tarvelo.exe, window_probe.exe)
# Screenshots of each step stay in BUILD_DIR/user-tray.
set -uo pipefail
build=$(cd "${1:?usage: tray_behaviours.sh BUILD_DIR}" && pwd)
work="$build/user-tray"
. "$(dirname "$0")/desktop.sh"

graph_rect() { probe_rect obj_Form StatsForm; }
graph_at() { [ "$(graph_rect | cut -d' ' -f1,2)" = "$1 $2" ]; }
graph_away() { ! graph_at "$@"; }
graph_shown() { [ -n "$(graph_rect)" ]; }
graph_hidden() { ! graph_shown; }
balloon_shown() { [ -n "$(probe_rect tooltips_class32)" ]; }
about_open() { [ -n "$(probe_rect '#32770' 'About Tarvelo ')" ]; }
menus_are() { [ "$(probe windows | awk -F'\t' '$1 == "#32768"' | wc -l)" = "$1" ]; }
windows_titled() { probe windows | awk -F'\t' -v t="$1" '$2 == t' | wc -l; }
active_is() { [ "$(probe focus | cut -f1)" = "$1" ]; }
Sheet="Tarvelo  - options"
# right-click the icon, then keys in its menu: Down Down is Transfer Logging, one more Options
tray_menu() { xdotool mousemove "$icon_x" "$icon_y" click 3; within 5 menus_are 1; xdotool key --delay 200 "$@"; sleep 1; }

ping_pid=""
trap 'rc=$?; [ -n "$ping_pid" ] && kill "$ping_pid" 2>/dev/null; desktop_finish "$rc"' EXIT
desktop_start "$work" "$build/tarvelo.exe"
rm -f "$work"/*.png
reg_set Adapter REG_SZ lo
reg_set TrayDnColor REG_DWORD 0xFF0000  # blue and green, as #RRGGBB: #0000FF, #00FF00
reg_set TrayUpColor REG_DWORD 0x00FF00
desktop_up StatsForm || { echo "FAILED: the graph window never came"; exit 1; }

# steady traffic on loopback: both directions count every packet
ping -q -i 0.2 -s 60000 127.0.0.1 >/dev/null 2>&1 &
ping_pid=$!
sleep 5

read -r _ tray_y _ _ <<<"$(probe_rect Shell_TrayWnd)"
[ -n "${tray_y:-}" ] || { echo "FAILED: no taskbar"; exit 1; }
shot "$work/traffic.png"
taskbar="${DesktopWidth}x$((DesktopHeight - tray_y))+0+$tray_y"
in_taskbar() { [ -n "$(colour_box "$work/traffic.png" "$taskbar" "$1")" ]; }
check "the notification area shows the picture in TrayDnColor" in_taskbar '#0000FF'
check "and in TrayUpColor" in_taskbar '#00FF00'
read -r x0 y0 x1 y1 <<<"$(colour_box "$work/traffic.png" "$taskbar" '#0000FF' '#00FF00')"
[ -n "${x0:-}" ] || exit 1
icon_x=$(((x0 + x1) / 2)) icon_y=$(((y0 + y1) / 2))

# the balloon: none for a cursor passing by, one for a cursor at rest
xdotool mousemove "$icon_x" "$icon_y" sleep 0.1 mousemove 300 300
sleep 2.5
check "passing over the icon shows no balloon" not balloon_shown
xdotool mousemove "$icon_x" "$icon_y"
check "resting on the icon shows the balloon" within 5 balloon_shown
shot "$work/balloon.png"

read -r shown_x shown_y _ _ <<<"$(graph_rect)"
xdotool click 1
check "a left click on the icon hides the graph" within 5 graph_hidden
sleep 1  # not a double click

# the menu of the hidden graph takes keys
xdotool click 3
check "right-clicking the icon of the hidden graph opens the menu" within 5 menus_are 1
xdotool key --delay 200 Down Down Right
check "the arrow keys open its submenu" within 3 menus_are 2
xdotool key Escape
check "Esc closes the submenu" within 3 menus_are 1
xdotool key Escape
check "and then the menu" within 3 menus_are 0
check "the graph stays hidden" graph_hidden

xdotool mousemove "$icon_x" "$icon_y" click 1
check "a second one shows it, where it was" within 5 graph_at "$shown_x" "$shown_y"

xdotool mousemove "$icon_x" "$icon_y" click 3
sleep 1
shot "$work/menu.png"
menu_at_cursor() {  # its bottom-right corner at the cursor, or pushed up off the taskbar
  local mx my mw mh
  read -r mx my mw mh <<<"$(probe_rect '#32768')"
  [ -n "${mx:-}" ] && [ $((mx + mw)) -ge $((icon_x - 1)) ] && [ $((mx + mw)) -le $((icon_x + 1)) ] &&
    [ $((my + mh)) -le $((icon_y + 1)) ] && [ "$my" -lt "$icon_y" ]
}
check "right-clicking the icon opens the menu above and to the left of the cursor" menu_at_cursor
xdotool key Escape
sleep 0.5

# dragging: the work area ends at the taskbar; its right edge is the screen's
drag_by() {  # drag the graph from its middle by dx
  read -r gx gy gw gh <<<"$(graph_rect)"
  local cx=$((gx + gw / 2)) cy=$((gy + gh / 2))
  xdotool mousemove "$cx" "$cy" mousedown 1 sleep 0.3 mousemove $((cx + $1 / 2)) "$cy" sleep 0.3 \
    mousemove $((cx + $1)) "$cy" sleep 0.5 mouseup 1
  sleep 1
}
read -r gx gy gw gh <<<"$(graph_rect)"
drag_by $((DesktopWidth - 7 - gw - gx))
check "dropped 7 pixels from the right edge, the graph is flush with it" graph_at $((DesktopWidth - gw)) "$gy"
drag_by -11
check "dropped 11 pixels from it, the graph stays where it was dropped" graph_at $((DesktopWidth - gw - 11)) "$gy"

# F1 on the focused graph opens the about box; Esc leaves it open, Enter closes it. The
# graph is clicked after the desktop: under X the keys follow a click, not the tray's
# show, whose focus the taskbar may take back.
read -r gx gy gw gh <<<"$(graph_rect)"
xdotool mousemove 200 200 click 1 sleep 0.5 mousemove $((gx + gw / 2)) $((gy + gh / 2)) click 1 sleep 0.5
xdotool key F1
check "F1 on the focused graph opens the about box" within 5 about_open
xdotool key Escape
sleep 1
check "Esc leaves the about box open" about_open
xdotool key Return
check "Enter closes it" within 5 not about_open

# run-away: armed at the next loss of focus
reg_set AutoRunAway REG_DWORD 1
read -r hx hy gw gh <<<"$(graph_rect)"
xdotool mousemove 200 200 click 1
sleep 1
xdotool mousemove $((hx + gw / 2)) $((hy + gh / 2))
check "with AutoRunAway, the unfocused graph flees from the cursor" within 3 graph_away "$hx" "$hy"
shot "$work/fled.png"
xdotool mousemove 300 500
check "and comes home within a second after the cursor left" within 3 graph_at "$hx" "$hy"

# the counters from the menu, with traffic going on, leave a graph hidden from the tray hidden
xdotool mousemove "$icon_x" "$icon_y" click 1
check "hidden again" within 5 graph_hidden
tray_menu Down Down Right Return
check "Counters opens from the menu" within 5 has_window Counters
xdotool key Return
check "Enter closes it" within 5 not has_window Counters
sleep 3
check "the graph hidden from the tray stays hidden after the counters" graph_hidden

# one options sheet at a time
tray_menu Down Down Down Return
check "Options opens from the menu" within 5 has_window "$Sheet"
tray_menu Down Down Down Return
check "Options again brings the open sheet to the front" within 3 active_is "$Sheet"
check "and opens no second one" is 1 "$(windows_titled "$Sheet")"
shot "$work/sheet.png"
xdotool key Escape
check "Esc closes the sheet" within 5 not has_window "$Sheet"

echo "tray and window behaviours: $failures failed"
[ "$failures" -eq 0 ]
