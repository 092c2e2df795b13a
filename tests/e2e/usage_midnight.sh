#!/usr/bin/env bash
# End to end: the usage history across a midnight that libfaketime brings on. tarvelo.exe
# watches tv0 from shortly before midnight; traffic crosses the link before and after it,
# then more, and a minute later the program is killed outright. Exported afterwards, the
# day rows and the hour rows must equal what the kernel counted on each side of midnight,
# none of it lost; the new day's stored totals (the daily log restarted them) must equal
# its row. An export while the program runs must work too.
#   usage_midnight.sh path/to/tarvelo.exe work-dir
set -u
. "$(dirname "$0")/netns.sh"
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime_lib" ] || skip "libfaketime missing"
e2e_setup "${1:-}" "${2:-}"
day6=739956  # DayNumber of 6 December 2026: the log's day, closed at midnight
for v in "EnableLogging REG_DWORD 1" "lastdate REG_DWORD $day6" "LogFile REG_SZ Z:$work/transfer_log.txt"; do
  set -- $v
  in_app wine reg add "$key" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1
done
in_app wineserver -w
# the prefix is shared with the other checks, whose runs keep a history of their own
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Local/Quillmoor/Tarvelo/usage*
app_pids() {
  local pid
  for pid in $(ip netns pids "$ns_app"); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'tarvelo\.exe' && echo "$pid"
  done
}
export_usage() {  # by, out file; echoes the exit code
  in_app wine "$exe" /export-usage "Z:$work/$2" /by "$1" >/dev/null 2>"$work/export.err"
  echo $?
}
row() { tr -d '\r' <"$work/$1" | awk -F, -v p="$2" '$1 == p && $2 == "tv0" { print $3, $4 }'; }

# a fresh wineserver and the program on the faked clock, which starts at its own start
in_app env LD_PRELOAD="$faketime_lib" FAKETIME="@2026-12-06 23:58:30" wine "$exe" >/dev/null 2>&1 &
app_pid=$!
wait_ticks 3
# The program ticks before Wine's network service answers on a fresh session: a few
# octets at a time until it counts, then its count and the kernel's side by side.
for _ in $(seq 30); do
  transfer down 100; wait_ticks 1
  read -r down0 up0 _ <<<"$(stored)"
  [ "${down0:-0}" -gt 0 ] && break
done
[ "${down0:-0}" -gt 0 ] || fail "the program never counted tv0"
wait_ticks 1
read -r down0 up0 _ <<<"$(stored)"
rx0=$(counter rx_bytes) tx0=$(counter tx_bytes)
transfer down 2000000; transfer up 300000
wait_ticks 2
rx1=$(counter rx_bytes) tx1=$(counter tx_bytes)
[ "$(query lastdate)" = "$(printf '0x%x' $day6)" ] || fail "midnight came before the first traffic was through"
read -r down_stored up_stored _ <<<"$(stored)"
before="$((down0 + rx1 - rx0)) $((up0 + tx1 - tx0))"
log "before midnight: rx $((rx1 - rx0)) tx $((tx1 - tx0)) after $down0 $up0 counted; stored: $down_stored $up_stored"
[ "$down_stored $up_stored" = "$before" ] || fail "the program did not count the traffic"
for _ in $(seq 150); do [ "$(query lastdate)" != "$(printf '0x%x' $day6)" ] && break; sleep 1; done
[ "$(query lastdate)" = "$(printf '0x%x' $((day6 + 1)))" ] || fail "the program never met midnight"
transfer down 1500000; transfer up 200000
wait_ticks 2
code=$(export_usage day running.csv)
check "an export while the program runs ended with $code: $(cat "$work/export.err")" [ "$code" = 0 ]
check "the export while running lacks the day before" [ "$(row running.csv 2026-12-06)" = "$before" ]

transfer down 700000; transfer up 90000
wait_ticks 2
rx2=$(counter rx_bytes) tx2=$(counter tx_bytes)
log "after midnight: rx $((rx2 - rx1)) tx $((tx2 - tx1)); a minute, then the kill"
sleep 65
pids=$(app_pids)
[ -n "$pids" ] || fail "the program is gone before the kill"
kill -9 $pids
wait "$app_pid" 2>/dev/null; app_pid=""
read -r down_stored up_stored _ <<<"$(stored)"

for by in day hour; do
  code=$(export_usage $by $by.csv)
  check "export by $by ended with $code: $(cat "$work/export.err")" [ "$code" = 0 ]
done
after="$((rx2 - rx1)) $((tx2 - tx1))"
log "rows: 6 Dec $(row day.csv 2026-12-06), 7 Dec $(row day.csv 2026-12-07), 23h $(row hour.csv 2026-12-06T23), 0h $(row hour.csv 2026-12-07T00)"
check "6 December's row is not the kernel's count before midnight ($before)" [ "$(row day.csv 2026-12-06)" = "$before" ]
check "7 December's row is not the kernel's count after midnight ($after)" [ "$(row day.csv 2026-12-07)" = "$after" ]
check "the 23 o'clock row differs" [ "$(row hour.csv 2026-12-06T23)" = "$before" ]
check "the midnight hour's row differs" [ "$(row hour.csv 2026-12-07T00)" = "$after" ]
check "the new day's stored totals ($down_stored $up_stored) differ from its row" [ "$down_stored $up_stored" = "$after" ]
[ $status -eq 0 ] && log "passed"
exit $status
