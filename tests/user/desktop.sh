# Sourced by the user-level tests: tarvelo.exe on Wine's virtual desktop with its
# shell (a taskbar with a notification area), on a private Xvfb, driven by xdotool.
# The desktop window sits at (0, 0), so X root coordinates are screen coordinates.
#   desktop_start WORKDIR EXE [ARGS...]   fresh settings; desktop_run starts the program
#   desktop_up TITLE                      desktop_run until the window of that title shows
#   desktop_finish [STATUS]               the EXIT trap: stops it all; a pass drops the prefix
#   window_geometry TITLE                 "x y w h" of the first top-level window of that title
#   wait_window TITLE [SECONDS]           waits until it exists (has_window: whether it does)
#   reg_get NAME / reg_set NAME TYPE DATA the program's key in the registry
#   probe ARGS / probe_rect CLASS [TITLE] window_probe.exe's view from inside Wine
#   check WHAT CONDITION... / within SECONDS CONDITION... / is EXPECTED ACTUAL

DesktopWidth=1024
DesktopHeight=768
TarveloKey='HKCU\Software\Quillmoor\Tarvelo'
failures=0

desktop_wine() { "$desktop_wine_bin" "$@" 2>/dev/null; }

desktop_start() {
  local work=$1 exe=$2; shift 2
  mkdir -p "$work"
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  desktop_wine_bin=$(command -v wine64 || command -v wine)
  unset DISPLAY
  . "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
  start_private_xvfb
  desktop_xvfb=$xvfb_pid
  [ -f "$WINEPREFIX/system.reg" ] || { desktop_wine wineboot -i >/dev/null; wineserver -w; }
  # Title bars' buttons are drawn with Marlett, which this Wine looks for in the prefix only.
  cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  desktop_wine reg delete "$TarveloKey" /f >/dev/null
  desktop_wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Tarvelo' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null
  desktop_exe=$exe desktop_args=("$@")
}

# Starts the desktop with the program, after the test has stored what it needs; registry
# writes reach the files only once the server has gone.
desktop_run() {
  wineserver -w
  desktop_wine explorer /desktop=Tarvelo,${DesktopWidth}x${DesktopHeight} "$desktop_exe" "${desktop_args[@]}" >/dev/null &
  desktop_pid=$!
}

# desktop_up TITLE: desktop_run, then waits for the window of that title. A desktop that
# came up without it is reported and started once more, so a Wine start-up that went wrong
# does not fail the checks behind it; the report stays in the log.
desktop_up() {
  desktop_run
  wait_window "$1" 60 && return 0
  echo "starting the desktop once more"
  wineserver -k >/dev/null 2>&1
  wait "$desktop_pid" 2>/dev/null
  desktop_run
  wait_window "$1" 60
}

desktop_stop() {
  wineserver -k >/dev/null 2>&1
  [ -n "${desktop_pid:-}" ] && wait "$desktop_pid" 2>/dev/null
  [ -n "${desktop_xvfb:-}" ] && kill "$desktop_xvfb" 2>/dev/null && wait "$desktop_xvfb" 2>/dev/null
  desktop_pid="" desktop_xvfb=""
}

# A prefix is most of a gigabyte; one that passed is not worth the disk, one that failed is
# kept to look into.
desktop_finish() {
  local rc=${1:-$?}
  desktop_stop
  [ "$rc" -eq 0 ] && rm -rf "$WINEPREFIX"
  return "$rc"
}

window_geometry() {
  xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\":" '
    index($0, t) { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[-+]-?[0-9]+[-+]-?[0-9]+$/) {
        g = $i; gsub(/\+-/, "+-", g); gsub(/--/, "+-", g)
        split(g, a, /[x+]/); print a[3], a[4], a[1], a[2]; exit } }'
}

has_window() { [ -n "$(window_geometry "$1")" ]; }
# On a timeout it says what the desktop held instead, and keeps a screenshot of it.
wait_window() { within "${2:-20}" has_window "$1" || { desktop_report "$1"; return 1; }; }

desktop_report() {
  echo "no window '$1'"
  xdpyinfo >/dev/null 2>&1 || echo "the display $DISPLAY does not answer"
  echo "the desktop's windows, from inside Wine:"
  probe windows | sed 's/^/  /'
  echo "the Windows processes of this prefix:"
  local pid
  for pid in $(pgrep -f '\.exe'); do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && { tr '\0' ' ' <"/proc/$pid/cmdline"; echo; } | sed 's/^/  /; s/ *$//'
  done
  shot "$(dirname "$WINEPREFIX")/timeout.png" && echo "screenshot: $(dirname "$WINEPREFIX")/timeout.png"
}

reg_get() { desktop_wine reg query "$TarveloKey" /v "$1" | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }
reg_set() { desktop_wine reg add "$TarveloKey" /v "$1" /t "$2" /d "$3" /f >/dev/null; }

shot() { import -window root "$1"; }

# window_probe.exe beside the program
probe() { desktop_wine "$(dirname "$desktop_exe")/window_probe.exe" "$@" | tr -d '\r'; }
# "x y w h" of the first visible top-level window of that class (and title)
probe_rect() { probe windows | awk -F'\t' -v c="$1" -v t="${2-}" '$1 == c && (t == "" || $2 == t) { print $3; exit }'; }

check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
# Polls a condition for up to SECONDS.
within() {
  local secs=$1 i; shift
  for ((i = 0; i < secs * 5; i++)); do "$@" && return 0; sleep 0.2; done
  return 1
}
not() { ! "$@"; }
is() { [ "$1" = "$2" ] || { echo "  expected '$1', got '$2'"; return 1; }; }

# "x0 y0 x1 y1", the box of the pixels of any of the colours (#RRGGBB) in a region
# "WxH+X+Y" of a screenshot, in screen coordinates; empty when there are none.
colour_box() {
  local file=$1 region=$2 ox oy; shift 2
  ox=$(sed -E 's/.*\+([0-9]+)\+([0-9]+)$/\1/' <<<"$region") oy=$(sed -E 's/.*\+([0-9]+)\+([0-9]+)$/\2/' <<<"$region")
  convert "$file" -crop "$region" +repage txt:- | awk -v ox="$ox" -v oy="$oy" -v cs="$*" '
    BEGIN { n = split(cs, want, " "); for (i = 1; i <= n; i++) ok[toupper(want[i])] = 1 }
    NR > 1 && ($3 in ok) { split($1, p, /[,:]/); x = p[1] + ox; y = p[2] + oy
      if (!seen || x < x0) x0 = x; if (!seen || y < y0) y0 = y
      if (!seen || x > x1) x1 = x; if (!seen || y > y1) y1 = y; seen = 1 }
    END { if (seen) print x0, y0, x1, y1 }'
}
