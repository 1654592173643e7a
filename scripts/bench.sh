#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and measures the live view's path: first N recorders x 16
# CIF channels streamed from the recorder emulator through the engine (receive, decode,
# convert, draw), then the picture path, the renderer and the emulator on their own. Every
# figure is a ratio against a peer measured in the same run; the machine's load average is
# printed before and after each benchmark. Release build in build-release/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-release -j"$(nproc)"

for bench in liveview_bench oculan_startup_bench oculan_views_bench picture_bench \
    common_ui_bench recorder_emulator_bench playback_search_bench playback_bench; do
    echo "== $bench (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    "build-release/bench/$bench"
    echo "== $bench done (load average $(cut -d' ' -f1-3 /proc/loadavg))"
done
