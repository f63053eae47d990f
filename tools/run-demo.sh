#!/usr/bin/env bash
# Sets up the machine, builds the engine and runs the main job on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
cmake --build build/release -j "$(nproc)" --target corvendi_example
./build/release/examples/corvendi_example
