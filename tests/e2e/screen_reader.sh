#!/usr/bin/env bash
# The schedule page's calendar as a screen reader reads it from another
# process, through AccessibleObjectFromWindow: a table named by the month,
# 42 cells, the selected day named with its events, selected and focused
# after a real click and after a real arrow key.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script

calendar=page:100,100  # a place inside the calendar of the schedule page

scratch=$(mktemp -d "$root/build/e2e-reader-XXXX")
trap 'rm -rf "$scratch"; wine_env_cleanup' EXIT
cp -r "$(dirname "$exe")/." "$scratch/"
# Two events on the 1st of this month, written start-up first.
month=$(date +%Y/%m)
printf '%s\r\n' "$month/01,STARTUP,07:00,0" "$month/01,SHUTDOWN,08:00,1" >"$scratch/SCHEDULE.TXT"
rm -f "$scratch/omb.ini"

(cd "$scratch" && wine "$scratch/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
program=$!
tool wait "$title" 60 >/dev/null || fail "the window did not show"
tool page "$title" 2 >/dev/null || fail "could not show the schedule page"
sleep 0.5

# The English texts name the days and months as the C locale does.
first_column=$(date -d "$(date +%Y-%m-01)" +%w)  # 0 for a Sunday
cell_of() { echo $((first_column + $1)); }
day_name() { LC_ALL=C date -d "$(date +%Y-%m)-$(printf %02d "$1")" '+%A, %-d %B %Y'; }
field() { sed -n "s/^$1=\(.*\)$/\1/p" | head -n 1; }

report=$(tool accessible "$title" $calendar) || fail "no accessible object: $report"
echo "$report"
table=$(echo "$report" | grep '^role=')
[ "$table" != "${table#role=table name=$(LC_ALL=C date '+%B %Y') children=42 }" ] ||
  fail "the table reads '$table'"

# The 1st: its date and its events, in the order shutdown, start-up.
first=$(tool accessible "$title" $calendar "$(cell_of 1)" | grep '^child=')
expected="$(day_name 1): Shutdown 08:00, Start-up 07:00"
case $first in *" name=$expected states="*) ;; *) fail "the 1st reads '$first', expected '$expected'" ;; esac

# A click on the 10th: selected and focused.
location=$(tool accessible "$title" $calendar "$(cell_of 10)" | grep '^child=' | sed 's/.* location=//')
IFS=, read -r left top width height <<<"$location"
tool click "$title" "screen:$((left + width / 2)),$((top + height / 2))" >/dev/null || fail "could not click the 10th"
expect_selected() {
  local now=""
  for _ in $(seq 20); do
    now=$(tool accessible "$title" $calendar | grep '^selected=')
    [ "$now" = "selected=$(cell_of "$2") name=$(day_name "$2") states=selected,focused,selectable,focusable" ] &&
      return 0
    sleep 0.3
  done
  fail "$1: the selection reads '$now'"
}
expect_selected "after a click on the 10th" 10

# The arrow key down: a week later.
tool keys "{DOWN}"
expect_selected "after the arrow key down" 17
tool keys "{LEFT}"
expect_selected "after the arrow key left" 16

tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null || fail "the window did not close"
wait "$program" 2>/dev/null
echo "PASS"
