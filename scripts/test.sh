#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and passes every test: the full build with all tests
# (widgets offscreen), then the core libraries again under ASan+UBSan (with the fuzzers, each
# for a bounded time) and under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}
export QT_QPA_PLATFORM=offscreen

echo "== format and names"
# The naming check reads the compile database that configuring writes.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUITE_WERROR=ON
NAMES_JOBS=$jobs scripts/check-format.sh

echo "== build and test"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== core libraries under AddressSanitizer + UndefinedBehaviorSanitizer, and fuzzers"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DSUITE_SANITIZE=address,undefined -DSUITE_FUZZ=ON
cmake --build build-asan -j"$jobs" --target core_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -L core --output-on-failure -j"$jobs"
if [ -d build-asan/fuzz ]; then
    for fuzzer in build-asan/fuzz/*; do
        [ -x "$fuzzer" ] || continue
        # A target's own time where it has one, never more than the default.
        seconds=$fuzz_seconds
        if [ -f "$fuzzer.seconds" ] && [ "$(cat "$fuzzer.seconds")" -lt "$seconds" ]; then
            seconds=$(cat "$fuzzer.seconds")
        fi
        corpus=$(mktemp -d)
        echo "-- $(basename "$fuzzer") for ${seconds}s"
        "$fuzzer" -max_total_time="$seconds" -artifact_prefix=build-asan/fuzz-crash- \
            "$corpus" 2>&1 | tail -n 3
        rm -rf "$corpus"
    done
fi

echo "== core libraries under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUITE_SANITIZE=thread
cmake --build build-tsan -j"$jobs" --target core_tests
# ThreadSanitizer's shadow memory needs a fixed layout: without address randomisation it also
# runs on kernels with more mmap randomisation bits than it supports.
TSAN_OPTIONS=halt_on_error=1 setarch "$(uname -m)" -R \
    ctest --test-dir build-tsan -L core --output-on-failure -j"$jobs"
