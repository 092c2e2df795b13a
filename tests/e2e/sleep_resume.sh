#!/usr/bin/env bash
# End to end: the system sleeps across midnight. tarvelo.exe runs under libfaketime
# (its clock read from a timestamp file), logging daily and watching tv0. The power
# notices are sent to its form as the system would send them; while it is "asleep" the
# clock moves on by twelve hours into the next day, and tv0 is re-created (a new index,
# counters from zero) and carries traffic. Checked: the totals are stored at the suspend
# and nothing is counted while asleep; within 3 s of the resume the day is closed with one
# log line dated the day it is written, holding the day's totals; the traffic of the gap is
# counted on the new tv0, exactly; the time between the notices is not in "counter_elapsed"
# (under Wine nothing sleeps, so its interrupt time runs on between them).
#   sleep_resume.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
[ -n "$faketime_lib" ] || skip "libfaketime missing"
probe_exe=$(dirname "$exe")/window_probe.exe
[ -f "$probe_exe" ] || skip "window_probe.exe not built"

log_file="$work/sleep_transfer_log.txt"
rm -f "$log_file"
in_app wine reg add "$key" /v EnableLogging /t REG_DWORD /d 1 /f >/dev/null 2>&1
in_app wine reg add "$key" /v LogFile /t REG_SZ /d "Z:${log_file//\//\\}" /f >/dev/null 2>&1

# The program's clock starts at 20:00 on 6 December 2026; the offset is re-read every second.
stamp="$work/faketime"
offset=$(($(date -d '2026-12-06 20:00:00' +%s) - $(date +%s)))
shift_clock() { [ "$1" -lt 0 ] && echo "$1" >"$stamp" || echo "+$1" >"$stamp"; }
shift_clock "$offset"
in_app env LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" FAKETIME_CACHE_DURATION=1 \
  wine "$exe" >/dev/null 2>&1 &
app_pid=$!
power() { in_app wine "$probe_exe" send StatsForm 0x218 "$1" >/dev/null 2>&1; }  # WM_POWERBROADCAST

sleep 2
wait_ticks 3
transfer down 300000
transfer up 40000
wait_ticks 3
read -r down1 up1 elapsed1 <<<"$(stored)"
power 4  # PBT_APMSUSPEND
read -r down2 up2 elapsed2 <<<"$(stored)"
log "before the sleep: stored down $down1 up $up1, $elapsed1 s; at the suspend: down $down2 up $up2, $elapsed2 s"
shift_clock $((offset + 12 * 3600))
ip -n "$ns_app" link del tv0 && make_veth || fail "cannot re-create tv0"
transfer down 200000
transfer up 30000
sleep 6  # ticks held, the new date seen by the program's clock
read -r down3 up3 elapsed3 <<<"$(stored)"
read -r rx tx <<<"$(in_app cat /sys/class/net/tv0/statistics/rx_bytes /sys/class/net/tv0/statistics/tx_bytes | paste -sd' ')"

power 18  # PBT_APMRESUMEAUTOMATIC
resumed=$(date +%s%N)
for _ in $(seq 60); do
  [ -s "$log_file" ] && break
  sleep 0.1
done
closed_ms=$((($(date +%s%N) - resumed) / 1000000))
wait_ticks 3
read -r down4 up4 elapsed4 <<<"$(stored)"
awake_s=$((($(date +%s%N) - resumed) / 1000000000))
line=$(tr -d '\r' <"$log_file" 2>/dev/null)
log "asleep: stored down $down3 up $up3, $elapsed3 s; the new tv0 counted rx $rx tx $tx"
log "after the resume (day closed after ${closed_ms} ms): stored down $down4 up $up4, $elapsed4 s"
log "log: $line"

kb() { echo "$(($1 / 1024)).$(($1 % 1024 * 10 / 1024))KB"; }
status=0
check() { "${@:2}" || { log "FAIL: $1"; status=1; }; }
check "the suspend stored the day's totals" [ "$down2 $up2" = "$down1 $up1" ]
check "nothing counted while asleep" [ "$down3 $up3 $elapsed3" = "$down2 $up2 $elapsed2" ]
check "one log line" [ "$(printf '%s\n' "$line" | grep -c .)" = 1 ]
check "dated 7 December 2026, the day it was written" \
  grep -qE '(^|[^0-9])(12/0?7/2026|0?7[./]12[./]2026|2026-12-07)' <<<"$line"
check "holding the day's totals" grep -qE "UpLoad: +$(kb "$up2") +DownLoad: +$(kb "$down2")$" <<<"$line"
check "the day closed within 3 s of the resume" [ "$closed_ms" -le 3000 ]
check "the gap counted on the new tv0" [ "$down4 $up4" = "$rx $tx" ]
# what was counted since the day closed: the seconds awake since the resume, and the
# part of a second before the suspend
check "the time asleep not counted ($elapsed4 s counted, $awake_s s awake)" [ "$elapsed4" -le $((awake_s + 1)) ]
[ $status -eq 0 ] && log "passed"
exit $status
