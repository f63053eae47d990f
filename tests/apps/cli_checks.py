#!/usr/bin/python3
"""End-to-end checks of the corvendi program: every subcommand's exit code and output.

    cli_checks.py PROGRAM EXAMPLE CHECK

Each CHECK runs in a fresh temporary folder and exits non-zero with a message when it fails.
"""
import json
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import xml.dom.minidom

PROGRAM, EXAMPLE, CHECK = sys.argv[1], sys.argv[2], sys.argv[3]


def run(*args, env=None, code=0):
    result = subprocess.run([PROGRAM, *args], capture_output=True, text=True, env=env, timeout=300)
    if result.returncode != code:
        sys.exit(f"corvendi {' '.join(args)}: exit {result.returncode}, expected {code}\n"
                 f"stdout: {result.stdout}\nstderr: {result.stderr}")
    return result


def expect(condition, message):
    if not condition:
        sys.exit(message)


def pdf_info(path):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", out, re.M).group(1))
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+) pts", out, re.M)
    return pages, float(size.group(1)), float(size.group(2))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    expect(head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def midi_file(tracks, header_length=6):
    """A format-1 MIDI file with `tracks` tracks, each holding one quarter note."""
    data = b"MThd" + struct.pack(">I", header_length) + struct.pack(">HHH", 1, tracks, 96)
    data += b"\0" * (header_length - 6) if header_length > 6 else b""
    for track in range(tracks):
        body = b"\x00\xff\x03\x05Track" if track == 0 else (
            b"\x00\x90\x3c\x40\x60\x80\x3c\x40")
        body += b"\x00\xff\x2f\x00"
        data += b"MTrk" + struct.pack(">I", len(body)) + body
    return data


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def dump(path, *extra):
    return json.loads(run("dump", "--fixed-clock", path, *extra).stdout)


def check_help_and_version():
    out = run("--help").stdout
    for command in ("render", "convert", "info", "dump", "new", "demo", "play", "edit",
                    "--soundfont", "--quiet"):
        expect(command in out, f"--help does not mention {command}")
    version = run("--version").stdout
    expect(re.fullmatch(r"corvendi \d+\.\d+\.\d+\n", version), f"--version printed {version!r}")


def check_usage_errors():
    for args in ([], ["bogus"], ["render"], ["convert", "a.sco"], ["info", "a", "b"],
                 ["render", EXAMPLE, "--dpi", "100"], ["render", EXAMPLE, "--pages", "x"],
                 ["render", EXAMPLE, "-o", "out.txt"], ["convert", EXAMPLE, "out.txt"],
                 ["info", EXAMPLE, "--pages", "2"], ["--frobnicate"], ["play", EXAMPLE, "--from", "0"],
                 ["render", EXAMPLE, "--from", "2"], ["info", EXAMPLE, "--soundfont", "a.sf2"]):
        result = run(*args, code=1)
        expect(result.stderr.startswith("corvendi: "), f"{args}: no message: {result.stderr!r}")


def check_unreadable_inputs():
    write("junk.sco", b"this is neither format")
    write("short-header.mid", b"MThd" + struct.pack(">I", 4) + b"\0\1\0\2\0\x60")
    write("one-track.mid", midi_file(1))
    write("no-directory.sco", b"Qx00\x00\x08" + b"\0" * 40)
    write("no-size.sco", b"Qx00\x03\x00" + b"\0" * 40)
    cases = {
        "missing.sco": "No such file or directory",
        "junk.sco": "File contains an unrecognised format.",
        "short-header.mid": "Invalid data encountered loading file.",
        "one-track.mid": "This MIDI file type is not supported.",
        "no-directory.sco": "Invalid data encountered loading file.",
        "no-size.sco": "Invalid data encountered loading file.",
    }
    for name, message in cases.items():
        for command in (["info", name], ["dump", name], ["render", name, "-o", "x.pdf"],
                        ["convert", name, "x.mid"]):
            result = run(*command, code=2)
            expect(f"corvendi: {name}: {message}" in result.stderr,
                   f"{command}: message {result.stderr!r}, expected {message!r}")
    expect(not os.path.exists("x.pdf") and not os.path.exists("x.mid"), "output written for bad input")
    result = run("render", EXAMPLE, "-o", "no/such/folder/out.pdf", code=2)
    expect("out.pdf" in result.stderr, f"no message for an unwritable output: {result.stderr!r}")
    run("convert", EXAMPLE, "no/such/folder/out.sco", code=2)


def check_render_pdf():
    out = run("render", EXAMPLE).stdout
    name = os.path.splitext(os.path.basename(EXAMPLE))[0] + ".pdf"
    expect(os.path.abspath(name) in out, f"render does not say where it wrote: {out!r}")
    pages, width, height = pdf_info(name)
    last = dump(EXAMPLE)["lastPage"]
    expect(pages == last, f"{pages} PDF pages, the score has {last}")
    expect((round(width), round(height)) == (612, 792), f"page size {width} x {height}")
    run("render", EXAMPLE, "-o", "two.pdf", "--pages", "2")
    expect(pdf_info("two.pdf")[0] == 1, "--pages 2 printed another count")
    run("render", EXAMPLE, "-o", "range.pdf", "--pages", "1-9")
    expect(pdf_info("range.pdf")[0] == last, "--pages 1-9 is not clamped to the score")
    for output in ("outside.pdf", "outside.png", "outside.svg"):
        result = run("render", EXAMPLE, "-o", output, "--pages", f"{last + 7}-{last + 10}", code=1)
        expect(f"pages {last + 7}\u2013{last + 10} lie outside 1\u2013{last}" in result.stderr,
               f"{output}: {result.stderr!r}")
    expect(not [f for f in os.listdir(".") if f.startswith("outside")], "written outside the pages")


def check_render_png_and_svg():
    last = dump(EXAMPLE)["lastPage"]
    run("render", EXAMPLE, "-o", "page.png")
    for page in range(1, last + 1):
        expect(png_size(f"page-{page}.png") == (816, 1056), f"page-{page}.png size")
    expect(not os.path.exists(f"page-{last + 1}.png"), "a page too many")
    run("render", EXAMPLE, "-o", "fine.png", "--dpi", "144", "--pages", "1")
    expect(png_size("fine-1.png") == (1224, 1584), "144 dpi size")
    run("render", EXAMPLE, "-o", "page.svg")
    for page in range(1, last + 1):
        document = xml.dom.minidom.parse(f"page-{page}.svg")
        expect(document.documentElement.tagName == "svg", "not an SVG document")


def without_date(path):
    return re.sub(rb"/CreationDate \([^)]*\)", b"", open(path, "rb").read())


def check_folder_mode():
    """Many inputs into a folder: names, a bad file among good ones, outputs as single renders."""
    os.mkdir("other")
    run("convert", EXAMPLE, "song.mid")
    write("song.sco", open(EXAMPLE, "rb").read())
    write("other/song.sco", open(EXAMPLE, "rb").read())
    write("broken.sco", b"this is neither format")
    inputs = ["song.sco", "broken.sco", "song.mid", "other/song.sco"]
    result = run("render", *inputs, "-o", "out/", code=2)
    expect(result.stderr == "corvendi: broken.sco: File contains an unrecognised format.\n",
           f"folder render messages: {result.stderr!r}")
    expect(sorted(os.listdir("out")) == ["song.mid.pdf", "song.pdf", "song.sco.pdf"],
           f"folder render wrote {sorted(os.listdir('out'))}")
    run("render", "song.mid", "-o", "single.pdf")
    expect(without_date("out/song.mid.pdf") == without_date("single.pdf"), "PDF differs")
    for kind in ("png", "svg"):
        run("render", "song.sco", "song.mid", "-o", "out", "--format", kind)
        run("render", "song.mid", "-o", f"single.{kind}")
        for page in range(1, dump(EXAMPLE)["lastPage"] + 1):
            expect(open(f"out/song.mid-{page}.{kind}", "rb").read() ==
                   open(f"single-{page}.{kind}", "rb").read(), f"page {page} of the {kind} differs")
    run("render", "song.sco", "song.mid", "-o", "one.pdf", code=1)
    result = run("convert", *inputs, "-o", "converted/", "--format", "sco", "--fixed-clock", code=2)
    expect(sorted(os.listdir("converted")) == ["song.mid.sco", "song.sco", "song.sco.sco"],
           f"folder convert wrote {sorted(os.listdir('converted'))}")
    run("convert", "song.mid", "single.sco", "--fixed-clock")
    expect(open("converted/song.mid.sco", "rb").read() == open("single.sco", "rb").read(),
           "a converted file differs from a single conversion")


def check_decimal_comma_locale():
    env = dict(os.environ, LC_ALL="de_DE.UTF-8")
    run("render", EXAMPLE, "-o", "de.pdf", env=env)
    run("render", EXAMPLE, "-o", "de.svg", "--pages", "1", env=env)
    svg = open("de-1.svg", encoding="utf-8").read()
    expect(not re.search(r'="[^"]*\d,\d', svg), "an SVG attribute holds a decimal comma")
    expect(re.search(r'="[^"]*\d\.\d', svg), "no decimal point in the SVG")
    pdf = open("de.pdf", "rb").read()
    expect(b"/MediaBox [ 0 0 612 792 ]" in pdf, "PDF page box not written with plain numbers")
    expect(not re.search(rb"\d,\d+ \d", pdf), "decimal comma in the PDF")
    expect(pdf_info("de.pdf")[0] == dump(EXAMPLE)["lastPage"], "PDF pages under de_DE")


def check_dump():
    first = run("dump", "--fixed-clock", EXAMPLE).stdout
    second = run("dump", "--fixed-clock", EXAMPLE).stdout
    expect(first == second, "two dumps differ")
    document = json.loads(first)
    expect(document["title"] == "Evening Song", document["title"])
    voices = [v for s in document["staffs"] for v in s["voices"]]
    notes = sum(len(v["notes"]) for v in voices)
    info = run("info", EXAMPLE).stdout
    expect(f"Notes: {notes}\n" in info, f"info and dump disagree on the notes:\n{info}")
    expect(f"Pages: {document['lastPage']}\n" in info, "info and dump disagree on the pages")
    expect("Staffs: 3\n" in info and "Evening Song" in info, info)


def check_new():
    run("new", "fresh.sco")
    document = dump("fresh.sco")
    expect(document["title"] == "New Score" and len(document["staffs"]) == 1, "new score")
    run("new", "fresh.mid")
    expect(open("fresh.mid", "rb").read(4) == b"MThd", "new MIDI file")


def check_edit():
    run("new", "song.sco")
    run("edit", "song.sco", "--dialog", "score", "--set", "txtTitle(0)=Évening Air",
        "--set", "txtMargin(0)=2cm", "--set", "cmdFont(0)=Serif, 20, bold")
    document = dump("song.sco")
    expect(document["title"] == "Évening Air", f"title {document['title']!r}")
    expect(document["margins"]["top"] == 0.79, f"top margin {document['margins']['top']}")
    expect(document["fonts"][0]["name"] == "Serif", f"title font {document['fonts'][0]}")
    listing = run("edit", "song.sco", "--dialog", "score", "--list").stdout
    expect(re.search(r'txtTitle\(0\)\s+text\s+"Évening Air"', listing), listing)

    before = open("song.sco", "rb").read()
    result = run("edit", "song.sco", "--dialog", "score", "--set", "txtTitle(0)=X",
                 "--set", "txtBogus=1", code=1)
    expect("txtBogus" in result.stderr and "txtMargin(0)" in result.stderr,
           f"an unknown key gave {result.stderr!r}")
    expect(open("song.sco", "rb").read() == before, "an unknown key wrote the file")
    run("convert", "song.sco", "song.mid")
    run("edit", "song.mid", "--dialog", "score", "--set", "txtComposer(0)=Anon", code=1)
    run("edit", "song.mid", "--dialog", "score", "--set", "txtComposer(0)=Anon", "-o", "copy.sco")
    expect(dump("copy.sco")["composer"] == "Anon", "the composer of the MIDI input's copy")


def check_edit_staff_and_measure():
    run("new", "song.sco")
    run("edit", "song.sco", "--dialog", "staff", "1", "--set", "Category=Brass",
        "--set", "Type=Trumpet", "--set", "Height=10", "--set", "txtDescription=Lead")
    staff = dump("song.sco")["staffs"][0]
    expect((staff["description"], staff["scalePct"]) == ("Lead", 25), f"staff {staff}")
    instruments = {i["id"]: i for i in dump("song.sco")["instruments"]}
    played = instruments[staff["voices"][0]["instrument"]]
    expect(played["description"] == "Trumpet", f"the voice plays {played}")

    run("edit", "song.sco", "--dialog", "measure", "3", "--set", "Begin Repeat=1",
        "--set", "optTime(9)=1", "--set", "txtTime(0)=7", "--set", "txtTime(1)=8")
    marks = {(g["time"], g["type"]): g for g in dump("song.sco")["globals"]}
    expect((128, 3) in marks, f"no repeat sign at measure 3: {marks}")
    expect((marks[(128, 1)]["value1"], marks[(128, 1)]["value2"]) == (7, 8), f"time {marks}")
    listing = run("edit", "song.sco", "--dialog", "measure", "3", "--list").stdout
    expect(re.search(r'chkBars\(0\)\s+check\s+"Begin Repeat"\s+1', listing), listing)


def check_demo():
    result = run("demo")
    expect(os.path.exists("demo.pdf") and os.path.exists("demo-1.png"), "demo files")
    expect(os.path.abspath("demo.pdf") in result.stdout, f"demo does not say where: {result.stdout!r}")
    pages = pdf_info("demo.pdf")[0]
    expect(1 <= pages <= 2, f"the example has {pages} pages")
    expect(os.path.exists(f"demo-{pages}.png"), "a PNG for every page")
    expect(result.stderr == "", f"demo wrote to standard error off a terminal: {result.stderr!r}")


def check_audio():
    result = run("render", EXAMPLE, "-o", "song.wav")
    with open("song.wav", "rb") as f:
        head = f.read(12)
    expect(head[:4] == b"RIFF" and head[8:] == b"WAVE", "song.wav is not a WAV file")
    expect(os.path.getsize("song.wav") > 44100 * 4 * 10, "song.wav is shorter than 10 s")
    expect("song.wav" in result.stdout, f"render did not say what it wrote: {result.stdout!r}")

    for command in (["play", EXAMPLE], ["render", EXAMPLE, "-o", "x.wav"]):
        result = run(*command, "--soundfont", "missing.sf2", code=2)
        expect(result.stderr.count("\n") == 1 and "missing.sf2" in result.stderr,
               f"{command}: a missing soundfont gave {result.stderr!r}")
    expect(not os.path.exists("x.wav"), "audio written without a soundfont")
    run("play", EXAMPLE, "--from", "999", code=1)

    # Without a sound card play says so in one line; with one it plays until Ctrl-C.
    player = subprocess.Popen([PROGRAM, "play", EXAMPLE], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
    try:
        out, err = player.communicate(timeout=3)
        expect(player.returncode == 2 and err.count("\n") == 1 and "audio device" in err,
               f"play without a sound card: exit {player.returncode}, {err!r}")
    except subprocess.TimeoutExpired:
        player.send_signal(signal.SIGINT)
        out, err = player.communicate(timeout=10)
        expect(player.returncode == 0 and "stopped at measure" in out,
               f"play stopped by Ctrl-C: exit {player.returncode}, {out!r} {err!r}")


CHECKS = {name[len("check_"):]: f for name, f in globals().items() if name.startswith("check_")}

if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as folder:
        os.chdir(folder)
        CHECKS[CHECK]()
