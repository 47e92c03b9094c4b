#!/usr/bin/env bash
# Marking a month and the weekly Clear on a large schedule, natively and under Wine.
#   bench/calendar-bench.sh [lines] [rounds]
exec "$(dirname "$0")/core-bench.sh" calendar_bench "$@"
