#!/usr/bin/env bash
# The steps of one start of the program, each with the time since the process
# began and the CPU time used by then: the benchmark build of the program
# (build/windows/bench/OmbrelSetup_startup_trace.exe, the shipped program plus
# the trace) runs from the staged folder and writes them, each with the peak
# working set of the process by then, once it is ready: idle, waiting for input.
#   bench/startup-trace.sh [RUNS]     (default 3; the first is a warm-up)
set -euo pipefail
. "$(dirname "$0")/../tests/e2e/common.bash"
runs=${1:-3}
traced=$root/build/windows/bench/OmbrelSetup_startup_trace.exe
require_built
[ -f "$traced" ] || { echo "build it first: cmake --build build/windows --target OmbrelSetup_startup_trace" >&2; exit 1; }
wine_env_for_script

# Beside the staged program, so that it finds the languages and skins as the program does.
copy=$(dirname "$exe")/OmbrelSetup_startup_trace.exe
cp "$traced" "$copy"
out=$(mktemp -d)
trap 'rm -rf "$out" "$copy"; wine_env_cleanup' EXIT
cd "$(dirname "$exe")"
for run in $(seq 1 "$runs"); do
  OMBREL_STARTUP_TRACE=$(winepath -w "$out/trace" 2>/dev/null | tr -d '\r') \
    wine "$copy" >/dev/null 2>&1 </dev/null &
  program=$!
  tool wait "$title" 120 >/dev/null || { echo "the window did not show" >&2; exit 1; }
  for _ in $(seq 1 100); do [ -s "$out/trace" ] && break; sleep 0.1; done
  tool close "$title" >/dev/null || true
  tool gone "$title" 30 >/dev/null || true
  wait "$program" 2>/dev/null || true
  echo "run $run$([ "$run" = 1 ] && echo ' (warm-up)'):"
  tr -d '\r' <"$out/trace"
  rm -f "$out/trace"
done
