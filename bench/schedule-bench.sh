#!/usr/bin/env bash
# Loading, editing and saving a large schedule, natively and under Wine.
#   bench/schedule-bench.sh [lines] [edits] [rounds]
exec "$(dirname "$0")/core-bench.sh" schedule_bench "$@"
