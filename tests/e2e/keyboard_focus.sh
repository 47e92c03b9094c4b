#!/usr/bin/env bash
# The keyboard focus under real input: the staged program driven through the
# system's input queue (mouse clicks, key presses) and its message boxes
# answered from outside. After every box the field that had the focus takes
# the next key; after a page change the key lands on the new page.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script

# Places on the pages (left, top inside the page, a few pixels into the control).
combo1=page:140,12      # port list, first control of the configuration page
edit1=page:152,108      # overload minutes
combo3=page:332,264     # power-fail shutdown type
combo7=page:42,6        # month, first control of the schedule page
edit3=page:70,40        # event-log maximum, first control of the Others page
edit4=page:62,72        # event-log location
speed1=page:270,72      # its "..." button
ok=client:132,423       # OK in the bottom bar

# The control with the focus, as "CLASS X,Y" (its place on the visible page).
focused() { tool focus "$title" | sed -n 's/^class=\([^ ]*\) page=\([^ ]*\) .*/\1 \2/p'; }
text_at() { tool text "$title" "$1" | sed -n 's/^text=//p'; }
expect_focus() {
  local now
  for _ in $(seq 20); do now=$(focused); [ "$now" = "$2" ] && return 0; sleep 0.3; done
  fail "$1: the focus is on '$now', expected '$2'"
}
expect_text() {
  local now
  for _ in $(seq 20); do now=$(text_at "$2"); [ "$now" = "$3" ] && return 0; sleep 0.3; done
  fail "$1: '$now' at $2, expected '$3'"
}
# Waits for the box, checks its message and answers it with keys.
answer() {
  local said
  said=$(tool answer "$1" "$3" 30 | sed -n 's/^text=//p') || fail "no box '$1' to answer"
  case $said in *"$2"*) ;; *) fail "the box '$1' said '$said', expected '$2'" ;; esac
}
start() {
  (cd "$1" && wine "$1/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
  program=$!
}
stop() {
  tool close "$title" >/dev/null
  tool gone "$title" 30 >/dev/null || fail "the window did not close"
  wait "$program" 2>/dev/null
}

scratch=$(mktemp -d "$root/build/e2e-focus-XXXX")
trap 'rm -rf "$scratch"; wine_env_cleanup' EXIT

# A folder with the program alone: the language-file message and the eight
# skin messages come before the window shows; then the window's first
# control has the focus.
mkdir -p "$scratch/bare"
cp "$exe" "$scratch/bare/"
start "$scratch/bare"
answer OmbrelSetup "setup.ini Error, File not found" "{ENTER}"
for _ in 1 2 3 4 5 6 7 8; do answer OmbrelSetup "Error, File not found" "{ENTER}"; done
tool wait "$title" 60 >/dev/null || fail "the window did not show after the start messages"
expect_focus "after the start messages" "ComboBox 136,8"
tool keys "{END}"
expect_text "arrow keys after the start messages" $combo1 "COM 8"
stop

# The staged folder, with a settings file that cannot be written.
mkdir -p "$scratch/full"
cp -r "$(dirname "$exe")/." "$scratch/full/"
printf '[PAGE1]\r\nUPSPORT=1\r\n' >"$scratch/full/omb.ini"
cp "$scratch/full/omb.ini" "$scratch/old-omb.ini"
chmod a-w "$scratch/full/omb.ini"
start "$scratch/full"
tool wait "$title" 60 >/dev/null || fail "the window did not show"
expect_focus "at the first show" "ComboBox 136,8"

# OK answered No (Escape), and Escape's own question answered No.
tool click "$title" $edit1
tool keys "{END}{BS}7"
expect_text "typing into the overload minutes" $edit1 "7"
tool click "$title" $ok
answer Confirm "new settings" "{ESC}"
tool keys 9
expect_text "typing after the OK question" $edit1 "79"
tool keys "{ESC}"
answer Confirm "Discard your changes" "{ESC}"
tool keys "{BS}"
expect_text "typing after the Cancel question" $edit1 "7"

# The hibernate warning: the arrow keys still reach the shutdown-type list.
tool keys "{TAB}{TAB}{TAB}{TAB}{TAB}"
expect_focus "Tab to the shutdown type" "ComboBox 328,256"
tool keys "{DOWN}"
answer OmbrelSetup "This computer can hibernate" "{ENTER}"
tool keys "{UP}"
expect_text "arrow key after the hibernate warning" $combo3 "Forced shutdown"

# OK that cannot write omb.ini: the error box, the window stays, the file is whole.
tool click "$title" $edit1
tool keys "{END}"
tool click "$title" $ok
answer Confirm "new settings" "{ENTER}"
answer OmbrelSetup "Unable to write to" "{ENTER}"
tool keys 4
expect_text "typing after the failed OK" $edit1 "74"
cmp -s "$scratch/full/omb.ini" "$scratch/old-omb.ini" || fail "omb.ini changed though it could not be written"

# A page change by a click on a tab: the typed key lands on the new page.
tool click "$title" tab:3
expect_focus "after a click on the Others tab" "Edit 68,36"
tool keys 9
expect_text "typing after the page change" $edit3 "950"

# The folder browser cancelled: the location field keeps the focus.
tool click "$title" $edit4
tool keys "{END}"
tool click "$title" $speed1
answer "Browse for Ombrel Folder" "" "{ESC}"
tool keys x
case $(text_at $edit4) in *x) ;; *) fail "typing after the folder browser: '$(text_at $edit4)'" ;; esac

# Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp, round the pages.
tool keys "^{TAB}"
expect_focus "Ctrl+Tab from the last page" "ComboBox 136,8"
expect_text "the overload minutes, unchanged by the keys typed on other pages" $edit1 "74"
tool keys "^{PGDN}"
expect_focus "Ctrl+PageDown" "ComboBox 38,2"
tool keys "{HOME}"
expect_text "arrow keys on the schedule page" $combo7 "January"
tool keys "^+{TAB}"
expect_focus "Ctrl+Shift+Tab" "ComboBox 136,8"
tool keys "^{PGUP}"
expect_focus "Ctrl+PageUp from the first page" "Edit 68,36"

stop
echo "PASS"
