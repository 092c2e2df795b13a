#!/usr/bin/env bash
# End to end: tarvelo.exe follows the connection in use. The program's namespace has two
# links, tv0 and tv2, into the peer namespace; it is started with only "AdapterAuto" = 1
# stored, so it must count without asking. Traffic crosses both links while the default
# route goes through tv0, then the route moves to tv2 and traffic crosses both again:
# the stored totals must grow by exactly what the kernel counted on the link carrying
# the default route in each phase, the switch must be followed within 3 s, and
# "Adapter" must name tv2 at the end.
#   connection_switch.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"

# The second link, made like the first: no IPv6, fixed neighbours, so only the test's
# own traffic crosses it.
ip link add tv2 netns "$ns_app" type veth peer name tv3 netns "$ns_peer" 2>/dev/null || skip "no second veth pair"
in_app sysctl -qw net.ipv6.conf.tv2.disable_ipv6=1
in_peer sysctl -qw net.ipv6.conf.tv3.disable_ipv6=1
ip -n "$ns_app" addr add 198.51.100.5/30 dev tv2 && ip -n "$ns_app" link set tv2 up &&
  ip -n "$ns_peer" addr add 198.51.100.6/30 dev tv3 && ip -n "$ns_peer" link set tv3 up || fail "second link"
ip -n "$ns_app" neigh replace 198.51.100.6 lladdr "$(in_peer cat /sys/class/net/tv3/address)" dev tv2 nud permanent
ip -n "$ns_peer" neigh replace 198.51.100.5 lladdr "$(in_app cat /sys/class/net/tv2/address)" dev tv3 nud permanent
ip -n "$ns_app" route replace default via 198.51.100.2 dev tv0 || fail "default route through tv0"

in_app wine reg delete "$key" /v Adapter /f >/dev/null 2>&1
in_app wine reg add "$key" /v AdapterAuto /t REG_DWORD /d 1 /f >/dev/null 2>&1 || fail "cannot store AdapterAuto"

kernel() { in_app cat "/sys/class/net/$1/statistics/rx_bytes" "/sys/class/net/$1/statistics/tx_bytes" | paste -sd' '; }
# n octets from the peer down to the program's side of a link, or back up, one connection.
send() {
  local app=$1 peer=$2 dir=$3 n=$4 port=$((6000 + RANDOM % 1000)) rx=in_app tx=in_peer to=$1 recv got
  [ "$dir" = down ] || rx=in_peer tx=in_app to=$peer
  $rx sh -c "timeout 300 nc -l $to $port | wc -c" >"$work/received" &
  recv=$!
  for _ in $(seq 100); do
    $rx ss -Hltn "sport = :$port" | grep -q . && break
    sleep 0.1
  done
  $tx sh -c "head -c $n /dev/zero | timeout 300 nc -N $to $port"
  wait "$recv"
  got=$(cat "$work/received")
  [ "$got" = "$n" ] || fail "$dir transfer of $n octets over $app got ${got:-nothing}"
}
traffic() {  # on both links, more down than up
  send 198.51.100.1 198.51.100.2 down "$1"
  send 198.51.100.5 198.51.100.6 down $(($1 / 2 + 777))
  send 198.51.100.1 198.51.100.2 up $(($1 / 10))
  send 198.51.100.5 198.51.100.6 up $(($1 / 20 + 55))
}

sleep 2  # let the links settle
read -r rx0 tx0 <<<"$(kernel tv0)"
start_app
wait_ticks 3
[ "$(query Adapter)" = tv0 ] || fail "started without following tv0 (Adapter: $(query Adapter))"

log "phase 1: the default route through tv0, traffic on both links"
traffic 900000
wait_ticks 3
read -r rx1 tx1 <<<"$(kernel tv0)"
read -r down1 up1 _ <<<"$(stored)"
read -r rx2a tx2a <<<"$(kernel tv2)"

ip -n "$ns_app" route replace default via 198.51.100.6 dev tv2 || fail "default route through tv2"
moved=$(date +%s%N)
for _ in $(seq 100); do
  [ "$(query Adapter)" = tv2 ] && break
  sleep 0.1
done
followed_ms=$((($(date +%s%N) - moved) / 1000000))
log "the route moved; \"Adapter\" named tv2 after ${followed_ms} ms"

log "phase 2: the default route through tv2, traffic on both links"
traffic 700000
wait_ticks 3
read -r rx2b tx2b <<<"$(kernel tv2)"
read -r down2 up2 _ <<<"$(stored)"

status=0
check() { "${@:2}" || { log "FAIL: $1"; status=1; }; }
log "phase 1: stored down $down1 up $up1, kernel tv0 rx $((rx1 - rx0)) tx $((tx1 - tx0))"
log "phase 2: stored growth down $((down2 - down1)) up $((up2 - up1)), kernel tv2 rx $((rx2b - rx2a)) tx $((tx2b - tx2a))"
check "phase 1 download" [ "$down1" = "$((rx1 - rx0))" ]
check "phase 1 upload" [ "$up1" = "$((tx1 - tx0))" ]
check "phase 2 download" [ "$((down2 - down1))" = "$((rx2b - rx2a))" ]
check "phase 2 upload" [ "$((up2 - up1))" = "$((tx2b - tx2a))" ]
check "the kernel saw the traffic" [ $((rx2b - rx2a)) -ge 350777 ]
check "\"Adapter\" names tv2 at the end" [ "$(query Adapter)" = tv2 ]
check "the switch was followed within 3 s (${followed_ms} ms)" [ "$followed_ms" -le 3000 ]
[ $status -eq 0 ] && log "passed"
exit $status
