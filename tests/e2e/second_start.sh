#!/usr/bin/env bash
# End to end: tarvelo.exe watches one end of a veth pair in a network namespace of its
# own, and is started twice more while traffic flows (the sign-in entry and a
# double-click, say). Each later start must end with exit code 0, one program must be
# left, and once the link is quiet the stored totals must equal the octets the kernel
# counted on the interface: a second program writing the same totals would lose some.
#   second_start.sh path/to/tarvelo.exe work-dir
set -u
exe=$(cd "$(dirname "${1:?tarvelo.exe}")" && pwd)/$(basename "$1")
work=${2:?work dir}
log() { echo "[e2e] $*"; }
fail() { log "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

[ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
command -v ip >/dev/null || skip "iproute2 missing"
ns_app="tarvelo-once-$$" ns_peer="tarvelo-once-peer-$$"
ip netns add "$ns_app" 2>/dev/null || skip "cannot make network namespaces here (ip netns add failed)"
if ! ip netns add "$ns_peer" 2>/dev/null ||
   ! ip link add tv0 netns "$ns_app" type veth peer name tv1 netns "$ns_peer" 2>/dev/null; then
  ip netns del "$ns_app" 2>/dev/null; ip netns del "$ns_peer" 2>/dev/null
  skip "cannot make a veth pair between network namespaces here"
fi

mkdir -p "$work" && work=$(cd "$work" && pwd)
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid="" app_pid="" traffic_pid=""
cleanup() {
  [ -n "$traffic_pid" ] && kill "$traffic_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  ip netns exec "$ns_app" wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  ip netns del "$ns_app" 2>/dev/null; ip netns del "$ns_peer" 2>/dev/null
}
trap cleanup EXIT
. "$(dirname "$0")/../../scripts/xvfb.sh"
start_private_xvfb

in_app() { ip netns exec "$ns_app" "$@"; }
in_peer() { ip netns exec "$ns_peer" "$@"; }
for ns in "$ns_app" "$ns_peer"; do
  ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
  ip -n "$ns" link set lo up
done
in_app sysctl -qw net.ipv6.conf.tv0.disable_ipv6=1
in_peer sysctl -qw net.ipv6.conf.tv1.disable_ipv6=1
ip -n "$ns_app" addr add 198.51.100.1/30 dev tv0 && ip -n "$ns_app" link set tv0 up
ip -n "$ns_peer" addr add 198.51.100.2/30 dev tv1 && ip -n "$ns_peer" link set tv1 up
counter() { in_app cat "/sys/class/net/tv0/statistics/$1"; }
key='HKCU\Software\Quillmoor\Tarvelo'
query() { in_app wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }
wait_ticks() {
  local from now
  from=$(query counter_elapsed)
  for _ in $(seq 120); do
    sleep 1
    now=$(query counter_elapsed)
    [ $(( ${now:--1} - ${from:--1} )) -ge "$1" ] && return 0
  done
  fail "the program stored no ticks"
}
# Windows programs of this namespace only: other builds on the machine run their own.
programs() {
  local pid n=0
  for pid in $(ip netns pids "$ns_app"); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'tarvelo\.exe' && n=$((n + 1))
  done
  echo "$n"
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log "creating the Wine prefix"
  in_app wine wineboot -i >/dev/null 2>&1
  in_app wineserver -w
fi
in_app wine reg delete "$key" /f >/dev/null 2>&1
in_app wine reg add "$key" /v Adapter /t REG_SZ /d tv0 /f >/dev/null 2>&1 || fail "cannot store the adapter"

sleep 2  # let the link settle (ARP, carrier) before the baseline
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
in_app wine "$exe" >/dev/null 2>&1 &
app_pid=$!
wait_ticks 3
[ "$(programs)" = 1 ] || fail "$(programs) programs after the first start"

# Traffic both ways for about ten seconds, in the background.
(
  for _ in $(seq 10); do
    in_peer sh -c "head -c 400000 /dev/zero | nc -N -l 198.51.100.2 5001" &
    sleep 0.3
    in_app sh -c "nc -d 198.51.100.2 5001 >/dev/null"
    wait
    in_peer sh -c "nc -l 198.51.100.2 5002 >/dev/null" &
    sleep 0.3
    in_app sh -c "head -c 50000 /dev/zero | nc -N 198.51.100.2 5002"
    wait
    sleep 0.2
  done
) &
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
wait "$traffic_pid"
traffic_pid=""
rx_mid=$(counter rx_bytes)
[ $((rx_mid - rx0)) -ge 4000000 ] || fail "the traffic did not get through ($((rx_mid - rx0)) octets)"

wait_ticks 3  # the link is quiet; let the ticks catch up
rx1=$(counter rx_bytes) tx1=$(counter tx_bytes)
total() {
  local h l
  h=$(query "${1}_h") l=$(query "${1}_l")
  [ -n "$h" ] && [ -n "$l" ] && echo $(( (h << 32) + (l & 0xFFFFFFFF) )) || echo missing
}
down_stored=$(total download) up_stored=$(total upload)
log "kernel: rx $((rx1 - rx0)) tx $((tx1 - tx0)); stored: download $down_stored upload $up_stored"
check "$(programs) programs left, not 1" [ "$(programs)" = 1 ]
check "download total $down_stored != kernel rx growth $((rx1 - rx0))" [ "$down_stored" = "$((rx1 - rx0))" ]
check "upload total $up_stored != kernel tx growth $((tx1 - tx0))" [ "$up_stored" = "$((tx1 - tx0))" ]
[ $status -eq 0 ] && log "passed"
exit $status
