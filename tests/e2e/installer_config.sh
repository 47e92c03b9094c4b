#!/usr/bin/env bash
# The installer configuring the PC: CONFIGFILE=<path> imports an
# administrator's file once the files are installed, and DETECTUPS=1 then
# stores the port of the UPS found (here a QZ UPS answering on COM2); a bad
# file fails the install with the program's own line in the installer's log
# and leaves nothing installed. DETECTUPS=1 alone detects and stores the
# port, changing nothing else.
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/serial.bash"
require_built
command -v wixl >/dev/null || fail "wixl is not installed (scripts/install-deps)"
scratch=$(mktemp -d "$root/build/e2e-msi-config-XXXX")
# A prefix of its own, fresh, whose ports are mapped as serial.bash does.
serial_prefix=$root/build/wineprefix-msi-config
rm -rf "$serial_prefix"
serial_env_start
trap 'serial_env_stop; rm -rf "$scratch"' EXIT
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="
folder=$WINEPREFIX/drive_c/Program\ Files/Ombrel
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# The program's lines in a log, written as ASCII or UTF-16 by msiexec.
program_lines() { tr -d '\0\r' <"$1" | grep -a 'Ombrel Setup:'; }
"$root/installer/build-msi" "$(dirname "$exe")" 7.20 "$scratch/Ombrel.msi" || fail "building the installer failed"
msi=$(winpath "$scratch/Ombrel.msi")
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n' >"$scratch/bad.conf"
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=4\r\nBACKUP_TIME=33\r\n[SCHEDULE]\r\n2030/01/02,SHUTDOWN,22:00,1\r\n' \
  >"$scratch/good.conf"
pty_device qz bash "$root/tests/e2e/ups_peer.bash" qz
map_ports - "$ptys/qz.port" - - - - - -

echo "== a bad file fails the install, its line in the log, nothing left"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/bad.conf")" DETECTUPS=1 /l*v "$(winpath "$scratch/bad.log")"
status=$?
[ $status != 0 ] || fail "msiexec reported success with a bad file"
program_lines "$scratch/bad.log" | grep -q "line 3: UPSPORT" || fail "the log lacks the program's line: $(program_lines "$scratch/bad.log")"
[ ! -e "$folder/OmbrelSetup.exe" ] || fail "the failed install left the program"

echo "== DETECTUPS=1 alone installs and stores the UPS found, nothing else"
msiexec_bounded /i "$msi" /qn DETECTUPS=1 /l*v "$(winpath "$scratch/detect.log")"
status=$?
[ $status = 0 ] || fail "msiexec ended with status $status: $(program_lines "$scratch/detect.log")"
program_lines "$scratch/detect.log" | grep -q '/detect /quiet' || fail "the log lacks the command: $(program_lines "$scratch/detect.log")"
grep -q '^UPSPORT=2' "$folder/omb.ini" && grep -q '^UPSTYPE=3' "$folder/omb.ini" || fail "omb.ini: $(cat "$folder/omb.ini")"
[ ! -e "$folder/SCHEDULE.TXT" ] || fail "a detection alone wrote SCHEDULE.TXT"
msiexec_bounded /x "$msi" /qn || fail "the uninstall failed"

echo "== a good file with DETECTUPS=1 installs, configures and stores the UPS found"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/good.conf")" DETECTUPS=1 /l*v "$(winpath "$scratch/good.log")"
status=$?
[ $status = 0 ] || fail "msiexec ended with status $status: $(program_lines "$scratch/good.log")"
program_lines "$scratch/good.log" | grep -q 'PORT : 2 <== QZ Series' || fail "the log lacks the detection report: $(program_lines "$scratch/good.log")"
grep -q '^UPSPORT=2' "$folder/omb.ini" && grep -q '^UPSTYPE=3' "$folder/omb.ini" && grep -q '^BACKUP_TIME=33' "$folder/omb.ini" ||
  fail "omb.ini: $(cat "$folder/omb.ini")"
[ "$(cat "$folder/SCHEDULE.TXT")" = $'2030/01/02,SHUTDOWN,22:00,1\r' ] || fail "SCHEDULE.TXT: $(cat "$folder/SCHEDULE.TXT")"
echo "PASS"
