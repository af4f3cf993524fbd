#!/usr/bin/env bash
# Sets everything up, builds both presets and runs every test on each of them under Wine:
# the 64-bit build, and the 32-bit one that most players of the 32-bit game download.
set -eu
cd "$(dirname "$0")/.."
start=$(date +%s)
tools/setup.sh
# The stored properties' reader against a short native fuzzing run (with sanitizers) first.
fuzzed=ok
tools/fuzz.sh || fuzzed=failed
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
failed=()
for preset in win64 win32; do
    ctest --preset "$preset" || failed+=("$preset")
done
echo "tests took $(($(date +%s) - start)) s in all"
[ "$fuzzed" = ok ] || failed+=(fuzz)
if [ ${#failed[@]} -gt 0 ]; then
    echo "tests failed on: ${failed[*]}" >&2
    exit 1
fi
