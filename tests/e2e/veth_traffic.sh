#!/usr/bin/env bash
# End to end: tarvelo.exe runs under Wine inside a network namespace of its own and
# watches one end of a veth pair (IPv6 off, so nothing else crosses it). A known amount
# of traffic goes through the pair both ways; once the link has been quiet, the stored
# "upload"/"download" totals must have grown by exactly the octets the kernel counted on
# that interface, and a screenshot must show the graph window at its stored place with
# down-link pixels in its "DnColor".
#   veth_traffic.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"
for v in "LeftPos 120" "TopPos 140" "Width 240" "Height 120"; do
  set -- $v
  in_app wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
done

sleep 2  # let the link settle (ARP, carrier) before the baseline
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
log "kernel counters before start: rx $rx0 tx $tx0"
start_app
wait_ticks 3  # started, primed and ticking

# One connection each way at a time, so each side ends cleanly when its data is through;
# the download is spread over several ticks so the graph shows an area, not a spike.
down_bytes=3000000 up_bytes=400000 chunks=6
log "sending $down_bytes octets down and $up_bytes up through tv0"
for _ in $(seq "$chunks"); do
  transfer down $((down_bytes / chunks))
  sleep 0.7
done
transfer up $up_bytes

wait_ticks 3  # the link is quiet; let the ticks catch up
rx1=$(counter rx_bytes) tx1=$(counter tx_bytes)
log "kernel counters after: rx $rx1 tx $tx1"
read -r down_stored up_stored _ <<<"$(stored)"
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
