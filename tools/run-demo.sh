#!/usr/bin/env bash
# Sets up the machine, builds the engine and runs the main job on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
cmake --build build/release -j "$(nproc)" --target corvendi_cli
# The example rendered to out/demo.pdf and out/demo-1.png ..., outside the source files.
mkdir -p out
cd out
../build/release/apps/corvendi/corvendi demo
