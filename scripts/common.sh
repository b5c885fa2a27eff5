# Shared by the scripts: where things are, and the Wine environment of this checkout.
# Never let a run fall back to ~/.wine, and never let Wine write menu entries under $HOME.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# wine-copy.sh points XIUDENG_WINEPREFIX at a throwaway copy of the prefix.
export WINEPREFIX="${XIUDENG_WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

# Starts Xvfb on a free display when there is no display, and stops it when the script ends.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return; sleep 0.1; done
  echo "Xvfb did not start on :$n" >&2
  return 1
}
