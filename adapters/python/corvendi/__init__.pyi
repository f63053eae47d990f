"""Type stubs of the corvendi package: the engine's host API for Python scripts."""
import enum
import os
from typing import (Any, Callable, ClassVar, ContextManager, Dict, Iterable, Iterator, List,
                    Mapping, Optional, Tuple, Union, overload)

__version__: str

# --- enumerations (the engine's names and values) ---------------------------------------------

class ClefTypes(enum.IntEnum):
    clfPercussion = 0
    clfTreble = 1
    clfBass = 2
    clfGrand = 3
    clfAlto = 4
    clfTenor = 5

class DialogTypes(enum.IntEnum):
    dlgScoreProperties = 0
    dlgStaffProperties = 1
    dlgMeasureProperties = 3

class DynamicTypes(enum.IntEnum):
    dynPPP = 184
    dynPP = 185
    dynP = 112
    dynMP = 80
    dynMF = 70
    dynF = 102
    dynFF = 196
    dynFFF = 236

class EventTypes(enum.IntEnum):
    evtTimeChange = 1
    evtKeyChange = 2
    evtRepeatBegin = 3
    evtRepeatEnd = 4
    evtSectionDefine = 5
    evtSectionGo = 6
    evtClefChange = 7
    evtSectionEnd = 8
    evtScoreEnd = 9
    evtChord = 10
    evtTie = 11
    evtLineEnd = 12
    evtMeasureSize = 13
    evtLyric = 14
    evtDynamic = 15
    evtTempo = 16
    evtStaffSpace = 17
    evtText = 18
    evtPlayBack = 19

class FileFormats(enum.IntEnum):
    fmtQuavrix = 0
    fmtMIDI = 1

class GroupTypes(enum.IntEnum):
    grpSolo = 0
    grpWind = 1
    grpBrass = 2
    grpPercussion = 3
    grpPiano = 4
    grpString = 5

class InstrumentCategories(enum.IntEnum):
    catSolo = 0
    catVocal = 1
    catWind = 2
    catReed = 3
    catBrass = 4
    catString = 5
    catGuitar = 6
    catPercussion = 7
    catGrand = 8
    catDrums = 9

class MeasurementUnits(enum.IntEnum):
    uomInches = 0
    uomMM = 1
    uomTwips = 2

class MIDITypes(enum.IntEnum):
    midNoOp = 0
    midAtTime = 64
    midChannelAfterTouch = 208
    midControlChange = 176
    midKeyAfterTouch = 160
    midMetaEvent = 255
    midNoteOff = 128
    midNoteOn = 144
    midPitchChange = 224
    midProgramChange = 192

class NoteDurations(enum.IntEnum):
    durSixtyFourth = 1
    durThirtySecond = 2
    durSixteenth = 4
    durEighth = 8
    durQuarter = 16
    durHalf = 32
    durWhole = 64

class NoteFlags(enum.IntFlag):
    nteDot = 1
    nteDouble = 2
    nteStacato = 4
    nteAccent = 8
    nteForceUp = 16
    nteForceDown = 32
    nteGrace = 48
    nteBowUp = 64
    nteBowDown = 128
    nteTriplet = 256
    nteTrill = 512
    nteFermata = 1024
    nteAccent2 = 2048
    nteTurn = 4096
    nteMordent = 8192
    nteHalfMordent = 16384

class OrnamentTypes(enum.IntFlag):
    ornBowUp = 1
    ornBowDown = 2
    ornTrill = 4
    ornAccent = 8
    ornFermata = 16
    ornStacato = 32
    ornAccent2 = 64
    ornTurn = 128
    ornMordent = 256
    ornHalfMordent = 512

class PageMargins(enum.IntEnum):
    marTop = 0
    marBottom = 1
    marLeft = 2
    marRight = 3

class PageNumTypes(enum.IntEnum):
    pgnNoPageNumbers = 0
    pgnNoPageOne = 1
    pgnAllPages = 2

class PageOrient(enum.IntEnum):
    pgePortrait = 0
    pgeLandscape = 1

class PageSizes(enum.IntEnum):
    pgsLeter = 0
    pgsLegal = 1
    pgsExecutive = 2
    pgsA4 = 3
    pgsA5 = 4
    pgsCustom = 5

class ScoreFonts(enum.IntEnum):
    fntTitle = 0
    fntSubTitle = 1
    fntHeader = 2
    fntComposer = 3
    fntCopyright = 4

class SectionTypes(enum.IntFlag):
    sctEnding1 = 1
    sctEnding2 = 2
    sctEnding = 3
    sctCoda = 4
    sctSegundo = 8
    sctToCoda = 16
    sctToSegundo = 32
    sctRepeatMeasure = 64
    sctPickup = 128
    sct8va = 256
    sct8vb = 512

class StaffFlags(enum.IntFlag):
    stfShowStaffDesc = 1
    stfShowInstrumentDesc = 2
    stfPrintDynamics = 4
    stfTranscribeKey = 8
    stfEnforceRange = 16

class StemTypes(enum.IntEnum):
    stmForceUp = 1
    stmForceDown = 2
    stmReverse = 3
    stmClearProp = 4
    stmPropDot = 5
    stmPropNoDot = 6
    stmPropTrip = 7
    stmPropNoTrip = 8

class TempoMarks(enum.IntEnum):
    tmpRitardando = 1
    tmpRitenuto = 2
    tmpRallentando = 3
    tmpAccelerando = 4
    tmpDioppioMovimento = 5
    tmpATempo = 6
    tmpTempoPrimo = 7
    tmpLungaPausa = 8

# --- errors ----------------------------------------------------------------------------------
class Error(Exception):
    """An engine error: `id` is its stable dotted identifier, `message` the text."""
    id: str
    message: str
    def __init__(self, id: str, message: str) -> None: ...

class FileError(Error): ...
class RenderError(Error): ...
class PrintError(Error): ...
class DialogError(Error): ...

# --- the headless session ---------------------------------------------------------------------
def open(path: Union[str, os.PathLike[str]], dpi: Optional[int] = None) -> Score:
    """A score read from a file, laid out and paginated for a screen of `dpi` pixels per inch;
    raises FileError ("file.open")."""
def new(dpi: Optional[int] = None) -> Score:
    """A new default score (one staff in common time), laid out and paginated."""
def platform() -> Platform:
    """The calling thread's platform."""
def create_chord_mapper() -> ChordMapper:
    """The chord mapper a new score uses."""
def set_dialog_presenter(presenter: Union[None, DialogPresenter, Callable[[Dialog], Any]]) -> None:
    """Shows every dialog the engine opens; None cancels every dialog."""
def answering(answers: Union[None, Mapping[str, Any], Iterable[Tuple[str, Any]]] = None,
              button: str = "cmdOk", form: str = "") -> ContextManager[ScriptedPresenter]:
    """Answers the next dialog opened inside the block; raises DialogError ("dialog.answer")."""

# --- classes ----------------------------------------------------------------------------------
class ChordMapper:
    """Names and draws chord symbols; chords are listed 0-based."""
    def chord_code(self, index: int) -> int: ...
    chord_count: int
    def chord_name(self, index: int) -> str: ...
    data_folder: os.PathLike[str]
    diagram_row_height: int
    def load(self) -> bool: ...
    name_row_height: int

class ControlKind:
    Label: ClassVar[ControlKind]
    Frame: ClassVar[ControlKind]
    TextBox: ClassVar[ControlKind]
    UpDown: ClassVar[ControlKind]
    Option: ClassVar[ControlKind]
    CheckBox: ClassVar[ControlKind]
    List: ClassVar[ControlKind]
    Button: ClassVar[ControlKind]
    Tabs: ClassVar[ControlKind]
    Picture: ClassVar[ControlKind]
    def __eq__(self, other: object) -> bool: ...
    def __init__(self, value: int) -> None: ...
    name: str
    value: int

class DeleteMeasureDialog(Dialog):
    def __init__(self) -> None: ...
    def init(self, score: Score) -> None: ...
    measure_number: int
    quantity: int
    def set_measure(self, number: int) -> None: ...

class DeleteStaffDialog(Dialog):
    def __init__(self) -> None: ...
    first_staff: int
    def init(self, score: Score) -> None: ...
    quantity: int

class Dialog:
    """A modal dialog as a model. Actions name a control by its name, its caption or the caption of the label before it; they return False and change nothing on a missing, unsuitable or disabled control."""
    beeps: int
    def click(self, control: str) -> bool: ...
    def close_by_frame(self) -> None: ...
    left: int  # the form's place and size in twips
    top: int
    width: int
    height: int
    def move(self, left: int, top: int) -> None: ...
    controls: List[DialogControl]
    def find(self, key: str) -> Optional[DialogControl]: ...
    def focus(self, control: str) -> bool: ...
    form_name: str
    is_open: bool
    def key_press(self, control: str, key: int) -> bool: ...
    def leave(self, control: str) -> bool: ...
    def mouse_down(self, control: str) -> bool: ...
    def mouse_up(self, control: str) -> bool: ...
    result: int
    def select_item(self, control: str, index: int) -> bool: ...
    def set_text(self, control: str, text: str) -> bool: ...
    def spin_down(self, control: str) -> bool: ...
    def spin_up(self, control: str) -> bool: ...
    title: str
    def type_text(self, control: str, text: str) -> bool: ...

class DialogAnswer:
    """Prepared answers for one dialog."""
    def __init__(self, form: str = "", values: List[Tuple[str, str]] = [], button: str = "cmdOk") -> None: ...
    button: str
    form: str
    @staticmethod
    def parse(text: str) -> Optional[DialogAnswer]: """"txtQuant=2; or After; Ok" as an answer; None without a closing button."""
    values: List[Tuple[str, str]]

class DialogControl:
    """One control of a dialog, as the form holds it."""
    buddy: str
    caption: str
    enabled: bool
    frame: str
    group: str
    items: List[ListItem]
    kind: ControlKind
    label: str
    list_index: int
    locked: bool
    max: int
    min: int
    name: str
    position: int
    tab: str
    text: str
    value: bool
    visible: bool

class ScorePropertiesDialog(Dialog):
    def __init__(self) -> None: ...
    def init(self, score: Score) -> None: ...
    dirty: bool
    def working_font(self, index: int) -> Font: """A copy of title font 0..4 as the dialog holds it."""

class StaffPropertiesDialog(Dialog):
    def __init__(self) -> None: ...
    def init(self, score: Score) -> None: ...
    dirty: bool

class MeasurePropertiesDialog(Dialog):
    def __init__(self) -> None: ...
    def init(self, score: Score) -> None: ...
    measure_number: int
    start_time: int
    dirty: bool

class DialogPresenter:
    """Shows dialogs: derive and define present(dialog), which acts on the dialog until it is closed. Without present(), every dialog is cancelled."""
    def __init__(self) -> None: ...
    def present(self, dialog: Dialog) -> None: ...
    def choose_font(self, font: Font) -> bool:
        """A dialog's Font button: change the font and return True, or return False."""

class Font:
    """One of the score's seven fonts."""
    def __init__(self, name: str = "Arial", size: float = 10.0, bold: bool = False, italic: bool = False) -> None: ...
    bold: bool
    italic: bool
    name: str
    size: float
    underline: bool

class GlobalEvent:
    """One score-wide timed event."""
    event_time: int
    event_type: int
    index: int
    text: str
    value1: int
    value2: int

class GlobalEvents:
    """Score-wide timed events in time order. As a sequence: the events other than time signatures (time_item gives those)."""
    @overload
    def __getitem__(self, index: int) -> GlobalEvent: ...
    @overload
    def __getitem__(self, index: slice) -> List[GlobalEvent]: ...
    def __init__(self) -> None: ...
    def __iter__(self) -> Iterator[GlobalEvent]: ...
    def __len__(self) -> int: ...
    def add(self, at_time: int, event_type: int, value1: int = 0, value2: int = 0, text: str = "") -> GlobalEvent: ...
    def by_index(self, index: int) -> Optional[GlobalEvent]: ...
    def clear(self) -> None: ...
    count: int
    def cur_time_val(self, at_time: int) -> int: ...
    dft_time_val: int
    def find(self, at_time: int, event_type: int, exact: bool = False, high_ix: int = 0) -> Optional[GlobalEvent]: ...
    def item(self, at_time: int, event_type: int) -> Optional[GlobalEvent]: ...
    def measure_info(self, at_time: int) -> Tuple[int, int]: """(number, duration) of the measure at_time lies in."""
    def measure_time(self, mes_no: int) -> int: ...
    pulse_value: int
    def remove(self, at_time: int, event_type: int) -> None: ...
    def set_item(self, at_time: int, event_type: int, event: GlobalEvent) -> None: ...
    def time_item(self, index: int) -> Optional[GlobalEvent]: ...
    time_item_count: int

class InsertMeasureDialog(Dialog):
    def __init__(self) -> None: ...
    after: bool
    def init(self, score: Score) -> None: ...
    measure_number: int
    quantity: int
    def set_after(self, after: bool) -> None: ...
    def set_measure(self, number: int) -> None: ...

class InsertStaffDialog(Dialog):
    def __init__(self) -> None: ...
    clef: Optional[int]
    def init(self, score: Score) -> None: ...
    instrument: Optional[int]
    position: int
    quantity: int
    voices: int

class Instrument:
    """The sound and notation profile a voice plays with."""
    category: int
    channel: int
    default_clef: int
    description: str
    def drum_code(self, index: int) -> int: ...
    def drum_value(self, index: int) -> int: ...
    group: int
    id: str
    offset: int
    pitch: int
    range: Optional[Range]
    def set_drum_code(self, index: int, value: int) -> None: ...
    def set_drum_value(self, index: int, value: int) -> None: ...
    value: int

class Instruments:
    """The instruments a score uses (at most 16)."""
    @overload
    def __getitem__(self, index: int) -> Instrument: ...
    @overload
    def __getitem__(self, index: slice) -> List[Instrument]: ...
    def __iter__(self) -> Iterator[Instrument]: ...
    def __len__(self) -> int: ...
    def add(self, id: str, value: int) -> Optional[Instrument]: """An instrument from catalogue entry value (0..174); None when it cannot be made."""
    def clear(self) -> None: ...
    count: int
    @overload
    def item(*args, **kwargs) -> Optional[None]: ...
    @overload
    def item(self, index: int) -> Optional[Instrument]: ...
    @overload
    def item(self, id: str) -> Optional[Instrument]: ...
    def new_id(self) -> str: ...
    @overload
    def remove(*args, **kwargs) -> None: ...
    @overload
    def remove(self, index: int) -> None: ...
    @overload
    def remove(self, id: str) -> None: ...

class ListItem:
    data: int
    text: str

class MIDIEvent:
    """One MIDI event of the event stream."""
    def __eq__(self, arg0: MIDIEvent) -> bool: ...
    def __init__(self) -> None: ...
    channel: int
    event_time: int
    event_type: int
    text: bytes
    def value(self, index: int) -> int: """0: key or program; 1: velocity; others 0."""

class Note:
    """One rhythmic event of a voice: a note, a chord (several pitches, one duration) or a rest."""
    def add_value(self, value: int) -> int: """Adds a pitch, keeping ascending order; its index, or -1 for a full chord."""
    duration: int
    flags: int
    multi_voice: bool
    note_time: int
    def remove_value(self, value: int) -> bool: ...
    def set_single_value(self) -> None: """Keeps only the first value."""
    def set_value(self, index: int, value: int) -> None: """Stores value AND 127 at an existing index; the order is not restored."""
    up: bool
    def value(self, index: int) -> int: """Pitch at 0-based index; 0 outside."""
    value_count: int
    values: tuple
    x: int
    y: int

class Notes:
    """The notes of one voice in time order, at most one per time."""
    @overload
    def __getitem__(self, index: int) -> Note: ...
    @overload
    def __getitem__(self, index: slice) -> List[Note]: ...
    def __init__(self) -> None: ...
    def __iter__(self) -> Iterator[Note]: ...
    def __len__(self) -> int: ...
    def add(self, at_time: int, value: int, duration: int, flags: int = 0) -> Note:
        """Adds a pitch to the note at at_time (made when missing); shortens the previous note to end there."""
    def by_index(self, index: int) -> Optional[Note]: """1-based; None outside."""
    count: int
    def item(self, at_time: int, le: bool = False, lt: bool = False) -> Optional[Note]:
        """The note at at_time, else the next; with le the last at or before; with lt the last before."""
    def next_item(self) -> Optional[Note]: ...
    def prev_item(self) -> Optional[Note]: ...
    def remove(self, at_time: int) -> None: ...
    def remove_range(self, from_time: int, to_time: int) -> None: """Removes [from_time, to_time) and moves later notes back."""

class Platform:
    """The thread's headless platform: clock, screen, folders, timers, dialogs."""
    app_folder: str
    def clear_messages(self) -> None: ...
    def clear_clipboard(self) -> None: ...
    clipboard_text: str  # the thread's clipboard, shared by its scores
    messages: List[Tuple[str, str]]  # the message boxes shown, as (text, title)
    def process_pending_events(self) -> bool: ...
    def set_fixed_time(self, time: Optional[Tuple[int, int, int]]) -> None: """(hour, minute, second) makes new identifiers reproducible; None: the local clock."""
    def set_twips_per_pixel(self, x: int, y: int) -> None: ...
    twips_per_pixel_x: int
    twips_per_pixel_y: int
    virtual_time_ms: int

class Range:
    """A low/high pair of 32-bit values."""
    high: int
    low: int

class Region:
    """A hit region of the drawn page: the band of one staff in one system (twips)."""
    bottom: int
    def contains(self, x: float, y: float) -> bool: ...
    first: bool
    inc_y: int
    index: int
    left: int
    def measure(self, i: int) -> Optional[Range]: """Measure i (0-based): low = width in twips, high = start time; None outside."""
    def measure_flag(self, i: int) -> int: ...
    def measure_pad(self, i: int) -> int: ...
    measures: int
    pad_bottom: int
    pad_top: int
    right: int
    split: bool
    staff: int
    time: int
    top: int

class Score:
    """The root of a document. Score() is empty: call create_default() or open_file(), or use corvendi.new() / corvendi.open()."""
    def __init__(self) -> None: ...
    def add_global_by_hit(self, x: int, y: int, event_type: int, sub_type: int = 0, text: str = "") -> None: ...
    def add_lyric(self, at_time: int, text: str) -> bool: ...
    def add_measure(self, index: Union[None, int, str] = None, after_it: bool = False, prompt: bool = False) -> None: ...
    def add_note(self, voice: int, time: int, value: int, duration: int, flags: int = 0) -> Note: """Adds a note to voice 1..all_voices count; no undo step, no repaint."""
    def add_note_by_hit(self, x: int, y: int, duration: int, flags: int = 0, snap: int = 0) -> None: ...
    def add_ornament_by_hit(self, x: int, y: int, ornament: int) -> None: ...
    def add_staff(self, index: Optional[int] = None, prompt: bool = False) -> Optional[Staff]: ...
    all_globals: GlobalEvents
    all_instruments: Instruments
    all_staffs: Staffs
    all_voices: Voices
    arranged_by: str
    beat: int
    can_undo: bool
    can_redo: bool
    def undo(self) -> None: """Takes the newest step of the score's history back."""
    def redo(self) -> None: """Makes the step taken back last again."""
    undo_depth: int  # steps each score of the thread keeps, 1..1,000
    def clear_selection(self) -> None: """Empties the selection (no event)."""
    def set_selection(self, left: int, top: int, right: int, bottom: int) -> int:
        """Selects the active voice's notes drawn between left and right in the staff bands the rectangle touches (twips); returns sel_count."""
    def put_clipboard(self, is_move: bool = False) -> int:
        """Copies (with is_move: cuts) the selected notes to the platform's clipboard; returns their number."""
    def get_clipboard(self, clear: bool = False) -> None:
        """Pastes copied notes into the active voice of the selected staff, at the selected measure."""
    capo: int
    def change_last(self, value: int, alignment: bool = False) -> bool: ...
    def change_sel(self, new_dur: int = 0, new_value: int = 0, stem_dir: int = 0, ornaments: int = 0, delete: bool = False, tie: bool = False) -> int: ...
    changed: bool
    chord_mapper: ChordMapper
    composer: str
    def copyright(self, index: Union[None, int, str] = None) -> str: """Copyright line 0 or 1; a missing or non-numeric index is 0, others are clamped."""
    count: int
    def create_default(self) -> None: """One staff "New" in common time."""
    cur_page: int
    cur_time: int
    def del_measure(self, index: Union[None, int, str] = None, prompt: bool = False) -> None: ...
    def del_note(self, at_time: int, voice: int = 0, staff: int = 0) -> None: ...
    def del_staff(self, index: Optional[int] = None, prompt: bool = False) -> None: ...
    def detach_window(self) -> None: ...
    drum_ix: int
    dyn_adjust: int
    events: Optional[ScoreEvents]
    file_name: str
    file_title: str
    file_type: int
    def first_active_xy(self) -> Optional[Tuple[int, int, int, str]]: """(time, x, y, lyric) of the lyric cursor's first note, or None."""
    def fonts(self, index: int) -> Optional[Font]: """Font 0..6; None otherwise."""
    get_async: bool
    def get_midi_event(self, start_time: Optional[int] = None) -> Optional[MIDIEvent]: """The next event of the stream (None when exhausted); start_time restarts it."""
    def get_note_value_by_hit(self, x: int, y: int) -> int: ...
    handles: bool
    has_window: bool
    heading: str
    high_time: int
    def hit_test(self, x: float, y: float, set_ix: bool = False) -> bool: ...
    def in_region(self, x: int, y: int) -> Optional[Region]: ...
    def ins_desc(self, ins_code: int) -> str: ...
    key: int
    last_page: int
    def load_chord_list(self) -> List[Tuple[str, int]]: """The chord mapper's chords as (name, code) pairs."""
    lyric: str
    def margins(self, margin: int) -> float: """Inches, by PageMargins."""
    def measure_flags(self, at_time: int) -> int: ...
    metronome: bool
    minor: bool
    def next_active_xy(self) -> Optional[Tuple[int, int, int, str]]: ...
    number_measures: bool
    number_measures_by: int
    number_pos: int
    def on_note(self, x: int, y: int) -> Optional[Tuple[int, int]]: """(time, duration) of the note at the point, or None."""
    def open_file(self, path: str) -> bool: """Loads a score or MIDI file; False (with a message box) when it cannot."""
    page_height: float
    page_nums: int
    page_orientation: int
    page_size: int
    page_width: float
    def paint_window(self) -> None: """Draws the current page on the window."""
    def paginate(self) -> int:
        """Attaches a page window when the score has none and lets pagination run to its end; returns last_page."""
    paginating: bool
    play_file: str
    play_position: int
    def play_score(self, stop_play: bool = False, send_events: bool = False, from_time: int = 0) -> None: ...
    playing: bool
    def prev_active_xy(self) -> Optional[Tuple[int, int, int, str]]: ...
    printing: bool
    redraw: bool
    def regions(self) -> List[Region]: """The hit regions of the current page, top to bottom."""
    def reload(self) -> None: ...
    def remove_global_event(self, at_time: int, event_type: int) -> None: ...
    reverse_even_odd: bool
    def save_file(self, path: str = "", file_type: int = 0) -> bool: ...
    sel_count: int
    selected_measure: int
    def set_selected_measure(self, number: int) -> None: """Makes measure number the active one."""
    selected_staff: Optional[Staff]
    def set_active_by_hit(self, x: int, y: int) -> None: ...
    def set_brace_by_hit(self, x: float, y: float, staffs: int = 2) -> None: ...
    def set_colors(self, color_lines: int, color_bars: int, color_notes: int, color_ties: int, color_chords: int) -> None: ...
    def set_copyright(self, text: str, index: Union[None, int, str] = None) -> None: ...
    def set_fonts(self, index: int, font: Font) -> None: ...
    def set_margins(self, margin: int, inches: float) -> None: ...
    def set_twips_per_pixel(self, x: int, y: int) -> None: """The resolution the score lays out and paints at; also the thread's."""
    sheet_height_tw: int
    sheet_width_tw: int
    def staff(self, index: int) -> Optional[Staff]: """Staff 1..staffs; None otherwise."""
    staff_height: float
    staff_space: float
    staffs: int
    sub_title: str
    system_space: float
    def text_offset_by_pos(self, x: int, y: int) -> Tuple[int, int, int]: """(offset1, offset2, inc) of a text placed at the point."""
    def text_pos_by_offset(self, y: int, offset1: int, offset2: int, inc: int, use_active: bool = False) -> int: ...
    title: str
    def twips_to_pixels_x(self, value: int) -> int: ...
    def twips_to_pixels_y(self, value: int) -> int: ...
    uom: int
    use_capo: bool
    use_chord_maps: bool
    use_chords: bool
    verse: int
    voice: int
    def write_play_file(self) -> str: ...
    # Added by the package:
    def save(self, path: Union[str, os.PathLike[str]] = "", file_type: Optional[int] = None) -> None:
        """Saves a score file (a MIDI file for .mid/.midi); raises FileError ("file.save")."""
    def render(self, path: Union[str, os.PathLike[str]], pages: Union[None, int, Tuple[int, int]] = None,
               dpi: Optional[int] = None) -> List[str]:
        """PDF, or PNG/SVG one file per page, by the extension, at the score's dpi; returns the
        files written."""
    dpi: int  # pixels per inch of the screen the score lays its pages out for (read-only)
    def to_dict(self) -> Dict[str, Any]: """The whole document as the engine's JSON dump."""
    def notes(self) -> Iterator[Note]: """Every note of every voice, voice by voice in time order."""
    def listen(self, **handlers: Callable[..., Any]) -> ScoreEvents:
        """Attaches a listener calling one function per event (change_notify=..., ...)."""
    def show_dialog(self, dialog: int, answers: Union[None, Mapping[str, Any], Iterable[Tuple[str, Any]]] = None,
                    button: str = "cmdOk") -> None:
        """Opens a property dialog (DialogTypes), answered as `answering` does."""

class ScoreEvents:
    """What a score tells its host. Derive, define the events you need and set it as Score.events."""
    def __init__(self) -> None: ...
    def active_measure(self, number: int) -> None: ...
    def active_staff(self, cur_staff: Optional[Staff]) -> None: ...
    def active_voice(self, number: int) -> None: ...
    def after_open_save(self) -> None: ...
    def before_open_save(self, size: int) -> None: ...
    def change_notify(self, is_changed: bool) -> None: ...
    def go_repeat(self, next_time: int) -> None: ...
    def history_changed(self, can_undo: bool) -> None: ...
    def redo_changed(self, can_redo: bool) -> None: ...
    def load_midi(self, event_obj: Optional[MIDIEvent]) -> None: ...
    def mark_handle(self, h_type: int, y: int) -> None: ...
    def mark_repeat(self, cur_time: int) -> None: ...
    def play_done(self) -> None: ...
    def progress_report(self, position: int) -> None: ...
    def selection_cleared(self) -> None: ...
    def skip_section(self, cur_time: int, next_time: int) -> None: ...
    def window_cleared(self) -> None: ...

class ScriptedPresenter(DialogPresenter):
    """Answers each presented dialog with the next queued answer."""
    def __init__(self) -> None: ...
    pending: int
    presented: List[str]
    problems: List[str]
    def queue(self, answer: DialogAnswer) -> None: ...

class Staff:
    """One staff: up to four voices."""
    def add_voice(self, instrument: Instrument, id: str = "") -> Optional[Voice]: ...
    brace: int
    def clear(self) -> None: ...
    def cur_clef(self, at_time: int) -> int: ...
    def cur_key(self, at_time: int) -> int: ...
    default_clef: int
    description: str
    flags: int
    def force_flag(self, start_time: int, stop_time: int, cur_voice: int) -> int: ...
    global_events: GlobalEvents
    group_id: int
    group_type: int
    id: str
    index: int
    lyric_offset: int
    mute: bool
    def next_change(self, duration: int) -> int: ...
    def same_as_last(self, at_time: int) -> bool: ...
    scale_pct: int
    selected: bool
    def valid_voice(self, id: str) -> bool: ...
    verses: int
    visible: bool
    def voice(self, index: int) -> Optional[Voice]: """Voice 1..voices; None otherwise."""
    voices: int

class Staffs:
    """The score's ordered staffs."""
    @overload
    def __getitem__(self, index: int) -> Staff: ...
    @overload
    def __getitem__(self, index: slice) -> List[Staff]: ...
    def __iter__(self) -> Iterator[Staff]: ...
    def __len__(self) -> int: ...
    count: int
    @overload
    def item(*args, **kwargs) -> Optional[None]: ...
    @overload
    def item(self, index: int) -> Optional[Staff]: ...
    @overload
    def item(self, id: str) -> Optional[Staff]: ...
    def item_count(self, at_time: int, duration: int) -> int: ...
    def key_count(self, at_time: int, duration: int) -> int: ...
    def new_id(self) -> str: ...

class Voice:
    """One line of notes played by one instrument."""
    description: str
    def get_init(self, start_time: int) -> None: ...
    def get_next(self) -> Optional[Note]: ...
    id: str
    instrument: Optional[Instrument]
    instrument_id: str
    notes: Notes
    track: int

class Voices:
    """All voices of a score."""
    @overload
    def __getitem__(self, index: int) -> Voice: ...
    @overload
    def __getitem__(self, index: slice) -> List[Voice]: ...
    def __iter__(self) -> Iterator[Voice]: ...
    def __len__(self) -> int: ...
    def add(self, id: str, instrument: Instrument, description: str) -> Voice: ...
    def clear(self) -> None: ...
    count: int
    @overload
    def item(*args, **kwargs) -> Optional[None]: ...
    @overload
    def item(self, index: int) -> Optional[Voice]: ...
    @overload
    def item(self, id: str) -> Optional[Voice]: ...
    def new_id(self) -> str: ...
    @overload
    def remove(*args, **kwargs) -> None: ...
    @overload
    def remove(self, index: int) -> None: ...
    @overload
    def remove(self, id: str) -> None: ...
