#!/usr/bin/env bash
# Where the installer puts the program, under Wine's own msiexec on a fresh
# prefix of its own (build/wineprefix-msi-folder): beside the monitor that
# its start-up entry OMB_SPY names (in either registry view) when that file
# exists, then beside a monitor in Program Files (x86)\Ombrel that has no
# entry, else Program Files\Ombrel; INSTALLDIR on the command line first;
# upgrades and uninstalls wherever it went, the monitor's file untouched. A
# folder every user may change gives a note in the installer's log and a
# warning box when the program starts from it, and an import into it is
# refused before anything is installed. Wine keeps a file's rights as
# its Unix mode, so such a folder is made by giving others write access
# (Everyone, to Windows); rights given to Users alone cannot be made here.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
command -v wixl >/dev/null || fail "wixl is not installed (scripts/install-deps)"

msi_env_start msi-folder

drive=$WINEPREFIX/drive_c
default=$drive/Program\ Files/Ombrel
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# msiexec with a verbose log in $scratch/LOG.log; its status is msiexec's.
msiexec_logged() {
  local log=$1
  shift
  msiexec_bounded "$@" /qn /l*v "$(winpath "$scratch")\\$log.log"
}
entry() {  # entry VIEW VALUE: the monitor's start-up entry in the 32- or 64-bit view
  wine reg add "$run_key" /v OMB_SPY /d "$2" /reg:"$1" /f </dev/null >/dev/null 2>&1 || fail "cannot write OMB_SPY"
}
no_entry() {
  local view
  for view in 32 64; do wine reg delete "$run_key" /v OMB_SPY /reg:$view /f </dev/null >/dev/null 2>&1; done
}
monitor() {  # monitor FOLDER: a monitor's file there, and a copy to compare with
  mkdir -p "$1"
  chmod 755 "$1"
  printf 'MZ the monitor in %s' "$1" >"$1/SPY.EXE"
  cp "$1/SPY.EXE" "$scratch/SPY.EXE.$(tr '/ ' '__' <<<"$1")"
}
monitor_untouched() {
  cmp -s "$1/SPY.EXE" "$scratch/SPY.EXE.$(tr '/ ' '__' <<<"$1")" || fail "$2: the monitor in $1 was changed or removed"
}
# The program's files in FOLDER: as staged in FROM.
expect_installed() {
  local file
  while IFS= read -r file; do
    cmp -s "$2/$file" "$1/$file" || fail "$3: $file in $1 is missing or differs from $2"
  done < <(cd "$2" && find . -type f | sed 's|^\./||')
}
expect_only() {  # expect_only FOLDER "FILES ": what is left in it
  local left
  left=$(cd "$1" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
  [ "$left" = "$2" ] || fail "$3: $1 holds '$left'"
}

stage=$(dirname "$exe")
"$root/installer/build-msi" "$stage" 7.20 "$scratch/Ombrel-7.20.msi" || fail "building the installer failed"
cp -r "$stage" "$scratch/stage-7.21"
printf '\n' >>"$scratch/stage-7.21/OmbrelSetup.exe"
"$root/installer/build-msi" "$scratch/stage-7.21" 7.21 "$scratch/Ombrel-7.21.msi" || fail "building 7.21 failed"
msi20=$(winpath "$scratch/Ombrel-7.20.msi") msi21=$(winpath "$scratch/Ombrel-7.21.msi")

echo "== beside the monitor its 32-bit entry names"
legacy=$drive/Legacy/Ombrel
monitor "$legacy"
entry 32 'C:\Legacy\Ombrel\SPY.EXE'
msiexec_logged legacy /i "$msi20" || fail "the install ended with status $?"
expect_installed "$legacy" "$stage" "beside the monitor"
[ ! -e "$default" ] || fail "the program also went to Program Files"
monitor_untouched "$legacy" "after the install"
grep -q "WARNING: every user" "$scratch/legacy.log" && fail "the log warns of a folder only its owner may change"

echo "== the program from there, in a folder only its owner may change"
(cd "$legacy" && wine "$(winpath "$legacy/OmbrelSetup.exe")" >/dev/null 2>&1 </dev/null) &
program=$!
tool wait "$title" 120 >/dev/null || fail "the installed program's window did not show"
tool box OmbrelSetup 2 >/dev/null && fail "a box came up at the start: $(tool box OmbrelSetup 1)"
tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null
wait "$program" 2>/dev/null

echo "== upgrade and uninstall where it went"
msiexec_logged upgrade /i "$msi21" || fail "the upgrade ended with status $?"
expect_installed "$legacy" "$scratch/stage-7.21" "after the upgrade"
[ ! -e "$default" ] || fail "the upgrade went to Program Files"
monitor_untouched "$legacy" "after the upgrade"
msiexec_logged uninstall /x "$msi21" || fail "the uninstall ended with status $?"
expect_only "$legacy" "SPY.EXE " "after the uninstall"
monitor_untouched "$legacy" "after the uninstall"

echo "== INSTALLDIR on the command line wins, and upgrades stay there"
msiexec_logged custom /i "$msi20" 'INSTALLDIR=C:\Custom\Ombrel\' || fail "the install into INSTALLDIR ended with status $?"
expect_installed "$drive/Custom/Ombrel" "$stage" "INSTALLDIR"
expect_only "$legacy" "SPY.EXE " "with INSTALLDIR given"
[ ! -e "$default" ] || fail "with INSTALLDIR given the program also went to Program Files"
msiexec_logged custom-upgrade /i "$msi21" || fail "the upgrade ended with status $?"
expect_installed "$drive/Custom/Ombrel" "$scratch/stage-7.21" "the upgrade of an INSTALLDIR install"
expect_only "$legacy" "SPY.EXE " "after upgrading an INSTALLDIR install"
msiexec_logged custom-uninstall /x "$msi21" || fail "the uninstall ended with status $?"
[ -z "$(find "$drive/Custom" -type f)" ] || fail "the uninstall left $(find "$drive/Custom" -type f)"

echo "== an entry naming a missing monitor leaves Program Files"
mkdir -p "$drive/Gone"
entry 32 'C:\Gone\SPY.EXE'
msiexec_logged gone /i "$msi20" || fail "the install ended with status $?"
expect_installed "$default" "$stage" "with the monitor missing"
expect_only "$drive/Gone" "" "with the monitor missing"
msiexec_logged gone-uninstall /x "$msi20" || fail "the uninstall ended with status $?"
[ -z "$(find "$default" -type f 2>/dev/null)" ] || fail "the uninstall left files in Program Files"

echo "== the entry in the short form this program writes"
x86=$drive/Program\ Files\ \(x86\)/Ombrel
monitor "$x86"
printf '@for %%%%I in ("C:\\Program Files (x86)\\Ombrel\\SPY.EXE") do @echo %%%%~sI\r\n' >"$scratch/short.bat"
short=$(wine cmd /c "$(winpath "$scratch/short.bat")" </dev/null 2>/dev/null | tr -d '\r')
echo "OMB_SPY=$short"
case $short in 'C:\Program Files (x86)\'* | "") fail "no short form of the monitor's path: '$short'" ;; esac
entry 32 "$short"
msiexec_logged short /i "$msi20" || fail "the install ended with status $?"
expect_installed "$x86" "$stage" "beside the monitor named in the short form"
[ ! -e "$default" ] || fail "with the short form the program went to Program Files"
msiexec_logged short-uninstall /x "$msi20" || fail "the uninstall ended with status $?"
expect_only "$x86" "SPY.EXE " "after the uninstall"
monitor_untouched "$x86" "after the uninstall"

echo "== a monitor in Program Files (x86) without a start-up entry"
no_entry
msiexec_logged x86 /i "$msi20" || fail "the install ended with status $?"
expect_installed "$x86" "$stage" "beside the monitor without an entry"
[ ! -e "$default" ] || fail "without an entry the program went to Program Files"
msiexec_logged x86-uninstall /x "$msi20" || fail "the uninstall ended with status $?"
expect_only "$x86" "SPY.EXE " "after the uninstall"
monitor_untouched "$x86" "after the uninstall"

echo "== the 64-bit view's entry"
no_entry
legacy64=$drive/Monitor64/Ombrel
monitor "$legacy64"
entry 64 'C:\Monitor64\Ombrel\SPY.EXE'
msiexec_logged view64 /i "$msi20" || fail "the install ended with status $?"
expect_installed "$legacy64" "$stage" "beside the monitor of the 64-bit entry"
[ ! -e "$default" ] || fail "with the 64-bit entry the program went to Program Files"
msiexec_logged view64-uninstall /x "$msi20" || fail "the uninstall ended with status $?"
expect_only "$legacy64" "SPY.EXE " "after the uninstall"
monitor_untouched "$legacy64" "after the uninstall"

echo "== a folder every user may change"
no_entry
entry 32 'C:\Legacy\Ombrel\SPY.EXE'
chmod 777 "$legacy"
msiexec_logged open-import /i "$msi20" DETECTUPS=1 && fail "an import into the open folder went through"
tr -d '\0\r' <"$scratch/open-import.log" | grep -a 'Ombrel Setup: the configuration is not imported: every user' |
  grep -q 'see the README, "Folder rights"' || fail "the log does not refuse the import for the folder's rights"
tr -d '\0' <"$scratch/open-import.log" | grep -aq '/detect' && fail "the program ran from the open folder"
expect_only "$legacy" "SPY.EXE " "after the refused import"
msiexec_logged open /i "$msi20" || fail "the install ended with status $?"
expect_installed "$legacy" "$stage" "into the open folder"
grep -a "WARNING: every user" "$scratch/open.log" | tr -d '\r' || fail "the log does not warn of the open folder"
grep -aq 'install folder C:\\Legacy\\Ombrel\\ ' "$scratch/open.log" || fail "the log's note does not name the folder"
[ "$(stat -c %a "$legacy")" = 777 ] || fail "the installer changed the folder's rights"
(cd "$legacy" && wine "$(winpath "$legacy/OmbrelSetup.exe")" >/dev/null 2>&1 </dev/null) &
program=$!
box=$(tool answer OmbrelSetup "{ENTER}" 120) || fail "no warning box at the start"
echo "$box" | grep '^text='
grep -q '^text=Every user of this computer may change the files in this folder.* C:\\Legacy\\Ombrel\\$' <<<"$box" ||
  fail "the box does not warn of the folder: $box"
tool wait "$title" 60 >/dev/null || fail "the window did not show after the warning"
tool box OmbrelSetup 2 >/dev/null && fail "a second box came up"
tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null
wait "$program" 2>/dev/null
[ "$(stat -c %a "$legacy")" = 777 ] || fail "the program changed the folder's rights"
echo "PASS"
