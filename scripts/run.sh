#!/usr/bin/env bash
# Builds tarvelo.exe and runs it under Wine with the project's own prefix.
#   scripts/run.sh [--adapter NAME] [--shots DIR]
# With a display the program shows there. Without one it runs on Wine's virtual
# desktop with its taskbar, on a private Xvfb, and a screenshot of the desktop is
# saved every few seconds.
# Ctrl+C ends the program and Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

adapter=""
shots="$root/build/screenshots"
while [ $# -gt 0 ]; do
  case "$1" in
    --adapter) adapter=${2:?--adapter needs a name}; shift 2 ;;
    --shots) shots=${2:?--shots needs a folder}; shift 2 ;;
    -h|--help) sed -n '2,7p' "$0"; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

scripts/setup.sh || exit 1
cmake --preset windows >/dev/null || exit 1
cmake --build --preset windows --target tarvelo || exit 1
exe="$root/build/windows/tarvelo.exe"

export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="

. "$root/scripts/xvfb.sh"
start_private_xvfb
[ -n "$xvfb_pid" ] && echo "No display: started Xvfb on $DISPLAY"

app_pid=""; shot_pid=""
stop() {
  trap - INT TERM EXIT
  [ -n "$shot_pid" ] && kill "$shot_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  echo "Tarvelo ended."
}
trap stop INT TERM EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix in $WINEPREFIX (once)..."
  wine wineboot -i >/dev/null 2>&1; wineserver -w
fi
# Title bars' buttons are drawn with Marlett, which this Wine looks for in the prefix only.
cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null

key='HKCU\Software\Quillmoor\Tarvelo'
stored=$(wine reg query "$key" /v Adapter 2>/dev/null | tr -d '\r' | awk '$1=="Adapter"{ $1=""; $2=""; sub(/^  */, ""); print }')
if [ -n "$adapter" ] || [ -z "$stored" ]; then
  if [ -z "$adapter" ]; then
    # Wine describes each interface by its Linux name.
    adapter=$(ip route show default 2>/dev/null | awk '{for (i = 1; i < NF; i++) if ($i == "dev") { print $(i + 1); exit }}')
    [ -n "$adapter" ] || adapter=lo
    echo "No adapter stored yet: monitoring '$adapter', the default-route interface (--adapter NAME picks another)."
  else
    echo "Monitoring '$adapter'."
  fi
  wine reg add "$key" /v Adapter /t REG_SZ /d "$adapter" /f >/dev/null 2>&1
else
  echo "Monitoring '$stored' (stored; --adapter NAME picks another)."
fi

if [ -z "$xvfb_pid" ]; then
  wine "$exe" &
  app_pid=$!
else
  # What a user sees: the graph and the tray picture in the taskbar's notification area.
  desktop=1024x768
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Tarvelo' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
  wine explorer /desktop=Tarvelo,$desktop "$exe" &
  app_pid=$!
  mkdir -p "$shots"
  echo "Screenshots every 5 s: $shots/tarvelo.png (Ctrl+C ends)"
  (
    while sleep 5; do
      import -display "$DISPLAY" -window root -crop "$desktop+0+0" +repage "$shots/tarvelo.png.tmp.png" 2>/dev/null &&
        mv -f "$shots/tarvelo.png.tmp.png" "$shots/tarvelo.png"
    done
  ) &
  shot_pid=$!
fi

wait "$app_pid"
