#!/usr/bin/env bash
# Builds the skin generator with the host compiler and redraws skin/setup/*.bmp,
# and the same pictures at 1.5 and 2 times their size in skin/setup/150 and
# skin/setup/200 for displays scaled to 150 and 200 %.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/build/tools" "$root/skin/setup/150" "$root/skin/setup/200"
g++ -std=c++20 -O2 -Wall -Wextra -o "$root/build/tools/make_skin" "$root/tools/make_skin.cpp"
"$root/build/tools/make_skin" "$root/skin/setup"
"$root/build/tools/make_skin" "$root/skin/setup/150" 1.5
"$root/build/tools/make_skin" "$root/skin/setup/200" 2
ls -lR "$root/skin/setup"
