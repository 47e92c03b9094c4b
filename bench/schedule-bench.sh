#!/usr/bin/env bash
# Builds the schedule benchmark optimised, natively and for Windows, and runs
# it natively and under Wine.   bench/schedule-bench.sh [lines] [edits] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j2 --target schedule_bench >/dev/null
echo "== native"
build/bench/bench/schedule_bench "$@"
cmake --preset windows >/dev/null
cmake --build --preset windows --target schedule_bench >/dev/null
echo "== Wine"
scripts/with-wine scripts/wine-run build/windows/bench/schedule_bench.exe "$@"
