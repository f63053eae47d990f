// Reads a score file. Each section (for "Stf", the staff directory and then each staff's
// sub-section) is read into the file's buffer with one read and parsed from memory.
//
// Damaged records are skipped field by field: a missing marker ends its record or section and
// the load goes on. Anything the reader cannot go past (a field beyond its section, a number too
// large for its field, an instrument or voice that cannot be made) throws ReadFailure, which
// ends the read with what was read so far. Records that would start past the last byte of the
// file are not read, so lengths and counts far beyond the file's size cost nothing.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/NumberText.h"
#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "io/FileHelpers.h"
#include "io/ScoreFile.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

constexpr uint8_t kFE = 254;
constexpr uint8_t kFF = 255;
constexpr int32_t kNotesPerProgressReport = 20;

bool IsDrum(const Instrument& instrument) { return instrument.Category() == catDrums; }

// The buffer of the section being parsed, with 1-based positions as the format counts them.
class Section {
  public:
    explicit Section(const FileReader& file) : mFile(file) {}

    int32_t Length() const { return mFile.BufferLen(); }
    // Positions up to here came from the file; records do not start past it.
    int32_t DataEnd() const { return mFile.DataLen(); }
    uint8_t At(int32_t position) const { return mFile.ByteAt(position - 1); }
    // First position of `byte` at or after `from`; 0 when none.
    int32_t Find(int32_t from, uint8_t byte) const { return mFile.FindByte(from, byte); }
    // `count` bytes from `from`, clipped at the end of the section.
    std::string Raw(int32_t from, int32_t count) const { return mFile.BytesToText(from, count); }
    // The bytes from `from` up to (not including) `end`.
    std::string Between(int32_t from, int32_t end) const { return Raw(from, end - from); }
    // The u32be field at `position`; 0 when the section holds fewer than four bytes there.
    int32_t LongAt(int32_t position) const {
        if (position < 1 || position + 3 > Length()) return 0;
        return At(position + 1) * 65536 + At(position + 2) * 256 + At(position + 3);
    }

  private:
    const FileReader& mFile;
};

double Number(std::string_view text) { return LeadingNumber(text); }

// Finds the next `byte` from positions that only move forward, searching the section at most
// once in all: a byte found at or after the new position is still the next one.
class MarkerCursor {
  public:
    MarkerCursor(const Section& section, uint8_t byte) : mSection(section), mByte(byte) {}
    int32_t Next(int32_t from) {
        if (mNone || mFound >= from) return mNone ? 0 : mFound;
        mFound = mSection.Find(from, mByte);
        mNone = mFound == 0;
        return mFound;
    }

  private:
    const Section& mSection;
    uint8_t mByte;
    int32_t mFound = 0;
    bool mNone = false;
};

struct EventRecord {
    int32_t Time = 0;
    uint8_t Type = 0;
    uint8_t Value1 = 0;
    uint8_t Value2 = 0;
    std::string Text;  // as the file holds it
};

struct DirectoryEntry {
    std::string Tag;
    int32_t Start = 0;
    int32_t Length = 0;
};

// Entry `index` (0-based) of a directory of `size`-byte entries held in `entries`.
DirectoryEntry EntryAt(const std::string& entries, int32_t index, int32_t size) {
    const size_t from = static_cast<size_t>(index) * static_cast<size_t>(size);
    const std::string entry =
        from < entries.size() ? entries.substr(from, static_cast<size_t>(size)) : std::string();
    auto field = [&entry](size_t at, size_t count) {
        return at < entry.size() ? std::string_view(entry).substr(at, count) : std::string_view();
    };
    return DirectoryEntry{std::string(field(0, 3)), BytesToLong(field(3, 4)),
                          BytesToLong(field(7, 4))};
}

std::vector<std::string> SplitAt(std::string_view text, char separator) {
    std::vector<std::string> fields;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(separator, from);
        fields.emplace_back(
            text.substr(from, at == std::string_view::npos ? text.npos : at - from));
        if (at == std::string_view::npos) return fields;
        from = at + 1;
    }
}

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The instrument a voice header names: the one saved under `id` when the header carries it;
// for files without it, the first instrument playing `program` (a drum kit as well as a melodic
// instrument), or a new one from the catalogue when none does.
std::shared_ptr<Instrument> InstrumentOfVoice(Instruments& instruments, const std::string& id,
                                              int32_t program) {
    if (!id.empty()) {
        if (auto saved = instruments.Item(id)) return saved;
    }
    for (const auto& instrument : instruments) {
        if (instrument->Value() == program) return instrument;
    }
    return instruments.Add(instruments.NewID(), program);
}

// The number of verses a lyric text holds: its lines, separated by carriage returns.
int32_t VersesOf(const std::string& lyric) {
    return static_cast<int32_t>(std::count(lyric.begin(), lyric.end(), '\r')) + 1;
}

class NativeReader {
  public:
    NativeReader(Score& score, FileReader& file) : mScore(score), mFile(file) {}

    bool Read(const std::string& path);

  private:
    void ReadSection(const DirectoryEntry& entry);
    void RequireInFile(int64_t start, int64_t length) const;
    void ReadHeader();
    void ReadFontRecords(const Section& s, int32_t& p);
    void SetAttachedText(int32_t fontIndex, const std::string& raw);
    void ReadSpacingRecord(const Section& s, int32_t& p);
    void ReadMarginRecord(const Section& s, int32_t& p);
    void ReadTempoRecord(const Section& s, int32_t& p);
    void ReadScoreEvents();
    void ReadInstruments();
    void ReadInstrument(const Section& s, int32_t p, int32_t f, int32_t e);
    void RestoreChannels();
    void ReadStaffs();
    void ReadStaffHeader(int32_t start);
    void ReadStaffEvents();
    void ReadVoices(int32_t start);
    Staff& CurrentStaff() const;

    std::vector<EventRecord> ReadEventRecords() const;
    void ScoreKeyFrom(const EventRecord& keyChange);

    void Progress(int32_t position) const {
        detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::ProgressReport, position);
    }

    Score& mScore;
    FileReader& mFile;
    int32_t mPulse = 0;
    bool mKeyRead = false;
    std::shared_ptr<Staff> mStaff;
    std::vector<std::pair<std::shared_ptr<Instrument>, uint8_t>> mChannels;
};

bool NativeReader::Read(const std::string& path) {
    detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::BeforeOpenSave, mFile.FileLen());
    mFile.ReadBytes(5, 2, "the directory's entry count and size");
    const int32_t count = mFile.ByteAt(0);
    const int32_t size = mFile.ByteAt(1);
    if (count == 0 || size == 0) throw ReadFailure("a directory with entries", 4);
    RequireInFile(7, count * size);

    detail::ScoreAccess::LoadingSet(mScore, true);
    detail::ScoreAccess::ClearScore(mScore, path);
    mFile.ReadBytes(7, count * size, "the directory");
    const std::string directory = mFile.BytesToText(1, count * size);
    for (int32_t i = 0; i < count; ++i) ReadSection(EntryAt(directory, i, size));

    if (mPulse > 0) mScore.AllGlobals()->SetPulseValue(mPulse);
    detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::AfterOpenSave);
    detail::ScoreAccess::FileTypeSet(mScore, fmtQuavrix);
    detail::ScoreAccess::LoadingSet(mScore, false);
    return true;
}

// A section or record that would reach past the end of the file: the file is not whole.
void NativeReader::RequireInFile(int64_t start, int64_t length) const {
    if (start + length - 1 > mFile.FileLen())
        throw ReadFailure("a section inside the file", start - 1);
}

void NativeReader::ReadSection(const DirectoryEntry& entry) {
    if (entry.Start < 1 || entry.Length < 1) return;
    RequireInFile(entry.Start, entry.Length);
    Progress(entry.Start);
    int32_t length = entry.Length;
    if (entry.Tag == "Stf") {
        // Only the staff directory; each staff's sub-sections are read one by one.
        mFile.ReadBytes(entry.Start, 4, "the staff directory's length");
        length = Section(mFile).LongAt(1) + 4;
        RequireInFile(entry.Start, length);
    }
    mFile.ReadBytes(entry.Start, length, "the \"" + entry.Tag + "\" section");
    if (entry.Tag == "Hdr") {
        ReadHeader();
    } else if (entry.Tag == "Glb") {
        ReadScoreEvents();
    } else if (entry.Tag == "Ins") {
        ReadInstruments();
    } else if (entry.Tag == "Stf") {
        ReadStaffs();
    }
}

// --- "Hdr" -------------------------------------------------------------------------------------

void NativeReader::ReadHeader() {
    const Section s(mFile);
    int32_t p = 1;
    ReadFontRecords(s, p);
    ReadSpacingRecord(s, p);
    ReadMarginRecord(s, p);
    ReadTempoRecord(s, p);
}

// Five records: font name, 00, size, flags byte (128 + 1 bold + 2 underline + 4 italic), the
// attached text, FF.
void NativeReader::ReadFontRecords(const Section& s, int32_t& p) {
    for (int32_t k = fntTitle; k <= fntCopyright; ++k) {
        const int32_t e = s.Find(p, kFF);
        if (e == 0) continue;
        const int32_t z = s.Find(p, 0);
        if (z == 0) {
            p = e + 1;
            continue;
        }
        const std::string name = EngineText(s.Between(p, z));
        int32_t q = z + 1;
        while (q < e && s.At(q) <= 127) ++q;
        const std::string size = s.Between(z + 1, q);
        const uint8_t flags = s.At(q) & 127;

        std::string spec = "|" + name + "|" + size + "|";
        for (const uint8_t bit : {1, 2, 4}) spec += (flags & bit) ? "1|" : "0|";
        if (LongField(Number(size)) > 0) ApplyFontSpec(mScore, k, spec);

        if (q + 1 < e) SetAttachedText(k, s.Between(q + 1, e));
        p = e + 1;
    }
}

// The raw text after a font record's flags byte.
void NativeReader::SetAttachedText(int32_t fontIndex, const std::string& raw) {
    if (fontIndex == fntTitle) {
        mScore.SetTitle(EngineText(raw));
    } else if (fontIndex == fntSubTitle) {
        mScore.SetSubTitle(EngineText(raw));
    } else if (fontIndex == fntHeader) {
        mScore.SetHeading(EngineText(raw));
    } else {
        // Two texts separated by FE; without one, neither is set.
        const size_t separator = raw.find(kFieldEnd);
        if (separator == std::string::npos) return;
        std::string first = EngineText(raw.substr(0, separator));
        std::string second = EngineText(raw.substr(separator + 1));
        if (fontIndex == fntComposer) {
            mScore.SetComposer(std::move(first));
            mScore.SetArrangedBy(std::move(second));
        } else {
            mScore.SetCopyright(0, std::move(first));
            mScore.SetCopyright(1, std::move(second));
        }
    }
}

// StaffHeight FE StaffSpace FE SystemSpace FF
void NativeReader::ReadSpacingRecord(const Section& s, int32_t& p) {
    if (p > s.Length()) return;
    const int32_t e = s.Find(p, kFF);
    if (e == 0) return;
    int32_t f = s.Find(p, kFE);
    if (f > 0 && f < e) {
        mScore.SetStaffHeight(SingleField(Number(s.Between(p, f))));
        p = f + 1;
        f = s.Find(p, kFE);
        if (f > 0 && f < e) {
            mScore.SetStaffSpace(SingleField(Number(s.Between(p, f))));
            p = f + 1;
        }
    }
    mScore.SetSystemSpace(SingleField(Number(s.Between(p, e))));
    p = e + 1;
}

// Four margins, each ended by FE, then the PageNums, ReverseEvenOdd, UseChords and UseChordMaps
// bytes, FF.
void NativeReader::ReadMarginRecord(const Section& s, int32_t& p) {
    if (p > s.Length()) return;
    const int32_t e = s.Find(p, kFF);
    if (e == 0) return;
    for (int32_t margin = marTop; margin <= marRight; ++margin) {
        const int32_t f = s.Find(p, kFE);
        if (f == 0 || f > e) break;
        mScore.SetMargins(margin, SingleField(Number(s.Between(p, f))));
        p = f + 1;
    }
    if (p < e) detail::ScoreAccess::PageNumsSet(mScore, s.At(p++));
    if (p < e) detail::ScoreAccess::ReverseEvenOddSet(mScore, s.At(p++) == 1);
    if (p < e) detail::ScoreAccess::UseChordsSet(mScore, s.At(p++) == 1);
    if (p < e) detail::ScoreAccess::UseChordMapsSet(mScore, s.At(p++) == 1);
    p = e + 1;
}

// Count FE pulse FF
void NativeReader::ReadTempoRecord(const Section& s, int32_t& p) {
    if (p > s.Length()) return;
    const int32_t e = s.Find(p, kFF);
    if (e == 0) return;
    const int32_t f = s.Find(p, kFE);
    if (f > 0 && f < e) {
        mScore.SetCount(LongField(Number(s.Between(p, f))));
        p = f + 1;
        const int32_t g = s.Find(p, kFE);
        mPulse = LongField(Number(s.Between(p, g > 0 && g < e ? g : e)));
    }
    p = e + 1;
}

// --- Events -------------------------------------------------------------------------------------

// The event records of the section in the buffer, in file order: time (u32be), type, value 1,
// value 2, and when the next byte is FE a text up to the next FF.
std::vector<EventRecord> NativeReader::ReadEventRecords() const {
    const Section s(mFile);
    std::vector<EventRecord> records;
    int32_t p = 1;
    while (p < s.Length() && p <= s.DataEnd()) {
        EventRecord record;
        record.Time = s.LongAt(p);
        record.Type = s.At(p + 4);
        record.Value1 = s.At(p + 5);
        record.Value2 = s.At(p + 6);
        p += 7;
        if (p <= s.Length() && s.At(p) == kFE) {
            const int32_t e = s.Find(p + 1, kFF);
            const int32_t end = e > 0 ? e : std::min(s.Length(), s.DataEnd()) + 1;
            record.Text = s.Between(p + 1, end);
            p = end + 1;
        }
        records.push_back(std::move(record));
    }
    return records;
}

// Adds the records in time order, each after the events already at its time, so that events
// of equal time keep the order they were saved in.
void AddInTimeOrder(GlobalEvents& events, std::vector<EventRecord>& records) {
    std::stable_sort(records.begin(), records.end(),
                     [](const EventRecord& a, const EventRecord& b) { return a.Time < b.Time; });
    for (EventRecord& record : records) {
        detail::GlobalEventsAccess::AddLast(events, record.Time, record.Type, record.Value1,
                                            record.Value2, EngineText(record.Text));
    }
}

void NativeReader::ReadScoreEvents() {
    const auto globals = mScore.AllGlobals();
    std::vector<EventRecord> records = ReadEventRecords();
    for (const EventRecord& record : records) {
        if (record.Type == evtKeyChange) mKeyRead = true;
    }
    AddInTimeOrder(*globals, records);
    auto key = globals->Find(0, evtKeyChange, true);
    if (!key) key = globals->Add(0, evtKeyChange, 0, 0, "");
    detail::ScoreAccess::KeySet(mScore, KeyFromByte(key->Value1()), key->Value2());
}

// The score takes its key from a staff's key change when the score-wide events have none.
void NativeReader::ScoreKeyFrom(const EventRecord& keyChange) {
    mKeyRead = true;
    detail::ScoreAccess::KeySet(mScore, KeyFromByte(keyChange.Value1), keyChange.Value2);
    const auto globals = mScore.AllGlobals();
    auto scoreKey = globals->Find(0, evtKeyChange, true);
    if (!scoreKey) scoreKey = globals->Add(0, evtKeyChange, 0, 0, "");
    scoreKey->SetValue1(keyChange.Value1);
    scoreKey->SetValue2(keyChange.Value2);
}

void NativeReader::ReadStaffEvents() {
    Staff& staff = CurrentStaff();
    const auto events = staff.GlobalEvents();
    std::vector<EventRecord> records = ReadEventRecords();
    for (const EventRecord& record : records) {
        if (record.Type == evtLyric) {
            const int32_t verses = VersesOf(record.Text);
            if (verses > staff.Verses()) detail::StaffAccess::VersesSet(staff, ByteField(verses));
        }
        if (record.Type == evtKeyChange && !mKeyRead) ScoreKeyFrom(record);
    }
    AddInTimeOrder(*events, records);
    if (!events->Find(0, evtKeyChange, true)) {
        events->Add(0, evtKeyChange, ByteFromKey(mScore.Key()),
                    static_cast<uint8_t>(detail::ScoreAccess::MinorVal(mScore)), "");
    }
}

// --- "Ins" --------------------------------------------------------------------------------------

void NativeReader::ReadInstruments() {
    const Section s(mFile);
    MarkerCursor recordEnd(s, kFF);
    MarkerCursor fieldEnd(s, kFE);
    int32_t p = 1;
    while (p < s.Length()) {
        const int32_t e = recordEnd.Next(p);
        if (e == 0) return;
        const int32_t f = fieldEnd.Next(p);
        if (f > 0 && f < e) ReadInstrument(s, p, f, e);
        p = e + 1;
    }
    RestoreChannels();
}

// Each instrument gets back the channel it was saved with, once all are made (making one
// reassigns the channels of the others).
void NativeReader::RestoreChannels() {
    for (const auto& [instrument, channel] : mChannels) {
        if (!IsDrum(*instrument)) detail::InstrumentAccess::ChannelSet(*instrument, channel);
    }
    mChannels.clear();
}

// identifier FE description, then the channel, category, clef and program bytes, then Offset FE
// Pitch FE Range.Low FE Range.High and for drums eight pairs FE DrumValue FE DrumCode, up to e.
void NativeReader::ReadInstrument(const Section& s, int32_t p, int32_t f, int32_t e) {
    const std::string id = EngineText(s.Between(p, f));
    int32_t q = f + 1;
    while (q < e && s.At(q) >= ' ') ++q;
    const std::string description = EngineText(s.Between(f + 1, q));

    const uint8_t category = s.At(q + 1);
    const uint8_t clef = s.At(q + 2);
    const uint8_t program = s.At(q + 3);
    const auto instruments = mScore.AllInstruments();
    const auto instrument = detail::InstrumentsAccess::AddDistinct(*instruments, id, program);
    if (!instrument) throw ReadFailure("an instrument that can be made");
    mChannels.emplace_back(instrument, s.At(q));
    const bool keepsCategory = category == CategoryOfProgram(program) || category == catDrums;
    detail::InstrumentAccess::CategorySet(*instrument,
                                          keepsCategory ? int32_t{category} : int32_t{catSolo});
    detail::InstrumentAccess::DefaultClefSet(*instrument, clef);
    detail::InstrumentAccess::DescriptionSet(*instrument, description);

    const int32_t from = q + 4;
    if (from > e) return;
    const std::vector<std::string> fields = SplitAt(s.Between(from, e), kFieldEnd);
    auto has = [&fields](size_t i) { return i < fields.size(); };
    auto field = [&fields](size_t i) { return Number(fields[i]); };
    if (has(0)) detail::InstrumentAccess::OffsetSet(*instrument, IntegerField(field(0)));
    if (has(1)) detail::InstrumentAccess::PitchSet(*instrument, IntegerField(field(1)));
    if (has(2)) detail::RangeAccess::LowSet(*instrument->Range(), LongField(field(2)));
    if (has(3)) detail::RangeAccess::HighSet(*instrument->Range(), LongField(field(3)));
    if (category != catDrums) return;
    for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
        const size_t at = 4 + 2 * static_cast<size_t>(slot - 1);
        if (!has(at)) break;
        instrument->SetDrumValue(slot, IntegerField(field(at)));
        if (has(at + 1)) instrument->SetDrumCode(slot, IntegerField(field(at + 1)));
    }
}

// --- "Stf" --------------------------------------------------------------------------------------

void NativeReader::ReadStaffs() {
    const Section directory(mFile);
    const int32_t count = directory.At(5);
    const int32_t size = directory.At(6);
    const std::string entries = directory.Raw(7, count * size);
    for (int32_t i = 0; i < count; ++i) {
        const DirectoryEntry entry = EntryAt(entries, i, size);
        if (entry.Start < 1 || entry.Length < 1) continue;
        RequireInFile(entry.Start, entry.Length);
        mFile.ReadBytes(entry.Start, entry.Length);
        if (entry.Tag == "Hdr") {
            ReadStaffHeader(entry.Start);
        } else if (entry.Tag == "Glb") {
            ReadStaffEvents();
        } else if (entry.Tag == "Vce") {
            ReadVoices(entry.Start);
        }
    }
}

Staff& NativeReader::CurrentStaff() const {
    if (!mStaff)
        throw ReadFailure("a staff before its events");  // staff events or voices before any staff
    return *mStaff;
}

// Description FE ScalePct, then the DefaultClef, Flags, state and Brace bytes and the voice
// count (not read).
void NativeReader::ReadStaffHeader(int32_t start) {
    Progress(start);
    const Section s(mFile);
    const int32_t f = s.Find(1, kFE);
    int32_t q = f + 1;
    while (f > 0 && q <= s.Length() && s.At(q) >= ' ') ++q;
    // The scale, then "|" and the staff's identifier (files written before it was kept end
    // after the scale).
    const std::vector<std::string> scale =
        f > 0 ? SplitAt(s.Between(f + 1, q), kIdentifierMark) : std::vector<std::string>{""};
    const auto staffs = mScore.AllStaffs();
    const std::string id = scale.size() > 1 ? EngineText(scale[1]) : std::string();
    const bool idFree = !id.empty() && !staffs->Item(id);
    mStaff =
        detail::StaffsAccess::Add(*staffs, idFree ? id : staffs->NewID(), "", std::nullopt, true);
    if (!mStaff) throw ReadFailure("a staff that can be made");

    if (f == 0) return;
    mStaff->SetDescription(EngineText(s.Between(1, f)));
    mStaff->SetScalePct(LongField(Number(scale[0])));
    mStaff->SetDefaultClef(s.At(q));
    mStaff->SetFlags(s.At(q + 1));
    const uint8_t state = s.At(q + 2);
    mStaff->SetMute((state & 1) != 0);
    mStaff->SetVisible((state & 2) != 0);
    if (q + 3 <= s.Length()) detail::StaffAccess::BraceSet(*mStaff, s.At(q + 3));
}

// For each voice: note count (u32be), description FE program FF, then the note records: time,
// duration, flags (u32be each), value count k and k value bytes.
void NativeReader::ReadVoices(int32_t start) {
    Staff& staff = CurrentStaff();
    const Section s(mFile);
    const auto instruments = mScore.AllInstruments();
    MarkerCursor recordEnd(s, kFF);
    MarkerCursor fieldEnd(s, kFE);
    int32_t p = 1;
    while (p < s.Length() && p <= s.DataEnd()) {
        int32_t count = s.LongAt(p);
        p += 4;
        const int32_t e = recordEnd.Next(p);
        const int32_t f = fieldEnd.Next(p);
        if (e == 0) return;
        std::shared_ptr<Notes> notes;
        if (f == 0 || f > e) {
            count = 0;
        } else {
            const std::string description = EngineText(s.Between(p, f));
            // The program, then "|" and the identifiers of the voice's instrument and of the
            // voice (files written before they were kept end after the program).
            const std::vector<std::string> binding = SplitAt(s.Between(f + 1, e), kIdentifierMark);
            const int16_t program = IntegerField(Number(binding[0]));
            auto field = [&binding](size_t i) {
                return i < binding.size() ? EngineText(binding[i]) : std::string();
            };
            const auto instrument = InstrumentOfVoice(*instruments, field(1), program);
            const int32_t clef = staff.DefaultClef();
            const auto voice = instrument ? staff.AddVoice(instrument, field(2)) : nullptr;
            staff.SetDefaultClef(clef);
            if (!voice) throw ReadFailure("a voice that can be made");
            voice->SetDescription(description);
            notes = voice->Notes();
            p = e + 1;
        }
        for (int32_t remaining = count; remaining > 0; --remaining) {
            if (p > s.DataEnd()) return;
            if (remaining % kNotesPerProgressReport == 0) Progress(start + p);
            const int32_t time = s.LongAt(p);
            const int32_t duration = s.LongAt(p + 4);
            const int32_t flags = s.LongAt(p + 8);
            const int32_t values = s.At(p + 12);
            p += 13;
            detail::ScoreAccess::RaiseHighNoteTime(mScore, time);
            if (values == 0) continue;  // a rest
            const auto note = notes->Add(time, s.At(p), duration, flags);
            for (int32_t i = 1; i < values; ++i) note->AddValue(s.At(p + i));
            p += values;
        }
    }
}

}  // namespace

bool OpenScoreFile(Score& score, FileReader& file, const std::string& path, ReadFailure* failure) {
    try {
        return NativeReader(score, file).Read(path);
    } catch (const ReadFailure& error) {
        if (failure) *failure = error;
        detail::ScoreAccess::LoadingSet(score, false);
        ShowOpenMessage(kInvalidDataText);
        return false;
    }
}

void ApplyFontSpec(Score& score, int32_t index, std::string_view spec) {
    const std::vector<std::string> fields = SplitAt(spec, '|');
    const auto font = score.Fonts(index);
    if (fields.size() < 4 || !font) return;
    font->SetName(TrimBlanks(fields[1]));
    font->SetSize(SingleField(Number(fields[2])));
    font->SetBold(fields[3] == "1");
    font->SetUnderline(false);
}

}  // namespace corvendi
