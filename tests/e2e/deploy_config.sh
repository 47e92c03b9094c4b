#!/usr/bin/env bash
# Configuring PCs without the window: a PC configured through the window
# exports its configuration, a second program folder imports it and exports
# the same bytes; every bad file is refused with exit 2 and changes nothing;
# /detect stores a UPS answering on a pseudo-terminal and, with none, exits 3;
# /quiet shows nothing, and neither does a run whose output goes to a file;
# /? prints the usage; an open window gives 5, and a window started during a
# run says so. Beside no monitor /import and
# /detect exit 6 and write nothing; each run names its folder first. A
# start-up entry in the 64-bit view alone stays the only one.
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/serial.bash"
require_built
serial_env_start
scratch=$(mktemp -d "$root/build/e2e-deploy-XXXX")
trap 'rm -rf "$scratch"; serial_env_stop' EXIT
peer="bash $root/tests/e2e/ups_peer.bash"

# run FOLDER ARGS...: the program of that folder, its exit code in $code and
# its result lines in $said.
run() {
  local folder=$1
  shift
  (cd "$folder" && exec wine "$folder/OmbrelSetup.exe" "$@" >"$scratch/said" 2>/dev/null </dev/null)
  code=$?
  said=$(tr -d '\r' <"$scratch/said")
}
sums() {
  (cd "$1" && md5sum omb.ini SCHEDULE.TXT 2>&1)
}

a=$scratch/a b=$scratch/b
for pc in "$a" "$b"; do
  mkdir -p "$pc" && cp -r "$(dirname "$exe")/." "$pc/"
  rm -f "$pc/omb.ini" "$pc/SCHEDULE.TXT"
  printf 'MZ the monitor' >"$pc/SPY.EXE"
done
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
# reg_sums: the start-up entry and the program's key, in both views.
reg_sums() {
  local view
  for view in 32 64; do
    wine reg query "$run_key" /v OMB_SPY /reg:$view
    wine reg query 'HKLM\Software\Tarvexi\Ombrel' /reg:$view
  done </dev/null 2>/dev/null | tr -d '\r' | md5sum
}
entry() {  # entry VIEW: the start-up entry's value in that view, empty when none
  wine reg query "$run_key" /v OMB_SPY /reg:"$1" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/.*OMB_SPY *REG_SZ *//p'
}
map_ports - - - - - - - -

echo "== a PC configured through the window exports; another imports and exports the same bytes"
printf '[PAGE1]\r\nUPSPORT=3\r\nUPSTYPE=0\r\nBACKUP_TIME=42\r\n[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0111110\r\n' \
  >"$a/omb.ini"
printf '2031/05/17,TESTUPS,21:05,0\r\n2031/05/17,SHUTDOWN,08:30,1\r\n2030/01/02,STARTUP,07:00,0\r\n' >"$a/SCHEDULE.TXT"
(cd "$a" && exec wine "$a/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
program=$!
tool wait "$title" 60 >/dev/null || fail "the window did not show"
press_ok
tool gone "$title" 60 >/dev/null || fail "OK did not end the program"
wait "$program"

run "$a" /export "$(winpath "$scratch/one.conf")" /quiet
[ "$code" = 0 ] || fail "export: exit $code: $said"
run "$a" /export "$(winpath "$scratch/again.conf")" /quiet
cmp -s "$scratch/one.conf" "$scratch/again.conf" || fail "two exports differ"
head -1 "$scratch/one.conf" | grep -q '^Ombrel Setup configuration 1' || fail "no format line"
grep -q '^BACKUP_TIME=42' "$scratch/one.conf" || fail "the export lacks BACKUP_TIME=42"
run "$b" /import "$(winpath "$scratch/one.conf")" /quiet /log "$(winpath "$scratch/b.log")"
[ "$code" = 0 ] || fail "import: exit $code: $said"
echo "$said" | grep -q '^UPSPORT=3 (was 1)' || fail "the import does not say what it changed: $said"
# The log: a first line of when, which version, who and the command line,
# then what the console showed, then the exit code.
cmp -s <(echo "$said") <(tr -d '\r' <"$scratch/b.log" | sed '1d;$d') || fail "the log differs from the console"
head -1 "$scratch/b.log" | grep -qE "^20[0-9-]{8}T[0-9:]{8}Z Ombrel Setup 7\.20, account .*/import .*one\.conf" ||
  fail "the log's first line: $(head -1 "$scratch/b.log")"
[ "$(tail -1 "$scratch/b.log" | tr -d '\r')" = "Exit code 0" ] || fail "the log's last line: $(tail -1 "$scratch/b.log")"
run "$b" /export "$(winpath "$scratch/two.conf")" /quiet
cmp "$scratch/one.conf" "$scratch/two.conf" || fail "the second PC exports other bytes"
cmp -s "$a/SCHEDULE.TXT" "$b/SCHEDULE.TXT" || fail "SCHEDULE.TXT differs"
cmp -s <(grep -v '^\[' "$a/omb.ini" | sort) <(grep -v '^\[' "$b/omb.ini" | sort) || fail "omb.ini holds other keys"
echo "exports byte-identical; $(wc -l <"$scratch/one.conf") lines"

echo "== the folder is named first; beside no monitor, exit 6 and nothing written"
echo "$said" | head -1 | grep -qxF "Folder: $(winpath "$b")\\" || fail "the first line does not name the folder: $said"
c=$scratch/c
mkdir -p "$c" && cp -r "$(dirname "$exe")/." "$c/" && cp "$b/omb.ini" "$b/SCHEDULE.TXT" "$c/" && rm -f "$c/SPY.EXE"
before="$(sums "$c") $(reg_sums)"
for args in "/import $(winpath "$scratch/one.conf")" "/detect" "/import $(winpath "$scratch/one.conf") /detect"; do
  # shellcheck disable=SC2086  # the words of the command line
  run "$c" $args /quiet
  [ "$code" = 6 ] || fail "$args beside no monitor: exit $code, not 6: $said"
  echo "$said" | head -1 | grep -qxF "Folder: $(winpath "$c")\\" || fail "$args: the folder is not named first: $said"
  echo "$said" | grep -qF "The monitor is not in $(winpath "$c")\\: SPY.EXE is missing" || fail "$args: $said"
  [ "$(sums "$c") $(reg_sums)" = "$before" ] || fail "$args beside no monitor changed the files or the registry"
done
rm -f "$c/omb.ini"
run "$c" /export "$(winpath "$scratch/defaults.conf")" /quiet
[ "$code" = 6 ] && [ ! -e "$scratch/defaults.conf" ] || fail "/export without omb.ini: exit $code: $said"
echo "beside no monitor: $(echo "$said" | tail -1)"

echo "== /? prints the usage and exits 0; a run whose output goes to a file shows no box"
run "$b" /?
[ "$code" = 0 ] && echo "$said" | grep -q 'Exit codes' || fail "/?: exit $code: $said"
timeout 60 bash -c "cd '$b' && exec wine '$b/OmbrelSetup.exe' /import '$(winpath "$scratch/missing.conf")' >'$scratch/said' 2>/dev/null </dev/null"
code=$?
[ "$code" = 2 ] || fail "a run with its output in a file and no /quiet: exit $code, not 2 (a box waiting?)"

echo "== an entry in the 64-bit view alone: kept there alone, then removed from both views"
conf_start() {
  printf 'Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=%s\r\n' "$1" >"$scratch/start$1.conf"
}
conf_start 1
conf_start 0
wine reg delete "$run_key" /v OMB_SPY /reg:32 /f </dev/null >/dev/null 2>&1
wine reg add "$run_key" /v OMB_SPY /d 'C:\OLD\SPY.EXE' /reg:64 /f </dev/null >/dev/null 2>&1 || fail "cannot write OMB_SPY"
run "$b" /import "$(winpath "$scratch/start1.conf")" /quiet
[ "$code" = 0 ] || fail "import keeping the start: exit $code: $said"
[ -z "$(entry 32)" ] && [[ "$(entry 64)" == *SPY.EXE ]] && [ "$(entry 64)" != 'C:\OLD\SPY.EXE' ] ||
  fail "not one entry in the 64-bit view: 32 '$(entry 32)', 64 '$(entry 64)'"
run "$b" /import "$(winpath "$scratch/start0.conf")" /quiet
[ "$code" = 0 ] || fail "import turning the start off: exit $code: $said"
[ -z "$(entry 32)" ] && [ -z "$(entry 64)" ] || fail "an entry is left: 32 '$(entry 32)', 64 '$(entry 64)'"
echo "64-bit entry: one, then none"

echo "== every bad file: exit 2, the line, nothing written"
before=$(sums "$b")
conf() {
  printf 'Ombrel Setup configuration 1\r\n%s' "$1" >"$scratch/$2"
}
: >"$scratch/empty.conf"
printf '[PAGE1]\r\nUPSPORT=2\r\n' >"$scratch/other.conf"
conf $'[PAGE1]\r\nUPSPORT=12\r\n' port.conf
conf $'[PAGE2]\r\nLAST_SCHEDULE_SETUP_MINUTE=xx\r\n' minute.conf
conf $'[SCHEDULE]\r\n99999/01/01,SHUTDOWN,08:00,0\r\n' year.conf
conf $'[PAGE1]\r\nUPSPORTS=1\r\n' key.conf
conf $'[PAGE4]\r\n' section.conf
conf $'[PAGE1]\r\nUPSPORT=1\r\nUPSPORT=2\r\n' twice.conf
conf $'[SCHEDULE]\r\n2026/02/30,SHUTDOWN,08:00,0\r\n' date.conf
conf $'[SCHEDULE]\r\n2026/02/28,SHUTDOWN,25:00,0\r\n' hour.conf
printf 'O\0m\0b\0r\0e\0l\0' >"$scratch/utf16.conf"
head -c 9000000 /dev/zero >"$scratch/huge.conf"
for bad in empty other port minute year key section twice date hour utf16 huge missing; do
  run "$b" /import "$(winpath "$scratch/$bad.conf")" /quiet
  [ "$code" = 2 ] || fail "$bad.conf: exit $code, not 2: $said"
  [ "$(sums "$b")" = "$before" ] || fail "$bad.conf changed the files"
  echo "$bad: $(echo "$said" | tail -1)"
done
run "$b" /import "$(winpath "$scratch")" /quiet
[ "$code" = 2 ] || fail "a folder: exit $code"
run "$b" /import /quiet
[ "$code" = 1 ] || fail "/import without a file: exit $code, not 1"

echo "== /detect: a QZ UPS on COM2 is stored; with none, exit 3 and nothing written"
pty_device qz $peer qz
map_ports - "$ptys/qz.port" - - - - - -
run "$b" /detect /quiet
[ "$code" = 0 ] || fail "detect: exit $code: $said"
echo "$said" | grep -q '^ PORT : 2 <== QZ Series' || fail "no report line for COM2: $said"
grep -q '^UPSPORT=2' "$b/omb.ini" && grep -q '^UPSTYPE=3' "$b/omb.ini" || fail "port and series not stored"
cmp -s "$a/SCHEDULE.TXT" "$b/SCHEDULE.TXT" || fail "the detection changed SCHEDULE.TXT"
map_ports - - - - - - - -
before=$(sums "$b")
(cd "$b" && exec wine "$b/OmbrelSetup.exe" /detect /quiet >/dev/null 2>&1 </dev/null) &
detecting=$!
# Nothing shows while it runs: neither a window nor a box.
for _ in $(seq 1 8); do
  tool box OmbrelSetup 1 >/dev/null && fail "/quiet showed a box"
  tool state "$title" >/dev/null && fail "/quiet showed the window"
done
wait "$detecting"
code=$?
[ "$code" = 3 ] || fail "no UPS: exit $code, not 3"
[ "$(sums "$b")" = "$before" ] || fail "a detection that found nothing changed the files"

echo "== a window started during a run says so and does not open"
(cd "$b" && exec wine "$b/OmbrelSetup.exe" /detect /quiet >/dev/null 2>&1 </dev/null) &
detecting=$!
sleep 3  # the run has taken the lock and is probing the ports
(cd "$a" && exec wine "$a/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
window=$!
box=$(tool answer OmbrelSetup "{ENTER}" 30) || fail "no box from a window started during a run"
echo "$box" | grep -q "already changing this computer's settings" || fail "the window's box: $box"
wait "$window"
tool state "$title" >/dev/null && fail "the window opened during a run"
wait "$detecting"
[ $? = 3 ] || fail "the run that held the lock did not end as before"

echo "== without /quiet the result is one box; an open window gives 5"
(cd "$b" && exec wine "$b/OmbrelSetup.exe" /import "$(winpath "$scratch/port.conf")" >/dev/null 2>&1 </dev/null) &
importing=$!
box=$(tool answer OmbrelSetup "{ENTER}" 30) || fail "no result box without /quiet"
echo "$box" | grep -q "line 3: UPSPORT: '12' is not one of 1 to 8" || fail "the box does not name the fault: $box"
wait "$importing"
[ $? = 2 ] || fail "the box run did not exit 2"
# A program that ends at once took a window of the run before for its other
# copy (the result box's program can still be going away): it is started once
# more, and what stopped it is said if it still shows nothing.
for attempt in 1 2; do
  (cd "$a" && exec wine "$a/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
  program=$!
  tool wait "$title" 60 >/dev/null && break
  kill -0 "$program" 2>/dev/null && running="still running" || running="ended"
  echo "attempt $attempt: the window did not show; the program $running; box: $(tool box OmbrelSetup 1 2>&1 | tr '\r\n' '  ')"
  [ "$attempt" = 2 ] && fail "the window did not show"
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
done
before=$(sums "$b")
run "$b" /import "$(winpath "$scratch/one.conf")" /quiet
[ "$code" = 5 ] || fail "with the window open: exit $code, not 5"
[ "$(sums "$b")" = "$before" ] || fail "the refused run changed the files"
tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null
wait "$program" 2>/dev/null
echo "PASS"
