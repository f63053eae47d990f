#!/usr/bin/python3
"""Takes the studio's speed figures in the real program (run by tools/studio-timing.sh).

    studio-timing.py STUDIO EXAMPLE BIG_SCORE RUNS

Drives the studio under the current X display with xdotool, with CORVENDI_STUDIO_TIMING set,
and prints, for each kind of work, the fastest, the median and the slowest of its figures:
start to the first page drawn (on the example), a click entering a note to the end of the draw
handler that shows it, and scroll and zoom redraws (on the big score). Timings taken on a busy
machine say little: the load average is printed with them.
"""
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
    print(f"load average {load}; {RUNS} start-ups; milliseconds: fastest, median, slowest (count)")
    for what, values in results.items():
        if values:
            print(f"  {what:<62} {min(values):7.2f} {statistics.median(values):7.2f} "
                  f"{max(values):7.2f} ({len(values)})")
    shutil.rmtree(FOLDER, ignore_errors=True)


main()
