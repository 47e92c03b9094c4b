#!/usr/bin/env bash
# UPS detection that finds nothing, on a computer with serial ports numbered
# above COM8 (as a USB-to-serial adapter often is): the report names them and
# says that the monitor uses COM1 to COM8 only; with no such port the report
# ends at " UPS NOT FOUND !". COM11 is a pseudo-terminal mapped in the prefix.
# Wine numbers the machine's own serial devices (/dev/ttyS0, ...) after the
# mapped ports, so the ports the report must name are read from the prefix.
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/serial.bash"
require_built
serial_env_start
ports_key='HKLM\Software\Wine\Ports'
trap 'extra_ports=(); forget_ports; serial_env_stop' EXIT
field() { sed -n "s/^$1=//p"; }
cannot=' Cannot use this port'

# No mapping and no port device left from an earlier run.
forget_ports() {
  wine reg delete "$ports_key" /f </dev/null >/dev/null 2>&1 || true
  find "$WINEPREFIX/dosdevices" -maxdepth 1 -iname 'com*' -type l -delete 2>/dev/null || true
}
# The serial ports above COM8 that the prefix has, as the report names them ("COM9, COM11").
ports_beyond_com8() {
  find "$WINEPREFIX/dosdevices" -maxdepth 1 -type l -iname 'com*' -printf '%f\n' |
    sed -n 's/^[cC][oO][mM]\([0-9][0-9]*\)$/\1/p' | awk '$1 > 8' | sort -n | sed 's/^/COM/' |
    paste -sd, - | sed 's/,/, /g'
}

# Runs a detection and leaves the report's text (CR and LF as \r and \n) in $report.
detect() {
  cd "$(dirname "$exe")"
  wine "$exe" "${exe_args[@]}" >/dev/null 2>&1 </dev/null &
  program=$!
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
  local _ clicked
  for _ in 1 2 3; do
    clicked=$(tool click "$title" page:346,37) || fail "cannot click Auto Detect UPS: $clicked"
    tool box Warning 5 >/dev/null && break
  done
  tool answer Warning "{ENTER}" 20 >/dev/null || fail "no warning question"
  report=$(tool box OmbrelSetup 90 | field text) || fail "no report within 90 s"
  echo "report: $report"
  tool answer OmbrelSetup "{ENTER}" 10 >/dev/null || fail "cannot close the report"
  tool close "$title" >/dev/null
  tool gone "$title" 30 >/dev/null || fail "the program did not close"
  wait "$program" 2>/dev/null
}
# The report of a run that found nothing: the eight port lines, then the end.
expect_report() {
  local n expected=
  for n in 1 2 3 4 5 6 7 8; do expected+=" PORT : $n$(port_suffix $n)\\r\\n"; done
  expected+="\\r\\n UPS NOT FOUND !$1"
  [ "$report" = "$expected" ] || fail "report: '$report', expected '$expected'"
}

echo "== COM1 to COM4 without a device; the machine's own serial devices take the next numbers"
# Held by another program, so that none of them answers or shows a line that
# is on: the run finds nothing, as it does on a computer without them.
hold_machine_ports() {
  local device ready
  for device in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    [ -e "$device" ] || continue
    ready=$ptys/held.$RANDOM
    perl -e 'open(my $f, "+<", $ARGV[0]) or exit 0; ioctl($f, 0x540C, 0) or exit 0;
             open(my $r, ">", $ARGV[1]) and close($r); sleep 3600' "$device" "$ready" &
    serial_pids+=($!)
    for _ in $(seq 1 20); do [ -e "$ready" ] && break; sleep 0.05; done
  done
}
# The note after the list, in the words of the language file the program shows.
com8_note=$(sed -n 's/^MESSAGE_PORTS_COM1_TO_COM8_ONLY=//p' "$root/Languages/English/setup.ini" | tr -d '\r')
[ -n "$com8_note" ] || fail "the English language file has no note on COM1 to COM8"
hold_machine_ports
forget_ports
map_ports - - - -
beyond=$(ports_beyond_com8)
echo "ports beyond COM8: '${beyond}'"
port_suffix() { printf '%s' "$cannot"; }
detect
if [ -z "$beyond" ]; then
  expect_report ""
else
  # A machine with more serial devices than COM5 to COM8 hold: they are named.
  expect_report "\\r\\n Serial ports beyond COM8 on this computer: $beyond\\r\\n $com8_note"
fi

echo "== COM1 to COM8 without a device, COM11 a pseudo-terminal"
forget_ports
pty_pair adapter
extra_ports=("11=$ptys/adapter.port")
map_ports - - - - - - - -
beyond=$(ports_beyond_com8)
echo "ports beyond COM8: '$beyond'"
case ", $beyond," in *", COM11,"*) ;; *) fail "the prefix has no COM11: '$beyond'" ;; esac
port_suffix() { printf '%s' "$cannot"; }
detect
expect_report "\\r\\n Serial ports beyond COM8 on this computer: $beyond\\r\\n $com8_note"
echo "PASS"
