#!/usr/bin/env bash
# F1 under Wine, pressed as a user presses it: the program hands Ombrel_T.hlp
# to the shell first; when the shell cannot open it, the guide's page for the
# page or window in front opens, in the language the program shows. For the
# test, .html and .hlp files are opened by the window tool's recorder, which
# notes what it was asked to open; the prefix's own handlers are put back at
# the end.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script

scratch=$(mktemp -d "$root/build/e2e-help-XXXX")
opened=$scratch/opened.txt
program_folder=$scratch/program
cwd=$scratch/cwd
classes='HKLM\Software\Classes'
saved_html= saved_hlp=

# The default value of a key, empty when it has none.
default_of() {
  wine reg query "$1" /ve </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}
restore_handlers() {
  local ext saved
  for ext in html hlp; do
    [ "$ext" = html ] && saved=$saved_html || saved=$saved_hlp
    if [ -n "$saved" ]; then
      wine reg add "$classes\\.$ext" /ve /d "$saved" /f </dev/null >/dev/null 2>&1
    else
      wine reg delete "$classes\\.$ext" /ve /f </dev/null >/dev/null 2>&1
    fi
    wine reg delete "$classes\\OmbrelTest.$ext" /f </dev/null >/dev/null 2>&1
  done
}
cleanup() {
  restore_handlers
  rm -rf "$scratch"
  wine_env_cleanup
}
trap cleanup EXIT

saved_html=$(default_of "$classes\\.html")
saved_hlp=$(default_of "$classes\\.hlp")
recorder="\"$(winepath -w "$window_tool" 2>/dev/null | tr -d '\r')\" record \"$(winepath -w "$opened" 2>/dev/null | tr -d '\r')\" \"%1\""
for ext in html hlp; do
  wine reg add "$classes\\OmbrelTest.$ext\\shell\\open\\command" /ve /d "$recorder" /f </dev/null >/dev/null 2>&1 ||
    fail "cannot register the recorder for .$ext"
  wine reg add "$classes\\.$ext" /ve /d "OmbrelTest.$ext" /f </dev/null >/dev/null 2>&1 ||
    fail "cannot register the recorder for .$ext"
done

# A program folder of its own, showing German; the program's working folder,
# where the shell looks for Ombrel_T.hlp, is another.
cp -r "$(dirname "$exe")" "$program_folder"
printf '[PAGE3]\r\nLANGUAGE=Deutsch\r\n' >"$program_folder/omb.ini"
mkdir -p "$cwd"
program_exe=$program_folder/$(basename "$exe")

start_program() {
  (cd "$cwd" && wine "$program_exe" "${exe_args[@]}" >/dev/null 2>&1 </dev/null) &
  program=$!
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  sleep 1
}
stop_program() {
  tool close "$title" >/dev/null
  tool gone "$title" 30 >/dev/null || fail "the program did not close"
  wait "$program" 2>/dev/null
}
lines_recorded() {
  if [ -f "$opened" ]; then wc -l <"$opened"; else echo 0; fi
}
# Waits until the recorder has noted N lines (a Wine process takes a while
# to start on a busy machine); prints the Nth.
recorded() {
  local n=$1 _
  for _ in $(seq 1 300); do
    [ "$(lines_recorded)" -ge "$n" ] && break
    sleep 0.1
  done
  [ "$(lines_recorded)" -ge "$n" ] || return 1
  sed -n "${n}p" "$opened"
}
# F1 on a page (1 to 3) of the main window. The program that opened the last
# page may have left the front: the user comes back to the window first.
press_f1_on_page() {
  tool front "$title" >/dev/null
  tool page "$title" "$1" >/dev/null || fail "cannot turn to page $1"
  sleep 0.5
  tool keys "{F1}" >/dev/null || fail "cannot press F1"
}
expect_page() {  # expect_page N LANGUAGE PAGE: the Nth opening is that page of the guide
  local got want
  got=$(recorded "$1") ||
    fail "nothing was opened for $3 (opened: $(tr '\n' ' ' <"$opened" 2>/dev/null); $(tool state "$title"); $(tool focus "$title"))"
  want=$(winepath -w "$program_folder/Help/$2/$3" 2>/dev/null | tr -d '\r')
  echo "F1 opened: $got"
  [ "${got,,}" = "${want,,}" ] || fail "F1 opened '$got', expected '$want'"
  [ -f "$(winepath -u "$got" 2>/dev/null)" ] || fail "the page '$got' does not exist"
}

echo "== no Ombrel_T.hlp: the guide's page of each page and of the overview window, in German"
rm -f "$opened"
start_program
press_f1_on_page 1
expect_page 1 Deutsch configuration.html
press_f1_on_page 2
expect_page 2 Deutsch schedule.html
press_f1_on_page 3
expect_page 3 Deutsch others.html
tool front "$title" >/dev/null
tool page "$title" 2 >/dev/null
sleep 0.5
view_title="Ombrel Calendar View Version 7.20"
for _ in 1 2 3; do
  tool click "$title" page:414,279 >/dev/null || fail "could not click View All"
  tool wait "$view_title" 10 >/dev/null && break
done
tool wait "$view_title" 1 >/dev/null || fail "the overview window did not show"
sleep 0.5
tool keys "{F1}" >/dev/null || fail "cannot press F1 in the overview window"
expect_page 4 Deutsch overview.html
tool close "$view_title" >/dev/null
sleep 0.5
stop_program

echo "== an Ombrel_T.hlp the shell can open: it alone opens"
rm -f "$opened"
printf 'help' >"$cwd/Ombrel_T.hlp"
start_program
press_f1_on_page 1
got=$(recorded 1) || fail "the help file was not opened"
echo "F1 opened: $got"
[ "${got,,}" = "$(winepath -w "$cwd/Ombrel_T.hlp" 2>/dev/null | tr -d '\r' | tr '[:upper:]' '[:lower:]')" ] ||
  fail "F1 opened '$got', not the help file"
sleep 2
[ "$(lines_recorded)" = 1 ] || fail "more was opened: $(tr '\n' ' ' <"$opened")"
stop_program
echo "PASS"
