// Writes a score file: the 50-byte header with its directory of four sections ("Hdr", "Glb",
// "Ins", "Stf"), then the sections one after the other. Directory fields are written as zeros
// and filled in once their section is complete. Records are gathered and written in batches
// (ten event or note records, five instrument records); the batching does not change the bytes.
//
// The file is written to "$QX$.sco" in the target's folder and replaces the target only once it
// is complete and flushed to disk, so a failed save leaves the previous file as it was.
#include "io/ScoreFile.h"

#include <filesystem>
#include <string>
#include <system_error>

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
#include "io/FileHelpers.h"

namespace corvendi {

namespace {

constexpr int32_t kEventBatch = 10;
constexpr int32_t kNoteBatch = 10;
constexpr int32_t kInstrumentBatch = 5;

char ByteChar(int64_t value) { return static_cast<char>(static_cast<uint8_t>(value)); }

std::string ZeroEntry(const char* tag) { return std::string(tag) + std::string(8, '\0'); }

// The file's writer and the position the next section byte goes to.
class SectionWriter {
  public:
    explicit SectionWriter(FileWriter& file) : mFile(file) {}

    int32_t Position() const { return mPosition; }
    void Put(std::string_view text) { mPosition += mFile.PutText(mPosition, text); }
    // Fills in a directory entry's start and length at `fieldPosition`.
    void Patch(int32_t fieldPosition, int32_t start, int32_t length) {
        mFile.PutText(fieldPosition, LongToBytes(start) + LongToBytes(length));
    }

  private:
    FileWriter& mFile;
    int32_t mPosition = 1;
};

// Records gathered and written `size` at a time; Flush writes the rest.
class RecordBatch {
  public:
    RecordBatch(SectionWriter& out, int32_t size) : mOut(out), mSize(size) {}
    ~RecordBatch() { Flush(); }
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    std::string& Next() { return mText; }
    void RecordDone() {
        if (++mCount == mSize) Flush();
    }
    void Flush() {
        mOut.Put(mText);
        mText.clear();
        mCount = 0;
    }

  private:
    SectionWriter& mOut;
    int32_t mSize;
    int32_t mCount = 0;
    std::string mText;
};

// --- "Hdr" -------------------------------------------------------------------------------------

std::string AttachedText(const Score& score, int32_t fontIndex) {
    switch (fontIndex) {
        case fntTitle: return FileText(score.Title());
        case fntSubTitle: return FileText(score.SubTitle());
        case fntHeader: return FileText(score.Heading());
        case fntComposer:
            return FileText(score.Composer()) + kFieldEnd + FileText(score.ArrangedBy());
        default: return FileText(score.Copyright(0)) + kFieldEnd + FileText(score.Copyright(1));
    }
}

std::string FontRecord(const Score& score, int32_t fontIndex) {
    std::string record;
    if (auto font = score.Fonts(fontIndex)) {
        const int32_t flags =
            128 + (font->Bold() ? 1 : 0) + (font->Underline() ? 2 : 0) + (font->Italic() ? 4 : 0);
        record = FontNameText(font->Name()) + kNameEnd + NumberText(font->Size()) + ByteChar(flags);
    }
    return record + AttachedText(score, fontIndex) + kRecordEnd;
}

std::string SettingsRecords(const Score& score) {
    std::string out;
    out += NumberText(score.StaffHeight()) + kFieldEnd + NumberText(score.StaffSpace()) +
           kFieldEnd + NumberText(score.SystemSpace()) + kRecordEnd;
    for (int32_t margin = marTop; margin <= marRight; ++margin) {
        out += NumberText(score.Margins(margin)) + kFieldEnd;
    }
    out += ByteChar(score.PageNums());
    out += ByteChar(score.ReverseEvenOdd() ? 1 : 0);
    out += ByteChar(score.UseChords() ? 1 : 0);
    out += ByteChar(score.UseChordMaps() ? 1 : 0);
    out += kRecordEnd;
    out += IntegerText(score.Count()) + kFieldEnd + IntegerText(score.AllGlobals()->PulseValue()) +
           kRecordEnd;
    return out;
}

void WriteHeaderSection(const Score& score, SectionWriter& out) {
    const int32_t start = out.Position();
    for (int32_t font = fntTitle; font <= fntCopyright; ++font) out.Put(FontRecord(score, font));
    out.Put(SettingsRecords(score));
    out.Patch(10, start, out.Position() - start);
}

// --- Events -------------------------------------------------------------------------------------

void AppendEvent(std::string& out, const GlobalEvent& event) {
    out += LongToBytes(event.EventTime());
    out += ByteChar(event.EventType());
    out += static_cast<char>(event.Value1());
    out += static_cast<char>(event.Value2());
    if (!event.Text().empty()) out += kFieldEnd + FileText(event.Text()) + kRecordEnd;
}

// Time signatures first, then the other events, each list in its order.
void WriteEvents(const GlobalEvents& events, SectionWriter& out) {
    RecordBatch batch(out, kEventBatch);
    for (int32_t i = 1; i <= events.TimeItemCount(); ++i) {
        if (auto event = events.TimeItem(i)) {
            AppendEvent(batch.Next(), *event);
            batch.RecordDone();
        }
    }
    for (const auto& event : events) {
        AppendEvent(batch.Next(), *event);
        batch.RecordDone();
    }
}

void WriteGlobalSection(const Score& score, SectionWriter& out) {
    const int32_t start = out.Position();
    WriteEvents(*score.AllGlobals(), out);
    out.Patch(21, start, out.Position() - start);
}

// --- "Ins" --------------------------------------------------------------------------------------

void AppendInstrument(std::string& out, const Instrument& instrument) {
    out += FileText(instrument.ID()) + kFieldEnd + DescriptionText(instrument.Description());
    out += ByteChar(instrument.Channel());
    out += ByteChar(instrument.Category());
    out += ByteChar(instrument.DefaultClef());
    out += ByteChar(instrument.Value());
    const auto range = instrument.Range();
    out += IntegerText(instrument.Offset()) + kFieldEnd + IntegerText(instrument.Pitch()) +
           kFieldEnd + IntegerText(range->Low()) + kFieldEnd + IntegerText(range->High());
    if (instrument.Category() == catDrums) {
        for (int32_t i = 1; i <= Instrument::kDrumSlots; ++i) {
            out += kFieldEnd + IntegerText(instrument.DrumValue(i)) + kFieldEnd +
                   IntegerText(instrument.DrumCode(i));
        }
    }
    out += kRecordEnd;
}

void WriteInstrumentSection(const Score& score, SectionWriter& out) {
    const int32_t start = out.Position();
    {
        RecordBatch batch(out, kInstrumentBatch);
        for (const auto& instrument : *score.AllInstruments()) {
            AppendInstrument(batch.Next(), *instrument);
            batch.RecordDone();
        }
    }
    out.Patch(32, start, out.Position() - start);
}

// --- "Stf" --------------------------------------------------------------------------------------

std::string StaffHeader(const Staff& staff) {
    // The scale, then "|" and the staff's identifier, read past by readers that do not know it.
    std::string out = FileText(staff.Description()) + kFieldEnd + IntegerText(staff.ScalePct()) +
                      kIdentifierMark + DescriptionText(staff.ID());
    out += ByteChar(staff.DefaultClef());
    out += ByteChar(staff.Flags());
    out += ByteChar((staff.Mute() ? 1 : 0) + (staff.Visible() ? 2 : 0));
    out += ByteChar(staff.Brace());
    out += ByteChar(staff.Voices());
    return out;
}

void AppendNote(std::string& out, const Note& note) {
    out += LongToBytes(note.NoteTime());
    out += LongToBytes(note.Duration());
    out += LongToBytes(note.Flags());
    out += static_cast<char>(note.ValueCount());
    for (int32_t i = 0; i < note.ValueCount(); ++i) out += static_cast<char>(note.Value(i));
}

void WriteVoice(const Voice& voice, SectionWriter& out) {
    const auto notes = voice.Notes();
    const auto instrument = voice.Instrument();
    // The program, then the identifiers of the instrument the voice plays and of the voice; a
    // voice that lost its instrument is written with program 0 and an empty identifier.
    std::string binding = IntegerText(instrument ? instrument->Value() : 0);
    binding += kIdentifierMark + FileText(instrument ? instrument->ID() : std::string());
    binding += kIdentifierMark + FileText(voice.ID());
    out.Put(LongToBytes(notes ? notes->Count() : 0) + FileText(voice.Description()) + kFieldEnd +
            binding + kRecordEnd);
    if (!notes) return;
    RecordBatch batch(out, kNoteBatch);
    for (const auto& note : *notes) {
        AppendNote(batch.Next(), *note);
        batch.RecordDone();
    }
}

void WriteStaffSection(const Score& score, SectionWriter& out) {
    const auto& staffs = *score.AllStaffs();
    const int32_t count = staffs.Count();
    const int32_t start = out.Position();

    std::string directory = LongToBytes(33 * count + 2);
    directory += ByteChar(3 * count);
    directory += ByteChar(11);
    for (int32_t i = 0; i < count; ++i) {
        directory += ZeroEntry("Hdr") + ZeroEntry("Glb") + ZeroEntry("Vce");
    }
    out.Put(directory);

    int32_t tagPosition = start + 6;
    for (const auto& staff : staffs) {
        int32_t from = out.Position();
        out.Put(StaffHeader(*staff));
        out.Patch(tagPosition + 3, from, out.Position() - from);

        from = out.Position();
        WriteEvents(*staff->GlobalEvents(), out);
        out.Patch(tagPosition + 14, from, out.Position() - from);

        from = out.Position();
        for (int32_t v = 1; v <= staff->Voices(); ++v) {
            if (auto voice = staff->Voice(v)) WriteVoice(*voice, out);
        }
        out.Patch(tagPosition + 25, from, out.Position() - from);
        tagPosition += 33;
    }
    out.Patch(43, start, out.Position() - start);
}

std::string FileHeader() {
    std::string header = "Qx00";
    header += ByteChar(4);
    header += ByteChar(11);
    header += ZeroEntry("Hdr") + ZeroEntry("Glb") + ZeroEntry("Ins") + ZeroEntry("Stf");
    return header;
}

}  // namespace

bool SaveScoreFile(const Score& score, const std::string& path) {
    if (score.AllStaffs()->Count() > kMaxFileStaffs) return false;

    const std::string temporary = TemporaryFileFor(path);
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(temporary), ec);
    FileWriter file;
    if (!file.Create(temporary)) return false;

    SectionWriter out(file);
    out.Put(FileHeader());
    WriteHeaderSection(score, out);
    WriteGlobalSection(score, out);
    WriteInstrumentSection(score, out);
    WriteStaffSection(score, out);
    return file.ReplaceTarget(path);
}

}  // namespace corvendi
