# Sourced by the end-to-end scripts, scripts/run, scripts/screenshots and the
# start-up benchmark: where things are, a Wine environment, and the window tool.
#
#   OMBREL_EXE        the program to drive (default: the staged OmbrelSetup.exe)
#   OMBREL_EXE_ARGS   extra arguments for it (for trying the scripts on the
#                     minimal window program: --title "..." --single-instance)
#   OMBREL_DESKTOP    when this script starts its own display: run everything
#                     inside a Wine virtual desktop of this size (e.g. 800x600),
#                     which draws the windows' title bars; it uses its own
#                     prefix, build/wineprefix-desktop
#   OMBREL_DPI        with OMBREL_DESKTOP: the display scaled to this many
#                     pixels per inch (144 is 150 %), in a prefix of its own,
#                     build/wineprefix-desktop-dpiN

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
title="Ombrel Setup Version 7.20"
exe=${OMBREL_EXE:-$root/build/stage/OmbrelSetup.exe}
eval "exe_args=(${OMBREL_EXE_ARGS:-})"  # shell words, quotes allowed
window_tool=$root/build/windows/tests/window_tool.exe
minimal_window=$root/build/windows/bench/minimal_window_win32.exe
# The main window's three pages made bare: the start-up benchmark's floor.
bare_pages=$root/build/windows/bench/bare_pages_win32.exe

# A display, a prefix and one persistent wineserver: the caller's when it has
# them (scripts/test), otherwise our own, stopped again by wine_env_cleanup.
wine_env_for_script() {
  . "$root/scripts/wine-env"
  if [ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    own_wine_env=0
    return
  fi
  own_wine_env=1
  trap wine_env_cleanup EXIT
  local prefix=${WINEPREFIX:-$root/build/wineprefix}
  [ -z "${OMBREL_DESKTOP:-}" ] || prefix=$root/build/wineprefix-desktop${OMBREL_DPI:+-dpi$OMBREL_DPI}
  [ -z "${OMBREL_DPI:-}" ] || export OMBREL_SCREEN=${OMBREL_DESKTOP:-1024x768}
  # "|| true": a wineserver already serving the prefix is fine, and set -e
  # of the caller must not stop half-way through the start.
  wine_env_start "$prefix" || true
  if [ -n "${OMBREL_DESKTOP:-}" ]; then
    # Every program of this prefix opens on one virtual desktop; the setting
    # takes effect when the wineserver starts again.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$OMBREL_DESKTOP" /f >/dev/null 2>&1
    [ -z "${OMBREL_DPI:-}" ] ||
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$OMBREL_DPI" /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wineboot >/dev/null 2>&1 </dev/null || true
  fi
}

# Wine draws a title bar's buttons with the Marlett symbol font, which it
# ships but does not register in a new prefix: without it they come out as
# the letters "0 1 r". Pictures of windows register it first.
register_title_bar_font() {
  local fonts_dir=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -f "$fonts_dir/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts_dir"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts_dir/"
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Marlett (TrueType)' \
      /d marlett.ttf /f >/dev/null 2>&1
  fi
}

# Stops what wine_env_for_script started; it runs by itself when the script ends.
wine_env_cleanup() {
  if [ "${own_wine_env:-0}" = 1 ]; then
    own_wine_env=0
    wine_env_stop
  fi
}

# Runs the window tool; true when it reports success. Its findings go to stdout.
# They pass through a file, not a pipe: a Wine process started on the way (the
# desktop's explorer) inherits the tool's output and would hold a pipe open.
tool() {
  local out status
  out=$(mktemp)
  wine "$window_tool" "$@" >"$out" 2>&1 </dev/null
  tr -d '\r' <"$out" | grep -v '^result=' | grep -v '^$' || true
  if grep -q '^result=0' "$out"; then status=0; else status=1; fi
  rm -f "$out"
  return $status
}

# The field of the window tool's "state" line, e.g. state_of iconic.
state_of() {
  tool state "$title" | tr ' ' '\n' | sed -n "s/^$1=//p"
}

# An installer test's own Wine prefix, fresh (build/wineprefix-NAME), and a
# scratch folder $scratch; both the prefix's wineserver and the folder go
# when the script ends. Shortcuts stay inside the prefix: no menu entries for
# the machine running the tests.
msi_env_start() {
  scratch=$(mktemp -d "$root/build/e2e-$1-XXXX")
  . "$root/scripts/wine-env"
  trap 'wine_env_stop; rm -rf "$scratch"' EXIT
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="
  [ -z "${DISPLAY:-}" ] || export OMBREL_DISPLAY=$DISPLAY
  rm -rf "$root/build/wineprefix-$1"
  wine_env_start "$root/build/wineprefix-$1" || true
}

# Wine's msiexec now and then does all its work and then waits for good on
# its own helper process. One that has not ended within 4 minutes is ended and
# run once more (said on stderr), so that the checks after it judge what it
# did instead of the whole suite waiting. Its status is msiexec's, 124 when
# both runs hung. Run inside msi_env_start, whose scratch folder names it.
msiexec_bounded() {
  local attempt status
  for attempt in 1 2; do
    timeout 240 wine msiexec "$@" </dev/null >/dev/null 2>&1
    status=$?
    [ "$status" = 124 ] || return "$status"
    echo "msiexec $1 did not end within 4 minutes (run $attempt): ended" >&2
    pkill -f "msiexec\.exe.*${scratch##*/}" 2>/dev/null
    sleep 2
  done
  return 124
}

require_built() {
  if [ ! -f "$window_tool" ] || [ ! -f "$minimal_window" ]; then
    echo "the Windows build is missing: run cmake --preset windows && cmake --build --preset windows" >&2
    exit 1
  fi
  if [ ! -f "$exe" ]; then
    echo "OmbrelSetup.exe is not built yet ($exe is missing)" >&2
    exit 1
  fi
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A path inside the build tree as the programs under Wine see it.
winpath() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# OK in the main window's bottom bar, and the question after it answered Yes.
ok_button=client:132,423
press_ok() {
  local _
  # A click that comes while the new window is still settling can be lost:
  # it is given again until the question shows.
  for _ in 1 2 3; do
    tool click "$title" $ok_button >/dev/null || fail "cannot click OK"
    tool answer Confirm "{ENTER}" 20 >/dev/null && return
  done
  fail "no question after OK"
}
