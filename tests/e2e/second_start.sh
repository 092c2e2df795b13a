#!/usr/bin/env bash
# End to end: tarvelo.exe watches tv0 and is started twice more while traffic flows (the
# sign-in entry and a double-click, say). Each later start must end with exit code 0,
# one program must be left, and once the link is quiet the stored totals must equal the
# octets the kernel counted: a second program writing the same totals would lose some.
#   second_start.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"
traffic_pid=""
trap '[ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null; e2e_cleanup' EXIT
# Windows programs of this namespace only: other builds on the machine run their own.
programs() {
  local pid n=0
  for pid in $(ip netns pids "$ns_app"); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'tarvelo\.exe' && n=$((n + 1))
  done
  echo "$n"
}

sleep 2  # let the link settle before the baseline
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
start_app
wait_ticks 3
[ "$(programs)" = 1 ] || fail "$(programs) programs after the first start"

# Traffic both ways for about ten seconds while the later starts come and go.
( for _ in $(seq 10); do transfer down 400000; transfer up 50000; sleep 0.2; done ) &
traffic_pid=$!
status=0
check() { "${@:2}" || { log "$1"; status=1; }; }
for start in 2 3; do
  sleep 2
  timeout 60 ip netns exec "$ns_app" wine "$exe" >/dev/null 2>&1
  code=$?
  log "start $start ended with $code; programs left: $(programs)"
  check "start $start ended with $code, not 0" [ "$code" = 0 ]
done
wait "$traffic_pid" || fail "the traffic did not get through"
traffic_pid=""

wait_ticks 3  # the link is quiet; let the ticks catch up
rx1=$(counter rx_bytes) tx1=$(counter tx_bytes)
read -r down_stored up_stored _ <<<"$(stored)"
log "kernel: rx $((rx1 - rx0)) tx $((tx1 - tx0)); stored: download $down_stored upload $up_stored"
check "$(programs) programs left, not 1" [ "$(programs)" = 1 ]
check "download total $down_stored != kernel rx growth $((rx1 - rx0))" [ "$down_stored" = "$((rx1 - rx0))" ]
check "upload total $up_stored != kernel tx growth $((tx1 - tx0))" [ "$up_stored" = "$((tx1 - tx0))" ]
[ $status -eq 0 ] && log "passed"
exit $status
