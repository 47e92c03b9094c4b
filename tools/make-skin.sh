#!/usr/bin/env bash
# Builds the skin generator with the host compiler and redraws skin/setup/*.bmp.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/build/tools" "$root/skin/setup"
g++ -std=c++20 -O2 -Wall -Wextra -o "$root/build/tools/make_skin" "$root/tools/make_skin.cpp"
"$root/build/tools/make_skin" "$root/skin/setup"
ls -l "$root/skin/setup"
