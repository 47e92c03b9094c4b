#!/usr/bin/env bash
# The real program on the paths where something fails, its boxes answered from
# outside: a start cut short by a broken skin picture writes nothing on OK and
# keeps the monitor's start-up entry; a close request (as another program
# posts it) or the end of the session (as a log-off sends it) while a box of
# the start, the OK question, the overview window or a detection run waits
# ends the program at once, without a crash and without writing anything.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script

ok=client:132,423
auto_detect=page:346,36
view_all=tab:2
view_all_button=page:414,279
run_key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run'
program_key='HKLM\Software\Wow6432Node\Tarvexi\Ombrel'

reg_value() {  # reg_value KEY NAME: the data of the value, empty when missing
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -n "s/.*$2 *REG_[A-Z_]* *//p"
}
answer() {  # answer TITLE TEXT KEYS: waits for the box, checks its text, types KEYS
  local said
  said=$(tool answer "$1" "$3" 30 | sed -n 's/^text=//p') || fail "no box '$1' to answer"
  case $said in *"$2"*) ;; *) fail "the box '$1' said '$said', expected '$2'" ;; esac
}
expect_box() {  # expect_box TITLE TEXT: waits for the box and leaves it up
  local said
  said=$(tool box "$1" 30 | sed -n 's/^text=//p') || fail "no box '$1'"
  case $said in *"$2"*) ;; *) fail "the box '$1' said '$said', expected '$2'" ;; esac
}
start() {
  (cd "$1" && wine "$1/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
  program=$!
}
# The program must end by itself within a few seconds of the request.
expect_ended() {
  tool gone "$title" 20 >/dev/null || fail "$1: the window is still there"
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$program" 2>/dev/null || fail "$1: the program did not end"
  wait "$program" 2>/dev/null
  local status=$?
  [ $status = 0 ] || fail "$1: the program ended with status $status (a crash?)"
}
# The folder's files and the start-up entry are as they were.
expect_untouched() {
  cmp -s "$scratch/old-omb.ini" "$1/omb.ini" || fail "$2: omb.ini changed"
  cmp -s "$scratch/old-schedule" "$1/SCHEDULE.TXT" || fail "$2: SCHEDULE.TXT changed"
  [ "$(reg_value "$run_key" OMB_SPY)" = 'C:\OLD\SPY.EXE' ] || fail "$2: the start-up entry changed"
  [ -z "$(reg_value "$program_key" SETUP)" ] || fail "$2: SETUP was written"
  [ "$(ls "$1" | grep -c -i '\.tmp')" = 0 ] || fail "$2: a temporary file was left"
}
# A program folder with settings, a schedule and the monitor's entry.
prepare() {
  rm -rf "$1"
  mkdir -p "$1"
  cp -r "$(dirname "$exe")/." "$1/"
  cp "$scratch/old-omb.ini" "$1/omb.ini"
  cp "$scratch/old-schedule" "$1/SCHEDULE.TXT"
  wine reg add "$run_key" /v OMB_SPY /d 'C:\OLD\SPY.EXE' /f >/dev/null 2>&1 </dev/null
  wine reg delete "$program_key" /f >/dev/null 2>&1 </dev/null
}

scratch=$(mktemp -d "$root/build/e2e-failures-XXXX")
trap 'rm -rf "$scratch"; wine_env_cleanup' EXIT
printf '[PAGE1]\r\nUPSPORT=3\r\nRUN_STARTUP_STATUS=1\r\n[PAGE3]\r\nLANGUAGE=English\r\n' >"$scratch/old-omb.ini"
printf '2024/09/02,SHUTDOWN,22:00,1\r\n2029/09/30,STARTUP,07:15,0\r\n' >"$scratch/old-schedule"

# A broken skin picture: the error box, then OK says nothing was saved.
prepare "$scratch/broken"
printf 'not a picture' >"$scratch/broken/skin/setup/HeaderSetup.bmp"
start "$scratch/broken"
answer OmbrelSetup "Bitmap image is not valid" "{ENTER}"
tool wait "$title" 60 >/dev/null || fail "the window did not show after the failed start"
tool click "$title" $ok
answer OmbrelSetup "nothing has been saved" "{ENTER}"
expect_untouched "$scratch/broken" "OK after a failed start"
tool close "$title" >/dev/null
expect_ended "closing after a failed start"
echo "failed start: OK wrote nothing, the start-up entry stayed"

# A name in the folder that the system cannot resolve: both the attribute
# query and the open fail on it (here a link to itself, which Wine answers
# with "cannot resolve the file name"; Wine gives no other refusal of the
# query on a file that is there). Not found is the only failure that makes a
# file missing: OK says nothing was saved and writes nothing over it.
for file in SCHEDULE.TXT omb.ini; do
  prepare "$scratch/loop-$file"
  rm "$scratch/loop-$file/$file"
  ln -s "$file" "$scratch/loop-$file/$file"
  start "$scratch/loop-$file"
  # The schedule's reading stops the start with a box; settings that could not
  # be read are said at OK.
  [ $file = omb.ini ] || answer OmbrelSetup "Cannot open file" "{ENTER}"
  tool wait "$title" 60 >/dev/null || fail "the window did not show after $file could not be read"
  tool click "$title" $ok
  answer OmbrelSetup "nothing has been saved" "{ENTER}"
  [ -L "$scratch/loop-$file/$file" ] || fail "$file was written over after it could not be read"
  rm "$scratch/loop-$file/$file"
  cp "$scratch/old-$([ $file = omb.ini ] && echo omb.ini || echo schedule)" "$scratch/loop-$file/$file"
  expect_untouched "$scratch/loop-$file" "OK after $file could not be read"
  tool close "$title" >/dev/null
  expect_ended "closing after $file could not be read"
done
echo "a file that could not be read at start: OK wrote nothing"

for request in close endsession; do
  # While a box of the start waits (no language file: the first of nine boxes).
  prepare "$scratch/start-$request"
  rm -rf "$scratch/start-$request/Languages"
  start "$scratch/start-$request"
  expect_box OmbrelSetup "Error, File not found"
  tool request "$title" $request >/dev/null || fail "no window to ask during the start"
  expect_ended "$request during a start-up box"
  expect_untouched "$scratch/start-$request" "$request during a start-up box"

  # While the OK question waits.
  prepare "$scratch/ok-$request"
  start "$scratch/ok-$request"
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  tool click "$title" $ok
  expect_box Confirm "new settings"
  tool request "$title" $request >/dev/null || fail "no window to ask during OK"
  expect_ended "$request during the OK question"
  expect_untouched "$scratch/ok-$request" "$request during the OK question"

  # While the overview window is open.
  prepare "$scratch/view-$request"
  start "$scratch/view-$request"
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  tool click "$title" $view_all
  tool click "$title" $view_all_button
  tool wait "Ombrel Calendar View Version 7.20" 30 >/dev/null || fail "the overview window did not show"
  tool request "$title" $request >/dev/null || fail "no window to ask with the overview open"
  expect_ended "$request with the overview window open"
  expect_untouched "$scratch/view-$request" "$request with the overview window open"

  # While a detection run probes the ports (none has a device here).
  prepare "$scratch/detect-$request"
  start "$scratch/detect-$request"
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  tool click "$title" $auto_detect
  answer Warning "Detecting the UPS port" "{ENTER}"
  sleep 4  # the settling wait, then the probing
  [ "$(reg_value "$program_key" RUNNING)" = 0x3 ] || fail "no run going on"
  tool request "$title" $request >/dev/null || fail "no window to ask during detection"
  expect_ended "$request during detection"
  [ "$(reg_value "$program_key" RUNNING)" = 0x4 ] || fail "$request during detection: RUNNING is not 4"
  wine reg delete "$program_key" /v RUNNING /f >/dev/null 2>&1 </dev/null
  expect_untouched "$scratch/detect-$request" "$request during detection"
  echo "$request: ended cleanly during a start-up box, the OK question, the overview window and detection"
done
echo "PASS"
