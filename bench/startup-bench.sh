#!/usr/bin/env bash
# Start-up time and peak memory (the process's peak working set by then) of
# the staged program, each as a ratio to a minimal Win32 program that only
# opens one empty window, at two moments: until the main window shows, and
# until the program is ready: every page and marker made, the start's work
# done and the program idle, waiting for input (the system's WaitForInputIdle).
# Both run side by side, alternately, under the same Wine. Each run also counts
# the main window's descendants when ready and 600 ms later; a run where they
# differ (something was still being made) stops the benchmark.
# The floor beside them: the main window's three pages made bare, as the
# program makes them, with no settings, language, skins or schedule
# (bench/bare_pages_win32.cpp). The program until ready as a ratio of the
# floor is what our own logic costs, apart from what the system's controls
# cost under Wine.
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
floor=$(winpath "$bare_pages")
cd "$(dirname "$exe")"

# Prints "shown_ms shown_peak_kb ready_ms ready_peak_kb windows" of one start.
measure() {
  local line fields
  line=$(tool measure 120 "$@") || { echo "measuring failed: $line" >&2; exit 1; }
  fields=$(printf '%s\n' "$line" | sed -n 's/^startup_ms=\([0-9.]*\) peak_kb=\([0-9]*\) ready_ms=\([0-9.]*\) ready_peak_kb=\([0-9]*\) windows=\([0-9]*\) settled=\([0-9]*\)$/\1 \2 \3 \4 \5 \6/p')
  set -- $fields
  [ $# = 6 ] || { echo "unexpected measurement: $line" >&2; exit 1; }
  [ "$5" = "$6" ] || { echo "not ready when idle: $5 windows, $6 600 ms later" >&2; exit 1; }
  echo "$1 $2 $3 $4 $5"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure "$yardstick" "Minimal Window" >/dev/null  # warm-up: caches and fonts
measure "$program" "$title" "${exe_args[@]}" >/dev/null
measure "$floor" "Bare Pages" >/dev/null
results=$(mktemp -d)
trap 'rm -rf "$results"; wine_env_cleanup' EXIT
for run in $(seq 1 "$repetitions"); do
  measure "$yardstick" "Minimal Window" >>$results/minimal
  measure "$program" "$title" "${exe_args[@]}" >>$results/program
  measure "$floor" "Bare Pages" >>$results/floor
  echo "run $run (shown ms, kB; ready ms, kB; windows): program $(tail -n1 $results/program), minimal $(tail -n1 $results/minimal), bare pages $(tail -n1 $results/floor)"
done

# The median of column $2 of file $1.
column_median() { cut -d' ' -f"$2" "$1" | median; }
echo
echo "medians of $repetitions runs         program    minimal window    ratio"
row() {
  awk -v name="$1" -v unit="$2" -v a="$(column_median $results/program "$3")" -v b="$(column_median $results/minimal "$3")" \
    'BEGIN { f = unit == "ms" ? "%7.1f" : "%7d"; printf "%-24s " f " %-2s  " f " %-2s     %5.2f\n", name, a, unit, b, unit, a / b }'
}
row "start-up until shown" ms 1
row "start-up until ready" ms 3
row "peak working set shown" kB 2
row "peak working set ready" kB 4
echo "windows when ready: program $(column_median $results/program 5), minimal window $(column_median $results/minimal 5)"
echo
printf '%-24s %7.1f ms, program %.2fx of it\n' "bare pages until ready" "$(column_median $results/floor 3)" \
  "$(awk -v a="$(column_median $results/program 3)" -v b="$(column_median $results/floor 3)" 'BEGIN { print a / b }')"
printf '%-24s %7d kB, program %.2fx of it\n' "bare pages peak ready" "$(column_median $results/floor 4)" \
  "$(awk -v a="$(column_median $results/program 4)" -v b="$(column_median $results/floor 4)" 'BEGIN { print a / b }')"
