#!/usr/bin/env bash
# End to end: the release packages from scripts/package.sh, and the installer run
# silently in a fresh Wine prefix of its own, checked from outside:
#   - the files, the Start-menu shortcut, the "Run" value and the uninstall entry;
#   - an uninstall while the exe is held by another program stops before removing anything;
#   - the installed exe, started as at sign-in, counts loopback traffic;
#   - an update over it closes it, replaces it and starts the new one;
#   - a silent uninstall while it runs closes it and removes everything but the settings;
#   - /REMOVESETTINGS removes those and the usage history too, and nothing else of the maker's.
#   installer.sh path/to/tarvelo.exe version work-dir
set -u
exe=${1:?tarvelo.exe}
version=${2:?version}
work=${3:?work dir}
SKIP=77
root=$(cd "$(dirname "$0")/../.." && pwd)

log() { echo "[installer] $*"; }
failures=0
check() {
  local what=$1; shift
  if "$@"; then log "ok: $what"; else log "FAIL: $what"; failures=$((failures + 1)); fi
}
die() { log "FAIL: $*"; exit 1; }

for tool in makensis zip unzip; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh installs it)"; exit $SKIP; }
done
command -v wine >/dev/null || { echo "SKIP: wine is missing (scripts/setup.sh installs it)"; exit $SKIP; }
if [ -z "${DISPLAY:-}" ] && ! command -v Xvfb >/dev/null; then
  echo "SKIP: no display and no Xvfb to start one"; exit $SKIP
fi

mkdir -p "$work"
work=$(cd "$work" && pwd)
"$root/scripts/package.sh" --exe "$exe" --out "$work/dist" || die "scripts/package.sh failed"
setup="$work/dist/Tarvelo-$version-setup.exe"
zip="$work/dist/Tarvelo-$version-win64.zip"
check "the installer and the zip are named after version $version" test -f "$setup" -a -f "$zip"
listing=$(unzip -Z1 "$zip" 2>/dev/null | sort | tr '\n' ' ')
check "the zip holds the exe, the read-me and the licence" [ "$listing" = "LICENSE.txt readme.txt tarvelo.exe " ]
check "the zip's exe is the built one" cmp -s <(unzip -p "$zip" tarvelo.exe) "$exe"

export WINEPREFIX="$work/wineprefix"
# no Mono or Gecko prompts; no Linux menu entries for the Start-menu shortcut
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
. "$root/scripts/xvfb.sh"
start_private_xvfb
holder=""
# A prefix that passed is not worth its most of a gigabyte; one that failed is kept.
cleanup() {
  local rc=$?
  wineserver -k >/dev/null 2>&1
  [ -n "$holder" ] && wait "$holder" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ "$rc" -eq 0 ] && rm -rf "$WINEPREFIX"
  return "$rc"
}
trap cleanup EXIT

# a server left running on an earlier prefix here would keep its registry in memory
wineserver -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p >/dev/null 2>&1  # one server for every start below

# Values of a key as "name<TAB>data" lines; fails when the key is missing.
reg_dump() {
  local out
  out=$(wine reg query "$1" 2>/dev/null) || return 1
  tr -d '\r' <<<"$out" | awk -F '    ' 'NF >= 4 { print $2 "\t" $4 }'
}
value() { awk -F '\t' -v n="$2" '$1 == n { print $2 }' <<<"$1"; }
unix_path() { local p=${1//\\//}; echo "$WINEPREFIX/drive_c/${p#[Cc]:/}"; }
# Processes of this prefix only whose command line matches: other prefixes run their own.
prefix_pids() {
  local p
  for p in $(pgrep -if "$1"); do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null && echo "$p"
  done
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Quillmoor\Tarvelo'

wine "$setup" /S >/dev/null 2>&1
check "the silent install ends with code 0" [ $? -eq 0 ]

folders=$(reg_dump 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders')
local_appdata=$(value "$folders" "Local AppData")
start_menu=$(value "$folders" "Programs")
[ -n "$local_appdata" ] && [ -n "$start_menu" ] || die "no shell folders in the prefix"
instdir_win="$local_appdata\\Programs\\Tarvelo"
instdir=$(unix_path "$instdir_win")
shortcut=$(unix_path "$start_menu")/Tarvelo.lnk

installed() {
  local f
  for f in tarvelo.exe uninstall.exe readme.txt LICENSE.txt; do [ -f "$instdir/$f" ] || return 1; done
}
check "the files are in the user's local programs folder ($instdir_win)" installed
check "the installed exe is the built one" cmp -s "$instdir/tarvelo.exe" "$exe"
check "the Start-menu shortcut is in the user's Programs folder" test -f "$shortcut"
# the link's target path is kept in it as plain 8-bit and as UTF-16 text
check "the shortcut points at the installed exe" \
  grep -qiF "$instdir_win\\tarvelo.exe" <(tr -d '\0' <"$shortcut" 2>/dev/null)

run=$(reg_dump "$run_key")
check "the Run value starts the installed exe" [ "$(value "$run" Tarvelo)" = "\"$instdir_win\\tarvelo.exe\"" ]

entry=$(reg_dump "$uninstall_key")
expect_entry() { [ "$(value "$entry" "$1")" = "$2" ] || { log "  $1 is '$(value "$entry" "$1")', not '$2'"; return 1; }; }
entry_ok() {
  local ok=0
  expect_entry DisplayName "Tarvelo" || ok=1
  expect_entry DisplayVersion "$version" || ok=1
  expect_entry Publisher "Quillmoor" || ok=1
  expect_entry UninstallString "\"$instdir_win\\uninstall.exe\"" || ok=1
  expect_entry QuietUninstallString "\"$instdir_win\\uninstall.exe\" /S" || ok=1
  expect_entry InstallLocation "$instdir_win" || ok=1
  expect_entry DisplayIcon "$instdir_win\\tarvelo.exe,0" || ok=1
  expect_entry NoModify 0x1 || ok=1
  expect_entry NoRepair 0x1 || ok=1
  # in KiB: the folder's size, give or take the rounding of each file
  local size=$(($(value "$entry" EstimatedSize))) real=$(($(du -sbc "$instdir"/* | tail -n 1 | cut -f 1) / 1024))
  [ "$size" -ge $((real - 4)) ] && [ "$size" -le $((real + 4)) ] || { log "  EstimatedSize $size KiB, files $real KiB"; ok=1; }
  return $ok
}
check "the uninstall entry names the version, the uninstaller and the folder" entry_ok

everything_there() { installed && [ -f "$shortcut" ] && key_exists "$uninstall_key" &&
  [ -n "$(value "$(reg_dump "$run_key")" Tarvelo)" ]; }

# The exe held open by a program that is not Tarvelo, so there is no window to close:
# the uninstaller must give up before it removes anything.
# (the path has no blanks: wine would quote it in a way cmd does not read)
wine cmd /c "ping -n 120 127.0.0.1 > nul < $instdir_win\\tarvelo.exe" >/dev/null 2>&1 &
holder=$!
# cmd opens the exe before it starts ping
for _ in $(seq 100); do [ -n "$(prefix_pids '^ping -n 120')" ] && break; sleep 0.2; done
wine "$instdir/uninstall.exe" /S "_?=$instdir_win" >/dev/null 2>&1
code=$?
check "the uninstaller reports the abort (code $code)" [ "$code" -eq 2 ]
check "and left the files, shortcut, Run value and uninstall entry" everything_there
# ends the holder; the next start brings the server back
wineserver -k >/dev/null 2>&1
wait "$holder" 2>/dev/null
holder=""
wineserver -p >/dev/null 2>&1

# Started as the sign-in entry would start it, watching loopback.
wine reg add "$settings_key" /v Adapter /t REG_SZ /d lo /f >/dev/null 2>&1 || die "cannot store the adapter"
run_cmd=$(value "$run" Tarvelo)
run_cmd=${run_cmd#\"}; run_cmd=${run_cmd%\"}
wine "$run_cmd" >/dev/null 2>&1 &
# Loopback traffic: ping where it may, otherwise a TCP transfer, which needs no privilege.
traffic() {
  ping -c 3 -i 0.2 -s 1200 127.0.0.1 >/dev/null 2>&1 && return
  local port=$((40000 + $$ % 20000))
  timeout 5 nc -l 127.0.0.1 "$port" >/dev/null 2>&1 &
  sleep 0.3
  head -c 200000 /dev/zero | timeout 5 nc -N 127.0.0.1 "$port" >/dev/null 2>&1
  wait $! 2>/dev/null
}
# both stored values must appear and then grow again: a program that counts, not one write
counting() {
  local i s e d e0="" d0=""
  for i in $(seq 40); do
    traffic
    s=$(reg_dump "$settings_key")
    e=$(value "$s" counter_elapsed); d=$(value "$s" download_l)
    [ -n "$e" ] && [ -n "$d" ] || continue
    if [ -z "$e0" ]; then
      e0=$e; d0=$d
    elif [ $((e)) -gt $((e0)) ] && [ $((d)) -gt $((d0)) ]; then
      return 0
    fi
  done
  return 1
}
check "the installed exe counts: counter_elapsed and download_l grow" counting
check "one Tarvelo runs" [ "$(prefix_pids 'tarvelo\.exe' | wc -l)" -eq 1 ]

# An update over a running Tarvelo closes it, replaces it and starts the new one.
before=$(prefix_pids 'tarvelo\.exe')
wine "$setup" /S >/dev/null 2>&1
check "the second install ends with code 0" [ $? -eq 0 ]
restarted() {
  local now
  for _ in $(seq 150); do
    now=$(prefix_pids 'tarvelo\.exe')
    [ -n "$now" ] && [ "$(wc -l <<<"$now")" -eq 1 ] && [ "$now" != "$before" ] && return 0
    sleep 0.2
  done
  return 1
}
check "and has put back the Tarvelo it closed (pid ${before:-none} before)" restarted

# An NSIS uninstaller copies itself away and returns at once: wait for its work.
gone() { [ ! -e "$instdir" ] && [ ! -e "$shortcut" ] && ! key_exists "$uninstall_key" &&
  [ -z "$(value "$(reg_dump "$run_key")" Tarvelo)" ]; }
uninstall() {
  wine "$instdir/uninstall.exe" /S "$@" >/dev/null 2>&1
  local i
  for i in $(seq 120); do gone && return 0; sleep 0.5; done
  return 1
}
check "the folder, shortcut, Run value and uninstall entry are gone" uninstall
check "the running Tarvelo was asked to close and did" [ -z "$(prefix_pids 'tarvelo\.exe')" ]
settings_kept() {
  local s; s=$(reg_dump "$settings_key") || return 1
  [ "$(value "$s" Adapter)" = lo ] && [ "$(($(value "$s" counter_elapsed)))" -gt 0 ]
}
check "the settings and totals stay" settings_kept
usage_dir() { ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Quillmoor/Tarvelo 2>/dev/null; }
check "and so does the usage history" test -s "$(usage_dir)/usage.db"

wine "$setup" /S >/dev/null 2>&1
check "the third install ends with code 0" [ $? -eq 0 ]
check "and puts everything back" everything_there
wine reg add 'HKCU\Software\Quillmoor\Other' /v Keep /t REG_SZ /d yes /f >/dev/null 2>&1
check "everything is gone again" uninstall /REMOVESETTINGS
check "the settings went with /REMOVESETTINGS" eval '! key_exists "$settings_key"'
check "and the usage history with its folder" [ -z "$(usage_dir)" ]
check "the maker's other keys stay" [ "$(value "$(reg_dump 'HKCU\Software\Quillmoor\Other')" Keep)" = yes ]

if [ "$failures" -eq 0 ]; then log "passed"; else log "$failures check(s) failed"; fi
[ "$failures" -eq 0 ]
