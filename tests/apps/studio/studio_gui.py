#!/usr/bin/python3
"""The studio as a user drives it, under a virtual X server (run by xvfb-run).

    studio_gui.py STUDIO CLI EXAMPLE CHECK

Each CHECK works on copies in a fresh temporary folder. Input goes in with xdotool, pictures come
out with ImageMagick's `import`; what the engine's layout puts on a page comes from the command
line program's PNG of the same page.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

STUDIO, CLI, EXAMPLE, CHECK = sys.argv[1:5]
FOLDER = tempfile.mkdtemp(prefix="studio-")
GREY = (140, 145, 153)  # the view's background around the page


def expect(condition, message):
    if not condition:
        sys.exit(f"{CHECK}: {message}")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def wait_for(what, timeout=10.0):
    end = time.time() + timeout
    while time.time() < end:
        value = what()
        if value:
            return value
        time.sleep(0.1)
    return None


def window_named(name):
    return wait_for(lambda: xdotool("search", "--name", name).split("\n")[0])


class Picture:
    """An image as rows of RGB triples, read through ImageMagick as a binary PPM."""

    def __init__(self, source):
        data = subprocess.run(["convert", source, "-depth", "8", "ppm:-"], check=True,
                              capture_output=True).stdout
        fields = data.split(maxsplit=4)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = fields[4]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def dark(self, x, y):
        return sum(self.at(x, y)) < 3 * 160

    def long_dark_rows(self, x0, x1, y0, y1, length=300):
        """Rows with an unbroken dark run of at least `length` pixels: the staff lines."""
        rows = []
        for y in range(y0, y1):
            run = best = 0
            for x in range(x0, x1):
                run = run + 1 if self.dark(x, y) else 0
                best = max(best, run)
            if best >= length:
                rows.append(y)
        return rows


def start(score):
    # Recent files go to the temporary folder, not the user's list.
    env = dict(os.environ, GSK_RENDERER="cairo", NO_AT_BRIDGE="1", XDG_DATA_HOME=FOLDER)
    process = subprocess.Popen([STUDIO, score], env=env, stderr=subprocess.DEVNULL)
    title = os.path.splitext(os.path.basename(score))[0] + " – Corvendi Studio"
    window = window_named(title)
    expect(window, f"no window titled {title!r}")
    return process, window


def screenshot(name):
    path = os.path.join(FOLDER, name)
    subprocess.run(["import", "-window", "root", path], check=True)
    return Picture(path)


def page_origin(shot):
    """The page's top-left corner on screen: where the grey around it turns white."""
    y = shot.height // 2
    x = next((x for x in range(shot.width - 1) if shot.at(x, y) == GREY and
              shot.at(x + 1, y) == (255, 255, 255)), None)
    if x is None:
        return None
    top = next(t for t in range(shot.height - 1) if shot.at(x + 3, t) == GREY and
               shot.at(x + 3, t + 1) == (255, 255, 255))
    return x + 1, top + 1


def shown_page(name, ready=lambda shot, origin: True):
    """A screenshot once the page is on screen and `ready`, and the page's corner in it."""
    end = time.time() + 10
    while time.time() < end:
        shot = screenshot(name)
        origin = page_origin(shot)
        if origin and ready(shot, origin):
            return shot, origin
        time.sleep(0.2)
    sys.exit(f"{CHECK}: the page never appeared as expected")


def window_right(shot):
    """The right edge of the window: the screen beyond it is black."""
    y = shot.height // 2
    return next(x for x in range(shot.width - 1, 0, -1) if shot.at(x, y) != (0, 0, 0))


def engine_page(score, dpi=96):
    out = os.path.join(FOLDER, "engine.png")
    subprocess.run([CLI, "render", score, "-o", out, "--pages", "1", "--dpi", str(dpi),
                    "--quiet"], check=True)
    return Picture(os.path.join(FOLDER, "engine-1.png"))


def notes(score):
    dump = json.loads(subprocess.run([CLI, "dump", score], check=True, capture_output=True,
                                     text=True).stdout)
    return [note for staff in dump["staffs"] for voice in staff["voices"]
            for note in voice["notes"]]


def copy(source, name):
    target = os.path.join(FOLDER, name)
    shutil.copy(source, target)
    return target


def check_example_page():
    score = copy(EXAMPLE, "example.sco")
    process, _ = start(score)
    try:
        page = engine_page(score)
        expected = []

        def staff_lines(shot, origin):
            """Staff lines within the visible part of the page, in page pixels, as the engine
            has them: down to where the grey left of the page ends."""
            ox, oy = origin
            bottom = next(y for y in range(oy, shot.height) if shot.at(ox - 2, y) != GREY)
            visible = min(page.height, bottom - oy)
            expected[:] = page.long_dark_rows(0, page.width, 0, visible)
            shown = [y - oy for y in shot.long_dark_rows(ox, ox + page.width, oy, oy + visible)]
            return shown == expected

        shot, (ox, oy) = shown_page("studio.png", staff_lines)
        expect(len(expected) >= 10, f"the engine's page shows {len(expected)} staff lines")
        bottom = next(y for y in range(oy, shot.height) if shot.at(ox - 2, y) != GREY)

        # Zoomed in one step (125 %), the lines are 1.25 times as far apart.
        xdotool("mousemove", str(ox + 200), str(oy + 200))
        xdotool("key", "ctrl+plus")
        time.sleep(1.0)
        zoomed = screenshot("zoomed.png")
        rows = zoomed.long_dark_rows(0, window_right(zoomed), oy, bottom, 360)
        gap = expected[1] - expected[0]
        zoomed_gap = rows[1] - rows[0]
        expect(abs(zoomed_gap - gap * 1.25) <= 1,
               f"lines {zoomed_gap} px apart at 125 %, {gap} px at 100 %")
    finally:
        process.kill()


def first_staff(score):
    """The engine's page 1 of a score: the first staff's five line rows and the columns of the
    lines crossing it (the system's start line, then the barlines)."""
    page = engine_page(score)
    lines = page.long_dark_rows(0, page.width, 0, page.height)[:5]
    crossing = [x for x in range(page.width)
                if all(page.dark(x, y) for y in range(lines[0], lines[4] + 1))]
    return lines, [x for i, x in enumerate(crossing) if i == 0 or x - crossing[i - 1] > 3]


def new_score(name):
    score = os.path.join(FOLDER, name)
    subprocess.run([CLI, "new", score], check=True, capture_output=True)
    return score


def check_note_entry_undo():
    score = new_score("melody.sco")
    lines, barlines = first_staff(score)
    click_x = (barlines[0] + barlines[1]) // 2
    process, window = start(score)
    try:
        _, (ox, oy) = shown_page("new.png")

        def click(line):
            xdotool("mousemove", str(ox + click_x), str(oy + lines[line]), "click", "1")
            time.sleep(0.3)

        def saved_values(expected):
            """Every pitch of the saved file, once it is `expected` or after 5 seconds."""
            xdotool("key", "ctrl+s")
            values = lambda: sorted(v for n in notes(score) for v in n["values"])
            wait_for(lambda: values() == expected, 5)
            return values()

        click(0)
        entered = saved_values([77])
        # The top line of a treble staff is F5; measure 1 is ticks 0..63.
        expect(entered == [77] and notes(score)[0]["time"] < 64,
               f"saved {notes(score)}, expected F5 (77) in measure 1")
        # A note on the middle line (B4), taken back; then again, taken back and redone.
        # (Saving empties the history, so each step is saved only at its end.)
        click(2)
        xdotool("key", "ctrl+z")
        expect(saved_values([77]) == [77], "Undo left B4 in the saved file")
        click(2)
        xdotool("key", "ctrl+z")
        xdotool("key", "ctrl+shift+z")
        expect(saved_values([71, 77]) == [71, 77], "Redo did not bring B4 back")
    finally:
        process.kill()


def check_damaged_file():
    score = copy(EXAMPLE, "example.sco")
    damaged = os.path.join(FOLDER, "damaged.sco")
    with open(EXAMPLE, "rb") as f:
        data = f.read()
    with open(damaged, "wb") as f:
        f.write(data[:len(data) // 3] + b"\xff" * 64)
    process, window = start(score)
    try:
        # The window takes keys reliably once its page is on screen; a loaded machine may take
        # a while to show the file chooser.
        shown_page("example.png")
        xdotool("key", "--window", window, "ctrl+o")
        chooser = wait_for(lambda: xdotool("search", "--name", "Open Score").split("\n")[0], 20)
        expect(chooser, "Ctrl+O showed no file chooser")
        time.sleep(0.5)
        xdotool("type", "--delay", "20", damaged)
        time.sleep(0.3)
        xdotool("key", "Return")
        expect(window_named("^Open$"), "no error dialog after opening a damaged file")
        expect(xdotool("getwindowname", window) == "example – Corvendi Studio",
               "the example is no longer the open score")
    finally:
        process.kill()


def check_copy_paste():
    score = new_score("passage.sco")
    lines, barlines = first_staff(score)
    process, window = start(score)
    try:
        _, (ox, oy) = shown_page("new.png")
        width = barlines[1] - barlines[0]
        for x, y in ((barlines[0] + width // 3, lines[0]), (barlines[0] + 2 * width // 3, lines[2])):
            xdotool("mousemove", str(ox + x), str(oy + y), "click", "1")
            time.sleep(0.3)
        xdotool("key", "ctrl+s")
        expect(wait_for(lambda: len(notes(score)) == 2, 5), f"entered: {notes(score)}")
        # Select the whole first system with the select tool and copy it.
        lines, barlines = first_staff(score)
        xdotool("key", "s")
        xdotool("mousemove", str(ox + barlines[0] + 2), str(oy + lines[0] - 20), "mousedown", "1")
        xdotool("mousemove", str(ox + barlines[-1] // 2), str(oy + lines[4]))
        xdotool("mousemove", str(ox + barlines[-1] - 2), str(oy + lines[4] + 20), "mouseup", "1")
        time.sleep(0.3)
        xdotool("key", "ctrl+c")
        # Paste into measure 3, under the mouse.
        xdotool("mousemove", str(ox + (barlines[2] + barlines[3]) // 2), str(oy + lines[2]))
        time.sleep(0.2)
        xdotool("key", "ctrl+v")
        time.sleep(0.5)
        xdotool("key", "ctrl+s")
        expect(wait_for(lambda: len(notes(score)) == 4, 5), f"after pasting: {notes(score)}")
        by_time = sorted((n["time"], n["values"]) for n in notes(score))
        copied = [(t + 128, v) for t, v in by_time[:2]]
        expect(by_time[2:] == copied, f"pasted {by_time[2:]}, copied {by_time[:2]} to measure 3")
    finally:
        process.kill()


def dump(score):
    return json.loads(subprocess.run([CLI, "dump", score], check=True, capture_output=True,
                                     text=True).stdout)


def enter_notes(score, ox, oy, count):
    """`count` quarter notes on the top line of measure 1, saved."""
    lines, barlines = first_staff(score)
    width = barlines[1] - barlines[0]
    for i in range(count):
        x = barlines[0] + (i + 1) * width // (count + 1)
        xdotool("mousemove", str(ox + x), str(oy + lines[0]), "click", "1")
        time.sleep(0.3)
    xdotool("key", "ctrl+s")
    expect(wait_for(lambda: len(notes(score)) == count, 5), f"entered: {notes(score)}")
    return lines, barlines


def choose_mark(window, position):
    """Ctrl+M opens the marks list ("Notes", "Dynamic", "Chord", ...); picks the entry that many
    places below "Notes"."""
    xdotool("key", "--window", window, "ctrl+m")
    time.sleep(0.5)
    xdotool("key", *["Down"] * position, "Return")
    time.sleep(0.3)


def check_dynamic_by_click():
    score = new_score("dynamic.sco")
    lines, barlines = first_staff(score)
    process, window = start(score)
    try:
        _, (ox, oy) = shown_page("new.png")
        choose_mark(window, 1)  # Dynamic (its first value is ppp)
        x = (barlines[1] + barlines[2]) // 2
        xdotool("mousemove", str(ox + x), str(oy + lines[4] + 10), "click", "1")
        time.sleep(0.3)
        xdotool("key", "ctrl+s")
        dynamics = lambda: [e for e in dump(score)["staffs"][0]["globals"] if e["type"] == 15]
        expect(wait_for(dynamics, 5), f"no dynamic in {dump(score)['staffs'][0]['globals']}")
        expect(dynamics()[0]["value1"] == 184 and 64 <= dynamics()[0]["time"] < 128,
               f"expected ppp in measure 2: {dynamics()}")
    finally:
        process.kill()


def check_lyrics():
    score = new_score("lyrics.sco")
    process, window = start(score)
    try:
        _, (ox, oy) = shown_page("new.png")
        enter_notes(score, ox, oy, 2)
        xdotool("key", "--window", window, "ctrl+l")
        time.sleep(0.5)
        xdotool("type", "--delay", "30", "Hel-lo ")
        xdotool("key", "Escape")
        time.sleep(0.3)
        xdotool("key", "ctrl+s")
        text = lambda: json.dumps(dump(score))
        expect(wait_for(lambda: "Hel-" in text() and '"lo"' in text(), 5),
               "the two syllables were not saved")
    finally:
        process.kill()


def open_score_properties(window):
    """Alt+Return opens Score Properties and gives it the keyboard: without a window manager a
    new window takes the keyboard only when told to."""
    xdotool("key", "--window", window, "alt+Return")
    dialog = window_named("^Score Properties$")
    expect(dialog, "no Score Properties dialog")
    time.sleep(0.5)
    xdotool("windowfocus", dialog)
    time.sleep(0.3)


def check_score_properties():
    score = copy(EXAMPLE, "example.sco")
    process, window = start(score)

    def edit_title(text, close_key):
        """Score Properties' Titles tab is the second, the title the first text box after the
        four tabs."""
        open_score_properties(window)
        xdotool("key", "Tab", "space")
        time.sleep(0.5)
        xdotool("key", "Tab", "Tab", "Tab", "Tab", "ctrl+a")
        xdotool("type", "--delay", "20", text)
        xdotool("key", close_key)
        time.sleep(0.5)
        xdotool("windowfocus", window)
        time.sleep(0.3)
        xdotool("key", "ctrl+s")

    try:
        shown_page("example.png")
        edit_title("Morning Song", "Return")
        expect(wait_for(lambda: dump(score)["title"] == "Morning Song", 5),
               f"Ok saved the title {dump(score)['title']!r}")
        edit_title("Noon Song", "Escape")
        time.sleep(1)
        expect(dump(score)["title"] == "Morning Song", "Cancel changed the title")
    finally:
        process.kill()


def check_staff_properties():
    """Score ▸ Staff Properties through the menu bar (no staff selected: the first staff), a new
    description, Ok: the saved file has it."""
    score = copy(EXAMPLE, "example.sco")
    process, window = start(score)
    try:
        shown_page("example.png")
        before = dump(score)["staffs"][0]["description"]
        # The Score menu's title, then its second item, where the studio's layout puts them.
        xdotool("mousemove", "100", "12", "click", "1")
        time.sleep(0.7)
        xdotool("mousemove", "146", "76", "click", "1")
        dialog = window_named("^Staff Properties$")
        expect(dialog, "no Staff Properties dialog")
        time.sleep(0.5)
        xdotool("windowfocus", dialog)
        time.sleep(0.3)
        # The tabs, the index box and its two buttons come before the description box.
        xdotool("key", *["Tab"] * 5, "ctrl+a")
        xdotool("type", "--delay", "20", "Alto Flute")
        xdotool("key", "Return")
        time.sleep(0.5)
        xdotool("windowfocus", window)
        time.sleep(0.3)
        xdotool("key", "ctrl+s")
        saved = lambda: dump(score)["staffs"][0]["description"] == "Alto Flute"
        expect(wait_for(saved, 5),
               f"Ok saved {dump(score)['staffs'][0]['description']!r}, was {before!r}")
    finally:
        process.kill()


def check_chord_fingering():
    """A C chord shown as a guitar diagram; Score Properties ▸ Chords gives C another fingering:
    Ok changes the diagram on the page, Cancel does not, Revert brings the first one back."""
    score = new_score("chords.sco")
    subprocess.run([CLI, "edit", score, "--dialog", "score", "--set", "chkChords(0)=1",
                    "--set", "chkChords(1)=1"], check=True, capture_output=True)
    lines, barlines = first_staff(score)
    process, window = start(score)
    try:
        _, (ox, oy) = shown_page("start.png")
        choose_mark(window, 2)  # Chord (C first)
        x = (barlines[0] + barlines[1]) // 2
        xdotool("mousemove", str(ox + x), str(oy + lines[0]), "click", "1")
        time.sleep(0.3)
        xdotool("key", "ctrl+s")
        chords = lambda: [e for e in dump(score)["globals"] if e["type"] == 10]
        expect(wait_for(chords, 5), "no chord was placed")
        row = (ox + barlines[0], oy, ox + barlines[1], oy + lines[0])

        def diagram(name):
            time.sleep(1.0)
            shot = screenshot(name)
            return [shot.dark(x, y) for y in range(row[1], row[3]) for x in range(row[0], row[2])]

        def fingering(*steps):
            """The Chords tab is the fourth; its fingering box is the fourth control on it, the
            Remove and Revert buttons follow. The dialog is built anew after each step, with the
            first tab focused."""
            open_score_properties(window)
            for keys in [("Tab", "Tab", "Tab", "space"), *steps]:
                xdotool("key", *keys)
                time.sleep(0.5)
            xdotool("windowfocus", window)
            time.sleep(0.3)

        shipped = diagram("shipped.png")
        expect(any(shipped), "no chord diagram above the staff")
        barre = ["Tab"] * 7 + ["ctrl+a", "x", "3", "5", "5", "5", "3"]
        fingering(barre + ["Escape"])
        expect(diagram("cancelled.png") == shipped, "Cancel changed the diagram")
        fingering(barre + ["Return"])
        expect(diagram("barre.png") != shipped, "Ok left the diagram as it was")
        fingering(["Tab"] * 9 + ["space"], ["Tab"] * 7 + ["Return"])
        expect(diagram("reverted.png") == shipped, "Revert did not bring the fingering back")
    finally:
        process.kill()


CHECKS = {"staff_properties": check_staff_properties, "score_properties": check_score_properties, "dynamic_by_click": check_dynamic_by_click, "lyrics": check_lyrics, "copy_paste": check_copy_paste, "example_page": check_example_page, "note_entry_undo": check_note_entry_undo,
          "damaged_file": check_damaged_file, "chord_fingering": check_chord_fingering}
try:
    CHECKS[CHECK]()
finally:
    shutil.rmtree(FOLDER, ignore_errors=True)
