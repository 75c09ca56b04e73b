#!/usr/bin/env bash
# Runs a command on a real X server with a window manager: a private Xvfb
# display with openbox on it, and Qt's xcb platform. Both are ended when the
# command ends, and the command's exit code is returned.
#
#   scripts/with_x11.sh [--size WxH] [--scale F] COMMAND [ARGS...]
#
# --scale sets QT_SCALE_FACTOR, to see the window as on a high-dpi desktop.
set -euo pipefail

size=1600x1000
scale=""
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size="$2"; shift 2 ;;
    --scale) scale="$2"; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--size WxH] [--scale F] COMMAND [ARGS...]" >&2; exit 2; }

for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "with_x11: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

# Xvfb picks a free display number itself and writes it to the pipe.
fifo_dir=$(mktemp -d)
trap 'rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -dpi 96 3>"$fifo_dir/display" 2>/dev/null &
xvfb_pid=$!
read -r -t 20 number <"$fifo_dir/display" || { echo "with_x11: Xvfb did not start" >&2; kill "$xvfb_pid" 2>/dev/null; exit 2; }
export DISPLAY=":$number"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# Wait until openbox is ready to manage windows. It claims the screen
# (_NET_SUPPORTING_WM_CHECK) before it has finished starting; a window mapped
# in between may never be shown. The client list and the work area are set
# last, once it manages the windows already there.
for _ in $(seq 1 200); do
  set_now=$(xprop -root _NET_CLIENT_LIST _NET_WORKAREA _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -c '^_NET_[A-Z_]*(' || true)
  if [ "$set_now" = 3 ]; then break; fi
  sleep 0.025
done

cleanup() {
  kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$wm_pid" "$xvfb_pid" 2>/dev/null || true
  rm -rf "$fifo_dir"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=xcb
[ -n "$scale" ] && export QT_SCALE_FACTOR="$scale"
set +e
"$@"
rc=$?
set -e
exit $rc
