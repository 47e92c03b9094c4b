#!/usr/bin/env bash
# Builds one benchmark of the portable core optimised, natively and for
# Windows, and runs it natively and under Wine.
#   bench/core-bench.sh TARGET [arguments of the benchmark]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
target=$1
shift
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j2 --target "$target" >/dev/null
echo "== native"
"build/bench/bench/$target" "$@"
cmake --preset windows >/dev/null
cmake --build --preset windows --target "$target" >/dev/null
echo "== Wine"
scripts/with-wine scripts/wine-run "build/windows/bench/$target.exe" "$@"
