#!/usr/bin/env bash
# End to end: the automatic adapter choice. Started with only "AdapterAuto" = 1 stored, the
# program must count without asking; traffic crosses two links, tv0 and tv2, while the
# default route goes through tv0, then through tv2. The stored totals must grow by what
# the kernel counted on the link carrying the route in each phase, the switch must be
# followed within 3 s and "Adapter" name tv2 at the end.
#   connection_switch.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"
ip link add tv2 netns "$ns_app" type veth peer name tv3 netns "$ns_peer" 2>/dev/null || skip "no second veth pair"
in_app sysctl -qw net.ipv6.conf.tv2.disable_ipv6=1 && in_peer sysctl -qw net.ipv6.conf.tv3.disable_ipv6=1
ip -n "$ns_app" addr add 198.51.100.5/30 dev tv2 && ip -n "$ns_app" link set tv2 up &&
  ip -n "$ns_peer" addr add 198.51.100.6/30 dev tv3 && ip -n "$ns_peer" link set tv3 up || fail "second link"
ip -n "$ns_app" neigh replace 198.51.100.6 lladdr "$(in_peer cat /sys/class/net/tv3/address)" dev tv2 nud permanent
ip -n "$ns_peer" neigh replace 198.51.100.5 lladdr "$(in_app cat /sys/class/net/tv2/address)" dev tv3 nud permanent
ip -n "$ns_app" route replace default via 198.51.100.2 dev tv0 || fail "default route through tv0"
in_app wine reg delete "$key" /v Adapter /f >/dev/null 2>&1
in_app wine reg add "$key" /v AdapterAuto /t REG_DWORD /d 1 /f >/dev/null 2>&1 || fail "cannot store AdapterAuto"

kernel() { in_app cat "/sys/class/net/$1/statistics/rx_bytes" "/sys/class/net/$1/statistics/tx_bytes" | paste -sd' '; }
both_links() {
  transfer down "$1" && transfer down $(($1 / 2)) 198.51.100.5 198.51.100.6
  transfer up $(($1 / 10)) && transfer up $(($1 / 20)) 198.51.100.5 198.51.100.6
}

sleep 2  # let the links settle
read -r rx0 tx0 <<<"$(kernel tv0)"
start_app
wait_ticks 3
both_links 900000
wait_ticks 3
read -r rx1 tx1 <<<"$(kernel tv0)" && read -r rx2 tx2 <<<"$(kernel tv2)" && read -r down1 up1 _ <<<"$(stored)"
check "phase 1 counted tv0: stored $down1 $up1, kernel $((rx1 - rx0)) $((tx1 - tx0))" \
  [ "$down1 $up1" = "$((rx1 - rx0)) $((tx1 - tx0))" ]

ip -n "$ns_app" route replace default via 198.51.100.6 dev tv2 || fail "default route through tv2"
moved=$(date +%s%N)
for _ in $(seq 100); do [ "$(query Adapter)" = tv2 ] && break; sleep 0.1; done
followed=$((($(date +%s%N) - moved) / 1000000))
check "the switch followed within 3 s (${followed} ms)" [ "$followed" -le 3000 ]
both_links 700000
wait_ticks 3
read -r rx3 tx3 <<<"$(kernel tv2)" && read -r down2 up2 _ <<<"$(stored)"
check "phase 2 counted tv2: stored $((down2 - down1)) $((up2 - up1)), kernel $((rx3 - rx2)) $((tx3 - tx2))" \
  [ "$((down2 - down1)) $((up2 - up1))" = "$((rx3 - rx2)) $((tx3 - tx2))" ]
check "\"Adapter\" names tv2" [ "$(query Adapter)" = tv2 ]
[ $status -eq 0 ] && log "passed"
exit $status
