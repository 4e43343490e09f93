#!/usr/bin/env bash
# velterra --port COM1 against a simulated camera under a virtual X server: the window connects
# at start (its caption names the port, the registry slot holds its process id), reads the
# parameter list from the camera and paints it, and SIGTERM ends it with the slot freed. The
# picture stays at OUT.png to look at.
#   window_port_connect.sh VELTERRA CAMSIM CONFIG_DIR OUT.png
set -euo pipefail
program=$1 camsim=$2 config=$3 out=$4

if [[ -z "${INSIDE_XVFB:-}" ]]; then
  export INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi

mkdir -p "$(dirname "$out")"
export VELTERRA_REGISTRY=/velterra-port-connect-$$
export QT_QPA_PLATFORM=xcb
scratch=$(mktemp -d)
camsim_pid= pid=
cleanup() {
  [[ -n "$pid" ]] && kill -KILL "$pid" 2>/dev/null
  [[ -n "$camsim_pid" ]] && kill -TERM "$camsim_pid" 2>/dev/null && wait "$camsim_pid" 2>/dev/null
  rm -rf "$scratch"
  rm -f /dev/shm"$VELTERRA_REGISTRY"
}
trap cleanup EXIT
fail() {
  echo "window_port_connect: $*" >&2
  cat "$scratch/err" >&2 2>/dev/null
  exit 1
}

"$camsim" --dir "$config" --model LS-4096M12 --log "$scratch/frames" >"$scratch/pty" 2>&1 &
camsim_pid=$!
for _ in $(seq 100); do [[ -s "$scratch/pty" ]] && break; sleep 0.1; done
export VELTERRA_COM1=$(head -n 1 "$scratch/pty")
[[ -e "$VELTERRA_COM1" ]] || fail "the simulated camera did not start"

# Owner of port slot 6 (COM1) in the registry block.
com1_owner() { od -An -tu4 -j48 -N4 /dev/shm"$VELTERRA_REGISTRY" | tr -d ' '; }

# --dir as a user types it, relative to where the program starts (the demo does the same).
(cd "$(dirname "$config")" &&
  exec env HOME="$scratch" XDG_CONFIG_HOME="$scratch" "$program" --dir "$(basename "$config")" \
    --port COM1 2>"$scratch/err") &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^COM1 - Velterra$' | head -1) ||
  fail "the window did not connect to COM1"
[[ "$(com1_owner)" == "$pid" ]] || fail "COM1's registry slot holds $(com1_owner), not $pid"
sleep 1.5  # the list is read and painted
frames=$(wc -l <"$scratch/frames")
[[ "$frames" -ge 20 ]] || fail "only $frames frames reached the camera; the list was not read"
import -window root "$out"
eval "$(xdotool getwindowgeometry --shell "$window")"
colours=$(convert "$out" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format %k info:)
[[ "$colours" -ge 8 ]] || fail "the window shows only $colours colour(s)"

kill -TERM "$pid"
timeout 15 tail --pid="$pid" -f /dev/null || fail "the window did not end on SIGTERM"
status=0
wait "$pid" || status=$?
pid=
[[ "$status" == 0 ]] || fail "the window ended with status $status after SIGTERM"
[[ "$(com1_owner)" == 0 ]] || fail "COM1's slot still holds $(com1_owner) after SIGTERM"
echo "window_port_connect: connected, $frames frames, $colours colours, slot freed; picture in $out"
