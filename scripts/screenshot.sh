#!/usr/bin/env bash
# Makes the README's pictures: docs/screenshot.png, the graph above the taskbar's
# notification area on Wine's virtual desktop, both watching loopback traffic, shown at
# twice their size; docs/counters.png and docs/about.png, the two dialogs opened from the
# menu's commands.
#   scripts/screenshot.sh BUILD_DIR [OUT.png]
set -uo pipefail
build=$(cd "${1:?usage: screenshot.sh BUILD_DIR [OUT.png]}" && pwd)
out=${2:-$(cd "$(dirname "$0")/.." && pwd)/docs/screenshot.png}
. "$(dirname "$0")/../tests/user/desktop.sh"

traffic_pid=""
trap 'rc=$?; [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null; desktop_finish "$rc"' EXIT

desktop_start "$build/user-shot" "$build/tarvelo.exe"
for v in "Adapter REG_SZ lo" "Width REG_DWORD 180" "Height REG_DWORD 110" "LeftPos REG_DWORD 820" \
         "TopPos REG_DWORD 614"; do reg_set $v; done
desktop_up StatsForm || { echo "the graph window never came"; exit 1; }
# loopback traffic that rises and falls
( while true; do for s in 8000 20000 42000 60000 30000 12000 50000 3000 0; do
    if [ "$s" = 0 ]; then sleep 4; else ping -q -c 5 -i 0.2 -s "$s" 127.0.0.1 >/dev/null 2>&1; fi; done; done ) &
traffic_pid=$!
sleep 140
xdotool mousemove 400 300
shot "$build/user-shot/desktop.png"
convert "$build/user-shot/desktop.png" -crop 224x172+800+596 +repage -scale 200% "$out"
echo "$out"

# a dialog opened by its menu command (the popup menu's ids start at 4096), cropped
dialog_shot() {
  local id=$1 title=$2 file=$3 x y w h
  probe command StatsForm "$id"
  dialog_shown() { [ -n "$(probe_rect '#32770' "$title")" ]; }
  within 10 dialog_shown || { echo "no $title"; return 1; }
  read -r x y w h <<<"$(probe_rect '#32770' "$title")"
  sleep 1
  shot "$build/user-shot/dialog.png"
  convert "$build/user-shot/dialog.png" -crop "${w}x${h}+${x}+${y}" +repage "$file"
  xdotool key Return
  sleep 1
  echo "$file"
}
docs=$(dirname "$out")
dialog_shot 4099 Counters "$docs/counters.png"
dialog_shot 4106 "About Tarvelo " "$docs/about.png"
