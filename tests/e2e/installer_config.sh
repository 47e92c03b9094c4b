#!/usr/bin/env bash
# The installer configuring the PC: CONFIGFILE=<path> imports an
# administrator's file once the files are installed; a bad file, or
# DETECTUPS=1 with no UPS, fails the install with the program's own line in
# the installer's log and leaves nothing installed.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
command -v wixl >/dev/null || fail "wixl is not installed (scripts/install-deps)"
msi_env_start msi-config
folder=$WINEPREFIX/drive_c/Program\ Files/Ombrel
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
"$root/installer/build-msi" "$(dirname "$exe")" 7.20 "$scratch/Ombrel.msi" || fail "building the installer failed"
msi=$(winpath "$scratch/Ombrel.msi")
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n' >"$scratch/bad.conf"
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=4\r\nBACKUP_TIME=33\r\n[SCHEDULE]\r\n2030/01/02,SHUTDOWN,22:00,1\r\n' \
  >"$scratch/good.conf"

echo "== a bad file fails the install, its line in the log, nothing left"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/bad.conf")" /l*v "$(winpath "$scratch/bad.log")"
status=$?
[ $status != 0 ] || fail "msiexec reported success with a bad file"
iconv -f UTF-16LE -t UTF-8 "$scratch/bad.log" 2>/dev/null | grep -a "Ombrel Setup:.*line 3: UPSPORT: '12' is not one of 1 to 8" ||
  grep -a "Ombrel Setup:.*line 3: UPSPORT" "$scratch/bad.log" || fail "the log lacks the program's line"
[ ! -e "$folder/OmbrelSetup.exe" ] || fail "the failed install left the program"

echo "== DETECTUPS=1 with no UPS fails the install"
msiexec_bounded /i "$msi" /qn DETECTUPS=1 /l*v "$(winpath "$scratch/detect.log")"
status=$?
program_lines() { { iconv -f UTF-16LE -t UTF-8 "$1" 2>/dev/null || cat "$1"; } | grep -a 'Ombrel Setup:' | tr -d '\r'; }
program_lines "$scratch/detect.log"
[ $status != 0 ] || fail "msiexec reported success with no UPS"
grep -aq "UPS NOT FOUND" "$scratch/detect.log" || iconv -f UTF-16LE -t UTF-8 "$scratch/detect.log" | grep -aq "UPS NOT FOUND" ||
  fail "the log lacks the detection report"
[ ! -e "$folder/OmbrelSetup.exe" ] || fail "the failed install left the program"

echo "== a good file installs and configures"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/good.conf")" || fail "msiexec ended with status $?"
grep -q '^UPSPORT=4' "$folder/omb.ini" && grep -q '^BACKUP_TIME=33' "$folder/omb.ini" || fail "omb.ini: $(cat "$folder/omb.ini")"
[ "$(cat "$folder/SCHEDULE.TXT")" = $'2030/01/02,SHUTDOWN,22:00,1\r' ] || fail "SCHEDULE.TXT: $(cat "$folder/SCHEDULE.TXT")"
echo "PASS"
