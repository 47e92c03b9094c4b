# Sourced by the end-to-end scripts that check omb.ini and SCHEDULE.TXT as OK
# writes them: a program folder of their own with old files in it, the
# program started there, OK pressed and confirmed as a user does, and the
# files compared byte for byte with their old and new contents.
#
#   ok_files_setup LINES   makes $app (a copy of the staged folder) and in
#                          $scratch the old files: old-omb.ini and an old
#                          SCHEDULE.TXT of LINES lines in descending order, so
#                          that saving it (sorted) gives other bytes
#   restore_old_files      puts the old files back into $app
#   start_program          starts the program in $app; leaves its pid in $program
#   learn_new_files [COMMAND...]
#                          one whole OK from the old files: leaves the new
#                          contents in $scratch/new-omb.ini and new-SCHEDULE.TXT;
#                          the command runs once the window shows
#   which_contents NAME    "old" or "new" when $app/NAME is byte for byte one
#                          of them, else "missing", "empty" or "mixed"
killer=$root/build/windows/tests/ok_killer.exe
holder=$root/build/windows/tests/file_holder.exe

ok_files_setup() {
  [ -f "$killer" ] && [ -f "$holder" ] || fail "the test helpers are not built (targets ok_killer, file_holder)"
  scratch=$(mktemp -d "$root/build/e2e-ok-files-XXXX")
  trap 'rm -rf "$scratch"; wine_env_cleanup' EXIT
  app=$scratch/app
  mkdir -p "$app"
  cp -r "$(dirname "$exe")/." "$app/"
  rm -f "$app/omb.ini" "$app/SCHEDULE.TXT"
  printf '[PAGE1]\r\nUPSPORT=2\r\nOVERLOAD_SHUTDOWN_TIME=3\r\n[NOTES]\r\nWRITTEN_BY_HAND=1\r\n' >"$scratch/old-omb.ini"
  # Three kinds of event on each of consecutive days, latest day first.
  awk -v lines="$1" 'BEGIN {
    split("SHUTDOWN STARTUP TESTUPS", kind, " ")
    days = int((lines + 2) / 3); n = 0
    for (d = days - 1; d >= 0 && n < lines; d--)
      for (k = 1; k <= 3 && n < lines; k++) {
        printf "%04d/%02d/%02d,%s,%02d:%02d,%d\r\n", 2000 + int(d / 336), int(d / 28) % 12 + 1, d % 28 + 1,
               kind[k], d % 24, (d * 7) % 60, d % 2
        n++
      }
  }' >"$scratch/old-SCHEDULE.TXT"
}

restore_old_files() {
  cp "$scratch/old-omb.ini" "$app/omb.ini"
  cp "$scratch/old-SCHEDULE.TXT" "$app/SCHEDULE.TXT"
}

start_program() {
  (cd "$app" && exec wine "$app/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null) &
  program=$!
  tool wait "$title" 60 >/dev/null || fail "the window did not show"
}

learn_new_files() {
  restore_old_files
  start_program
  "$@"
  press_ok
  tool gone "$title" 60 >/dev/null || fail "OK did not end the program"
  wait "$program" 2>/dev/null
  cp "$app/omb.ini" "$scratch/new-omb.ini"
  cp "$app/SCHEDULE.TXT" "$scratch/new-SCHEDULE.TXT"
  cmp -s "$scratch/new-omb.ini" "$scratch/old-omb.ini" && fail "OK did not change omb.ini"
  cmp -s "$scratch/new-SCHEDULE.TXT" "$scratch/old-SCHEDULE.TXT" && fail "OK did not change SCHEDULE.TXT"
  [ -z "$(leftovers)" ] || fail "a whole OK left temporary files: $(leftovers)"
}

which_contents() {
  if [ ! -e "$app/$1" ]; then echo missing
  elif cmp -s "$app/$1" "$scratch/old-$1"; then echo old
  elif cmp -s "$app/$1" "$scratch/new-$1"; then echo new
  elif [ ! -s "$app/$1" ]; then echo empty
  else echo mixed
  fi
}

# The temporary files of the two files in $app, by name.
leftovers() {
  (cd "$app" && ls -1 | grep -E '^(omb\.ini|SCHEDULE\.TXT)\.tmp' | tr '\n' ' ')
}
