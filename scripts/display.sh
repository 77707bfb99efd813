# Sourced by the scripts that show windows: starts a private virtual X display on the first
# free number in FIRST..LAST, exports DISPLAY and sets xvfb_pid (the caller kills it).
private_display() { # first last
  local n display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "no free X display number in $1..$2" >&2; return 1; }
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  export DISPLAY=$display
}
