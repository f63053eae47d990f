#!/usr/bin/env bash
# Takes the studio's speed figures in the real program under a virtual X server: start to the
# first page on the bundled example, and a click's note entry, scrolling and zooming on the
# editing benchmarks' long score (16 staffs, 256,000 notes). Not a test: figures to compare.
#
#   bash tools/studio-timing.sh [runs]    (after building corvendi_studio in build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
build=build/release
cmake --build "$build" --target corvendi_studio corvendi_make_editing_score >/dev/null
big="$(mktemp --suffix=.sco)"
trap 'rm -f "$big"' EXIT
"$build/apps/corvendi/corvendi_make_editing_score" "$big" 16 1000 >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 tools/studio-timing.py \
    "$build/apps/studio/corvendi-studio" data/examples/example.sco "$big" "$runs"
