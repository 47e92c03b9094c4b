#!/usr/bin/env bash
# What replacing omb.ini and SCHEDULE.TXT costs under Wine (bench/replace_bench_win32.cpp).
#   bench/replace-bench.sh [schedule lines] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target replace_bench_win32 >/dev/null
scripts/with-wine scripts/wine-run build/windows/bench/replace_bench_win32.exe "$@"
