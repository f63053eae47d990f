"""The Python module's speed goals, timed with timeit beside bench_host_api (Google Benchmark):
iterating all notes of a 250,000-note score, reading note.duration, score.add_note.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_host_api.py
"""
import timeit

import corvendi

STAFFS = 16
NOTES_PER_STAFF = 250_000 // STAFFS
QUARTER = corvendi.NoteDurations.durQuarter


def quarter_note_score():
    """250,000 quarter notes on 16 staffs of one voice each, as bench_host_api builds it."""
    score = corvendi.Score()
    score.create_default()
    for _ in range(1, STAFFS):
        score.add_staff()
    for voice in score.all_voices:
        notes = voice.notes
        for i in range(NOTES_PER_STAFF):
            notes.add(i * QUARTER, 48 + i % 24, QUARTER)
    return score


def iterate_all_notes(score):
    total = 0
    for voice in score.all_voices:
        for note in voice.notes:
            total += note.duration
    return total


def best(statement, number, repeat=5):
    return min(timeit.repeat(statement, number=number, repeat=repeat)) / number


def main():
    score = quarter_note_score()
    assert iterate_all_notes(score) == STAFFS * NOTES_PER_STAFF * QUARTER
    seconds = best(lambda: iterate_all_notes(score), number=1)
    print(f"iterate all 250,000 notes (reading duration): {seconds:.3f} s")

    note = score.add_note(1, NOTES_PER_STAFF * QUARTER, 60, QUARTER)
    print(f"note.duration: {best(lambda: note.duration, number=200_000) * 1e9:.0f} ns")

    fresh = corvendi.Score()
    fresh.create_default()
    times = iter(range(0, 10**9, QUARTER))
    print(f"score.add_note: "
          f"{best(lambda: fresh.add_note(1, next(times), 60, QUARTER), number=100_000) * 1e9:.0f} ns")


if __name__ == "__main__":
    main()
