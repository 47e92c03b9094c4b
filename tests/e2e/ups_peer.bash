#!/usr/bin/env bash
# A simulated UPS at the far end of a serial line, for tests/e2e/detection.sh:
# socat runs it with the line as its standard input and output. It answers
# every probe "V?" CR LF:
#   qz, velto   with its identification line
#   random      with 300 random bytes (NUL and line ends among them)
#   vanish      by hanging up, so that the line disappears mid-run
set -u
mode=$1
while IFS= read -r line; do
  [ "${line%$'\r'}" = "V?" ] || continue
  case $mode in
    qz) printf '#TARVEXI QZ 1.00 220V\r\n' ;;
    velto) printf '(TARVEXI Velto 2.10\r\n' ;;
    random) head -c 300 /dev/urandom ;;
    vanish) exit 0 ;;
  esac
done
