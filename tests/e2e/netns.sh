# Sourced by the end-to-end scripts: tarvelo.exe under Wine in a network namespace of
# its own, watching tv0, one end of a veth pair whose other end (tv1) sits in a peer
# namespace. IPv6 is off so nothing but the test's own traffic crosses the link. What
# the program stores is read from outside, the kernel's counts from sysfs.
#   e2e_setup path/to/tarvelo.exe work-dir   (skips with 77 where namespaces cannot be made)
set -u
log() { echo "[e2e] $*"; }
fail() { log "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
# A verdict that lets the script go on: check "what failed" command...; exit $status at the end.
status=0
check() { "${@:2}" || { log "FAIL: $1"; status=1; }; }

key='HKCU\Software\Quillmoor\Tarvelo'
in_app() { ip netns exec "$ns_app" "$@"; }
in_peer() { ip netns exec "$ns_peer" "$@"; }

e2e_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  ip netns exec "$ns_app" wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  ip netns del "$ns_app" 2>/dev/null; ip netns del "$ns_peer" 2>/dev/null
}

# The veth pair, addressed and up; also used to re-create it under the same names.
make_veth() {
  ip link add tv0 netns "$ns_app" type veth peer name tv1 netns "$ns_peer" 2>/dev/null || return 1
  in_app sysctl -qw net.ipv6.conf.tv0.disable_ipv6=1
  in_peer sysctl -qw net.ipv6.conf.tv1.disable_ipv6=1
  ip -n "$ns_app" addr add 198.51.100.1/30 dev tv0 && ip -n "$ns_app" link set tv0 up &&
    ip -n "$ns_peer" addr add 198.51.100.2/30 dev tv1 && ip -n "$ns_peer" link set tv1 up || return 1
  # Fixed neighbours: no ARP of the kernel's own between the test's readings.
  ip -n "$ns_app" neigh replace 198.51.100.2 lladdr "$(in_peer cat /sys/class/net/tv1/address)" dev tv0 nud permanent &&
    ip -n "$ns_peer" neigh replace 198.51.100.1 lladdr "$(in_app cat /sys/class/net/tv0/address)" dev tv1 nud permanent
}

e2e_setup() {
  exe=$(cd "$(dirname "${1:?tarvelo.exe}")" && pwd)/$(basename "$1")
  work=${2:?work dir}
  xvfb_pid="" app_pid=""
  [ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
  command -v ip >/dev/null || skip "iproute2 missing"
  command -v nc >/dev/null || skip "netcat missing"
  ns_app="tarvelo-app-$$" ns_peer="tarvelo-peer-$$"
  ip netns add "$ns_app" 2>/dev/null || skip "cannot make network namespaces here (ip netns add failed)"
  trap e2e_cleanup EXIT
  ip netns add "$ns_peer" 2>/dev/null || skip "cannot make a second network namespace here"
  for ns in "$ns_app" "$ns_peer"; do
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip -n "$ns" link set lo up
  done
  make_veth || skip "cannot make a veth pair between network namespaces here"

  mkdir -p "$work" && work=$(cd "$work" && pwd)
  export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  . "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
  start_private_xvfb
  # A prefix of its own, made inside the namespace so its services see only tv0 and lo.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    in_app wine wineboot -i >/dev/null 2>&1
    in_app wineserver -w
  fi
  in_app wine reg delete "$key" /f >/dev/null 2>&1
  in_app wine reg add "$key" /v Adapter /t REG_SZ /d tv0 /f >/dev/null 2>&1 || fail "cannot store the adapter"
}

counter() { in_app cat "/sys/class/net/tv0/statistics/$1"; }
query() { in_app wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }

# The stored totals and seconds in one read: "download upload elapsed" (empty when unset).
# reg prints a REG_DWORD in hex, which the shell's arithmetic takes as it stands.
stored() {
  local out dh dl uh ul
  out=$(in_app wine reg query "$key" 2>/dev/null | tr -d '\r')
  value() { awk -v n="$1" '$1 == n { print $3 }' <<<"$out"; }
  dh=$(value download_h) dl=$(value download_l) uh=$(value upload_h) ul=$(value upload_l)
  [ -n "$dh" ] && [ -n "$dl" ] && [ -n "$uh" ] && [ -n "$ul" ] || { echo; return; }
  echo $(((dh << 32) + (dl & 0xFFFFFFFF))) $(((uh << 32) + (ul & 0xFFFFFFFF))) $(($(value counter_elapsed)))
}

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

start_app() {
  in_app wine "$exe" >/dev/null 2>&1 &
  app_pid=$!
}

# n octets from the peer to the program's side (dir down) or back (up), one connection;
# over tv0, or another link named by its program-side and peer-side addresses.
# The receiver listens first, and the sender starts only once it does: a busy machine
# must not make the sender knock before anyone answers.
transfer() {
  local dir=$1 n=$2 port=$((5000 + RANDOM % 1000)) got rx=in_app tx=in_peer to=${3:-198.51.100.1} recv
  [ "$dir" = down ] || rx=in_peer tx=in_app to=${4:-198.51.100.2}
  $rx sh -c "timeout 300 nc -l $to $port | wc -c" >"$work/received" &
  recv=$!
  for _ in $(seq 100); do
    $rx ss -Hltn "sport = :$port" | grep -q . && break
    sleep 0.1
  done
  $tx sh -c "head -c $n /dev/zero | timeout 300 nc -N $to $port"
  wait "$recv"
  got=$(cat "$work/received")
  [ "$got" = "$n" ] || fail "$dir transfer of $n octets got ${got:-nothing}"
}
