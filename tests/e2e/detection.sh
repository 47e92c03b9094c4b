#!/usr/bin/env bash
# UPS detection through real serial ports: the staged program probes COM1 to
# COM8 under Wine, where the ports are pseudo-terminals with simulated UPSs,
# a port held by another program, ports without a device, a UPS that answers
# random bytes and one that hangs up. Checks the report, the preselected port
# and series, RUNNING (3 during a run, 4 after) and how long a run takes.
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/serial.bash"
require_built
serial_env_start
peer="bash $root/tests/e2e/ups_peer.bash"
run_key='HKLM\Software\Wow6432Node\Tarvexi\Ombrel'  # the 32-bit view the monitor reads

running() {
  wine reg query "$run_key" /v RUNNING </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD *0x\([0-9a-f]*\).*/\1/p'
}
field() {  # field NAME: the value of NAME= in the tool's output on stdin
  sed -n "s/^$1=//p"
}
cannot=' Cannot use this port'

# Checks the report against the suffixes of its eight lines; "UPS NOT FOUND"
# is not expected here.
expect_report() {
  local n=1 suffix expected=
  for suffix in "$@"; do
    expected+=$(printf ' PORT : %s%s\\r\\n' $n "$suffix")
    n=$((n + 1))
  done
  [ "$report" = "$expected" ] || fail "report: '$report', expected '$expected'"
  echo "report after $run_ms ms: $report"
}

# Starts the program, clicks "Auto Detect UPS" and answers its question Yes
# (Enter); leaves in $answered_ms the moment the question was gone.
start_detection() {
  cd "$(dirname "$exe")"
  wine "$exe" "${exe_args[@]}" >/dev/null 2>&1 </dev/null &
  program=$!
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  # A click that comes while the new window is still settling can be lost:
  # it is given again until the question shows.
  local asked= _
  for _ in 1 2 3; do
    tool click "$title" page:346,37 >/dev/null || fail "cannot click Auto Detect UPS"
    tool box Warning 5 >/dev/null && break
  done
  asked=$(tool answer Warning "{ENTER}" 20) || fail "no warning question"
  [ "$(echo "$asked" | field text)" = \
    "Detecting the UPS port can take up to about a minute and a half. Do you want to continue?" ] ||
    fail "unexpected question: $asked"
  answered_ms=$(echo "$asked" | field closed_ms)
}

# Waits for the report box; leaves its text in $report and the run's length in $run_ms.
await_report() {
  local box
  box=$(tool box OmbrelSetup 90) || fail "no report within 90 s"
  report=$(echo "$box" | field text)
  run_ms=$(( $(echo "$box" | field at_ms) - answered_ms ))
}

# Closes the report; checks RUNNING and the preselection ("port=... ticked=...").
finish() {
  tool answer OmbrelSetup "{ENTER}" 10 >/dev/null || fail "cannot close the report"
  for _ in $(seq 1 50); do [ "$(running)" = 4 ] && break; sleep 0.1; done
  [ "$(running)" = 4 ] ||
    fail "RUNNING is $(running) after the report, not 4; $(tool box OmbrelSetup 1 | tr '\n' ' ')$(tool state "$title")"
  local ups
  ups=$(tool ups "$title") || fail "cannot read the port and series lists: $ups"
  echo "after the report: $ups"
  [ "$ups" = "$1" ] || fail "expected $1"
  tool close "$title" >/dev/null
  tool gone "$title" 30 >/dev/null || fail "the program did not close"
  wait "$program" 2>/dev/null
}

echo "== a QZ UPS on COM1, a silent COM2, COM3 held by another program, no device on COM4 to COM8"
pty_device ups1 $peer qz
pty_pair silent
pty_pair held
hold_exclusively "$ptys/held.port"
map_ports "$ptys/ups1.port" "$ptys/silent.port" "$ptys/held.port" - - - - -
wine reg delete "$run_key" /v RUNNING /f </dev/null >/dev/null 2>&1
start_detection
sleep 6
[ "$(running)" = 3 ] || fail "RUNNING is '$(running)' during the run, not 3"
probing=$(tool ups "$title")
echo "while probing: $probing"
echo "$probing" | grep -q '^port=COM 2 ' || fail "the port list does not show COM 2 being probed"
await_report
[ "$(running)" = 3 ] || fail "RUNNING is $(running) while the report is up, not 3"
expect_report ' <== QZ Series' ' <== Empty' "$cannot" "$cannot" "$cannot" "$cannot" "$cannot" "$cannot"
finish "port=COM 1 ticked=0"
# A measurement, not a check: 3 s of waiting, then the report on the 19th
# tick of a 1000 ms timer make about 22 s.
echo "detection_ms=$run_ms"

echo "== random bytes on COM1, a UPS hanging up on COM2, a Velto UPS on COM3"
pty_device random $peer random
pty_device vanish $peer vanish
pty_device velto $peer velto
map_ports "$ptys/random.port" "$ptys/vanish.port" "$ptys/velto.port" - - - - -
start_detection
await_report
expect_report ' <== Empty' "$cannot" ' <== Velto Series' "$cannot" "$cannot" "$cannot" "$cannot" "$cannot"
finish "port=COM 3 ticked=1"
echo "PASS"
