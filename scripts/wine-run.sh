#!/usr/bin/env bash
# Runs a Windows program under Wine with the build tree's own prefix.
# Used by CTest as the cross-compiling emulator and by the run and test scripts.
#   - WINEPREFIX: <build dir>/wineprefix unless already set, created on first use;
#   - a private Xvfb when there is no DISPLAY;
#   - the wineserver lingers a while after the last program ends, so a series
#     of test programs pays for one cold start only.
set -u
exe=${1:?usage: wine-run.sh program.exe [args...]}

find_build_dir() {
  local d
  d=$(cd "$(dirname "$1")" && pwd)
  while [ "$d" != / ]; do
    [ -f "$d/CMakeCache.txt" ] && { echo "$d"; return; }
    d=$(dirname "$d")
  done
  # not inside a build tree: the project's own build folder
  d="$(cd "$(dirname "$0")/.." && pwd)/build"
  mkdir -p "$d"
  echo "$d"
}

if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(find_build_dir "$exe")/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# no Mono or Gecko installer prompts
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine_bin=$(command -v wine64 || command -v wine)

. "$(dirname "$0")/xvfb.sh"
start_private_xvfb
cleanup() {
  # a wineserver outliving its private display would hand later programs a dead X connection
  if [ -n "$xvfb_pid" ]; then
    wineserver -k >/dev/null 2>&1
    kill "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT

mkdir -p "$WINEPREFIX"
(
  flock 7
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine_bin" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
) 7>"$WINEPREFIX.lock"

wineserver -p 30 >/dev/null 2>&1 || true
# Start the prefix's services from here, detached from our output: started by the
# program they would inherit its stdout, and a test runner reading it would wait for
# them to exit.
"$wine_bin" wineboot </dev/null >/dev/null 2>&1
"$wine_bin" "$@"
rc=$?
exit $rc
