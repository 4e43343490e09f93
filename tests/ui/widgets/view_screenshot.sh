#!/usr/bin/env bash
# The parameter view connected to the sample camera under a virtual X server: the list, the
# fields and the log must be drawn, not one flat colour. The picture stays at OUT.png.
#   view_screenshot.sh HARNESS CAMSIM CONFIG_DIR OUT.png
set -euo pipefail
harness=$1 camsim=$2 config=$3 out=$4

if [[ -z "${INSIDE_XVFB:-}" ]]; then
  export INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi

export VELTERRA_REGISTRY=/velterra-view-shot-$$
export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$scratch"; rm -f /dev/shm"$VELTERRA_REGISTRY"
}
trap cleanup EXIT
fail() { echo "view_screenshot: $*" >&2; cat "$scratch"/*.err >&2 || true; exit 1; }

"$camsim" --dir "$config" --model LS-4096M12 --kernel 0 >"$scratch/camsim.out" 2>"$scratch/camsim.err" &
pids+=($!)
for _ in $(seq 100); do [[ -s "$scratch/camsim.out" ]] && break; sleep 0.1; done
VELTERRA_COM1=$(head -1 "$scratch/camsim.out")
[[ -n "$VELTERRA_COM1" ]] || fail "the simulator gave no terminal"
export VELTERRA_COM1

HOME=$scratch "$harness" "$config" >"$scratch/harness.out" 2>"$scratch/harness.err" &
pids+=($!)
for _ in $(seq 300); do grep -q connected "$scratch/harness.out" && break; sleep 0.1; done
grep -qx connected "$scratch/harness.out" || fail "the view did not connect: $(cat "$scratch/harness.out")"
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velterra view$' | head -1) ||
  fail "the window did not come up"
sleep 1  # let it paint
import -window root "$out"

eval "$(xdotool getwindowgeometry --shell "$window")"
colours=$(/usr/bin/convert "$out" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format %k info:)
[[ "$colours" -ge 16 ]] || fail "the view shows only $colours colour(s)"
echo "view_screenshot: ${WIDTH}x${HEIGHT} view, $colours colours; picture in $out"
