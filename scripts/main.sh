#!/usr/bin/env bash
# Sets up the machine, builds the plug-in and renders a few factory patterns, played in host sync, to
# pulsaret-demo.wav with our offline host.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"

bash scripts/render_demo.sh build pulsaret-demo.wav
echo "Listen to pulsaret-demo.wav"
