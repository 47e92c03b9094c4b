#!/usr/bin/env bash
# The program killed (as "taskkill /f" does) at instants spread over OK's
# writes, on a schedule large enough that writing it takes time: after each
# kill omb.ini and SCHEDULE.TXT are each byte for byte their old or their new
# contents, never missing, empty or mixed, and never omb.ini new with the
# schedule old (OK writes the schedule first). The temporary files the kills
# leave are gone after the next whole OK.
#
# By default a sample of 9 instants, which takes about a minute and a half;
# scripts/kill-sweep runs the whole sweep of 42.
#
#   OMBREL_KILL_SWEEP      "full" for the whole sweep
#   OMBREL_KILL_LINES      lines of the schedule (default 200000)
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/ok_files.bash"
require_built
wine_env_for_script
ok_files_setup "${OMBREL_KILL_LINES:-200000}"
# The instants: percentages of the writes' length, measured first, and kills
# as a file's temporary file appears or holds a share of its bytes (in thirds).
if [ "${OMBREL_KILL_SWEEP:-}" = full ]; then
  fractions=$(seq -s ' ' 0 6 200) thirds="0 1 2 3" settings_kills=4 least_kills=30
else
  fractions="0 25 50 100 150 200" thirds="1" settings_kills=2 least_kills=6
fi
field() { sed -n "s/^$1=//p" | tr -d '\r'; }

# Starts the killer on the running program and waits until it watches.
start_killer() {
  killer_out=$(mktemp "$scratch/killer-XXXX")
  wine "$killer" "$title" "$(winpath "$app")" "$1" >"$killer_out" 2>&1 </dev/null &
  killer_pid=$!
  for _ in $(seq 100); do grep -q ready "$killer_out" && return; sleep 0.05; done
  fail "the killer did not start: $(cat "$killer_out")"
}

# One OK cut at WHEN (see ok_killer.cpp); checks and counts the outcome.
kills=0 inside_schedule=0 inside_settings=0 killed_at=()
declare -A outcomes
kill_at() {
  restore_old_files
  start_program
  start_killer "$1"
  press_ok
  wait "$killer_pid" || fail "the killer failed at $1: $(cat "$killer_out")"
  wait "$program" 2>/dev/null
  local schedule settings report
  schedule=$(which_contents SCHEDULE.TXT)
  settings=$(which_contents omb.ini)
  report=$(tr -d '\r' <"$killer_out" | grep -v ready | tr '\n' ' ')
  echo "$1: SCHEDULE.TXT $schedule, omb.ini $settings; $report; left: $(leftovers)"
  case $schedule in old | new) ;; *) fail "after a kill at $1 SCHEDULE.TXT is $schedule" ;; esac
  case $settings in old | new) ;; *) fail "after a kill at $1 omb.ini is $settings" ;; esac
  [ "$settings/$schedule" != new/old ] || fail "after a kill at $1 omb.ini is new but SCHEDULE.TXT old"
  grep -q '^killed_ms=' "$killer_out" || return 0
  kills=$((kills + 1))
  killed_at+=("$(field killed_ms <"$killer_out")")
  outcomes["SCHEDULE.TXT $schedule, omb.ini $settings"]=$(( ${outcomes["SCHEDULE.TXT $schedule, omb.ini $settings"]:-0} + 1 ))
  # Killed after the file's temporary file appeared, with the file still old: inside its write.
  if [ "$schedule" = old ] && echo "$report" | grep -q 'seen=.*SCHEDULE\.TXT\.tmp'; then
    inside_schedule=$((inside_schedule + 1))
  fi
  if [ "$settings" = old ] && echo "$report" | grep -q 'seen=.*omb\.ini\.tmp'; then
    inside_settings=$((inside_settings + 1))
  fi
  rm -f "$killer_out"
}

# The length of the writes: from the schedule's temporary file appearing to
# the last temporary file put in place, in a whole OK watched by the killer.
# On a busy machine the killer may look too seldom to see both files' writes:
# then the OK is measured again.
for _ in 1 2 3 4; do
  learn_new_files start_killer measure
  wait "$killer_pid" || fail "measuring failed: $(cat "$killer_out")"
  echo "a whole OK: $(tr -d '\r' <"$killer_out" | tr '\n' ' ')"
  grep -q 'seen=.*SCHEDULE\.TXT\.tmp' "$killer_out" && grep -q 'seen=.*omb\.ini\.tmp' "$killer_out" && break
done
grep -q 'seen=.*SCHEDULE\.TXT\.tmp' "$killer_out" && grep -q 'seen=.*omb\.ini\.tmp' "$killer_out" ||
  fail "the writes of a whole OK could not be measured"
writes_ms=$(field writes_ms <"$killer_out")

# Instants spread over the writes, then instants tied to each file's
# temporary file: as it appears, and once part or all of it is written.
size=$(stat -c %s "$scratch/new-SCHEDULE.TXT")
for percent in $fractions; do
  kill_at "ms:$(awk -v t="$writes_ms" -v p="$percent" 'BEGIN { printf "%.2f", t * p / 100 }')"
done
for third in $thirds; do kill_at "size:SCHEDULE.TXT:$((size * third / 3))"; done
for _ in $(seq $((settings_kills - 1))); do kill_at "size:omb.ini:0"; done
kill_at "size:omb.ini:$(stat -c %s "$scratch/new-omb.ini")"

# Leftovers of the kills, and one planted for each file, go with the next whole OK.
printf 'half' >"$app/omb.ini.tmp4242"
printf 'half' >"$app/SCHEDULE.TXT.tmp4242"
left_before=$(leftovers)
restore_old_files
start_program
press_ok
tool gone "$title" 60 >/dev/null || fail "the last OK did not end the program"
wait "$program" 2>/dev/null
[ "$(which_contents SCHEDULE.TXT)/$(which_contents omb.ini)" = new/new ] || fail "the last OK did not write both files"
[ -z "$(leftovers)" ] || fail "temporary files stayed after the next OK: $(leftovers)"

echo "writes_ms=$writes_ms kills=$kills inside_schedule_write=$inside_schedule inside_settings_write=$inside_settings"
for outcome in "${!outcomes[@]}"; do echo "  ${outcomes[$outcome]} x $outcome"; done
echo "temporary files before the next OK: $left_before; after it: none"
echo "kills at (ms after the schedule's temporary file appeared): $(printf '%s\n' "${killed_at[@]}" | sort -n | tr '\n' ' ')"
[ "$kills" -ge $least_kills ] || fail "only $kills kills landed before the program ended"
[ "$inside_schedule" -ge 1 ] || fail "no kill landed inside the schedule's write"
[ "$inside_settings" -ge 1 ] || fail "no kill landed inside the settings file's write"
echo "PASS"
