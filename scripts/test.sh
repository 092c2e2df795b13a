#!/usr/bin/env bash
# Builds and runs every test: the portable core natively and once more under
# AddressSanitizer and UBSan, the Win32 layer and the program under Wine. Installs
# what is missing first.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh || exit 1

# A full disk fails the Windows tests in ways that look like anything but; say it first.
free_mb=$(df -Pm "$root" | awk 'NR == 2 { print $4 }')
echo "disk: $free_mb MB free"
[ "${free_mb:-0}" -ge 3000 ] || echo "warning: the Windows tests need about 3 GB of disk"

# One display and one wineserver for the whole Windows run.
. "$root/scripts/xvfb.sh"
start_private_xvfb
export WINEPREFIX="$root/build/windows/wineprefix"
finish() {
  WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap finish EXIT

passed=0; failed=0; status=0
run_ctest() {
  local log; log=$(mktemp)
  ctest --preset "$1" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line; line=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local total fail
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    fail=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - fail)); failed=$((failed + fail))
  fi
  rm -f "$log"
  [ "$rc" -eq 0 ] || status=1
}

for preset in native asan windows; do
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; then
    run_ctest "$preset"
  else
    echo "build '$preset' failed"; status=1; failed=$((failed + 1))
  fi
done

echo "tests: $passed passed, $failed failed"
exit $status
