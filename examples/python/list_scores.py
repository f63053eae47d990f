"""Lists the scores of a folder: title, staffs and length in measures.

    python3 list_scores.py [FOLDER]
"""
import pathlib
import sys

import corvendi

folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
for path in sorted(folder.glob("*.sco")) + sorted(folder.glob("*.mid")):
    try:
        score = corvendi.open(path)
    except corvendi.Error:
        print(f"{path.name}: unreadable")
        continue
    has_notes = any(len(voice.notes) for voice in score.all_voices)
    measures = score.all_globals.measure_info(score.high_time)[0] if has_notes else 0
    print(f"{path.name}: {score.title} - {score.staffs} staffs, {measures} measures, "
          f"{score.last_page} pages")
