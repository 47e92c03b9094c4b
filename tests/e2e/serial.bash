# Sourced by the end-to-end scripts that need serial ports (after common.bash):
# a Wine prefix of their own, build/wineprefix-serial, whose ports COM1 to
# COM8 are mapped to pseudo-terminals made with socat.
#
#   serial_env_start            the caller's display or a new one, the prefix, a wineserver
#   pty_pair NAME               a pair of linked terminals: $ptys/NAME.port and $ptys/NAME.peer
#   pty_device NAME CMD...      a terminal $ptys/NAME.port whose other end is the command's
#                               standard input and output (a simulated UPS)
#   hold_exclusively PATH       another process opens the terminal and holds it exclusively
#   map_ports PATH1 ... PATH8   maps COM1..COM8 to the paths ("-": a device that is not there)
#                               and restarts the wineserver, which reads the mapping at start;
#                               each "N=PATH" of the array extra_ports maps COMN as well
# Everything started here is stopped when the script ends.

serial_prefix=$root/build/wineprefix-serial
ptys=$(mktemp -d /tmp/ombrel-serial.XXXXXX)
serial_pids=()
extra_ports=()

serial_env_start() {
  command -v socat >/dev/null || fail "socat is not installed"
  . "$root/scripts/wine-env"
  trap serial_env_stop EXIT
  # The caller's display is kept; the prefix is always our own, so that the
  # port mapping and the registry values of a run touch no other test.
  [ -z "${DISPLAY:-}" ] || export OMBREL_DISPLAY=$DISPLAY
  wine_env_start "$serial_prefix" || true
}

serial_env_stop() {
  local pid
  for pid in "${serial_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${serial_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  serial_pids=()
  wine_env_stop
  rm -rf "$ptys"
}

wait_for_path() {
  local _
  for _ in $(seq 1 100); do [ -e "$1" ] && return 0; sleep 0.05; done
  fail "$1 did not appear"
}

pty_pair() {
  socat pty,raw,echo=0,link="$ptys/$1.port" pty,raw,echo=0,link="$ptys/$1.peer" >/dev/null 2>&1 &
  serial_pids+=($!)
  wait_for_path "$ptys/$1.port"
  wait_for_path "$ptys/$1.peer"
}

pty_device() {
  local name=$1
  shift
  socat pty,raw,echo=0,link="$ptys/$name.port" EXEC:"$*" >/dev/null 2>&1 &
  serial_pids+=($!)
  wait_for_path "$ptys/$name.port"
}

# TIOCEXCL, as Linux terminal programs hold a serial port. Root may open
# such a port anyway, so map_ports starts the wineserver (which opens the
# devices) without that privilege when run as root.
hold_exclusively() {
  local ready=$ptys/held.$$.$RANDOM
  perl -e 'open(my $f, "+<", $ARGV[0]) or die "open: $!"; ioctl($f, 0x540C, 0) or die "TIOCEXCL: $!";
           open(my $r, ">", $ARGV[1]) and close($r); sleep 3600' "$1" "$ready" &
  serial_pids+=($!)
  wait_for_path "$ready"
}

map_ports() {
  local n=1 path first= reg=$ptys/ports.reg
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for path in "$@"; do
      [ "$path" != - ] || path=$ptys/no-device-$n
      [ -n "$first" ] || first=$path
      printf '"COM%d"="%s"\r\n' "$n" "$path"
      n=$((n + 1))
    done
    for path in "${extra_ports[@]}"; do printf '"COM%d"="%s"\r\n' "${path%%=*}" "${path#*=}"; done
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
  # Read back before the restart: a value written just before the server
  # stops can be lost.
  wine reg query 'HKLM\Software\Wine\Ports' </dev/null 2>/dev/null | tr -d '\r' | grep -qF -- "$first" ||
    fail "the port mapping did not reach the registry"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  local nocap=()
  [ "$(id -u)" != 0 ] || nocap=(setpriv --bounding-set -sys_admin --inh-caps -sys_admin --)
  "${nocap[@]}" wineserver -p >/dev/null 2>&1 </dev/null
  wineboot >/dev/null 2>&1 </dev/null || true
}
