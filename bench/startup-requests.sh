#!/usr/bin/env bash
# Counts the wineserver requests of one start, step by step. Under Wine
# nearly every call on a window is a request to the wineserver, so their
# number is a steadier measure of what a start costs than its time.
#   bench/startup-requests.sh
# The benchmark build of the program (see bench/startup-trace.sh) runs under
# a wineserver of its own that logs every request (wineserver -d1), in a
# prefix of its own (build/wineprefix-requests). Each step of the trace names
# itself in one request, so the requests of the main thread between two
# steps are those of the later one. Then the minimal window runs the same
# way; for both, the requests of the main thread until the window is
# activated (the moment it shows) are counted. OMBREL_TRACE_EXE counts
# another build of the program instead (one without the steps: only the sum).
set -euo pipefail
. "$(dirname "$0")/../tests/e2e/common.bash"
traced=${OMBREL_TRACE_EXE:-$root/build/windows/bench/OmbrelSetup_startup_trace.exe}
require_built
[ -f "$traced" ] || { echo "build it first: cmake --build build/windows --target OmbrelSetup_startup_trace" >&2; exit 1; }

. "$root/scripts/wine-env"
wine_env_start "$root/build/wineprefix-requests" || true  # a server already there is fine
log=$(mktemp)
copy=$(dirname "$exe")/OmbrelSetup_startup_trace.exe
cleanup() {
  rm -f "$log" "$copy"
  wine_env_stop
}
trap cleanup EXIT
# The persistent server of wine_env_start, replaced by one that logs.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -d1 -f -p 2>"$log" </dev/null &
sleep 0.3
wineboot >/dev/null 2>&1 </dev/null || true

cp "$traced" "$copy"
cd "$(dirname "$exe")"
# Runs the program given until its window TITLE shows, then closes it; the
# log keeps the requests of the second run only (the first warms the caches).
run_logged() {
  local title=$1 program
  shift
  for pass in warm-up logged; do
    : >"$log"
    wine "$@" >/dev/null 2>&1 </dev/null &
    program=$!
    tool wait "$title" 60 >/dev/null || { echo "the window did not show" >&2; exit 1; }
    sleep 1
    [ "$pass" = logged ] && cp "$log" "$log.$pass"
    tool close "$title" >/dev/null || true
    wait "$program" 2>/dev/null || true
  done
}

# A request line is "TTTT: name( ...", a reply "TTTT: name() = ...". The
# main thread is the one of the first line matching MAIN; all its requests
# count, from the process's start.
count_requests() {
  tr -d '\000' <"$1" >"$1.text"
  awk -v main="$2" -v steps="$3" '
    NR == FNR { if (!thread && $0 ~ main) thread = $1; next }
    $1 != thread || $2 ~ /\(\)$/ || $0 !~ /^[0-9a-f]+: [a-z_]+\(/ { next }
    steps && /find_atom\( name=L"/ {
      name = $0; sub(/.*name=L"/, "", name); sub(/".*/, "", name)
      printf "%7d  %s\n", count - last, (name == "entry" ? "entry (the process start)" : name)
      last = count; next
    }
    { count++ }
    /set_foreground_window\(/ && !shown { shown = count }
    END { printf "%7d  in all until the window is activated\n", shown }' "$1.text" "$1.text"
  rm -f "$1.text"
}

echo "program (requests of the main thread since the step before):"
OMBREL_STARTUP_TRACE='C:\startup-requests.txt' run_logged "$title" "$copy"
count_requests "$log.logged" 'create_window[(].*class=L"TFormMain"' 1
rm -f "$log.logged"
echo "minimal window:"
run_logged "Minimal Window" "$minimal_window"
count_requests "$log.logged" 'create_window[(].*class=L"MinimalWindow"' 0
rm -f "$log.logged"
