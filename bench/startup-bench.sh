#!/usr/bin/env bash
# Start-up time (process start until the main window shows) and peak memory
# (the process's peak working set at that moment) of the staged program, each
# as a ratio to a minimal Win32 program that only opens one empty window.
# Both run side by side, alternately, under the same Wine.
#   bench/startup-bench.sh [REPETITIONS]     (default 7; one warm-up run each)
# OMBREL_EXE / OMBREL_EXE_ARGS measure another program instead (see tests/e2e/common.bash).
#
# Each start makes thousands of calls into the wineserver, each a wake-up of
# another process. On a machine whose CPUs are idle (a virtual machine halts
# them), a wake-up on another CPU can cost tens of microseconds, so the times
# swing with the machine's load and the program with more calls suffers more.
# STARTUP_BENCH_CPU=N runs the display, the wineserver and both programs on
# CPU N for steadier figures (only when this script starts its own Wine).
set -euo pipefail
if [ -n "${STARTUP_BENCH_CPU:-}" ] && [ -z "${startup_bench_pinned:-}" ]; then
  export startup_bench_pinned=1
  exec taskset -c "$STARTUP_BENCH_CPU" bash "$0" "$@"
fi
. "$(dirname "$0")/../tests/e2e/common.bash"
repetitions=${1:-7}
require_built
wine_env_for_script

winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
program=$(winpath "$exe")
yardstick=$(winpath "$minimal_window")
cd "$(dirname "$exe")"

# Prints "startup_ms peak_kb" of one start.
measure() {
  local line
  line=$(tool measure 120 "$@") || { echo "measuring failed: $line" >&2; exit 1; }
  printf '%s\n' "$line" | sed -n 's/^startup_ms=\([0-9.]*\) peak_kb=\([0-9]*\)$/\1 \2/p'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure "$yardstick" "Minimal Window" >/dev/null  # warm-up: caches and fonts
measure "$program" "$title" "${exe_args[@]}" >/dev/null
results=$(mktemp -d)
trap 'rm -rf "$results"; wine_env_cleanup' EXIT
for run in $(seq 1 "$repetitions"); do
  measure "$yardstick" "Minimal Window" >>$results/minimal
  measure "$program" "$title" "${exe_args[@]}" >>$results/program
  echo "run $run: program $(tail -n1 $results/program), minimal $(tail -n1 $results/minimal) (ms kB)"
done

program_ms=$(cut -d' ' -f1 $results/program | median)
program_kb=$(cut -d' ' -f2 $results/program | median)
minimal_ms=$(cut -d' ' -f1 $results/minimal | median)
minimal_kb=$(cut -d' ' -f2 $results/minimal | median)
echo
echo "medians of $repetitions runs    program    minimal window    ratio"
awk -v a="$program_ms" -v b="$minimal_ms" 'BEGIN { printf "start-up until shown    %7.1f ms  %9.1f ms      %5.2f\n", a, b, a / b }'
awk -v a="$program_kb" -v b="$minimal_kb" 'BEGIN { printf "peak working set        %7d kB  %9d kB      %5.2f\n", a, b, a / b }'
