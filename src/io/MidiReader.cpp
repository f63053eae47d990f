// Imports a Standard MIDI File. The first track carries the score's texts, tempo, time and key
// signatures; every later track becomes a staff whose voice 1 receives the track's notes.
//
// File ticks become ticks as floor(file ticks × 16 / division). A note-off turns its note into
// pieces no longer than the measure each piece starts in, each shown by the nearest note value.
// Each track body is read with one read and parsed from memory; an event that runs past the end
// of its track ends the track. Texts use the conventions the MIDI export writes: a font spec
// after "|" in title texts, the staff dimensions in a cue point starting with "&".
//
// Damaged input is bounded: times beyond what a score file can keep end a track, tracks beyond
// kMaxTracks end the import, and the pieces that cut long notes at measure limits are limited
// per import, so neither time nor memory grows beyond a multiple of the file's size.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/ScoreAccess.h"
#include "io/FileHelpers.h"
#include "io/MidiCodes.h"
#include "io/MidiFiles.h"
#include "io/ScoreFile.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

constexpr const char* kUnsupportedMidiText = "This MIDI file type is not supported.";

constexpr int32_t kNoOpenNote = -1;
constexpr int32_t kMiddleC = 60;
constexpr int32_t kDrumChannel = 9;
constexpr const char* kDrumKitName = "Drum Kit";
// The texts of the first tracks fill these in turn; a text of an empty one still takes its turn.
enum TextSlot : int32_t { kTitleSlot, kSubTitleSlot, kComposerSlot, kArrangerSlot };
constexpr int32_t kKeyCount = 128;
constexpr int32_t kEventsPerProgressReport = 101;
// The latest tick a score file can keep; a track's events beyond it are not read.
constexpr int64_t kLatestTime = 16'777'215;
// Variable-length numbers saturate here: far beyond any time or length a file can use, far
// below overflow.
constexpr int64_t kVarLenCeiling = int64_t{1} << 40;
// Every track after the first makes a staff. Tracks beyond the most that an export of the
// largest score a score file holds (85 staffs of 4 voices) writes end the import.
constexpr int32_t kMaxTracks = 85 * 4 + 1;
// A note longer than its measure is cut into pieces. Pieces after each note's first come from
// two allowances per import: their number (a base plus a few per byte of the file), and the
// notes they push back when they go in before notes added earlier, which is what they cost.
constexpr int64_t kExtraPiecesBase = 65'536;
constexpr int64_t kExtraPiecesPerByte = 8;
constexpr int64_t kPushedNotesAllowance = int64_t{1} << 23;
using namespace midi;

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

// A track body read from the front. A read past its end marks it truncated and gives zeros.
class TrackBytes {
  public:
    explicit TrackBytes(std::string_view body) : mBody(body) {}

    bool AtEnd() const { return mPosition >= mBody.size(); }
    bool Truncated() const { return mTruncated; }
    // 0-based offset of the next byte.
    int32_t Offset() const { return static_cast<int32_t>(mPosition); }

    uint8_t Next() {
        if (AtEnd()) {
            mTruncated = true;
            return 0;
        }
        return Byte(mBody[mPosition++]);
    }

    // Seven bits per byte, most significant first; a byte below 128 ends the number.
    int64_t VarLen() {
        int64_t value = 0;
        uint8_t b = 0;
        do {
            b = Next();
            value = std::min(value * 128 + (b & 127), kVarLenCeiling);
        } while (b >= 128 && !mTruncated);
        return value;
    }

    std::string_view Take(int64_t count) {
        if (count > static_cast<int64_t>(mBody.size() - mPosition)) {
            mTruncated = true;
            mPosition = mBody.size();
            return {};
        }
        const std::string_view taken = mBody.substr(mPosition, static_cast<size_t>(count));
        mPosition += static_cast<size_t>(count);
        return taken;
    }

  private:
    std::string_view mBody;
    size_t mPosition = 0;
    bool mTruncated = false;
};

// The meta-event text conventions: `Before` is the text before the first "|" (a font spec
// follows it), or the whole text without one.
struct MetaText {
    explicit MetaText(std::string_view raw) : Raw(raw), Before(raw.substr(0, raw.find('|'))) {}
    std::string_view Raw;
    std::string_view Before;
};

// A sounding length in ticks as the note value that shows it: a base duration and the flags
// nteDot or nteTriplet.
struct NoteValue {
    int32_t Duration = 0;
    int32_t Flags = 0;
};
NoteValue NoteValueOfLength(int64_t ticks) {
    if (ticks <= 1) return {1, 0};
    if (ticks == 2) return {2, 0};
    if (ticks <= 4) return {4, 0};
    if (ticks == 5) return {8, nteTriplet};
    if (ticks == 6) return {4, nteDot};
    if (ticks <= 8) return {8, 0};
    if (ticks <= 11) return {16, nteTriplet};
    if (ticks <= 14) return {8, nteDot};
    if (ticks <= 16) return {16, 0};
    if (ticks <= 23) return {32, nteTriplet};
    if (ticks <= 30) return {16, nteDot};
    if (ticks <= 32) return {32, 0};
    if (ticks <= 47) return {64, nteTriplet};
    if (ticks <= 63) return {32, nteDot};
    return {64, 0};
}

// Field `field` (1-based) of the "|"-separated fields of `text` that begin at the 1-based
// position `start`, read as a number; `fallback` when the field is missing or not above 0.
// Throws ReadFailure for a value too large for a single.
float FieldValue(std::string_view text, int32_t start, int32_t field, float fallback) {
    if (start < 1) return fallback;
    size_t from = static_cast<size_t>(start - 1);
    for (int32_t skipped = 1; skipped < field && from < text.size(); ++skipped) {
        const size_t bar = text.find('|', from);
        from = bar == std::string_view::npos ? text.size() : bar + 1;
    }
    if (from >= text.size()) return fallback;
    const size_t bar = text.find('|', from);
    const double value = LeadingNumber(
        text.substr(from, bar == std::string_view::npos ? std::string_view::npos : bar - from));
    if (!(value > 0)) return fallback;
    return SingleField(value);
}

int32_t BeatOfDenominatorCode(int32_t code) {
    switch (code) {
        case 1: return 32;
        case 3: return 8;
        case 4: return 4;
        default: return 16;
    }
}

// Bits 2..3 of a marker's fourth character select a clef change.
int32_t ClefOfMarkerBits(int32_t bits) {
    switch (bits) {
        case 4: return clfBass;
        case 8: return clfTenor;
        case 10: return clfPercussion;
        default: return clfTreble;
    }
}

int32_t ClefOfCueNumber(float value) {
    const int32_t number = NInt(value);
    if (number == kCueBass) return clfBass;
    if (number == kCueAlto) return clfAlto;
    if (number == kCueTenor) return clfTenor;
    if (number == kCuePercussion) return clfPercussion;
    if (number == kCueGrand) return clfGrand;
    return clfTreble;
}

// Bass clef for a part most of whose notes lie below middle C, treble otherwise.
int32_t ClefOfRange(const Notes& notes) {
    int64_t below = 0;
    int64_t all = 0;
    for (const auto& note : notes) {
        for (int32_t i = 0; i < note->ValueCount(); ++i) {
            ++all;
            if (note->Value(i) < kMiddleC) ++below;
        }
    }
    return below * 2 > all ? clfBass : clfTreble;
}

std::string LyricText(std::string_view raw) {
    std::string text(raw);
    std::replace(text.begin(), text.end(), '\r', '}');
    std::replace(text.begin(), text.end(), '\n', '~');
    return EngineText(text);
}

class MidiReader {
  public:
    MidiReader(Score& score, FileReader& file) : mScore(score), mFile(file) {
        mOpenNotes.fill(kNoOpenNote);
    }

    bool Read(const std::string& path);

  private:
    bool ReadHeader(int32_t& headerLength);
    bool ReadChunks(const std::string& path, int32_t headerLength);
    void ReadTrack(std::string_view body, int32_t bodyStart, const std::string& path);
    void StartTrack(const std::string& path);
    void FinishTrack();
    void GiveTrackItsInstrument();
    void RemoveUnusedInstruments();
    void SetHighNoteTimeToLastNote();
    void FinishImport();

    bool ReadEvent(TrackBytes& bytes);
    bool ReadChannelEvent(uint8_t first, TrackBytes& bytes);
    bool ReadMetaEvent(TrackBytes& bytes);

    void NoteOff(int32_t key);
    int64_t NotesAfter(int32_t atTime);
    int32_t MeasureLimit(int32_t atTime);

    void MetaEvent(int32_t type, std::string_view raw);
    void TextEvent(const MetaText& text);
    void CopyrightEvent(const MetaText& text);
    void NameEvent(std::string_view raw);
    void MarkerEvent(std::string_view raw);
    void SymbolMarker(std::string_view raw);
    void CuePointEvent(std::string_view raw);
    void TempoEvent(std::string_view raw);
    void TimeSignatureEvent(int32_t numerator, int32_t denominatorCode);
    void KeySignatureEvent(uint8_t sharps, uint8_t mode);
    void MoveSnapPosition();
    void AddScoreEventUnlessPresent(int32_t eventType);

    bool FirstTrack() const { return mTracksRead == 0; }
    void Progress(int64_t position) const {
        const auto clamped = static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX));
        detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::ProgressReport, clamped);
    }
    // A statement that fails (a font size too large, a number out of range) is skipped.
    template <typename Statement>
    static void Guarded(Statement statement) {
        try {
            statement();
        } catch (const ReadFailure&) {
        }
    }
    void ApplySpec(int32_t fontIndex, std::string_view raw) {
        Guarded([&] { ApplyFontSpec(mScore, fontIndex, EngineText(raw)); });
    }

    Score& mScore;
    FileReader& mFile;
    int32_t mDivision = 0;
    int32_t mTracksRead = 0;
    // Per key: the tick its sounding note started at. One table for the whole import.
    std::array<int32_t, kKeyCount> mOpenNotes{};
    int64_t mExtraPieces = 0;
    int64_t mPushedNotes = kPushedNotesAllowance;
    // Measure lengths by the time signature in force (the score-wide list only grows here).
    std::unordered_map<std::shared_ptr<GlobalEvent>, int32_t> mMeasureLengths;
    bool mKeySeen = false;
    int32_t mRunningStatus = 0;
    int32_t mTextSlot = kTitleSlot;
    // The time signature the first track added last, which a symbol marker may turn into common
    // or cut time.
    std::shared_ptr<GlobalEvent> mLastSignature;
    // The channel each imported part plays on, given back once all instruments are made.
    std::vector<std::pair<std::shared_ptr<Instrument>, int32_t>> mChannels;

    // Per track.
    int64_t mAbsoluteTime = 0;
    int32_t mTime = 0;
    int32_t mSnapPosition = 0;
    int32_t mMeasureLength = 64;
    std::shared_ptr<Staff> mStaff;
    std::shared_ptr<Voice> mVoice;
    std::shared_ptr<Notes> mNotes;
    int32_t mChannel = -1;  // of the track's first channel event
    int32_t mProgram = -1;  // of its first program change
    std::string mInstrumentName;
    bool mClefFromCue = false;
};

bool MidiReader::Read(const std::string& path) {
    int32_t headerLength = 0;
    if (!ReadHeader(headerLength)) return false;
    detail::ScoreAccess::LoadingSet(mScore, true);
    detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::BeforeOpenSave, mFile.FileLen());
    mExtraPieces = kExtraPiecesBase + kExtraPiecesPerByte * mFile.FileLen();
    if (!ReadChunks(path, headerLength) || mTracksRead == 0) {
        detail::ScoreAccess::LoadingSet(mScore, false);
        ShowOpenMessage(kInvalidDataText);
        return false;
    }
    FinishImport();
    return true;
}

// "MThd", the header length, then format, track count and division, 16 bits each.
bool MidiReader::ReadHeader(int32_t& headerLength) {
    mFile.ReadBytes(5, 4);
    headerLength = BytesToLong(mFile.BytesToText(1, 4));
    if (headerLength < 6 || int64_t{headerLength} + 8 > mFile.FileLen()) {
        ShowOpenMessage(kInvalidDataText);
        return false;
    }
    mFile.ReadBytes(9, 6);
    // Only the low byte of the track count is looked at.
    const int32_t tracks = mFile.ByteAt(3);
    mDivision = mFile.ByteAt(4) * 256 + mFile.ByteAt(5);
    if (tracks < 2) {
        ShowOpenMessage(kUnsupportedMidiText);
        return false;
    }
    return true;
}

// False when a chunk runs past the end of the file.
bool MidiReader::ReadChunks(const std::string& path, int32_t headerLength) {
    int64_t position = int64_t{headerLength} + 9;
    while (position < mFile.FileLen()) {
        if (position + 7 > mFile.FileLen()) return false;
        mFile.ReadBytes(static_cast<int32_t>(position), 8);
        const std::string tag = mFile.BytesToText(1, 4);
        const int32_t length = BytesToLong(mFile.BytesToText(5, 4));
        position += 8;
        Progress(position);
        if (tag != "MTrk" || mTracksRead >= kMaxTracks) return true;
        if (position + length - 1 > mFile.FileLen()) return false;
        mFile.ReadBytes(static_cast<int32_t>(position), length);
        const std::string body = mFile.BytesToText(1, length);
        mFile.ReleaseBuffer();
        ReadTrack(body, static_cast<int32_t>(position), path);
        FinishTrack();
        position += length;
    }
    return true;
}

void MidiReader::ReadTrack(std::string_view body, int32_t bodyStart, const std::string& path) {
    StartTrack(path);
    TrackBytes bytes(body);
    int32_t events = 0;
    while (!bytes.AtEnd()) {
        const int32_t offset = bytes.Offset();
        if (!ReadEvent(bytes)) break;
        if (++events % kEventsPerProgressReport == 0) Progress(int64_t{bodyStart} + offset);
    }
    ++mTracksRead;
}

// The first track empties the score; every later one adds a staff in the score's key and
// writes to its voice 1.
void MidiReader::StartTrack(const std::string& path) {
    mAbsoluteTime = 0;
    mTime = 0;
    mSnapPosition = 0;
    mMeasureLength = 64;
    mChannel = -1;
    mProgram = -1;
    mInstrumentName.clear();
    mClefFromCue = false;
    if (FirstTrack()) {
        detail::ScoreAccess::ClearScore(mScore, path);
        mMeasureLengths.clear();
        return;
    }
    const auto staffs = mScore.AllStaffs();
    mStaff = detail::StaffsAccess::Add(*staffs, staffs->NewID(), "");
    mVoice = mStaff ? mStaff->Voice(1) : nullptr;
    mNotes = mVoice ? mVoice->Notes() : nullptr;
    if (!mStaff || !mVoice || !mNotes) {
        mStaff = nullptr;
        return;
    }
    mStaff->GlobalEvents()->Add(0, evtKeyChange, ByteFromKey(mScore.Key()), 0);
}

// A track that made a staff gets an instrument of its own from its channel and first program
// (channel 9 a drum kit on a percussion staff), and a clef: the one a cue point set, else one
// that suits the range of its notes.
void MidiReader::FinishTrack() {
    if (!mStaff) return;
    GiveTrackItsInstrument();
    const bool drums = mChannel == kDrumChannel;
    if (drums) {
        mStaff->SetDefaultClef(clfPercussion);
    } else if (!mClefFromCue) {
        mStaff->SetDefaultClef(ClefOfRange(*mNotes));
    }
    mStaff = nullptr;
}

void MidiReader::GiveTrackItsInstrument() {
    const auto instruments = mScore.AllInstruments();
    const bool drums = mChannel == kDrumChannel;
    const int32_t program = std::max(mProgram, 0);
    // Beyond the instruments a score holds, parts share by program as they always did.
    auto instrument =
        detail::InstrumentsAccess::AddDistinct(*instruments, instruments->NewID(), program);
    if (!instrument) return;
    if (drums) {
        detail::InstrumentAccess::CategorySet(*instrument, catDrums);
        detail::InstrumentAccess::DefaultClefSet(*instrument, clfPercussion);
        detail::InstrumentAccess::DescriptionSet(*instrument, kDrumKitName);
    } else {
        detail::InstrumentAccess::CategorySet(*instrument, CategoryOfProgram(program));
    }
    if (!mInstrumentName.empty()) {
        detail::InstrumentAccess::DescriptionSet(*instrument, mInstrumentName);
    }
    detail::VoiceAccess::SetInstrumentID(*mVoice, instrument->ID());
    mChannels.emplace_back(instrument, std::max(mChannel, 0));
}

// The instruments the staffs were made with before their tracks named their own.
void MidiReader::RemoveUnusedInstruments() {
    const auto instruments = mScore.AllInstruments();
    const auto voices = mScore.AllVoices();
    for (int32_t i = instruments->Count(); i >= 1; --i) {
        const std::string id = instruments->Item(i)->ID();
        const bool used = std::any_of(voices->begin(), voices->end(), [&id](const auto& voice) {
            return voice && voice->InstrumentID() == id;
        });
        if (!used) instruments->Remove(i);
    }
    // Removing renumbers channels; each part gets back the one its track played on.
    for (const auto& [instrument, channel] : mChannels) {
        detail::InstrumentAccess::ChannelSet(*instrument, channel);
    }
}

// The score ends with its last note's start, not with the last event or note-off of a track,
// so that a last note ending where a page ends brings in no empty page after it.
void MidiReader::SetHighNoteTimeToLastNote() {
    int32_t last = 0;
    for (const auto& voice : *mScore.AllVoices()) {
        const auto notes = voice ? voice->Notes() : nullptr;
        if (notes && notes->Count() > 0)
            last = std::max(last, notes->ByIndex(notes->Count())->NoteTime());
    }
    detail::ScoreAccess::HighNoteTimeSet(mScore, last);
}

void MidiReader::FinishImport() {
    if (!mChannels.empty()) RemoveUnusedInstruments();
    SetHighNoteTimeToLastNote();
    detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::AfterOpenSave);
    detail::ScoreAccess::FileTypeSet(mScore, fmtMIDI);
    detail::ScoreAccess::LoadingSet(mScore, false);
}

// --- Events -------------------------------------------------------------------------------------

// One event with its delta time; false when the track ends here.
bool MidiReader::ReadEvent(TrackBytes& bytes) {
    const int64_t delta = bytes.VarLen();
    if (bytes.Truncated() || bytes.AtEnd()) return false;
    mAbsoluteTime = std::min(mAbsoluteTime + delta, kVarLenCeiling);
    // Without a division the time cannot be computed and stays where it was.
    if (mDivision != 0) {
        const int64_t time = mAbsoluteTime * 16 / mDivision;
        if (time > kLatestTime) return false;
        mTime = static_cast<int32_t>(time);
    }

    const uint8_t status = bytes.Next();
    if (status == kMetaStatus) return ReadMetaEvent(bytes);
    if (status == kSysExStatus || status == kSysExContinuation) {
        bytes.Take(bytes.VarLen());
        return !bytes.Truncated();
    }
    // Other system bytes carry no data here.
    if (status > kSysExStatus) return true;
    return ReadChannelEvent(status, bytes);
}

// A status byte (or, below 128, the first data byte under the running status) and its data.
// Events are decoded in every track so that the bytes stay in step; only tracks with a staff
// turn them into notes and instrument settings.
bool MidiReader::ReadChannelEvent(uint8_t first, TrackBytes& bytes) {
    int32_t type = mRunningStatus;
    int32_t channel = -1;
    int32_t data1 = first;
    if (first >= 128) {
        type = first & 240;
        channel = first & 15;
        data1 = bytes.Next();
    }
    int32_t data2 = 0;
    if (type != kProgramChange && type != kChannelPressure) data2 = bytes.Next();
    if (bytes.Truncated()) return false;

    // A program change and a bank select (controller 0) leave the running status as it was.
    if (type != kProgramChange && !(type == kControlChange && data1 == 0)) mRunningStatus = type;
    if (!mStaff) return true;

    if (channel >= 0 && mChannel < 0) mChannel = channel;
    if (type == kNoteOn && data2 == 0) type = kNoteOff;
    if (data1 >= kKeyCount) return true;  // not a key or program number
    if (type == kProgramChange) {
        if (mProgram < 0) mProgram = data1;
    } else if (type == kNoteOn) {
        mOpenNotes[static_cast<size_t>(data1)] = mTime;
    } else if (type == kNoteOff) {
        NoteOff(data1);
    }
    return true;
}

// Ends the note of `key`: pieces no longer than the measure each starts in, added to the voice.
void MidiReader::NoteOff(int32_t key) {
    int32_t& open = mOpenNotes[static_cast<size_t>(key)];
    if (open == kNoOpenNote) return;
    int32_t start = open;
    while (true) {
        const int64_t length = int64_t{mTime} - start;
        const int32_t limit = MeasureLimit(start);
        const int64_t piece = std::min<int64_t>(length, limit);
        const NoteValue value = NoteValueOfLength(piece);
        mNotes->Add(start, static_cast<uint8_t>(key), value.Duration, value.Flags);
        if (length <= limit) break;
        start += limit;
        const int64_t pushed = NotesAfter(start);
        if (mExtraPieces <= 0 || pushed > mPushedNotes) break;
        --mExtraPieces;
        mPushedNotes -= pushed;
    }
    open = kNoOpenNote;
}

// How many notes of the voice a new note at `atTime` would move back; 0 when it joins a chord.
int64_t MidiReader::NotesAfter(int32_t atTime) {
    const auto next = mNotes->Item(atTime);
    if (!next || next->NoteTime() == atTime) return 0;
    return int64_t{mNotes->Count()} - detail::NotesAccess::CurIndex(*mNotes) + 1;
}

// The length of the measure `atTime` lies in.
int32_t MidiReader::MeasureLimit(int32_t atTime) {
    const auto globals = mScore.AllGlobals();
    // The measure length follows from the time signature in force alone, so it is looked up
    // once per signature.
    auto signature = globals->Find(atTime, evtTimeChange);
    if (!signature) return globals->MeasureInfo(atTime).Duration;
    const auto [entry, added] = mMeasureLengths.try_emplace(signature, 0);
    if (added) entry->second = globals->MeasureInfo(signature->EventTime()).Duration;
    return entry->second;
}

bool MidiReader::ReadMetaEvent(TrackBytes& bytes) {
    const int32_t type = bytes.Next();
    const std::string_view raw = bytes.Take(bytes.VarLen());
    if (bytes.Truncated()) return false;
    Guarded([&] { MetaEvent(type, raw); });
    return true;
}

void MidiReader::MetaEvent(int32_t type, std::string_view raw) {
    const uint8_t data1 = raw.size() > 0 ? Byte(raw[0]) : 0;
    const uint8_t data2 = raw.size() > 1 ? Byte(raw[1]) : 0;
    switch (type) {
        case kMetaText: TextEvent(MetaText(raw)); break;
        case kMetaCopyright: CopyrightEvent(MetaText(raw)); break;
        case kMetaTrackName: NameEvent(raw); break;
        case kMetaInstrumentName:
            if (FirstTrack()) {
                const MetaText text(raw);
                mScore.SetHeading(EngineText(text.Before));
                ApplySpec(fntHeader, raw);
            } else if (mStaff) {
                // The instrument's name; it names the staff too when no track name does.
                mInstrumentName = EngineText(raw);
                if (mStaff->Description().empty()) NameEvent(raw);
            }
            break;
        case kMetaLyric:
            if (mStaff) mStaff->GlobalEvents()->Add(mTime, evtLyric, 0, 0, LyricText(raw));
            break;
        case kMetaMarker: MarkerEvent(raw); break;
        case kMetaCuePoint: CuePointEvent(raw); break;
        case kMetaTempo: TempoEvent(raw); break;
        case kMetaTimeSignature: TimeSignatureEvent(data1, data2); break;
        case kMetaKeySignature: KeySignatureEvent(data1, data2); break;
        default: break;
    }
}

// Title, subtitle and composer take the first three texts (each with its font spec), the
// arranger the fourth; an empty text keeps its place, so the others stay where they belong.
void MidiReader::TextEvent(const MetaText& text) {
    std::string before = EngineText(text.Before);
    switch (mTextSlot++) {
        case kTitleSlot:
            mScore.SetTitle(std::move(before));
            ApplySpec(fntTitle, text.Raw);
            break;
        case kSubTitleSlot:
            mScore.SetSubTitle(std::move(before));
            ApplySpec(fntSubTitle, text.Raw);
            break;
        case kComposerSlot:
            mScore.SetComposer(std::move(before));
            ApplySpec(fntComposer, text.Raw);
            break;
        case kArrangerSlot: mScore.SetArrangedBy(std::move(before)); break;
        default: mTextSlot = kArrangerSlot + 1; break;
    }
}

void MidiReader::CopyrightEvent(const MetaText& text) {
    if (mScore.Copyright(0).empty()) {
        mScore.SetCopyright(0, EngineText(text.Before));
        ApplySpec(fntCopyright, text.Raw);
    } else if (mScore.Copyright(1).empty()) {
        mScore.SetCopyright(1, EngineText(text.Before));
    }
}

// A track or instrument name names the staff and its voice.
void MidiReader::NameEvent(std::string_view raw) {
    if (!mStaff) return;
    mStaff->SetDescription(EngineText(raw));
    mVoice->SetDescription(EngineText(raw));
}

// "%" and three characters: bit 1 of the second a repeat begin; the third AND 3 a repeat end,
// section end or score end; bits 2..3 of the fourth a clef change.
void MidiReader::MarkerEvent(std::string_view raw) {
    if (FirstTrack() && mLastSignature) SymbolMarker(raw);
    if (raw.size() < 4 || raw[0] != '%' || FirstTrack()) return;
    if ((Byte(raw[1]) & 1) != 0) AddScoreEventUnlessPresent(evtRepeatBegin);
    switch (Byte(raw[2]) & 3) {
        case 1: AddScoreEventUnlessPresent(evtRepeatEnd); break;
        case 2: AddScoreEventUnlessPresent(evtSectionEnd); break;
        case 3: AddScoreEventUnlessPresent(evtScoreEnd); break;
        default: break;
    }
    const int32_t clefBits = Byte(raw[3]) & 14;
    if (clefBits == 0 || !mStaff) return;
    const int32_t clef = ClefOfMarkerBits(clefBits);
    if (clef != mStaff->CurClef(mTime)) {
        mStaff->GlobalEvents()->Add(mTime, evtClefChange, static_cast<uint8_t>(clef));
    }
}

// A 4/4 shown as common time or a 2/2 shown as cut time, said by a marker after the signature.
void MidiReader::SymbolMarker(std::string_view raw) {
    GlobalEvent& signature = *mLastSignature;
    if (signature.EventTime() != mSnapPosition) return;
    if (raw == kCommonTimeMarker && signature.Value1() == 4 && signature.Value2() == 16) {
        signature.SetValue1(0);
        signature.SetValue2(0);
    } else if (raw == kCutTimeMarker && signature.Value1() == 2 && signature.Value2() == 32) {
        signature.SetValue1(0);
        signature.SetValue2(1);
    }
}

void MidiReader::AddScoreEventUnlessPresent(int32_t eventType) {
    const auto globals = mScore.AllGlobals();
    if (!globals->Find(mTime, eventType, true)) globals->Add(mTime, eventType);
}

// "%" and a clef number: the staff's default clef. "&" and three "|"-separated numbers: staff
// height, staff space and system space in inches.
void MidiReader::CuePointEvent(std::string_view raw) {
    if (raw.empty()) return;
    if (raw[0] == '%') {
        if (!mStaff) return;
        mStaff->SetDefaultClef(ClefOfCueNumber(FieldValue(raw, 2, 1, 1.0f)));
        mClefFromCue = true;
    } else if (raw[0] == '&') {
        Guarded([&] { mScore.SetStaffHeight(FieldValue(raw, 2, 1, 0.5f)); });
        Guarded([&] { mScore.SetStaffSpace(FieldValue(raw, 2, 2, 0.5f)); });
        Guarded([&] { mScore.SetSystemSpace(FieldValue(raw, 2, 3, 0.75f)); });
    }
}

void MidiReader::TempoEvent(std::string_view raw) {
    int32_t microseconds = 0;
    for (size_t i = 0; i < 3; ++i) {
        microseconds = microseconds * 256 + (i < raw.size() ? Byte(raw[i]) : 0);
    }
    // Beats per minute of the score's beat, to the nearest.
    if (microseconds > 0) {
        const double perMinute = static_cast<double>(kMicrosecondsPerMinute * kQuarterTicks) /
                                 (static_cast<double>(microseconds) * std::max(mScore.Beat(), 1));
        mScore.SetCount(NInt(perMinute));
    }
}

void MidiReader::TimeSignatureEvent(int32_t numerator, int32_t denominatorCode) {
    const int32_t beat = BeatOfDenominatorCode(denominatorCode);
    MoveSnapPosition();
    const auto signature = mScore.AllGlobals()->Add(
        mSnapPosition, evtTimeChange, static_cast<uint8_t>(numerator), static_cast<uint8_t>(beat));
    if (FirstTrack()) mLastSignature = signature;
    mMeasureLength = (numerator * beat) % 256;
}

void MidiReader::KeySignatureEvent(uint8_t sharps, uint8_t mode) {
    if (!FirstTrack() && mStaff) {
        MoveSnapPosition();
        mStaff->GlobalEvents()->Add(mSnapPosition, evtKeyChange, sharps, mode);
    }
    if (!mKeySeen) {
        mKeySeen = true;
        mScore.SetKey(KeyFromByte(sharps));
        mScore.SetMinor(mode == 1);
    }
}

// Signatures fall on the start of the measure the event lies in, counted in the measure
// length of the last signature of this track.
void MidiReader::MoveSnapPosition() {
    if (mMeasureLength <= 0 || mTime <= mSnapPosition) return;
    mSnapPosition += (mTime - mSnapPosition) / mMeasureLength * mMeasureLength;
}

}  // namespace

bool OpenMidiFile(Score& score, FileReader& file, const std::string& path, ReadFailure* failure) {
    try {
        return MidiReader(score, file).Read(path);
    } catch (const ReadFailure& error) {
        if (failure) *failure = error;
        detail::ScoreAccess::LoadingSet(score, false);
        ShowOpenMessage(kInvalidDataText);
        return false;
    }
}

}  // namespace corvendi
