#!/usr/bin/env bash
# Builds the player and kxtool, packs the demo project into build/Demo.scr,
# and shows what the screensaver carries.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_TESTS=OFF > /dev/null
cmake --build build -j2
build/kxtool pack demo -o build/Demo.scr
echo "Packed build/Demo.scr. Its project:"
build/kxtool project build/Demo.scr
