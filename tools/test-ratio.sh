#!/usr/bin/env bash
# Prints the lines of test code, the lines of product code and their ratio, and fails when the
# ratio is above the ceiling (0.40 unless CORVENDI_TEST_RATIO_MAX says otherwise).
# Test code: every line of *.cpp, *.h and *.py under tests/. Product code: every line of *.cpp
# and *.h under src/, include/, adapters/ and apps/. Blank and comment lines count on both sides.
set -euo pipefail
cd "$(dirname "$0")/.."
ceiling=${CORVENDI_TEST_RATIO_MAX:-0.40}

count_lines() {
    find "$@" -type f "${patterns[@]}" -print0 2>/dev/null | xargs -0 -r cat | wc -l
}

patterns=(\( -name '*.cpp' -o -name '*.h' -o -name '*.py' \))
test_lines=$(count_lines tests)
patterns=(\( -name '*.cpp' -o -name '*.h' \))
code_lines=$(count_lines src include adapters apps)

awk -v t="$test_lines" -v c="$code_lines" -v max="$ceiling" 'BEGIN {
    ratio = (c > 0) ? t / c : 0
    printf "test lines %d, code lines %d, ratio %.3f (ceiling %.2f)\n", t, c, ratio, max
    if (ratio > max + 0) { print "the tests outgrow the code: ratio above the ceiling"; exit 1 }
}'
