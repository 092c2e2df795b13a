# Sourced by the scripts: start_private_xvfb starts an Xvfb on a free display when
# there is no DISPLAY, exports DISPLAY and sets xvfb_pid (empty when none was started).
start_private_xvfb() {
  xvfb_pid=""
  [ -n "${DISPLAY:-}" ] && return 0
  local fifo num
  fifo=$(mktemp -u); mkfifo "$fifo"
  # -displayfd picks a free display and tells us its number
  Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r num < "$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
}
