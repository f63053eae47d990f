#!/usr/bin/env python3
"""Prints every event of a Standard MIDI File as read by mido, one per line:
"<track> <absolute tick> <event>", after a first line with the format, division and track count.
Data bytes outside 0..127 make mido refuse the file."""
import sys

import mido

TEXT_EVENTS = ("text", "copyright", "track_name", "instrument_name", "lyrics", "marker",
               "cue_marker")


def describe(msg):
    if msg.type in ("note_on", "note_off"):
        return f"{msg.type} {msg.channel} {msg.note} {msg.velocity}"
    if msg.type == "control_change":
        return f"control {msg.channel} {msg.control} {msg.value}"
    if msg.type == "program_change":
        return f"program {msg.channel} {msg.program}"
    if msg.type == "set_tempo":
        return f"tempo {msg.tempo}"
    if msg.type == "time_signature":
        return f"time_signature {msg.numerator} {msg.denominator}"
    if msg.type in TEXT_EVENTS:
        # Names are "name" in mido, the other texts "text".
        return f"{msg.type} {getattr(msg, 'text', getattr(msg, 'name', ''))}"
    if msg.type == "end_of_track":
        return "end_of_track"
    return f"other {msg.type}"


def main(path):
    midi = mido.MidiFile(path, clip=False)
    print(f"format {midi.type} division {midi.ticks_per_beat} tracks {len(midi.tracks)}")
    for index, track in enumerate(midi.tracks):
        now = 0
        for msg in track:
            now += msg.time
            print(index, now, describe(msg))


if __name__ == "__main__":
    main(sys.argv[1])
