#!/usr/bin/env bash
# The installer configuring the PC: CONFIGFILE=<path> imports an
# administrator's file once the files are installed, and DETECTUPS=1 then
# stores the port of the UPS found (here a QZ UPS answering on COM2). Before
# anything is installed the file is read (a relative name beside the
# package, whatever folder msiexec starts in) and checked, DETECTUPS must be
# 0 or 1, and the monitor must be in the install folder: each fault fails the
# install with its line in the installer's log and leaves nothing installed.
# An import that fails half-way (SCHEDULE.TXT held open by another program)
# fails the install and leaves omb.ini, SCHEDULE.TXT, OMB_SPY and SETUP as
# they were. The package's tables carry the secure properties and the
# deferred actions without impersonation; the event source it registers
# names the installed exe and goes with the uninstall; deploy.log keeps each
# import.
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
deploy_log=$WINEPREFIX/drive_c/ProgramData/Tarvexi/Ombrel/deploy.log
holder=$root/build/windows/tests/file_holder.exe
[ -f "$holder" ] || fail "the test helper is not built (target file_holder)"
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
event_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Ombrel Setup'
reg_value() {  # reg_value KEY NAME VIEW: the value as reg shows it, empty when missing
  wine reg query "$1" /v "$2" /reg:"$3" </dev/null 2>/dev/null | tr -d '\r' | grep -a "^ *$2 " || true
}
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# The program's lines in a log, written as ASCII or UTF-16 by msiexec.
program_lines() { tr -d '\0\r' <"$1" | grep -a 'Ombrel Setup:'; }
"$root/installer/build-msi" "$(dirname "$exe")" 7.20 "$scratch/Ombrel.msi" || fail "building the installer failed"
msi=$(winpath "$scratch/Ombrel.msi")
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n' >"$scratch/bad.conf"
# Its language is one the package brings: checked before it is installed.
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=4\r\nBACKUP_TIME=33\r\n[PAGE3]\r\nLANGUAGE=Francais\r\n[SCHEDULE]\r\n2030/01/02,SHUTDOWN,22:00,1\r\n' \
  >"$scratch/good.conf"
pty_device qz bash "$root/tests/e2e/ups_peer.bash" qz
map_ports - "$ptys/qz.port" - - - - - -

echo "== the package's tables: secure properties, deferred actions without impersonation"
secure=$(msiinfo export "$scratch/Ombrel.msi" Property | tr -d '\r' | grep -a '^SecureCustomProperties')
echo "$secure"
for property in CONFIGFILE DETECTUPS INSTALLDIR WIX_UPGRADE_DETECTED; do
  grep -Eq "[\t;]$property(;|$)" <<<"$secure" || fail "$property is not secure"
done
actions=$(msiinfo export "$scratch/Ombrel.msi" CustomAction | tr -d '\r')
for action in RestoreBeforeImport ImportConfiguration ForgetBeforeImport; do
  type=$(awk -F'\t' -v a=$action '$1 == a { print $2 }' <<<"$actions")
  echo "$action: type $type"
  [ -n "$type" ] && (((type & 1024) && (type & 2048))) || fail "$action is not a deferred action without impersonation"
done

echo "== no monitor in the install folder: the install fails at once, naming the folder and INSTALLDIR"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/good.conf")" /l*v "$(winpath "$scratch/nomonitor.log")"
[ $? != 0 ] || fail "msiexec reported success with no monitor"
program_lines "$scratch/nomonitor.log" | grep 'SPY.EXE is not in C:\\Program Files\\Ombrel\\,' | grep -q 'INSTALLDIR=' ||
  fail "the log does not name the folder and INSTALLDIR: $(program_lines "$scratch/nomonitor.log")"
[ ! -e "$folder" ] || fail "the failed install left $(find "$folder")"
mkdir -p "$folder"
printf 'MZ the monitor' >"$folder/SPY.EXE"

echo "== DETECTUPS=YES fails the install and leaves nothing"
msiexec_bounded /i "$msi" /qn DETECTUPS=YES /l*v "$(winpath "$scratch/yes.log")"
[ $? != 0 ] || fail "msiexec reported success with DETECTUPS=YES"
program_lines "$scratch/yes.log" | grep -q 'DETECTUPS=YES is not valid' || fail "the log: $(program_lines "$scratch/yes.log")"
[ "$(ls "$folder")" = SPY.EXE ] || fail "DETECTUPS=YES left $(ls "$folder")"

echo "== a bad file fails the install before anything is installed, its line in the log"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/bad.conf")" DETECTUPS=1 /l*v "$(winpath "$scratch/bad.log")"
status=$?
[ $status != 0 ] || fail "msiexec reported success with a bad file"
program_lines "$scratch/bad.log" | grep -q "line 3: UPSPORT" || fail "the log lacks the program's line: $(program_lines "$scratch/bad.log")"
program_lines "$scratch/bad.log" | grep -q "/import" && fail "the program ran on a bad file"
[ "$(ls "$folder")" = SPY.EXE ] || fail "the failed install left $(ls "$folder")"

echo "== DETECTUPS=1 alone installs and stores the UPS found, nothing else"
msiexec_bounded /i "$msi" /qn DETECTUPS=1 /l*v "$(winpath "$scratch/detect.log")"
status=$?
[ $status = 0 ] || fail "msiexec ended with status $status: $(program_lines "$scratch/detect.log")"
program_lines "$scratch/detect.log" | grep -q '/detect /quiet' || fail "the log lacks the command: $(program_lines "$scratch/detect.log")"
grep -q '^UPSPORT=2' "$folder/omb.ini" && grep -q '^UPSTYPE=3' "$folder/omb.ini" || fail "omb.ini: $(cat "$folder/omb.ini")"
[ ! -e "$folder/SCHEDULE.TXT" ] || fail "a detection alone wrote SCHEDULE.TXT"
msiexec_bounded /x "$msi" /qn || fail "the uninstall failed"

echo "== a good file beside the package, named without a folder, msiexec started elsewhere"
(cd / && msiexec_bounded /i "$msi" /qn CONFIGFILE=good.conf DETECTUPS=1 /l*v "$(winpath "$scratch/good.log")")
status=$?
[ $status = 0 ] || fail "msiexec ended with status $status: $(program_lines "$scratch/good.log")"
program_lines "$scratch/good.log" | grep -q 'PORT : 2 <== QZ Series' || fail "the log lacks the detection report: $(program_lines "$scratch/good.log")"
grep -q '^UPSPORT=2' "$folder/omb.ini" && grep -q '^UPSTYPE=3' "$folder/omb.ini" && grep -q '^BACKUP_TIME=33' "$folder/omb.ini" &&
  grep -q '^LANGUAGE=Francais' "$folder/omb.ini" ||
  fail "omb.ini: $(cat "$folder/omb.ini")"
[ "$(cat "$folder/SCHEDULE.TXT")" = $'2030/01/02,SHUTDOWN,22:00,1\r' ] || fail "SCHEDULE.TXT: $(cat "$folder/SCHEDULE.TXT")"
tr -d '\r' <"$deploy_log" | grep -q 'UTC exit code 0$' || fail "deploy.log: $(cat "$deploy_log")"
tr -d '\r' <"$deploy_log" | grep -q '^[0-9-]* [0-9:]* UTC "C:\\Program Files\\Ombrel\\OmbrelSetup.exe" /import' ||
  fail "deploy.log lacks the command: $(cat "$deploy_log")"
reg_value "$event_key" EventMessageFile 64 | grep -q 'C:\\Program Files\\Ombrel\\OmbrelSetup.exe$' ||
  fail "the event source: $(reg_value "$event_key" EventMessageFile 64)"
reg_value "$event_key" TypesSupported 64 | grep -q '0x7$' || fail "TypesSupported: $(reg_value "$event_key" TypesSupported 64)"
msiexec_bounded /x "$msi" /qn || fail "the uninstall failed"
[ -z "$(reg_value "$event_key" EventMessageFile 64)" ] || fail "the uninstall left the event source"

echo "== an import that fails half-way leaves omb.ini, SCHEDULE.TXT, OMB_SPY and SETUP as they were"
# The start-up entry is in both views here: the program writes its own form
# of it in one view and removes the other first, then fails on SCHEDULE.TXT,
# which another program holds open without letting it be replaced. The file is in a folder whose name does not fit
# the ANSI code page.
mkdir "$scratch/Конфигурация"
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=1\r\nBACKUP_TIME=44\r\n[SCHEDULE]\r\n2031/01/02,SHUTDOWN,21:00,1\r\n' \
  >"$scratch/Конфигурация/entry.conf"
for view in 32 64; do
  wine reg add "$run_key" /v OMB_SPY /d 'C:\Program Files\Ombrel\SPY.EXE' /reg:$view /f </dev/null >/dev/null 2>&1
done
wine reg add 'HKLM\SOFTWARE\Tarvexi\Ombrel' /v SETUP /t REG_DWORD /d 0 /reg:32 /f </dev/null >/dev/null 2>&1
before() { cat "$folder/omb.ini" "$folder/SCHEDULE.TXT" | sha256sum; reg_value "$run_key" OMB_SPY 32
  reg_value "$run_key" OMB_SPY 64; reg_value 'HKLM\SOFTWARE\Tarvexi\Ombrel' SETUP 32; }
was=$(before)
wine "$holder" "$(winpath "$folder/SCHEDULE.TXT")" r "$(winpath "$scratch/held")" >/dev/null 2>&1 </dev/null &
holder_pid=$!
for _ in $(seq 100); do [ -e "$scratch/held.held" ] && break; sleep 0.2; done
[ -e "$scratch/held.held" ] || fail "the holder could not open SCHEDULE.TXT"
msiexec_bounded /i "$msi" /qn CONFIGFILE="$(winpath "$scratch/Конфигурация/entry.conf")" /l*v "$(winpath "$scratch/held.log")"
status=$?
touch "$scratch/held.stop"
wait "$holder_pid"
program_lines "$scratch/held.log"
[ $status != 0 ] || fail "msiexec reported success with SCHEDULE.TXT held"
program_lines "$scratch/held.log" | grep -q 'put back the registry value OMB_SPY' ||
  fail "the rollback did not put back OMB_SPY: $(program_lines "$scratch/held.log")"
[ "$(before)" = "$was" ] || fail "the PC changed: before $was, after $(before)"
left=$(cd "$folder" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "./SCHEDULE.TXT ./SPY.EXE ./omb.ini " ] || fail "the failed install left: $left"
tr -d '\r' <"$deploy_log" | grep -q 'UTC exit code 4$' || fail "deploy.log: $(cat "$deploy_log")"
notes=$(ls -d "$WINEPREFIX"/drive_c/users/*/Temp/Ombrel-* 2>/dev/null)
[ -z "$notes" ] || fail "the import's notes were left: $notes"

echo "== an upgrade with a bad file fails before the installed version is removed"
msiexec_bounded /i "$msi" /qn || fail "the install without properties failed"
cp -r "$(dirname "$exe")" "$scratch/stage-7.21"
printf '\n' >>"$scratch/stage-7.21/OmbrelSetup.exe"
"$root/installer/build-msi" "$scratch/stage-7.21" 7.21 "$scratch/Ombrel-7.21.msi" || fail "building 7.21 failed"
msiexec_bounded /i "$(winpath "$scratch/Ombrel-7.21.msi")" /qn CONFIGFILE="$(winpath "$scratch/bad.conf")"
[ $? != 0 ] || fail "the upgrade with a bad file reported success"
cmp -s "$folder/OmbrelSetup.exe" "$exe" || fail "the failed upgrade did not leave 7.20's program in place"
msiexec_bounded /x "$msi" /qn || fail "7.20 is no longer installed after the failed upgrade"
[ ! -e "$folder/OmbrelSetup.exe" ] || fail "the uninstall of 7.20 left the program"
echo "PASS"
