# Sourced: start_xvfb starts a private X server on a free display and exports DISPLAY;
# stop_xvfb ends it. Only the server started here is ever stopped.
xvfb_pid=""

start_xvfb() {
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      # The display is ours only if our server holds its lock: two runs that start at once can pick
      # the same number, and the one whose server lost must not use the other's display (injected
      # cursor moves and the X keyboard state would then cross between the two runs).
      if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' < "/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  echo "xvfb: could not start an X server" >&2
  return 1
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  fi
}
