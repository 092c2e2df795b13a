#!/usr/bin/env bash
# End to end: tarvelo.exe runs under Wine inside a network namespace of its own and
# watches one end of a veth pair (IPv6 off, so nothing else crosses it). A known amount
# of traffic goes through the pair both ways; once the link has been quiet, the stored
# "upload"/"download" totals must have grown by exactly the octets the kernel counted on
# that interface, and a screenshot must show the graph window at its stored place with
# down-link pixels in its "DnColor".
#   veth_traffic.sh path/to/tarvelo.exe work-dir
set -u
exe=$(cd "$(dirname "${1:?tarvelo.exe}")" && pwd)/$(basename "$1")
work=${2:?work dir}
log() { echo "[e2e] $*"; }
fail() { log "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

[ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
command -v ip >/dev/null || skip "iproute2 missing"
ns_app="tarvelo-app-$$" ns_peer="tarvelo-peer-$$"
ip netns add "$ns_app" 2>/dev/null || skip "cannot make network namespaces here (ip netns add failed)"
if ! ip netns add "$ns_peer" 2>/dev/null ||
   ! ip link add tv0 netns "$ns_app" type veth peer name tv1 netns "$ns_peer" 2>/dev/null; then
  ip netns del "$ns_app" 2>/dev/null; ip netns del "$ns_peer" 2>/dev/null
  skip "cannot make a veth pair between network namespaces here"
fi

mkdir -p "$work" && work=$(cd "$work" && pwd)
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid="" app_pid=""
cleanup() {
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
# Waits until the program has stored n more ticks than it had (none stored counts as -1):
# a slow Wine start or a busy machine must not make the traffic miss the ticks.
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

# A prefix of its own, made inside the namespace so its services see only tv0 and lo.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log "creating the Wine prefix"
  in_app wine wineboot -i >/dev/null 2>&1
  in_app wineserver -w
fi
in_app wine reg delete "$key" /f >/dev/null 2>&1
in_app wine reg add "$key" /v Adapter /t REG_SZ /d tv0 /f >/dev/null 2>&1 || fail "cannot store the adapter"
for v in "LeftPos 120" "TopPos 140" "Width 240" "Height 120"; do
  set -- $v
  in_app wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
done

sleep 2  # let the link settle (ARP, carrier) before the baseline
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
log "kernel counters before start: rx $rx0 tx $tx0"
in_app wine "$exe" >/dev/null 2>&1 &
app_pid=$!
wait_ticks 3  # started, primed and ticking

# One connection each way at a time, so each side ends cleanly when its data is through;
# the download is spread over several ticks so the graph shows an area, not a spike.
down_bytes=3000000 up_bytes=400000 chunks=6
log "sending $down_bytes octets down and $up_bytes up through tv0"
for _ in $(seq "$chunks"); do
  in_peer sh -c "head -c $((down_bytes / chunks)) /dev/zero | nc -N -l 198.51.100.2 5001" &
  peer_pid=$!
  sleep 0.3
  got=$(in_app sh -c "nc -d 198.51.100.2 5001 | wc -c")
  wait "$peer_pid"
  [ "$got" = "$((down_bytes / chunks))" ] || fail "download transfer got $got octets"
  sleep 0.7
done
in_peer sh -c "nc -l 198.51.100.2 5002 >/dev/null" &
peer_pid=$!
sleep 0.5
in_app sh -c "head -c $up_bytes /dev/zero | nc -N 198.51.100.2 5002" || fail "upload transfer failed"
wait "$peer_pid"

wait_ticks 3  # the link is quiet; let the ticks catch up
rx1=$(counter rx_bytes) tx1=$(counter tx_bytes)
log "kernel counters after: rx $rx1 tx $tx1"
total() {
  local h l
  h=$(query "${1}_h") l=$(query "${1}_l")
  [ -n "$h" ] && [ -n "$l" ] && echo $(( (h << 32) + (l & 0xFFFFFFFF) )) || echo missing
}
down_stored=$(total download) up_stored=$(total upload)
log "stored totals: download $down_stored upload $up_stored"
status=0
check() { "${@:2}" || { log "$1"; status=1; }; }
check "download total $down_stored != kernel rx growth $((rx1 - rx0))" [ "$down_stored" = "$((rx1 - rx0))" ]
check "upload total $up_stored != kernel tx growth $((tx1 - tx0))" [ "$up_stored" = "$((tx1 - tx0))" ]
check "the kernel saw less than was sent" [ $((rx1 - rx0)) -ge $down_bytes ]

# The stored window rectangle is (120, 140) 240 x 120; "DnColor" defaults to RGB(255, 21, 21).
shot="$work/e2e-screen.png"
import -display "$DISPLAY" -window root "$shot" 2>/dev/null || fail "no screenshot"
red_in() {
  convert "$shot" -crop "$1" +repage -fill black +opaque 'rgb(255,21,21)' -fill white -opaque 'rgb(255,21,21)' \
    -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
red=$(red_in 240x120+120+140) outside=$(red_in 100x100+700+600)
log "down-link pixels inside the window rectangle: ${red:-?}, in a patch elsewhere: ${outside:-?}"
check "the graph window shows no down-link area at its stored place" [ "${red:-0}" -gt 50 ]
check "down-link colour found away from the window" [ "${outside:-1}" -eq 0 ]
[ $status -eq 0 ] && log "passed"
exit $status
