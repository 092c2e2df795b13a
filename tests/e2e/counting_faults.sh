#!/usr/bin/env bash
# End to end: plain counting and three faults of counting met by one running tarvelo.exe,
# each checked against the kernel's own counts of tv0 over all its lives:
#   plain     traffic both ways; the graph shows it at its stored place
#   recreate  traffic, tv0 deleted, re-created under the same name, more traffic
#   wide      more than 2^31 octets, then tv0 deleted and re-created at once
#   stall     the program's process held five seconds during traffic
# Throughout, the stored totals never run ahead of the kernel's count (no tick counts
# more than went through), and after each check they equal it.
#   counting_faults.sh run tarvelo.exe work-dir     all four; results in work-dir/faults
#   counting_faults.sh check NAME work-dir          one check's figures and verdict
set -u
. "$(dirname "$0")/netns.sh"

if [ "${1:-}" = check ]; then
  result="${3:?work dir}/faults/${2:?check name}"
  [ -f "$result" ] || { echo "FAIL: the run left no result for $2"; exit 1; }
  cat "$result"
  grep -q '^SKIP' "$result" && exit 77
  grep -q '^passed' "$result" && exit 0
  exit 1
fi
[ "${1:-}" = run ] || { echo "usage: $0 run tarvelo.exe work-dir | check NAME work-dir"; exit 2; }
results="${3:?work dir}/faults"
rm -rf "$results" && mkdir -p "$results"
# A skip says why in every check's result.
skip() {
  for c in plain recreate wide stall; do echo "SKIP: $*" >"$results/$c"; done
  echo "SKIP: $*"
  exit 77
}
e2e_setup "$2" "$3"

# The kernel's count since the program started, over every life of tv0: what earlier
# lives counted is in the base file.
base="$results/base"
kernel() {
  local b rx=0 tx=0
  read -r -a b <"$base"
  if in_app test -e /sys/class/net/tv0; then
    rx=$(counter rx_bytes) tx=$(counter tx_bytes)
  fi
  echo $((b[0] + rx)) $((b[1] + tx))
}
# tv0 goes; what it counted joins the base.
delete_veth() {
  local b
  read -r -a b <"$base"
  echo $((b[0] + $(counter rx_bytes))) $((b[1] + $(counter tx_bytes))) >"$base"
  ip -n "$ns_app" link del tv0 || fail "cannot delete tv0"
}

# One look from outside: the stored values first, then the kernel, so a tick that has
# stored more than the kernel had counted by then shows as a lead.
poll() {
  local s k
  s=$(stored) k=$(kernel)
  [ -n "$s" ] || return 0
  set -- $s $k
  if [ "$1" -gt "$4" ] || [ "$2" -gt "$5" ]; then
    log "stored $1 down, $2 up ran ahead of the kernel's $4, $5"
    echo ahead >>"$results/ahead"
  fi
}
poll_while() { while kill -0 "$1" 2>/dev/null; do poll; sleep 0.5; done; wait "$1"; }
# Waits for n more stored ticks, polling meanwhile.
settle() { { wait_ticks "$1" & poll_while $!; } || fail "the program stored no ticks"; poll; }

# Stored against kernel after a check, and whether they ran ahead of it.
verdict() {
  local s k status=0
  s=$(stored) k=$(kernel)
  set -- $s $k
  [ "$1" = "$4" ] || { log "download total $1 != kernel rx $4"; status=1; }
  [ "$2" = "$5" ] || { log "upload total $2 != kernel tx $5"; status=1; }
  [ -f "$results/ahead" ] && { log "the stored totals ran ahead of the kernel at $(wc -l <"$results/ahead") polls"; status=1; }
  rm -f "$results/ahead"
  return $status
}

# Spread over several ticks, so the graph shows an area. The stored window is (120, 140)
# 240 x 120; "DnColor" defaults to RGB(255, 21, 21).
check_plain() {
  local status=0 shot="$results/plain.png" red outside
  for _ in $(seq 6); do transfer down 500000; sleep 0.7; done
  transfer up 400000
  settle 3
  verdict || status=1
  import -display "$DISPLAY" -window root "$shot" 2>/dev/null || { log "no screenshot"; return 1; }
  red_in() {
    convert "$shot" -crop "$1" +repage -fill black +opaque 'rgb(255,21,21)' -fill white -opaque 'rgb(255,21,21)' \
      -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
  }
  red=$(red_in 240x120+120+140) outside=$(red_in 100x100+700+600)
  [ "${red:-0}" -gt 50 ] || { log "the graph window shows no down-link area at its stored place"; status=1; }
  [ "${outside:-1}" -eq 0 ] || { log "down-link colour found away from the window"; status=1; }
  return $status
}

check_recreate() {
  transfer down 750000; poll; transfer down 750000; poll; transfer up 300000
  settle 2
  local before
  before=$(stored)
  delete_veth
  settle 3
  set -- $before $(stored)
  [ "$1 $2" = "$4 $5" ] || { log "traffic counted while tv0 was away: $1 $2 -> $4 $5"; echo ahead >>"$results/ahead"; }
  # Held, so the new life has counted before the program's first look at it.
  kill -STOP "$wine_pid"
  make_veth || { kill -CONT "$wine_pid"; fail "cannot re-create tv0"; }
  transfer down 500000
  kill -CONT "$wine_pid"
  transfer down 500000; poll; transfer up 200000
  settle 3
  verdict
}

check_wide() {
  transfer down 2200000000 & poll_while $! || fail "the transfer did not go through"
  settle 2
  # deleted and re-created at once, the program held
  kill -STOP "$wine_pid"
  delete_veth
  make_veth || { kill -CONT "$wine_pid"; fail "cannot re-create tv0"; }
  transfer down 100000
  kill -CONT "$wine_pid"
  transfer down 100000
  settle 3
  verdict
}

check_stall() {
  # Steady traffic for about twelve seconds, the program held for five of them.
  (for _ in $(seq 24); do transfer down 100000; sleep 0.2; done) &
  local traffic=$! e0 e1 t0 t1 held
  sleep 2
  e0=$(($(query counter_elapsed))) t0=$(date +%s.%N)
  kill -STOP "$wine_pid"
  sleep 2.5
  held=$(($(query counter_elapsed)))
  sleep 2.5
  kill -CONT "$wine_pid"
  local status=0
  poll_while $traffic || { log "the traffic did not go through"; status=1; }
  settle 3
  e1=$(($(query counter_elapsed))) t1=$(date +%s.%N)
  local wall
  wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')
  verdict || status=1
  [ "$held" = "$e0" ] || [ "$held" = $((e0 + 1)) ] || { log "the program was not held: $e0 -> $held"; status=1; }
  awk -v g=$((e1 - e0)) -v w="$wall" 'BEGIN { exit !(g >= w - 1.5 && g <= w + 1.5) }' ||
    { log "counter_elapsed grew by $((e1 - e0)), not by the ${wall} s that passed"; status=1; }
  return $status
}

for v in "LeftPos 120" "TopPos 140" "Width 240" "Height 120"; do
  set -- $v
  in_app wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
done
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
echo "-$rx0 -$tx0" >"$base"
start_app
wait_ticks 3
# The process that runs the program: the one in this namespace whose command is the exe.
wine_pid="" netns=$(in_app readlink /proc/self/ns/net)
for p in /proc/[0-9]*; do
  [ "$(readlink "$p/ns/net" 2>/dev/null)" = "$netns" ] || continue
  tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q 'tarvelo\.exe' && wine_pid=${p#/proc/} && break
done
[ -n "$wine_pid" ] || fail "cannot find the program's process"

for c in plain recreate wide stall; do
  check_$c 2>&1 | tee "$results/$c.out"
  if [ "${PIPESTATUS[0]}" -eq 0 ]; then
    echo passed >>"$results/$c.out"
  else
    echo failed >>"$results/$c.out"
  fi
  mv "$results/$c.out" "$results/$c"
done
# The checks' own entries report each verdict; this one fails only when it gave none.
exit 0
