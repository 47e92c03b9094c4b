#!/usr/bin/env bash
# The Win32 serial channel on real serial devices under Wine: bytes both
# ways, notifications on the GUI thread and none after closing, DSR, ports
# that cannot be used, and a flood (tests/serial/Win32SerialChannelTest.cpp).
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/serial.bash"
serial_tests=$root/build/windows/tests/serial_tests.exe
[ -f "$serial_tests" ] || fail "serial_tests.exe is not built"
serial_env_start

pty_pair line
pty_pair held
hold_exclusively "$ptys/held.port"
map_ports "$ptys/line.port" "$ptys/line.peer" - "$ptys/held.port" - - - -
mkdir -p "$root/build/e2e-reports"
wine "$serial_tests" --gtest_output="xml:$(winepath -w "$root/build/e2e-reports/serial_tests.xml" 2>/dev/null)" </dev/null 2>&1 | tr -d '\r'
status=${PIPESTATUS[0]}
[ "$status" = 0 ] || fail "serial_tests ended with status $status"
echo "PASS"
