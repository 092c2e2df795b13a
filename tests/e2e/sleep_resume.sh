#!/usr/bin/env bash
# End to end: a night asleep. tarvelo.exe runs under libfaketime, logging daily and
# watching tv0; the power notices are sent to its form. While "asleep" its clock moves on
# twelve hours into the next day, and tv0 is re-created (a new index, counters from zero)
# and carries traffic. Within 3 s of the resume the day must be closed with one log line,
# dated the day it is written and holding the day's totals; the gap's traffic must be
# counted on the new tv0, and the seconds between the notices not counted.
#   sleep_resume.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
e2e_setup "${1:-}" "${2:-}"
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
[ -n "$faketime_lib" ] || skip "libfaketime missing"
[ -f "$(dirname "$exe")/window_probe.exe" ] || skip "window_probe.exe not built"
log_file="$work/sleep_transfer_log.txt" stamp="$work/faketime"
rm -f "$log_file"
in_app wine reg add "$key" /v EnableLogging /t REG_DWORD /d 1 /f >/dev/null 2>&1
in_app wine reg add "$key" /v LogFile /t REG_SZ /d "Z:${log_file//\//\\}" /f >/dev/null 2>&1
# The clock starts at 20:00 on 6 December 2026, an offset read again every second. As on
# a machine that sleeps, the date moves and the interrupt time does not.
offset=$(($(date -d '2026-12-06 20:00:00' +%s) - $(date +%s)))
shift_clock() { printf '%+d\n' "$1" >"$stamp"; }
shift_clock "$offset"
in_app env LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$stamp" FAKETIME_CACHE_DURATION=1 \
  FAKETIME_DONT_FAKE_MONOTONIC=1 wine "$exe" >/dev/null 2>&1 &
app_pid=$!
power() { in_app wine "$(dirname "$exe")/window_probe.exe" send StatsForm 0x218 "$1" >/dev/null 2>&1; }
kb() { echo "$(($1 / 1024)).$(($1 % 1024 * 10 / 1024))KB"; }

wait_ticks 3
transfer down 300000 && transfer up 40000
wait_ticks 2
power 4  # PBT_APMSUSPEND
read -r down1 up1 elapsed1 <<<"$(stored)"
shift_clock $((offset + 12 * 3600))
ip -n "$ns_app" link del tv0 && make_veth || fail "cannot re-create tv0"
transfer down 200000 && transfer up 30000
sleep 6  # the ticks held, the new date seen
asleep=$(stored)
check "nothing counted asleep: $asleep, at the suspend $down1 $up1 $elapsed1" [ "$asleep" = "$down1 $up1 $elapsed1" ]
read -r rx tx <<<"$(in_app cat /sys/class/net/tv0/statistics/rx_bytes /sys/class/net/tv0/statistics/tx_bytes | paste -sd' ')"

power 18  # PBT_APMRESUMEAUTOMATIC
resumed=$(date +%s%N)
for _ in $(seq 60); do [ -s "$log_file" ] && break; sleep 0.1; done
closed=$((($(date +%s%N) - resumed) / 1000000))
wait_ticks 3
read -r down2 up2 elapsed2 <<<"$(stored)"
awake=$((($(date +%s%N) - resumed) / 1000000000))
line=$(tr -d '\r' <"$log_file" 2>/dev/null)
log "log: $line"
check "the day closed within 3 s ($closed ms)" [ "$closed" -le 3000 ]
want="^(12/0?7/2026|0?7[./]12[./]2026|2026-12-07) +UpLoad: +$(kb "$up1") +DownLoad: +$(kb "$down1")$"
matches() { [[ $1 =~ $2 ]]; }
check "one line, dated 7 December, the day's totals" matches "$line" "$want"
check "the gap counted on the new tv0: stored $down2 $up2, kernel $rx $tx" [ "$down2 $up2" = "$rx $tx" ]
check "the time asleep not counted: $elapsed2 s in $awake s awake" [ "$elapsed2" -le $((awake + 1)) ]
[ $status -eq 0 ] && log "passed"
exit $status
