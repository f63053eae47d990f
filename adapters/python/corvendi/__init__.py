"""Corvendi, the music-notation engine, for Python scripts.

A script opens or builds a score, edits it (by position too: ``regions()`` gives the hit
regions of the drawn page), renders it to PDF, PNG or SVG and saves it::

    import corvendi

    score = corvendi.new()
    score.title = "Evening Song"
    for i, pitch in enumerate([60, 62, 64, 65, 67]):
        score.add_note(1, i * corvendi.NoteDurations.durQuarter, pitch,
                       corvendi.NoteDurations.durQuarter)
    score.render("evening.pdf")
    score.save("evening.sco")

Names follow the engine's in snake_case (``AddNoteByHit`` is ``add_note_by_hit``); properties
are attributes; the enumerations keep the engine's member names. Collections are Python
sequences indexed from 0, while the engine's own lookups (``item``, ``by_index``,
``score.staff(i)``, ``staff.voice(i)``) count from 1 as the engine does.
"""

from __future__ import annotations

import contextlib
import enum
import json
import os
from typing import Any, Callable, Iterable, Iterator, Mapping, Optional, Sequence, Tuple, Union

from . import _corvendi
from ._corvendi import *  # noqa: F401,F403  the host API
from ._corvendi import Score, ScoreEvents, DialogPresenter, ScriptedPresenter, DialogAnswer

__version__ = _corvendi.__version__


def _make_enums() -> None:
    for name, (is_flag, members) in _corvendi._enums.items():
        base = enum.IntFlag if is_flag else enum.IntEnum
        globals()[name] = base(name, members, module=__name__)


_make_enums()


# --- errors -----------------------------------------------------------------------------------

class Error(Exception):
    """An engine error: ``id`` is its stable dotted identifier, ``message`` the text."""

    def __init__(self, id: str, message: str) -> None:
        super().__init__(f"[corvendi.{id}] {message}")
        self.id = id
        self.message = message


class FileError(Error):
    """A file could not be opened or saved (ids ``file.open``, ``file.save``)."""


class RenderError(Error):
    """Rendering failed (ids ``render.write``, ``render.pages``, ``render.dpi``,
    ``render.format``)."""


class PrintError(Error):
    """Printing failed (id ``print.device``)."""


class DialogError(Error):
    """Answers for a dialog could not be applied (id ``dialog.answer``)."""


_ERROR_CLASSES = {"file": FileError, "render": RenderError, "print": PrintError,
                  "dialog": DialogError}


def _error_for(id: str, message: str) -> Error:
    return _ERROR_CLASSES.get(id.split(".", 1)[0], Error)(id, message)


# --- the headless session ---------------------------------------------------------------------

def _use_installed_app_folder() -> None:
    # An installed package finds its prefix's application folder unless the user chose one.
    # Through the environment, so that the platform of every thread finds it.
    try:
        from ._installed import APP_FOLDER_FROM_PACKAGE
    except ImportError:
        return
    folder = os.path.normpath(os.path.join(os.path.dirname(__file__), APP_FOLDER_FROM_PACKAGE))
    if os.path.isdir(folder):
        os.environ.setdefault("CORVENDI_HOME", folder)


_use_installed_app_folder()


def _last_message() -> str:
    messages = platform().messages
    return messages[-1][0] if messages else "the file could not be read"


@contextlib.contextmanager
def _resolution(dpi: Optional[int]) -> Iterator[None]:
    # A score lays its pages out for the screen's pixel size of its creation.
    if dpi is None:
        yield
        return
    if dpi < 1 or 1440 % dpi:
        raise RenderError("render.dpi", f"{dpi}: the resolution must divide 1440 evenly")
    thread_platform = platform()
    before = (thread_platform.twips_per_pixel_x, thread_platform.twips_per_pixel_y)
    thread_platform.set_twips_per_pixel(1440 // dpi, 1440 // dpi)
    try:
        yield
    finally:
        thread_platform.set_twips_per_pixel(*before)


def open(path: Union[str, os.PathLike], dpi: Optional[int] = None) -> Score:  # noqa: A001
    """A score read from a score file or a Standard MIDI File, laid out and paginated for a
    screen of ``dpi`` pixels per inch (the platform's, 96, unless told).

    Raises FileError ("file.open") with the engine's message when the file cannot be read.
    """
    path = os.fspath(path)
    platform().clear_messages()
    with _resolution(dpi):
        score = Score()
    if not score.open_file(path):
        raise FileError("file.open", f"{path}: {_last_message()}")
    score.paginate()
    return score


def new(dpi: Optional[int] = None) -> Score:
    """A new default score (one staff in common time), laid out and paginated for a screen of
    ``dpi`` pixels per inch (the platform's, 96, unless told)."""
    with _resolution(dpi):
        score = Score()
    score.create_default()
    score.paginate()
    return score


def _save(self: Score, path: Union[str, os.PathLike] = "", file_type: Optional[int] = None) -> None:
    """Saves as a score file, or a MIDI file for ``.mid``/``.midi`` names or
    ``file_type=FileFormats.fmtMIDI``. Raises FileError ("file.save") when it cannot."""
    path = os.fspath(path)
    if file_type is None:
        is_midi = path.lower().endswith((".mid", ".midi"))
        file_type = 1 if is_midi else (self.file_type if not path else 0)
    if not self.save_file(path, int(file_type)):
        raise FileError("file.save", f"{path or self.file_name}: the score could not be saved")


def _render(self: Score, path: Union[str, os.PathLike],
            pages: Union[None, int, Tuple[int, int]] = None, dpi: Optional[int] = None) -> list:
    """Writes the score as PDF (one file) or as PNG or SVG (``<stem>-<page>.png`` per page),
    chosen by the extension. ``pages`` is one page or a (first, last) pair; None is every
    page. PNG pages have the score's resolution (``score.dpi``, fixed when it was made:
    ``corvendi.open(path, dpi=...)``); ``dpi`` must be that one when given. Returns the files
    written; raises RenderError."""
    if dpi is not None and dpi != self.dpi:
        raise RenderError("render.dpi", f"{dpi}: this score is laid out at {self.dpi} dpi; "
                          f"open or create it with dpi={dpi} to draw at that resolution")
    first = last = None
    if isinstance(pages, int):
        first = pages
    elif pages is not None:
        first, last = pages
    return self._render(os.fspath(path), first, last)


def _to_dict(self: Score) -> dict:
    """The whole document as the engine's JSON dump (``corvendi dump``), as Python objects."""
    return json.loads(self._to_json())


def _notes(self: Score) -> Iterator[Note]:  # noqa: F405
    """Every note of every voice of the score, voice by voice in time order."""
    for voice in self.all_voices:
        yield from voice.notes


# --- events -----------------------------------------------------------------------------------

_EVENT_NAMES = ("active_measure", "active_staff", "active_voice", "after_open_save",
                "before_open_save", "change_notify", "go_repeat", "history_changed", "redo_changed",
                "load_midi",
                "play_done", "mark_handle", "mark_repeat", "progress_report",
                "selection_cleared", "skip_section", "window_cleared")


class _Handlers(ScoreEvents):
    # Every event is defined, each calling its function when one was given.
    def __init__(self, handlers: Mapping[str, Callable[..., Any]]) -> None:
        super().__init__()
        unknown = set(handlers) - set(_EVENT_NAMES)
        if unknown:
            raise TypeError(f"unknown score events: {', '.join(sorted(unknown))}")
        self._handlers = dict(handlers)


def _dispatcher(name: str) -> Callable[..., None]:
    def dispatch(self: _Handlers, *args: Any) -> None:
        handler = self._handlers.get(name)
        if handler is not None:
            handler(*args)
    dispatch.__name__ = name
    return dispatch


for _name in _EVENT_NAMES:
    setattr(_Handlers, _name, _dispatcher(_name))


def _listen(self: Score, **handlers: Callable[..., Any]) -> ScoreEvents:
    """Attaches a listener that calls one function per event:
    ``score.listen(change_notify=print, active_staff=lambda staff: ...)``."""
    listener = _Handlers(handlers)
    self.events = listener
    return listener


# --- dialogs ----------------------------------------------------------------------------------

class _FunctionPresenter(DialogPresenter):
    def __init__(self, present: Callable[[Dialog], Any]) -> None:  # noqa: F405
        super().__init__()
        self._present = present

    def present(self, dialog: Dialog) -> None:  # noqa: F405
        self._present(dialog)


_presenter: Optional[DialogPresenter] = None


def set_dialog_presenter(presenter: Union[None, DialogPresenter, Callable[[Any], Any]]) -> None:
    """Shows every dialog the engine opens: a DialogPresenter, or a function acting on the
    dialog. None goes back to cancelling every dialog."""
    global _presenter
    if presenter is not None and not isinstance(presenter, DialogPresenter):
        presenter = _FunctionPresenter(presenter)
    _presenter = presenter
    platform()._set_dialog_presenter(presenter)


@contextlib.contextmanager
def answering(answers: Union[None, Mapping[str, Any], Iterable[Tuple[str, Any]]] = None,
              button: str = "cmdOk", form: str = "") -> Iterator[ScriptedPresenter]:
    """Answers the next dialog the engine opens inside the block: controls by name
    (``txtTitle(0)``), caption or label, each with its value, then the closing button.
    Raises DialogError ("dialog.answer") when an answer could not be applied."""
    if isinstance(answers, Mapping):
        answers = answers.items()
    values = [(str(key), _answer_text(value)) for key, value in (answers or ())]
    scripted = ScriptedPresenter()
    scripted.queue(DialogAnswer(form, values, button))
    previous = _presenter
    set_dialog_presenter(scripted)
    try:
        yield scripted
    finally:
        set_dialog_presenter(previous)
    if scripted.problems:
        raise DialogError("dialog.answer", "; ".join(scripted.problems))


def _answer_text(value: Any) -> str:
    if isinstance(value, bool):
        return "1" if value else "0"
    return str(value)


def _show_dialog(self: Score, dialog: int,
                 answers: Union[None, Mapping[str, Any], Iterable[Tuple[str, Any]]] = None,
                 button: str = "cmdOk") -> None:
    """Opens a property dialog (DialogTypes) and answers it as ``answering`` does:
    ``score.show_dialog(DialogTypes.dlgScoreProperties, answers={"txtTitle(0)": "Evening"})``.
    Without answers (and with the default button) the current presenter shows it."""
    if answers is None and button == "cmdOk" and _presenter is not None:
        self._show_dialog(int(dialog))
        return
    with answering(answers, button):
        self._show_dialog(int(dialog))


Score.dpi = property(lambda self: self.twips_to_pixels_x(1440),
                     doc="Pixels per inch of the screen the score lays its pages out for.")
Score.save = _save
Score.render = _render
Score.to_dict = _to_dict
Score.notes = _notes
Score.listen = _listen
Score.show_dialog = _show_dialog

__all__ = [name for name in dir(_corvendi) if not name.startswith("_")] + [
    "Error", "FileError", "RenderError", "PrintError", "DialogError", "open", "new",
    "answering", "set_dialog_presenter", *_corvendi._enums.keys()]
