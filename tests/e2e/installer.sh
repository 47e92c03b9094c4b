#!/usr/bin/env bash
# The installer under Wine's own msiexec, on a fresh prefix of its own
# (build/wineprefix-msi), one step after the other as a machine sees them:
# broken packages refused, a silent install, the program started from its
# shortcut, a major upgrade over the user's files, a silent uninstall.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
command -v wixl >/dev/null || fail "wixl is not installed (scripts/install-deps)"

msi_env_start msi

folder=$WINEPREFIX/drive_c/Program\ Files/Ombrel
# Windows puts a per-machine package's shortcut into the machine's Start menu;
# Wine's msi always takes the user's (its ProgramMenuFolder ignores ALLUSERS).
start_menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
  "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
shortcut_file() {
  local menu name=${1:-Ombrel Setup}
  for menu in "${start_menus[@]}"; do
    [ -f "$menu/Ombrel/$name.lnk" ] && echo "$menu/Ombrel/$name.lnk"
  done
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
msiexec() { msiexec_bounded "$@"; }

# The installer of this build, and one of a higher version whose exe differs
# by a byte at its end (past the image, where Windows does not look).
stage=$(dirname "$exe")
"$root/installer/build-msi" "$stage" 7.20 "$scratch/Ombrel-7.20.msi" || fail "building the installer failed"
cp -r "$stage" "$scratch/stage-7.21"
printf '\n' >>"$scratch/stage-7.21/OmbrelSetup.exe"
"$root/installer/build-msi" "$scratch/stage-7.21" 7.21 "$scratch/Ombrel-7.21.msi" || fail "building 7.21 failed"

# The Programs and Features entries of Ombrel Setup, one "NAME|VERSION|PUBLISHER" line each.
entries() {
  wine reg query "$uninstall_key" /s </dev/null 2>/dev/null | tr -d '\r' | awk '
    /^HKEY/ { if (name != "") print name "|" version "|" publisher; name = version = publisher = "" }
    $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); name = $0 }
    $1 == "DisplayVersion" { sub(/^ *DisplayVersion +REG_SZ +/, ""); version = $0 }
    $1 == "Publisher" { sub(/^ *Publisher +REG_SZ +/, ""); publisher = $0 }
    END { if (name != "") print name "|" version "|" publisher }' | grep '^Ombrel Setup|' || true
}
# The files the installer puts in place, with their contents: the staged folder's.
expect_installed() {
  local from=$1 file
  while IFS= read -r file; do
    cmp -s "$from/$file" "$folder/$file" || fail "$2: $file is missing or differs from $from"
  done < <(cd "$from" && find . -type f | sed 's|^\./||')
}

echo "== broken packages"
head -c 200000 "$scratch/Ombrel-7.20.msi" >"$scratch/truncated.msi"
msiexec /i "$(winpath "$scratch/truncated.msi")" /qn
status=$?
echo "truncated package: msiexec status $status"
[ $status != 0 ] || fail "msiexec reported success for a truncated package"
# The same size, with 64 KB of the embedded cabinet (the program's files) zeroed half-way.
cp "$scratch/Ombrel-7.20.msi" "$scratch/corrupt.msi"
size=$(stat -c %s "$scratch/corrupt.msi")
dd if=/dev/zero of="$scratch/corrupt.msi" bs=4096 seek=$((size / 2 / 4096)) count=16 conv=notrunc status=none
msiexec /i "$(winpath "$scratch/corrupt.msi")" /qn
status=$?
echo "corrupt package: msiexec status $status"
[ $status != 0 ] || fail "msiexec reported success for a corrupt package"
[ ! -e "$folder" ] || fail "a failed install left $(cd "$folder" && find . | tr '\n' ' ')"
[ -z "$(entries)" ] || fail "a failed install left an entry: $(entries)"

echo "== silent install"
msiexec /i "$(winpath "$scratch/Ombrel-7.20.msi")" /qn || fail "msiexec /i /qn ended with status $?"
expect_installed "$stage" "after the install"
[ "$(entries)" = "Ombrel Setup|7.20.0|Tarvexi" ] || fail "Programs and Features: '$(entries)'"
# The entry's icon: Programs and Features takes an installed package's from its product record.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s </dev/null 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *ProductIcon *REG_SZ *\(.*OmbrelSetup\.ico\)$/\1/p')
[ -n "$icon" ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ] || fail "the entry has no icon ('$icon')"
wine reg query "$uninstall_key" /s </dev/null 2>/dev/null | tr -d '\r' |
  grep -q 'DisplayIcon *REG_SZ *C:\\Program Files\\Ombrel\\OmbrelSetup.exe,0$' || fail "the entry names no DisplayIcon"
shortcut=$(shortcut_file)
[ -n "$shortcut" ] || fail "no Start menu shortcut"
[ "$(printf '%s\n' "$shortcut" | wc -l)" = 1 ] || fail "more than one shortcut: $shortcut"
link=$(tool shortcut "$(winpath "$shortcut")") || fail "cannot read the shortcut"
echo "shortcut: $link"
target=$(printf '%s\n' "$link" | sed -n 's/^target=\(.*\) folder=.*/\1/p')
[ "$target" = 'C:\Program Files\Ombrel\OmbrelSetup.exe' ] || fail "the shortcut starts '$target'"
# The guide, in every language, and its shortcut to the contents in the program's language.
for language in English Deutsch Francais Espanol; do
  [ -s "$folder/Help/$language/index.html" ] || fail "the guide in $language is not installed"
done
[ -s "$folder/Help/guide.css" ] || fail "the guide's style sheet is not installed"
help_shortcut=$(shortcut_file "Ombrel Setup Help")
[ -n "$help_shortcut" ] || fail "no Start menu shortcut Ombrel Setup Help"
help_link=$(tool shortcut "$(winpath "$help_shortcut")") || fail "cannot read the help shortcut"
echo "help shortcut: $help_link"
help_target=$(printf '%s\n' "$help_link" | sed -n 's/^target=\(.*\) folder=.*/\1/p')
[ "$help_target" = 'C:\Program Files\Ombrel\OmbrelGuide.exe' ] ||
  fail "the help shortcut starts '$help_target'"
# It runs with the user's rights, and opens the contents page in the language
# omb.ini names: HTML files are opened by the window tool's recorder, which
# notes what it was given.
grep -aq 'level="asInvoker"' "$folder/OmbrelGuide.exe" || fail "OmbrelGuide.exe asks for other rights than the user's"
opened=$scratch/opened.txt
recorder="\"$(winpath "$window_tool")\" record \"$(winpath "$opened")\" \"%1\""
wine reg add 'HKLM\Software\Classes\OmbrelTest.html\shell\open\command' /ve /d "$recorder" /f </dev/null >/dev/null 2>&1
wine reg add 'HKLM\Software\Classes\.html' /ve /d OmbrelTest.html /f </dev/null >/dev/null 2>&1
for language in "" Deutsch; do
  rm -f "$opened" "$folder/omb.ini"
  [ -z "$language" ] || printf '[PAGE3]\r\nLANGUAGE=%s\r\n' "$language" >"$folder/omb.ini"
  wine "$folder/OmbrelGuide.exe" </dev/null >/dev/null 2>&1
  for _ in $(seq 1 100); do [ -s "$opened" ] && break; sleep 0.1; done
  page=$(tr -d '\r' <"$opened" 2>/dev/null)
  expected='C:\Program Files\Ombrel\Help\'"${language:-English}"'\index.html'
  echo "help shortcut with '${language:-no language}': $page"
  [ "$page" = "$expected" ] || fail "the help shortcut opened '$page', not '$expected'"
done
rm -f "$opened" "$folder/omb.ini"

echo "== the program from its shortcut"
(cd "$folder" && wine "$target" >/dev/null 2>&1 </dev/null) &
program=$!
tool wait "$title" 120 >/dev/null || fail "the installed program's window did not show"
# A click that comes while the new window is still settling can be lost: it is
# given again until the question shows.
for _ in 1 2 3; do
  tool click "$title" client:132,423 >/dev/null || fail "cannot click OK"
  tool box Confirm 5 >/dev/null && break
done
tool answer Confirm "{ENTER}" 30 >/dev/null || fail "OK asked nothing"
for _ in $(seq 1 100); do [ -s "$folder/omb.ini" ] && break; sleep 0.1; done
[ -s "$folder/omb.ini" ] || fail "OK wrote no omb.ini into the install folder"
tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null
wait "$program" 2>/dev/null

echo "== upgrade"
# The user's files: omb.ini edited by hand, a schedule, a language of their own,
# and the monitor living in the same folder.
printf '; edited by hand\r\n[PAGE1]\r\nUPSPORT=3\r\n' >>"$folder/omb.ini"
printf '2030/01/02,SHUTDOWN,06:00,1\r\n2030/03/04,STARTUP,22:30,0\r\n' >"$folder/SCHEDULE.TXT"
mkdir -p "$folder/Languages/Mine"
printf '[Main]\r\nCaption=Mine\r\n' >"$folder/Languages/Mine/setup.ini"
printf 'MZ the monitor' >"$folder/SPY.EXE"
mkdir -p "$scratch/user"
for file in omb.ini SCHEDULE.TXT Languages/Mine/setup.ini SPY.EXE; do
  mkdir -p "$(dirname "$scratch/user/$file")"
  cp "$folder/$file" "$scratch/user/$file"
done
msiexec /i "$(winpath "$scratch/Ombrel-7.21.msi")" /qn || fail "the upgrade ended with status $?"
expect_installed "$scratch/stage-7.21" "after the upgrade"
expect_installed "$scratch/user" "the user's files after the upgrade"
[ "$(entries)" = "Ombrel Setup|7.21.0|Tarvexi" ] || fail "Programs and Features after the upgrade: '$(entries)'"

echo "== silent uninstall"
msiexec /x "$(winpath "$scratch/Ombrel-7.21.msi")" /qn || fail "msiexec /x /qn ended with status $?"
left=$(cd "$folder" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
[ "$left" = "Languages/Mine/setup.ini SCHEDULE.TXT SPY.EXE omb.ini " ] || fail "left after the uninstall: $left"
expect_installed "$scratch/user" "the user's files after the uninstall"
[ -z "$(shortcut_file)" ] || fail "the shortcut is still there: $(shortcut_file)"
[ -z "$(shortcut_file "Ombrel Setup Help")" ] || fail "the help shortcut is still there"
[ ! -e "$folder/Help" ] || fail "the guide is still there"
[ -z "$(entries)" ] || fail "an entry is left: $(entries)"

# Installing again over what was left: the settings are there again.
msiexec /i "$(winpath "$scratch/Ombrel-7.20.msi")" /qn || fail "installing again ended with status $?"
expect_installed "$scratch/user" "the user's files after installing again"
[ "$(entries)" = "Ombrel Setup|7.20.0|Tarvexi" ] || fail "Programs and Features after installing again: '$(entries)'"

# A package of the installed version built again: refused or repaired, never a second entry.
"$root/installer/build-msi" "$stage" 7.20 "$scratch/Ombrel-7.20-again.msi" || fail "building again failed"
msiexec /i "$(winpath "$scratch/Ombrel-7.20-again.msi")" /qn
echo "the same version built again: msiexec status $?"
[ "$(entries)" = "Ombrel Setup|7.20.0|Tarvexi" ] || fail "Programs and Features after the same version again: '$(entries)'"
echo "PASS"
