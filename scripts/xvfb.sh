# Sourced by the scripts: start_private_xvfb starts an Xvfb on a free display when
# there is no DISPLAY, exports DISPLAY and sets xvfb_pid (empty when none was started).
start_private_xvfb() {
  xvfb_pid=""
  [ -n "${DISPLAY:-}" ] && return 0
  local fifo num try
  # A server that did not come up (its display taken by one still going away) is
  # started again rather than leaving everything after it without a display.
  for try in 1 2 3; do
    fifo=$(mktemp -u); mkfifo "$fifo"
    # -displayfd picks a free display and tells us its number
    Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    num=""; read -r num < "$fifo"; rm -f "$fifo"
    if [ -n "$num" ] && xdpyinfo -display ":$num" >/dev/null 2>&1; then
      export DISPLAY=":$num"
      return 0
    fi
    echo "Xvfb did not answer (try $try)" >&2
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
    sleep 1
  done
  xvfb_pid=""
  return 1
}
