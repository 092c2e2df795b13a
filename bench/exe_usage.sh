#!/usr/bin/env bash
# CPU time and resident memory of the running tarvelo.exe under Wine: the graph shown
# and hidden ("UserHide"), idle and under steady loopback traffic, in each tray mode,
# per 30 s side by side, then over one period (-s 60 gives the 60 s figures); first the
# DLLs each exe has loaded once started, and its resident memory then.
# Every configuration runs at the same time, each on its own Wine virtual desktop with
# a notification area (so the tray picture is really installed), its own prefix and
# its own Xvfb; idle and traffic periods alternate, so load from elsewhere on the
# machine falls on all of them alike. Figures are the exe's own CPU per 30 s (user and
# system), as the mean of the rounds with their spread; its wineserver's beside it.
#   bench/exe_usage.sh [-s seconds] [-r rounds] [-m "modes"] [-v "views"] [exe ...]
# Defaults: 30 s periods, 3 rounds, modes "0 1 2 3", views "shown hidden",
# build/windows/tarvelo.exe. Several exes are measured side by side (A, B, ...).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
secs=30 rounds=3 modes="0 1 2 3" views="shown hidden"
while getopts "s:r:m:v:" opt; do
  case $opt in
    s) secs=$OPTARG ;; r) rounds=$OPTARG ;; m) modes=$OPTARG ;; v) views=$OPTARG ;;
    *) sed -n '2,12p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- "$root/build/windows/tarvelo.exe"
exes=()
for e in "$@"; do
  [ -f "$e" ] || { echo "no $e: build tarvelo.exe first (cmake --build --preset windows)"; exit 1; }
  exes+=("$(realpath "$e")")
done
for tool in Xvfb nc bc; do
  command -v $tool >/dev/null || { echo "$tool is missing: scripts/setup.sh installs it"; exit 1; }
done

work="$root/build/bench-usage"
template="$work/template"
wine_bin=$(command -v wine64 || command -v wine)
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

xvfbs=() displays=() traffic_pid="" prefixes=()
cleanup() {
  [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null
  for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k >/dev/null 2>&1; done
  for x in "${xvfbs[@]}"; do kill "$x" 2>/dev/null; done
}
trap cleanup EXIT

# A private Xvfb; sets display.
new_display() {
  local fifo
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$fifo" >/dev/null 2>&1 &
  xvfbs+=($!)
  read -r display < "$fifo"; rm -f "$fifo"
  display=":$display"
}

# One booted prefix with the desktop's shell on, copied for every configuration.
if [ ! -f "$template/user.reg" ] || ! grep -q 'Explorer\\\\Desktops\\\\Tarvelo' "$template/user.reg"; then
  rm -rf "$template"; mkdir -p "$work"
  new_display
  prefixes+=("$template")
  DISPLAY=$display WINEPREFIX=$template "$wine_bin" wineboot -i >/dev/null 2>&1
  DISPLAY=$display WINEPREFIX=$template "$wine_bin" reg add 'HKCU\Software\Wine\Explorer\Desktops\Tarvelo' \
    /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
  WINEPREFIX=$template wineserver -w
fi

# The process whose program name ends in `name`, started under `prefix` (found by its
# environment), or nothing.
pid_in() {
  local prefix=$1 name=$2 p first
  for p in $(pgrep -f "$name"); do
    first=$(tr '\0' '\n' 2>/dev/null <"/proc/$p/cmdline" | head -n 1)  # the process may be gone
    [[ ${first,,} == *"${name,,}" ]] || continue
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$prefix" && { echo "$p"; return; }
  done
}

hex() { printf 'dword:%08x' "$1"; }

# Start every configuration.
labels=() pids=() servers=() n=0 letter=(A B C D E F)
for ((e = 0; e < ${#exes[@]}; e++)); do
  for view in $views; do
    for mode in $modes; do
      dir="$work/run/$n"
      rm -rf "$dir"; mkdir -p "$dir"
      cp -a "$template" "$dir/prefix"
      hide=0; [ "$view" = hidden ] && hide=1
      # 263 x 174: the window starts unfocused, in the flat look without a frame; the settings are appended to the
      # registry file while no server holds it
      cat >>"$dir/prefix/user.reg" <<EOF

[Software\\\\Quillmoor\\\\Tarvelo]
"Adapter"="lo"
"TrayMode"=$(hex "$mode")
"UserHide"=$(hex $hide)
"Width"=$(hex 263)
"Height"=$(hex 174)
"LeftPos"=$(hex 400)
"TopPos"=$(hex 300)
EOF
      new_display
      prefixes+=("$dir/prefix")
      DISPLAY=$display WINEPREFIX="$dir/prefix" "$wine_bin" explorer /desktop=Tarvelo,1024x768 "${exes[e]}" \
        >/dev/null 2>&1 &
      labels+=("${letter[e]} $view Mode$((mode + 1))")
      displays+=("$display")
      n=$((n + 1))
      sleep 2
    done
  done
done

for ((i = 0; i < n; i++)); do
  prefix="$work/run/$i/prefix" p=""
  for ((t = 0; t < 180; t++)); do
    for e in "${exes[@]}"; do p=$(pid_in "$prefix" "$(basename "$e")"); [ -n "$p" ] && break; done
    [ -n "$p" ] && break
    sleep 1
  done
  [ -n "$p" ] || { echo "configuration ${labels[i]} did not start"; exit 1; }
  pids[i]=$p
  servers[i]=$(pid_in "$prefix" wineserver || true)
  [ -n "${servers[i]}" ] || servers[i]=$(pid_in "$prefix" wineserver64 || true)
done
sleep 10  # start-up settles

hz=$(getconf CLK_TCK)
ticks() { [ -n "$1" ] && awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
rss_kb() { awk '/VmRSS/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

# the DLLs mapped into the process (Wine maps its PE modules from their files) and the
# resident memory, once started
dlls_of() { grep -oiE '[^/ ]+\.(dll|drv)$' "/proc/$1/maps" 2>/dev/null | tr 'A-Z' 'a-z' | LC_ALL=C sort -u | tr '\n' ' '; }
declare -A start_dlls start_rss
for ((i = 0; i < n; i++)); do start_dlls[$i]=$(dlls_of "${pids[i]}"); start_rss[$i]=$(rss_kb "${pids[i]}"); done

declare -A cpu  # cpu[phase,i] = per-round figures, ms per 30 s, space-separated
declare -A rss  # rss[phase,i] = resident KiB at the end of that phase's last period
measure() {
  local phase=$1 a=() b=() sa=() sb=()
  for ((i = 0; i < n; i++)); do a[i]=$(ticks "${pids[i]}"); sa[i]=$(ticks "${servers[i]}"); done
  sleep "$secs"
  for ((i = 0; i < n; i++)); do b[i]=$(ticks "${pids[i]}"); sb[i]=$(ticks "${servers[i]}"); done
  for ((i = 0; i < n; i++)); do
    cpu[$phase,$i]+="$(( (b[i] - a[i]) * 1000 * 30 / hz / secs )) "
    cpu[server$phase,$i]+="$(( (sb[i] - sa[i]) * 1000 * 30 / hz / secs )) "
    rss[$phase,$i]=$(rss_kb "${pids[i]}")
  done
}

traffic_on() {
  # about 1 MB/s through loopback, in one burst a second
  ( while true; do head -c 1000000 /dev/zero | nc -N -l 127.0.0.1 5099 >/dev/null & sleep 0.2
      nc -d 127.0.0.1 5099 >/dev/null; sleep 0.8; done ) >/dev/null 2>&1 &
  traffic_pid=$!
  sleep 3
}
traffic_off() {
  kill "$traffic_pid" 2>/dev/null; wait "$traffic_pid" 2>/dev/null; traffic_pid=""
  sleep 3
}

for ((r = 1; r <= rounds; r++)); do
  if ((r % 2)); then measure idle; traffic_on; measure traffic; traffic_off
  else traffic_on; measure traffic; traffic_off; measure idle; fi
  echo "round $r of $rounds done" >&2
done

# what each desktop looks like at the end, to see that the window and the icon are there
for ((i = 0; i < n; i++)); do import -display "${displays[i]}" -window root "$work/run/$i/desktop.png" 2>/dev/null; done

# mean (min-max) of a list
stats() { awk '{ s = 0; lo = $1; hi = $1; for (i = 1; i <= NF; i++) { s += $i; if ($i < lo) lo = $i; if ($i > hi) hi = $i }
  printf "%5d (%d-%d)", s / NF, lo, hi }' <<<"$1"; }
mean() { awk '{ s = 0; for (i = 1; i <= NF; i++) s += $i; print s / NF }' <<<"$1"; }

words() { tr ' ' '\n' <<<"$1" | grep .; }
echo "once started: resident memory, and the DLLs loaded (the first configuration of each exe)"
for ((i = 0; i < n; i++)); do printf '  %-22s %7d KiB\n' "${labels[i]}" "${start_rss[$i]:-0}"; done
for ((e = 0, i = 0; e < ${#exes[@]}; e++, i += n / ${#exes[@]})); do
  set -- ${start_dlls[$i]}
  echo "  ${letter[e]}: $# DLLs: $*"
  ((e > 0)) && echo "     not in A: $(LC_ALL=C comm -13 <(words "${start_dlls[0]}") <(words "${start_dlls[$i]}") | xargs)" \
    && echo "     only in A: $(LC_ALL=C comm -23 <(words "${start_dlls[0]}") <(words "${start_dlls[$i]}") | xargs)"
done
echo "tarvelo.exe CPU in ms per 30 s, mean (min-max) of $rounds rounds of $secs s; 263 x 174 client area;"
echo "the prefix's wineserver beside it"
for ((e = 0; e < ${#exes[@]}; e++)); do echo "  ${letter[e]}: ${exes[e]} ($(stat -c %s "${exes[e]}") bytes)"; done
printf '%-22s %-17s %-17s   %s\n' "" "idle" "traffic" "wineserver idle / traffic"
for ((i = 0; i < n; i++)); do
  printf '%-22s %-17s %-17s   %s / %s\n' "${labels[i]}" "$(stats "${cpu[idle,$i]}")" "$(stats "${cpu[traffic,$i]}")" \
    "$(mean "${cpu[serveridle,$i]}")" "$(mean "${cpu[servertraffic,$i]}")"
done
echo "over one period of $secs s: CPU time in ms (mean of the rounds) and resident memory at its end"
printf '%-22s %10s %12s %14s %14s\n' "" "idle CPU" "traffic CPU" "idle resident" "traffic res."
for ((i = 0; i < n; i++)); do
  printf '%-22s %10.0f %12.0f %10d KiB %10d KiB\n' "${labels[i]}" \
    "$(echo "$(mean "${cpu[idle,$i]}") * $secs / 30" | bc -l)" "$(echo "$(mean "${cpu[traffic,$i]}") * $secs / 30" | bc -l)" \
    "${rss[idle,$i]:-0}" "${rss[traffic,$i]:-0}"
done
# shown against hidden, for each exe and mode that has both
echo "shown / hidden:"
for ((i = 0; i < n; i++)); do
  [[ ${labels[i]} == *" shown "* ]] || continue
  for ((j = 0; j < n; j++)); do
    [ "${labels[j]}" = "${labels[i]/ shown / hidden }" ] || continue
    printf '  %-20s idle %.2f   traffic %.2f\n' "${labels[i]/ shown /  }" \
      "$(echo "$(mean "${cpu[idle,$i]}") / $(mean "${cpu[idle,$j]}")" | bc -l)" \
      "$(echo "$(mean "${cpu[traffic,$i]}") / $(mean "${cpu[traffic,$j]}")" | bc -l)"
  done
done
