#!/usr/bin/env bash
# Starting the program while it runs brings the running copy to the front,
# restores it when it was minimised, and ends the new copy without a window.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script
cd "$(dirname "$exe")"

wine "$exe" "${exe_args[@]}" >/dev/null 2>&1 </dev/null &
first=$!
tool wait "$title" 60 >/dev/null || fail "the first copy's window did not show"
[ "$(state_of count)" = 1 ] || fail "expected one window titled '$title'"

# Another window takes the front, and the first copy is minimised.
wine "$minimal_window" --title "Another Program" >/dev/null 2>&1 </dev/null &
other=$!
tool wait "Another Program" 60 >/dev/null || fail "the other window did not show"
tool minimize "$title" >/dev/null || fail "cannot minimise the first copy"
for _ in $(seq 1 100); do [ "$(state_of iconic)" = 1 ] && break; sleep 0.1; done
[ "$(state_of iconic)" = 1 ] || fail "the first copy did not minimise"
[ "$(state_of foreground)" = 0 ] || fail "the minimised first copy is still in front"

# The second copy: it must end on its own (60 s only guards against a hang).
timeout 60 wine "$exe" "${exe_args[@]}" >/dev/null 2>&1 </dev/null
status=$?
[ $status != 124 ] || fail "the second copy did not end"
echo "second copy ended with status $status"

for _ in $(seq 1 50); do [ "$(state_of iconic)" = 0 ] && [ "$(state_of foreground)" = 1 ] && break; sleep 0.1; done
echo "after the second start: $(tool state "$title")"
[ "$(state_of count)" = 1 ] || fail "the second copy opened a window of its own"
[ "$(state_of iconic)" = 0 ] || fail "the first copy was not restored"
[ "$(state_of foreground)" = 1 ] || fail "the first copy was not brought to the front"

tool close "Another Program" >/dev/null
tool close "$title" >/dev/null || fail "cannot close the first copy"
tool gone "$title" 60 >/dev/null || fail "the first copy did not close on WM_CLOSE"
wait "$first" "$other" 2>/dev/null
echo "PASS"
