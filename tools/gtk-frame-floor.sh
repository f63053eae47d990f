#!/usr/bin/env bash
# The platform's floor for the studio's click-to-draw figure: a bare GTK 4 drawing area timed
# from its press handler to the end of its draw handler, clicked as tools/studio-timing.sh clicks
# the studio (a pointer move and a click at once), without a status label, with one given new
# text on each motion, and with one of fixed width. Not a test: figures to compare.
#
#   bash tools/gtk-frame-floor.sh [clicks]    (after building corvendi_gtk_frame_floor)
set -euo pipefail
cd "$(dirname "$0")/.."
clicks="${1:-20}"
program=build/release/apps/studio/corvendi-gtk-frame-floor
cmake --build build/release --target corvendi_gtk_frame_floor >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    program=$1 clicks=$2
    for mode in "" --label --same-size; do
        log=$(mktemp)
        GSK_RENDERER=cairo NO_AT_BRIDGE=1 "$program" $mode >"$log" 2>/dev/null &
        pid=$!
        sleep 1.5
        for i in $(seq "$clicks"); do
            xdotool mousemove $((300 + 20 * (i % 10))) $((300 + 7 * i)) click 1
            sleep 0.4
        done
        kill "$pid"; wait "$pid" 2>/dev/null || true
        printf "  %-12s " "${mode:-bare}"
        grep -o "[0-9.]* ms" "$log" | sed "s/ ms//" | sort -n | awk "{v[NR]=\$1} END {
            printf \"fastest %6.2f  median %6.2f  slowest %6.2f  (%d clicks)\n\",
                   v[1], (NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2), v[NR], NR }"
        rm -f "$log"
    done
' bash "$program" "$clicks"
echo "load average $(cut -d" " -f1-3 /proc/loadavg)"
