"""Writes a C major scale, up and down, as a PDF.

    python3 scale_to_pdf.py [scale.pdf]
"""
import sys

import corvendi
from corvendi import NoteDurations

path = sys.argv[1] if len(sys.argv) > 1 else "scale.pdf"
score = corvendi.new()
score.title = "C Major Scale"
score.composer = "Exercise"
scale = [60, 62, 64, 65, 67, 69, 71, 72]
for i, pitch in enumerate(scale + scale[-2::-1]):
    score.add_note(1, i * NoteDurations.durQuarter, pitch, NoteDurations.durQuarter)
print("wrote", *score.render(path))
