#!/usr/bin/env bash
# Checks that the tests stay within their share of the code, sets up the machine and runs every
# test pass:
#   0. the format check (clang-format --dry-run -Werror on every C++ source),
#   1. a normal build and its tests,
#   2. the tests again under the decimal-comma locale de_DE.UTF-8,
#   3. a build with AddressSanitizer and UndefinedBehaviorSanitizer and its tests,
#   4. each fuzz target for a bounded time (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
echo "== test code against product code"
bash tools/test-ratio.sh
bash tools/setup-deps.sh

jobs=$(nproc)
fuzz_seconds=${CORVENDI_FUZZ_SECONDS:-60}

echo "== format"
bash tools/check-format.sh

echo "== normal build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
cmake --build build/release -j "$jobs"
echo "== tests"
ctest --test-dir build/release --output-on-failure -j "$jobs"
echo "== tests under LC_ALL=de_DE.UTF-8"
LC_ALL=de_DE.UTF-8 ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== sanitizer build"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
      -DCORVENDI_SANITIZE=ON -DCORVENDI_BUILD_BENCH=OFF \
      -DCORVENDI_BUILD_PYTHON=OFF -DCORVENDI_BUILD_STUDIO=OFF
cmake --build build/asan -j "$jobs"
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$PWD/tools/lsan-suppressions.txt":print_suppressions=0 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== fuzz targets"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DCORVENDI_FUZZ=ON -DCORVENDI_BUILD_TESTS=OFF -DCORVENDI_BUILD_BENCH=OFF -DCORVENDI_BUILD_APPS=OFF \
      -DCORVENDI_BUILD_PYTHON=OFF -DCORVENDI_BUILD_STUDIO=OFF
cmake --build build/fuzz -j "$jobs"
bash tools/run-fuzzers.sh build/fuzz "$fuzz_seconds"
