"""The Python module end to end: documents built, edited and compared through the dump."""
import gc
import os
import struct
import subprocess
import sys
import zlib

import pytest

import corvendi
from corvendi import NoteDurations as D, NoteFlags as F



def build_reference_in_python():
    score = corvendi.Score()
    score.create_default()
    score.title = "Evening Song"
    score.composer = "A. Composer"
    score.set_copyright("Public domain", index=1)
    score.key = -2
    score.set_margins(corvendi.PageMargins.marLeft, 1.25)
    score.add_staff()
    score.staff(2).description = "Bass"
    score.staff(2).default_clef = corvendi.ClefTypes.clfBass
    score.all_globals.add(64, corvendi.EventTypes.evtKeyChange, 2)
    for i in range(8):
        score.add_note(1, i * D.durEighth, 60 + i, D.durEighth)
    score.add_note(1, 64, 67, D.durHalf, F.nteDot | F.nteAccent)
    score.add_note(1, 64, 71, D.durHalf, F.nteDot | F.nteAccent)
    score.add_note(2, 0, 48, D.durWhole)
    return score


def test_a_score_built_in_python_equals_the_same_score_built_in_cpp():
    reference = subprocess.run([os.environ["CORVENDI_REFERENCE_SCORE"]], check=True,
                               capture_output=True, text=True).stdout
    assert build_reference_in_python()._to_json() == reference.strip()


def test_collections_are_sequences_and_lookups_stay_one_based():
    score = build_reference_in_python()
    notes = score.staff(1).voice(1).notes
    assert len(notes) == 9
    assert [n.note_time for n in notes[-2:]] == [56, 64]
    assert notes[-1].values == (67, 71)
    assert notes.by_index(1) is notes[0]
    assert [s.description for s in score.all_staffs] == ["New", "Bass"]
    assert len(list(score.notes())) == 10
    with pytest.raises(IndexError):
        score.all_staffs[2]


def test_a_note_held_in_python_outlives_its_voice_and_score():
    score = build_reference_in_python()
    note = score.staff(1).voice(1).notes.item(64)
    score.staff(1).voice(1).notes.remove_range(0, 128)
    del score
    gc.collect()
    assert (note.note_time, note.duration, note.values) == (64, D.durHalf, (67, 71))


def middle_line_point(region, measure=0):
    x = region.left + sum(region.measure(i).low for i in range(measure))
    return x + region.measure_pad(measure) + 30, region.top + region.pad_top + 2 * region.inc_y


def test_a_note_entered_by_position_and_undone_leaves_the_document_as_it_was(example):
    before = example.to_dict()
    x, y = middle_line_point(example.regions()[0], measure=1)
    example.add_note_by_hit(x, y, D.durQuarter)
    example.paginate()
    entered = example.to_dict()
    assert entered != before
    example.undo()
    example.paginate()
    assert example.to_dict() == before
    example.redo()
    example.paginate()
    assert example.to_dict() == entered


def test_events_reach_a_python_listener_and_a_failing_handler_does_not_stop_the_engine():
    class Listener(corvendi.ScoreEvents):
        def __init__(self):
            super().__init__()
            self.seen = []

        def change_notify(self, is_changed):
            self.seen.append(("changed", is_changed))

        def active_staff(self, staff):
            raise RuntimeError("handler failure")

    score = corvendi.Score()
    score.events = Listener()  # held by the score only
    gc.collect()
    raised = []
    with pytest.MonkeyPatch.context() as patch:
        patch.setattr(sys, "unraisablehook", lambda info: raised.append(info.exc_value))
        score.create_default()
    score.title = "Changed"
    assert score.events.seen == [("changed", True)]
    assert [str(e) for e in raised] == ["handler failure"]

    staffs = []
    score.listen(active_staff=staffs.append)
    score.create_default()
    assert [s.index for s in staffs] == [1]


def test_engine_errors_raise_corvendi_error_with_their_id(tmp_path):
    with pytest.raises(corvendi.FileError) as opened:
        corvendi.open(tmp_path / "missing.sco")
    assert opened.value.id == "file.open"
    (tmp_path / "foreign.sco").write_bytes(b"not a score")
    with pytest.raises(corvendi.Error, match="unrecognised format"):
        corvendi.open(tmp_path / "foreign.sco")
    score = corvendi.new()
    with pytest.raises(corvendi.RenderError) as rendered:
        score.render(tmp_path / "page.png", dpi=100)
    assert rendered.value.id == "render.dpi"
    with pytest.raises(corvendi.RenderError) as rendered:
        score.render(tmp_path / "page.png", pages=7)
    assert rendered.value.id == "render.pages"
    with pytest.raises(corvendi.FileError):
        score.save(tmp_path / "no folder" / "x.sco")


def png_pixels(path):
    data = path.read_bytes()
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.append((kind, data[at + 8:at + 8 + length]))
        at += 12 + length
    width = struct.unpack(">I", dict(chunks)[b"IHDR"][:4])[0]
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    return raw, width


def test_a_rendered_png_shows_the_music(example, tmp_path):
    written = example.render(tmp_path / "page.png", pages=1)
    assert written == [str(tmp_path / "page-1.png")]
    raw, width = png_pixels(tmp_path / "page-1.png")
    assert width == example.sheet_width_tw // 15
    assert len(set(raw)) > 2  # not a blank page: paper, ink and their shades
    assert example.has_window and example.regions()
    coarse = corvendi.new(dpi=48)
    coarse.render(tmp_path / "coarse.png")
    assert png_pixels(tmp_path / "coarse-1.png")[1] == coarse.sheet_width_tw // 30
    assert corvendi.platform().twips_per_pixel_x == 15


def test_answers_go_to_the_dialog_an_operation_opens():
    answered, plain = corvendi.new(), corvendi.new()
    for score in (answered, plain):
        score.add_note(1, 0, 60, D.durWhole)
    with corvendi.answering({"txtQuant": 2}) as presenter:
        answered.add_measure(1, prompt=True)
    assert presenter.presented == ["frmCVDInsMes"]
    plain.add_measure(1)
    plain.add_measure(1)
    assert answered.to_dict()["staffs"] == plain.to_dict()["staffs"]
    with pytest.raises(corvendi.DialogError, match="txtNoSuchBox"):
        with corvendi.answering({"txtNoSuchBox": 1}):
            answered.add_measure(1, prompt=True)


def test_a_property_dialog_answered_from_python_is_one_undo_step(example):
    before = example.to_dict()
    example.show_dialog(corvendi.DialogTypes.dlgScoreProperties,
                        answers={"txtTitle(0)": "Night Song"}, button="cmdOk")
    assert example.title == "Night Song"
    example.undo()
    assert example.to_dict() == before
    seen = []
    corvendi.set_dialog_presenter(lambda dialog: (seen.append(dialog.form_name),
                                                  dialog.click("cmdCancel")))
    example.show_dialog(corvendi.DialogTypes.dlgMeasureProperties)
    assert seen == ["frmCVDMeasure"] and example.to_dict() == before


def test_notes_selected_by_a_rectangle_paste_into_another_measure_and_undo_removes_them():
    phrase = [(0, D.durQuarter, (60,)), (D.durQuarter, D.durEighth, (64, 67)),
              (D.durQuarter + D.durEighth, D.durEighth, (62,)), (D.durHalf, D.durHalf, (65,))]

    def score_with(*measure_starts):
        score = corvendi.new()
        for start in measure_starts:
            for time, duration, values in phrase:
                for value in values:
                    score.add_note(1, start + time, value, duration)
        score.paint_window()
        return score

    score = score_with(0)
    first = score.regions()[0]
    bar = first.measure(0).low
    assert score.set_selection(first.left + bar, first.bottom, first.left, first.top) == 4
    assert score.put_clipboard() == 4
    assert corvendi.platform().clipboard_text
    score.set_selected_measure(2)
    before = score.to_dict()["staffs"]
    score.get_clipboard()
    score.paginate()
    assert score.to_dict()["staffs"] == score_with(0, first.measure(1).high).to_dict()["staffs"]
    score.undo()
    score.paginate()
    assert score.to_dict()["staffs"] == before
