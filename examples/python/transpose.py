"""Transposes every note of a score up a whole tone and saves the result.

    python3 transpose.py IN.sco OUT.sco
"""
import sys

import corvendi

source, target = sys.argv[1], sys.argv[2]
score = corvendi.open(source)
for note in score.notes():
    # Chord tones are stored lowest first: going up keeps that order.
    for i, pitch in enumerate(note.values):
        note.set_value(i, min(pitch + 2, 127))
score.save(target)
print(f"{source}: {sum(1 for _ in score.notes())} notes up a tone in {target}")
