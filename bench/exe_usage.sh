#!/usr/bin/env bash
# CPU time and resident memory of the running tarvelo.exe under Wine, over 60 s idle
# and 60 s of steady traffic on the watched interface (loopback here).
#   bench/exe_usage.sh [seconds] [exe]      (exe: build/windows/tarvelo.exe by default)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
secs=${1:-60}
exe=$(realpath "${2:-$root/build/windows/tarvelo.exe}")
[ -f "$exe" ] || { echo "build tarvelo.exe first (scripts/test.sh or cmake --build --preset windows)"; exit 1; }

export WINEPREFIX="$root/build/bench-prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
. "$root/scripts/xvfb.sh"
start_private_xvfb
traffic_pid=""
cleanup() {
  [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

[ -f "$WINEPREFIX/system.reg" ] || { wine wineboot -i >/dev/null 2>&1; wineserver -w; }
wine reg add 'HKCU\Software\Quillmoor\Tarvelo' /v Adapter /t REG_SZ /d lo /f >/dev/null 2>&1
echo "$exe"
wine "$exe" >/dev/null 2>&1 &
sleep 5
# ours, not another tarvelo.exe on the machine: the one under this prefix
pid=""
for p in $(pgrep -f "$(basename "$exe")"); do
  tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { pid=$p; break; }
done
[ -n "$pid" ] || { echo "tarvelo.exe did not start"; exit 1; }
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
rss_kb() { awk '/VmRSS/ { print $2 }' "/proc/$pid/status"; }

measure() {
  local label=$1 c0 c1
  c0=$(cpu_ticks)
  sleep "$secs"
  c1=$(cpu_ticks)
  printf '%-16s cpu %6.2f s over %d s (%.2f %%), resident %d KiB\n' "$label" \
    "$(echo "($c1 - $c0) / $hz" | bc -l)" "$secs" "$(echo "($c1 - $c0) * 100 / $hz / $secs" | bc -l)" "$(rss_kb)"
}

measure "idle"
# about 1 MB/s through loopback
( while true; do head -c 1000000 /dev/zero | nc -N -l 127.0.0.1 5099 >/dev/null & sleep 0.2
    nc -d 127.0.0.1 5099 >/dev/null; sleep 0.8; done ) >/dev/null 2>&1 &
traffic_pid=$!
measure "steady traffic"
size=$(stat -c %s "$exe")
echo "tarvelo.exe size: $size bytes"
