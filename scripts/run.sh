#!/usr/bin/env bash
# The suite's main job: the live view Oculan watching recorders of the bundled emulator.
#
# Sets up a fresh Debian 12 machine and builds what is missing, starts the recorder emulator
# with three recorders (one reached by address and port, one by its device name through the
# lookup server; H.264 and MPEG-4, with sound), gives Oculan a device store listing them with
# automatic connection (Oculan connects such devices a minute after its start), starts it, and
# stops the emulator when Oculan ends.
#
# With a display, Oculan runs until you close it. Without one ($DISPLAY empty) it runs on a
# virtual X server for RUN_SECONDS (default 90); in its last seconds the run selects each device
# in the tree in turn and prints what the window showed (devices connected, the pictures in
# each cell of each device's view), keeps a screenshot in build/screenshots/run.png and closes
# Oculan with its EXIT button.
#
# run.sh --launcher starts the launcher Start instead (a display is needed): pick a program
# there; the emulator stops once the programs started from the tree have ended.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

launcher=""
if [ "${1:-}" = "--launcher" ]; then
    launcher=yes
    if [ -z "${DISPLAY:-}" ]; then
        echo "run.sh --launcher: the launcher needs a display (DISPLAY is empty)" >&2
        exit 1
    fi
fi

build=build
suite=$build/suite
run_seconds=${RUN_SECONDS:-90}
lookup_port=10088

scripts/install-deps.sh

echo "== build (what is missing)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target suite recorder-emulator device-store oculan-watch

if (exec 3<>"/dev/tcp/127.0.0.1/$lookup_port") 2>/dev/null; then
    echo "run.sh: port $lookup_port is taken; the live view asks the lookup server there." >&2
    echo "        Stop whatever listens on it (another run?) and try again." >&2
    exit 1
fi

work=$(mktemp -d)
emulator_pid=""
stop_emulator() {
    if [ -n "$emulator_pid" ] && kill -0 "$emulator_pid" 2>/dev/null; then
        kill -INT "$emulator_pid"
        wait "$emulator_pid" 2>/dev/null || true
        echo "== recorder emulator stopped"
    fi
    rm -rf "$work"
}
trap stop_emulator EXIT

cat >"$work/recorders.ini" <<EOF
[emulator]
recorders = 3
lookup_port = $lookup_port
sandbox = $work/sandbox

; Sixteen CIF cameras in H.264 with sound on camera 1; reached by address and port.
[recorder1]
name = DVR0001
port = 0
type = 1016
codec = h264
size = 2
users = ADMIN:admin:2, GUEST:guest:1
audio_mask = 0x0001

; Four CIF cameras in MPEG-4 with stereo sound; reached by its name through the lookup server.
[recorder2]
name = DVR0002
port = 0
type = 1004
codec = mpeg4
size = 2
users = ADMIN:admin:2, GUEST:guest:1
audio_mask = 0x000f
audio_block_bytes = 4096

; Eight 480-line cameras in H.264; reached by address and port.
[recorder3]
name = DVR0003
port = 0
type = 1008
codec = h264
standard = 1
size = 2
users = ADMIN:admin:2, GUEST:guest:1
EOF

echo "== recorder emulator"
"$build/tools/recorder-emulator/recorder-emulator" --config "$work/recorders.ini" \
    >"$work/emulator.log" 2>&1 &
emulator_pid=$!
for _ in $(seq 1 600); do
    grep -q "^lookup server:" "$work/emulator.log" && break
    kill -0 "$emulator_pid" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q "^lookup server:" "$work/emulator.log"; then
    echo "run.sh: the recorder emulator did not start:" >&2
    cat "$work/emulator.log" >&2
    exit 1
fi
sed 's/^/   /' "$work/emulator.log"
port_of() { sed -n "s/^recorder $1: 127\.0\.0\.1:\([0-9]*\) .*/\1/p" "$work/emulator.log"; }

echo "== device store $suite/uss.dat"
if [ -f "$suite/uss.dat" ]; then
    cp -p "$suite/uss.dat" "$suite/uss.dat.before-run"
    echo "   (the store there before is kept as uss.dat.before-run)"
fi
"$build/tools/device-store/device-store" write "$suite/uss.dat" \
    "127.0.0.1:$(port_of 1),ADMIN,admin,Front door,auto,audio" \
    "127.0.0.1/DVR0002,ADMIN,admin,Back yard,auto,audio" \
    "127.0.0.1:$(port_of 3),ADMIN,admin,Stairs,auto"
"$build/tools/device-store/device-store" list "$suite/uss.dat" | sed 's/^/   /'

oculan="$top/$suite/ClientSoftware/Oculan"
if [ -n "$launcher" ]; then
    echo "== Start (the emulator runs until the programs it started have ended)"
    "$top/$suite/Start"
    tree=$(cd "$suite" && pwd -P)
    suite_running() {
        for exe in /proc/[0-9]*/exe; do
            case "$(readlink "$exe" 2>/dev/null)" in "$tree/"*) return 0 ;; esac
        done
        return 1
    }
    while suite_running; do sleep 1; done
elif [ -n "${DISPLAY:-}" ]; then
    echo "== Oculan (the devices connect by themselves a minute after start; CONNECT is quicker)"
    "$oculan"
else
    echo "== Oculan on a virtual X server for $run_seconds s (no display)"
    mkdir -p "$build/screenshots"
    "$build/tools/oculan-watch/oculan-watch" "$oculan" "$run_seconds" \
        "$top/$build/screenshots/run.png"
fi
