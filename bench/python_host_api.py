"""The Python module's speed goals, timed with timeit beside bench_host_api (Google Benchmark):
iterating all notes of a 250,000-note score, reading note.duration, score.add_note.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_host_api.py
"""
import time
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


def best(statement, number, repeat=5, **names):
    """Seconds per run, the best of `repeat`, in processor time: the machine may be shared,
    and Google Benchmark's CPU column is what this is compared with."""
    timer = timeit.Timer(statement, globals=names, timer=time.process_time)
    return min(timer.repeat(number=number, repeat=repeat)) / number


def main():
    score = quarter_note_score()
    assert iterate_all_notes(score) == STAFFS * NOTES_PER_STAFF * QUARTER
    seconds = best("iterate_all_notes(score)", 1, iterate_all_notes=iterate_all_notes,
                   score=score)
    print(f"iterate all 250,000 notes (reading duration): {seconds:.3f} s")

    note = score.add_note(1, NOTES_PER_STAFF * QUARTER, 60, QUARTER)
    print(f"note.duration: {best('note.duration', 1_000_000, note=note) * 1e9:.0f} ns")

    fresh = corvendi.Score()
    fresh.create_default()
    times = iter(range(0, 10**9, QUARTER))
    per_call = best("add_note(1, next(times), 60, 16)", 200_000, add_note=fresh.add_note,
                    times=times)
    print(f"score.add_note: {per_call * 1e9:.0f} ns")


if __name__ == "__main__":
    main()
