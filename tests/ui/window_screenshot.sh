#!/usr/bin/env bash
# The window under a virtual X server: it must come up with its menu bar drawn, with no box at
# start, and close on SIGTERM as "Exit" does. The picture stays at OUT.png to look at.
#   window_screenshot.sh PROGRAM CONFIG_DIR OUT.png
set -euo pipefail
program=$1 config=$2 out=$3

if [[ -z "${INSIDE_XVFB:-}" ]]; then
  export INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

export VELTERRA_REGISTRY=/velterra-screenshot-$$
export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; rm -f /dev/shm"$VELTERRA_REGISTRY"' EXIT
HOME=$scratch XDG_CONFIG_HOME=$scratch "$program" --dir "$config" 2>"$scratch/err" &
pid=$!

fail() { echo "window_screenshot: $*" >&2; cat "$scratch/err" >&2; kill "$pid" 2>/dev/null; exit 1; }

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Untitled - Velterra$' | head -1) ||
  fail "the window did not come up"
sleep 1  # let it paint
import -window root "$out"

# Nothing but the main window may be shown at start (no Password dialog, no message box).
shown=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vc "^$window\$" || true)
[[ "$shown" == 0 ]] || fail "$shown other window(s) shown at start"

# The window's area must hold a drawing (menu texts), not one flat colour.
eval "$(xdotool getwindowgeometry --shell "$window")"
colours=$(/usr/bin/convert "$out" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format %k info:)
[[ "$colours" -ge 8 ]] || fail "the window shows only $colours colour(s)"

kill -TERM "$pid"
status=0
timeout 10 tail --pid="$pid" -f /dev/null || fail "the window did not close on SIGTERM"
wait "$pid" || status=$?
[[ "$status" == 0 ]] || fail "the window ended with status $status after SIGTERM"
echo "window_screenshot: ${WIDTH}x${HEIGHT} window, $colours colours, closed on SIGTERM; picture in $out"
