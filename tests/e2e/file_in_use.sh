#!/usr/bin/env bash
# The monitor (or a backup tool) reading omb.ini or SCHEDULE.TXT at the moment
# OK replaces it: another program holds the file open in each usual sharing
# mode (read only; read and write; read, write and delete). Either the write
# succeeds, the file is whole new and the holder, reading after, sees the
# whole old or the whole new contents; or the error box says the file is in
# use, the file is whole old, and OK succeeds once the holder has let go.
# Without delete sharing no system lets a file be replaced: there the box is
# expected.
set -uo pipefail
. "$(dirname "$0")/common.bash"
. "$(dirname "$0")/ok_files.bash"
require_built
wine_env_for_script
ok_files_setup 3000
field() { sed -n "s/^$1=//p" | tr -d '\r'; }
learn_new_files

# The holder's copy of what it read: "old" or "new" when whole, else "mixed".
read_by_holder() {
  if cmp -s "$scratch/held" "$scratch/old-$1"; then echo old
  elif cmp -s "$scratch/held" "$scratch/new-$1"; then echo new
  else echo mixed
  fi
}

summary=
for name in omb.ini SCHEDULE.TXT; do
  for mode in r rw rwd; do
    restore_old_files
    rm -f "$scratch/held" "$scratch/held.held" "$scratch/held.stop"
    start_program
    wine "$holder" "$(winpath "$app/$name")" $mode "$(winpath "$scratch/held")" >/dev/null 2>&1 </dev/null &
    holder_pid=$!
    for _ in $(seq 100); do [ -e "$scratch/held.held" ] && break; sleep 0.05; done
    [ -e "$scratch/held.held" ] || fail "the holder could not open $name"
    press_ok

    # The program ends (the write went through) or shows the error box.
    outcome=
    for _ in $(seq 60); do
      if box=$(tool box OmbrelSetup 0.5); then outcome=refused; break; fi
      if [ -z "$(tool state "$title" | grep 'count=[1-9]')" ]; then outcome=written; break; fi
    done
    [ -n "$outcome" ] || fail "$name held ($mode): neither an error box nor the end of the program"

    if [ $outcome = written ]; then
      wait "$program" 2>/dev/null
      touch "$scratch/held.stop"
      wait "$holder_pid" || fail "the holder could not read $name after OK"
      [ "$(which_contents $name)" = new ] || fail "$name held ($mode): written, but it is $(which_contents $name)"
      seen=$(read_by_holder $name)
      [ "$seen" != mixed ] || fail "$name held ($mode): the holder read neither the whole old nor the whole new file"
      result="written; the holder read the whole $seen file"
    else
      text=$(echo "$box" | field text)
      case $text in
        *"$name: File in use by another program.") ;;
        *) fail "$name held ($mode): the error box said '$text'" ;;
      esac
      [ "$(which_contents $name)" = old ] || fail "$name held ($mode): refused, but it is $(which_contents $name)"
      tool answer OmbrelSetup "{ENTER}" 10 >/dev/null || fail "cannot close the error box"
      touch "$scratch/held.stop"
      wait "$holder_pid" || fail "the holder could not read $name"
      [ "$(read_by_holder $name)" = old ] || fail "$name held ($mode): the holder did not read the old file"
      # The holder has let go: OK goes through.
      press_ok
      tool gone "$title" 60 >/dev/null || fail "$name ($mode): OK after the holder let go did not end the program"
      wait "$program" 2>/dev/null
      [ "$(which_contents omb.ini)/$(which_contents SCHEDULE.TXT)" = new/new ] ||
        fail "$name ($mode): OK after the holder let go did not write both files"
      result="refused: \"$text\"; the next OK wrote both files"
    fi
    [ -z "$(leftovers)" ] || fail "$name held ($mode): temporary files stayed: $(leftovers)"
    if [ $mode != rwd ] && [ $outcome = written ]; then
      fail "$name held without delete sharing ($mode) was replaced"
    fi
    echo "$name held ($mode): $result"
    summary+="$name/$mode=$outcome "
  done
done
echo "$summary"
echo "PASS"
