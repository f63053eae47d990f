#!/usr/bin/python3
"""Takes the studio's speed figures in the real program (run by tools/studio-timing.sh).

    studio-timing.py STUDIO EXAMPLE BIG_SCORE RUNS

Drives the studio under the current X display with xdotool, with CORVENDI_STUDIO_TIMING set,
and prints, for each kind of work, the fastest, the median, the 90th percentile and the slowest
of its figures: start to the first page drawn (on the example), a click entering a note to the
end of the draw handler that shows it, and scroll and zoom redraws (on the big score), each also
as the program's own work (its handler and the draw handler, without the wait for the frame).
Timings taken on a busy machine say little: the load average is printed with them.
"""
import math
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

STUDIO, EXAMPLE, BIG, RUNS = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
FOLDER = tempfile.mkdtemp(prefix="studio-timing-")
LINE = re.compile(r"timing: (.+?) (to the end of the draw handler|to the frame on screen|drawn) "
                  r"([0-9.]+) ms")
STEP = re.compile(r"timing:   .+ done after ([0-9.]+) ms")
DRAWN = re.compile(r"timing: (.+?) to the end of the draw handler [0-9.]+ ms \(draw ([0-9.]+) ms\)")


def xdotool(*args):
    subprocess.run(["xdotool", *args], capture_output=True)


class Studio:
    """The program on a copy of a score, its timing lines collected from standard error."""

    def __init__(self, score):
        copy = os.path.join(FOLDER, os.path.basename(score))
        shutil.copy(score, copy)
        env = dict(os.environ, GSK_RENDERER="cairo", CORVENDI_STUDIO_TIMING="1",
                   NO_AT_BRIDGE="1", XDG_DATA_HOME=os.path.join(FOLDER, "data"))
        self.log = os.path.join(FOLDER, "timing.log")
        with open(self.log, "w") as err:
            self.process = subprocess.Popen([STUDIO, copy], stderr=err, env=env)
        self.wait_for("start to first page")

    def text(self):
        with open(self.log) as f:
            return f.read()

    def wait_for(self, what, timeout=20.0):
        end = time.time() + timeout
        while time.time() < end and what not in self.text():
            time.sleep(0.05)

    def figures(self):
        found = {}
        for what, until, ms in LINE.findall(self.text()):
            what = re.sub(r"zoom to \d+ %", "zoom", what)
            if until == "to the frame on screen":
                what += ", frame on screen"
            found.setdefault(what, []).append(float(ms))
        # The program's own share of each redraw: its handler's last step and the draw handler.
        # The rest of the time to the end of the draw is waiting for the frame.
        handler = 0.0
        for line in self.text().splitlines():
            step = STEP.search(line)
            if step:
                handler = float(step.group(1))
            drawn = DRAWN.search(line)
            if drawn:
                what = re.sub(r"zoom to \d+ %", "zoom", drawn.group(1)) + ", own work"
                found.setdefault(what, []).append(handler + float(drawn.group(2)))
                handler = 0.0
        return found

    def close(self):
        self.process.terminate()
        self.process.wait()


def settle(seconds=0.4):
    time.sleep(seconds)


def start_up(results):
    for _ in range(RUNS):
        studio = Studio(EXAMPLE)
        results.setdefault("start to first page drawn (example)", []).extend(
            studio.figures().get("start to first page", []))
        studio.close()


def editing(results):
    studio = Studio(BIG)
    settle(3.0)  # the background layout's first steps
    # Note entry on page 1: staff lines of the first and of a middle staff of the first system,
    # at the left of a measure where the click adds a chord tone or a note.
    for x in (330, 420, 520, 620, 720):
        for y in (301, 513):
            xdotool("mousemove", str(x), str(y), "click", "1")
            settle()
    for _ in range(3):
        for button in ("5", "5", "5", "4", "4", "4"):
            xdotool("mousemove", "600", "500", "click", button)
            settle(0.2)
    for _ in range(2):
        for _ in range(4):  # 100 % to 300 %
            xdotool("key", "ctrl+plus")
            settle(1.0)
        for button in ("5", "5", "5", "4"):
            xdotool("mousemove", "600", "500", "click", button)
            settle(0.2)
        for _ in range(3):  # to 500 % and scrolling there
            xdotool("key", "ctrl+plus")
            settle(1.0)
        for button in ("5", "5", "5", "4"):
            xdotool("mousemove", "600", "500", "click", button)
            settle(0.2)
        xdotool("key", "ctrl+0")
        settle(1.0)
    for what, values in studio.figures().items():
        if what.startswith("start to first page"):
            continue
        results.setdefault(what + " (big score)", []).extend(values)
    studio.close()


def main():
    results = {}
    start_up(results)
    editing(results)
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    print(f"load average {load}; {RUNS} start-ups; milliseconds: fastest, median, "
          "90th percentile, slowest (count)")
    for what, values in sorted(results.items()):
        if values:
            ordered = sorted(values)
            tenth = ordered[math.ceil(0.9 * len(ordered)) - 1]
            print(f"  {what:<58} {ordered[0]:7.2f} {statistics.median(ordered):7.2f} "
                  f"{tenth:7.2f} {ordered[-1]:7.2f} ({len(ordered)})")
    shutil.rmtree(FOLDER, ignore_errors=True)


main()
