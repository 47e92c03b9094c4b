#!/usr/bin/env bash
# What an administrator checks without the window: /check exits 7 naming each
# difference and writes nothing, 0 right after the import, 2 for a bad file;
# an import leaves an event-log entry naming what it changed and a bad file an
# error entry (read from Wine's eventlog trace), as OK in the window does; the
# record of the last import, its SHA-256 the file's; /log in UTF-8 with its
# first and last line, written for a wrong command line too; /version.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
wine_env_for_script
scratch=$(mktemp -d "$root/build/e2e-audit-XXXX")
trap 'rm -rf "$scratch"; wine_env_cleanup' EXIT

# run ARGS...: the program, its exit code in $code, its result lines in
# $said and the event log's entries it reported in $entries.
run() {
  (cd "$pc" && WINEDEBUG=+eventlog exec wine "$pc/OmbrelSetup.exe" "$@" >"$scratch/said" 2>"$scratch/trace" </dev/null)
  code=$?
  said=$(tr -d '\r' <"$scratch/said")
  entries=$(grep -E '(trace|err):eventlog:ReportEventW' "$scratch/trace")
}
sums() {
  (cd "$pc" && md5sum omb.ini SCHEDULE.TXT 2>&1)
  wine reg query 'HKLM\Software\Tarvexi\Ombrel' /reg:32 </dev/null 2>/dev/null | tr -d '\r'
}
value() {  # value NAME: the program key's value, as reg prints it
  wine reg query 'HKLM\Software\Tarvexi\Ombrel' /v "$1" /reg:32 </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/.*$1 *REG_[A-Z_]* *//p"
}

pc=$scratch/pc
mkdir -p "$pc" && cp -r "$(dirname "$exe")/." "$pc/" && rm -f "$pc/omb.ini" "$pc/SCHEDULE.TXT"
printf 'MZ the monitor' >"$pc/SPY.EXE"
printf '[PAGE1]\r\nUPSPORT=3\r\n' >"$pc/omb.ini"
printf '2031/05/17,SHUTDOWN,08:30,1\r\n' >"$pc/SCHEDULE.TXT"
conf=$scratch/ups.conf bad=$scratch/bad.conf
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=6\r\n[SCHEDULE]\r\n2031/05/17,SHUTDOWN,08:30,1\r\n' >"$conf"
printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n' >"$bad"

echo "== /version"
run /version /quiet
[ "$code" = 0 ] && [ "$(echo "$said" | tail -1)" = "Ombrel Setup 7.20" ] || fail "/version: exit $code: $said"

echo "== /check: 7 naming the difference, nothing written; 2 for a bad file"
before=$(sums)
run /check "$(winpath "$conf")" /quiet
[ "$code" = 7 ] || fail "/check before the import: exit $code, not 7: $said"
echo "$said" | grep -qxF "UPSPORT: this PC 3, the file 6" || fail "/check does not name the port: $said"
run /check "$(winpath "$bad")" /quiet
[ "$code" = 2 ] || fail "/check of a bad file: exit $code, not 2: $said"
[ "$(sums)" = "$before" ] || fail "/check wrote"
[ -z "$entries" ] || fail "/check added an event-log entry: $entries"

echo "== an import leaves an entry naming what it changed, and its record"
run /import "$(winpath "$conf")" /quiet /log "$(winpath "$scratch/import.log")"
[ "$code" = 0 ] || fail "import: exit $code: $said"
echo "$entries" | grep "^[0-9a-f]*:trace:" | grep -qF 'UPSPORT=6 (was 3)' || fail "no event-log entry naming the port: $entries"
echo "$entries" | grep -qF 'ups.conf' || fail "the entry does not name the file: $entries"
[ "$(value LastImportResult)" = 0x0 ] || fail "LastImportResult: $(value LastImportResult)"
[ "$(value LastImportSha256)" = "$(sha256sum <"$conf" | cut -d' ' -f1)" ] || fail "LastImportSha256: $(value LastImportSha256)"
[ "$(value LastImportFile)" = "$(winpath "$conf")" ] || fail "LastImportFile: $(value LastImportFile)"
value LastImportTime | grep -qE '^20[0-9]{2}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$' ||
  fail "LastImportTime: $(value LastImportTime)"
run /check "$(winpath "$conf")" /quiet
[ "$code" = 0 ] || fail "/check right after the import: exit $code, not 0: $said"

echo "== a bad file: an error entry with its line, and its record"
run /import "$(winpath "$bad")" /quiet
[ "$code" = 2 ] || fail "bad import: exit $code"
echo "$entries" | grep "^[0-9a-f]*:err:" | grep -q "UPSPORT: '12' is not one of 1 to 8" ||
  fail "no error entry for the bad file: $entries"
[ "$(value LastImportResult)" = 0x2 ] || fail "LastImportResult after the bad file: $(value LastImportResult)"

echo "== /log: UTF-8, its first and last line; a wrong command line is logged too"
log=$scratch/import.log
head -1 "$log" | grep -qE "^20[0-9-]{8}T[0-9:]{8}Z Ombrel Setup 7\\.20, account .*/import .*ups\\.conf" ||
  fail "the log's first line: $(head -1 "$log")"
[ "$(tail -1 "$log" | tr -d '\r')" = "Exit code 0" ] || fail "the log's last line: $(tail -1 "$log")"
iconv -f UTF-8 -t UTF-8 "$log" >/dev/null || fail "the log is not UTF-8"
run /imprt "$(winpath "$conf")" /quiet /log "$(winpath "$scratch/wrong.log")"
[ "$code" = 1 ] || fail "a wrong command line: exit $code"
grep -q "unknown option /imprt" "$scratch/wrong.log" && [ "$(tail -1 "$scratch/wrong.log" | tr -d '\r')" = "Exit code 1" ] ||
  fail "the wrong command line is not logged: $(cat "$scratch/wrong.log")"
run /version /quiet /log "$(winpath "$scratch/no folder/x.log")"
echo "$said" | grep -q "^Cannot write the log" || fail "an unwritable log is not said: $said"

echo "== OK in the window leaves an entry"
(cd "$pc" && WINEDEBUG=+eventlog exec wine "$pc/OmbrelSetup.exe" >/dev/null 2>"$scratch/window-trace" </dev/null) &
program=$!
tool wait "$title" 60 >/dev/null || fail "the window did not show"
press_ok
tool gone "$title" 60 >/dev/null || fail "OK did not end the program"
wait "$program"
grep -E '(trace|err):eventlog:ReportEventW' "$scratch/window-trace" | grep -qF 'OK in the Ombrel Setup window' ||
  fail "no entry for OK: $(grep eventlog "$scratch/window-trace" | head -3)"
echo "PASS"
