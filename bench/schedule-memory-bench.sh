#!/usr/bin/env bash
# Memory of a loaded schedule store against its file's size, for files as
# saved, lines not in event form, and bare line ends; natively (optimised,
# without sanitizers) and under Wine, one process per file.
#   bench/schedule-memory-bench.sh [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
megabytes=${1:-20}
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j2 --target schedule_memory_bench >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target schedule_memory_bench >/dev/null
echo "== native"
for kind in saved odd lf crlf; do build/bench/bench/schedule_memory_bench "$kind" "$megabytes"; done
echo "== Wine"
for kind in saved odd lf crlf; do
  scripts/with-wine scripts/wine-run build/windows/bench/schedule_memory_bench.exe "$kind" "$megabytes"
done
