#!/usr/bin/env bash
# The LUT editor with a bent curve under a virtual X server: the window must show its controls
# and the grey ramps, not one flat colour. The picture stays at OUT.png.
#   lut_editor_screenshot.sh HARNESS OUT.png
set -euo pipefail
harness=$1 out=$2

if [[ -z "${INSIDE_XVFB:-}" ]]; then
  export INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "lut_editor_screenshot: $*" >&2; cat "$scratch"/*.err >&2 || true; exit 1; }

HOME=$scratch "$harness" >"$scratch/harness.out" 2>"$scratch/harness.err" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Look-Up Table User Interface$' | head -1) ||
  fail "the editor did not come up"
for _ in $(seq 100); do grep -q shown "$scratch/harness.out" && break; sleep 0.1; done
sleep 1  # let it paint
import -window root "$out"

eval "$(xdotool getwindowgeometry --shell "$window")"
colours=$(/usr/bin/convert "$out" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format %k info:)
# The two ramps alone give 256 greys.
[[ "$colours" -ge 200 ]] || fail "the editor shows only $colours colour(s)"
echo "lut_editor_screenshot: ${WIDTH}x${HEIGHT} editor, $colours colours; picture in $out"
