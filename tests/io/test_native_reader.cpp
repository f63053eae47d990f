// Opening score files built byte by byte: the events of a load, files that cannot be read,
// damaged records, lengths and counts far beyond the file, and the rules that fill in what a
// file leaves out (the key, verse counts).
#include "engine/ScoreAccess.h"
#include "io/FileTestSupport.h"

#include <chrono>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/ToJson.h"
#include "io/FileHelpers.h"
#include "io/MidiTestSupport.h"
#include "io/ScoreFile.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

struct StaffPart {
    std::string Hdr, Glb, Vce;
};

// A score file from the bytes of its sections; the directories are worked out here.
std::string ScoreFileOf(const std::string& hdr, const std::string& glb, const std::string& ins,
                        const std::vector<StaffPart>& staffs) {
    const uint32_t hdrStart = 51;
    const uint32_t glbStart = hdrStart + static_cast<uint32_t>(hdr.size());
    const uint32_t insStart = glbStart + static_cast<uint32_t>(glb.size());
    const uint32_t stfStart = insStart + static_cast<uint32_t>(ins.size());
    const auto n = static_cast<uint32_t>(staffs.size());

    Bytes directory;
    directory.U32(33 * n + 2).B({static_cast<int>(3 * n), 11});
    std::string data;
    uint32_t at = stfStart + 6 + 33 * n;
    for (const StaffPart& staff : staffs) {
        for (const auto& [tag, part] : {std::pair{"Hdr", &staff.Hdr}, std::pair{"Glb", &staff.Glb},
                                        std::pair{"Vce", &staff.Vce}}) {
            directory.Text(tag).U32(at).U32(static_cast<uint32_t>(part->size()));
            data += *part;
            at += static_cast<uint32_t>(part->size());
        }
    }
    const std::string stf = directory.Data() + data;

    Bytes file;
    file.Text("Qx00").B({4, 11});
    file.Text("Hdr").U32(hdrStart).U32(static_cast<uint32_t>(hdr.size()));
    file.Text("Glb").U32(glbStart).U32(static_cast<uint32_t>(glb.size()));
    file.Text("Ins").U32(insStart).U32(static_cast<uint32_t>(ins.size()));
    file.Text("Stf").U32(stfStart).U32(static_cast<uint32_t>(stf.size()));
    return file.Data() + hdr + glb + ins + stf;
}

std::string StaffHeader(const std::string& description) {
    return Bytes().Text(description).FE().Text("100").B({1, 29, 2, 0, 1}).Data();
}

std::string VoiceHeader(uint32_t notes, int program) {
    return Bytes().U32(notes).Text("V").FE().Text(std::to_string(program)).FF().Data();
}

std::string NoteRecord(uint32_t time, int value) {
    return Bytes().U32(time).U32(16).U32(0).B({1, value}).Data();
}

class NativeReaderTest : public FileTest {
  protected:
    // Writes `data` as a file and opens it in a new score.
    bool Open(const std::string& data) {
        path = PathOf("test.sco");
        WriteFile(path, data);
        NewFileScore();
        return score->OpenFile(path);
    }
    std::string path;
};

TEST_F(NativeReaderTest, ALoadReportsItsProgressAndEndsOnStaffOneAndVoiceOne) {
    std::string vce = VoiceHeader(40, 0);
    for (uint32_t t = 0; t < 40; ++t) vce += NoteRecord(t * 16, 60);
    const std::string data = ScoreFileOf("", "", "", {{StaffHeader("A"), "", vce}});
    ASSERT_TRUE(Open(data));

    // Only the Stf section, at 51 (empty sections are skipped); after its 39-byte directory the
    // staff's Hdr at 90 (10 bytes), then its Vce at 100, whose notes start at its 9th byte and
    // report at 40 and 20 notes left.
    const std::vector<std::string> expected = {
        "BeforeOpenSave " + std::to_string(data.size()),
        "ProgressReport 51",
        "ProgressReport 90",
        "ProgressReport " + std::to_string(100 + 9),
        "ProgressReport " + std::to_string(100 + 9 + 20 * 14),
        "AfterOpenSave",
        "ActiveVoice 1",
        "ActiveStaff 1",
    };
    EXPECT_EQ(fileEvents->log, expected);
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->Count(), 40);
    EXPECT_TRUE(score->Staff(1)->Selected());
    EXPECT_FALSE(score->Changed());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NativeReaderTest, FilesThatCannotBeOpenedOrReadAreReportedAndChangeNothing) {
    NewFileScore();
    score->CreateDefault();
    EXPECT_FALSE(score->OpenFile(PathOf("missing.sco")));
    EXPECT_FALSE(score->OpenFile(folder.string()));
    ASSERT_EQ(Messages().size(), 2u);
    for (const auto& message : Messages()) {
        EXPECT_FALSE(message.Text.empty());
        EXPECT_EQ(message.Title, "Open");
        EXPECT_EQ(message.Icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(score->Title(), "New Score");
    EXPECT_EQ(score->Staffs(), 1);
    EXPECT_TRUE(score->Redraw());
    EXPECT_EQ(score->FileName(), "");

    // Other formats are reported as unrecognised.
    for (const std::string& data :
         {std::string("Hello, world"), std::string(), std::string("Qx0")}) {
        Headless().ClearMessages();
        EXPECT_FALSE(Open(data));
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], (MessageBoxRecord{"File contains an unrecognised format.", "Open",
                                                   MessageIcon::Exclamation}));
        EXPECT_TRUE(fileEvents->log.empty());
    }
}

TEST_F(NativeReaderTest, ADamagedFileLeavesTheOpenScoreAsItWas) {
    NewFileScore();
    score->CreateDefault();
    score->SetTitle("Good");
    score->AddNote(1, 0, 60, durQuarter, 0);
    const std::string good = PathOf("good.sco");
    ASSERT_TRUE(score->SaveFile(good));
    score->SetCapo(3);  // a setting the file does not keep
    const std::string before = ToJson(*score);

    const std::string hdr =
        Bytes().Text("Arial").B({0}).Text("12").B({128}).Text("Half read").FF().Data();
    std::string sectionPastEnd = ScoreFileOf(hdr, "", "", {{StaffHeader("A"), "", ""}});
    sectionPastEnd.replace(46, 4, Bytes().U32(0xFFFFFF).Data());  // the staff section's length
    std::string midiChunkPastEnd = MidiFileOf(16, {TrackBuilder().End(), TrackBuilder().End()});
    midiChunkPastEnd.replace(midiChunkPastEnd.size() - 8, 4, Bytes().U32(5).Data());
    std::string midiHeaderPastEnd = MidiFileOf(16, {});
    midiHeaderPastEnd.replace(4, 4, Bytes().U32(60).Data());
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"no directory entries", Bytes().Text("Qx00").B({0, 11}).Data()},
        {"directory entries of size 0", Bytes().Text("Qx00").B({4, 0}).Data()},
        {"a directory past the end", Bytes().Text("Qx00").B({4, 11}).Text("Hdr").Data()},
        {"a section past the end", sectionPastEnd},
        // A voice playing a program the catalogue does not have: a checked read fails.
        {"a failed read",
         ScoreFileOf(hdr, "", "",
                     {{StaffHeader("A"), "",
                       VoiceHeader(1, 0) + NoteRecord(0, 60) + VoiceHeader(1, 999)}})},
        {"staff events before any staff",
         ScoreFileOf(hdr, "", "", {{"", Bytes().U32(0).B({7, 1, 0}).Data(), ""}})},
        {"a MIDI header past the end", midiHeaderPastEnd},
        {"a MIDI track past the end", midiChunkPastEnd},
        {"no MIDI track",
         MidiFileOf(16, {TrackBuilder().End(), TrackBuilder().End()}).replace(14, 4, "XFIH")},
    };
    for (const auto& [what, data] : damaged) {
        Headless().ClearMessages();
        WriteFile(PathOf("damaged"), data);
        EXPECT_FALSE(score->OpenFile(PathOf("damaged"))) << what;
        EXPECT_EQ(ToJson(*score), before) << what;
        EXPECT_EQ(score->FileName(), good) << what;
        EXPECT_FALSE(detail::ScoreAccess::Loading(*score)) << what;
        EXPECT_TRUE(score->Redraw()) << what;
        ASSERT_EQ(Messages().size(), 1u) << what;
        EXPECT_EQ(Messages()[0].Text, "Invalid data encountered loading file.") << what;
        EXPECT_EQ(Messages()[0].Title, "Open") << what;
    }
}

TEST_F(NativeReaderTest, AFailedReadSaysWhichFieldItExpectedAndAtWhichByte) {
    // A 14-byte header section, then a "Glb" section of 4 bytes at byte offset 64: the event
    // record's type byte would lie at offset 68, one past the section.
    const std::string hdr =
        Bytes().Text("Arial").B({0}).Text("12").B({128}).Text("Kept").FF().Data();
    path = PathOf("cut.sco");
    WriteFile(path, ScoreFileOf(hdr, Bytes().U32(0).Data(), "", {}));
    NewFileScore();
    FileReader file;
    std::string error;
    ASSERT_TRUE(file.Open(path, error)) << error;
    ReadFailure failure;
    ASSERT_FALSE(OpenScoreFile(*score, file, path, &failure));
    EXPECT_EQ(failure.Field(), "the \"Glb\" section");
    EXPECT_EQ(failure.Offset(), 68);
    EXPECT_STREQ(failure.what(), "expected the \"Glb\" section at byte 68");
}

TEST_F(NativeReaderTest, DamagedRecordsAreSkipped) {
    // Font records without 00 or FF; an instrument record without FE; a voice header without FF.
    const std::string hdr = Bytes().Text("no name end").FF().Text("no record end").Data();
    const std::string ins = Bytes().Text("no field end").FF().Data();
    const std::string vce = Bytes().U32(3).Text("V").FE().Text("0").Data();
    ASSERT_TRUE(Open(ScoreFileOf(hdr, "", ins, {{StaffHeader("A"), "", vce}, {"no FE", "", ""}})));
    EXPECT_EQ(score->Fonts(fntTitle)->Name(), "Arial");
    EXPECT_EQ(score->Title(), "");
    EXPECT_EQ(score->AllInstruments()->Count(), 0);
    ASSERT_EQ(score->Staffs(), 2);
    EXPECT_EQ(score->Staff(1)->Voices(), 0);
    EXPECT_EQ(score->Staff(2)->Description(), "");
    EXPECT_EQ(score->Staff(2)->Voices(), 0);
}

TEST_F(NativeReaderTest, CountsBeyondTheFileCostNothing) {
    // A voice that claims 16 million notes in a file of 130 bytes.
    const std::string vce = VoiceHeader(0xFFFFFF, 0) + NoteRecord(0, 60);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Open(ScoreFileOf("", "", "", {{StaffHeader("A"), "", vce}})));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->Count(), 1);
}

TEST_F(NativeReaderTest, WithoutAScoreKeyTheFirstStaffKeyChangeSetsIt) {
    const std::string staffOne = Bytes().U32(64).B({2, 254, 1}).Data();  // two flats, minor
    const std::string staffTwo = Bytes().U32(0).B({2, 3, 0}).Data();
    ASSERT_TRUE(
        Open(ScoreFileOf("", Bytes().U32(0).B({1, 0, 0}).Data(), "",
                         {{StaffHeader("A"), staffOne, ""}, {StaffHeader("B"), staffTwo, ""}})));
    EXPECT_EQ(score->Key(), -2);
    EXPECT_TRUE(score->Minor());
    const auto scoreKey = score->AllGlobals()->Find(0, evtKeyChange, true);
    ASSERT_NE(scoreKey, nullptr);
    EXPECT_EQ(scoreKey->Value1(), 254);
    EXPECT_EQ(scoreKey->Value2(), 1);
    // Staff 1 had no key change at 0: it gets the score's.
    const auto first = score->Staff(1)->GlobalEvents()->Find(0, evtKeyChange, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Value1(), 254);
    EXPECT_EQ(score->Staff(2)->GlobalEvents()->Find(0, evtKeyChange, true)->Value1(), 3);

    // A key change among the score-wide events wins over the staffs'.
    ASSERT_TRUE(Open(ScoreFileOf("", Bytes().U32(0).B({2, 1, 0}).Data(), "",
                                 {{StaffHeader("A"), staffOne, ""}})));
    EXPECT_EQ(score->Key(), 1);
    EXPECT_FALSE(score->Minor());
}

TEST_F(NativeReaderTest, LyricsRaiseTheVerseCount) {
    // The most verses one lyric holds: its carriage returns plus one.
    auto lyric = [](uint32_t time, const std::string& text) {
        return Bytes().U32(time).B({14, 0, 0}).FE().Text(text).FF().Data();
    };
    ASSERT_TRUE(
        Open(ScoreFileOf("", "", "",
                         {{StaffHeader("A"), lyric(0, "la\rli") + lyric(16, "lo\r\r\rlast"), ""},
                          {StaffHeader("B"), lyric(0, "so"), ""},
                          {StaffHeader("C"), lyric(0, "a long first verse\rx"), ""}})));
    EXPECT_EQ(score->Staff(1)->Verses(), 4);
    EXPECT_EQ(score->Staff(2)->Verses(), 1);
    EXPECT_EQ(score->Staff(3)->Verses(), 2);
}

TEST_F(NativeReaderTest, EventsComeInTimeOrderAndEqualTimesKeepTheirFileOrder) {
    struct Record {
        uint32_t time;
        int type;
        std::string text;
    };
    const std::vector<Record> records = {{32, evtText, "a"}, {0, evtText, "b"},
                                         {16, evtTempo, ""}, {0, evtText, "c"},
                                         {0, evtChord, "d"}, {32, evtText, "e"}};
    Bytes glb;
    for (const Record& r : records) {
        glb.U32(r.time).B({r.type, 0, 0});
        if (!r.text.empty()) glb.FE().Text(r.text).FF();
    }
    ASSERT_TRUE(Open(ScoreFileOf("", glb.Data(), "", {})));
    std::vector<std::tuple<int32_t, int32_t, std::string>> loaded;
    for (const auto& event : *score->AllGlobals()) {
        loaded.emplace_back(event->EventTime(), event->EventType(), event->Text());
        EXPECT_EQ(event->Index(), static_cast<int32_t>(loaded.size()));
    }
    // The missing key change is added once the file's events are in, in front of the last
    // event at time 0 as any added event.
    const std::vector<std::tuple<int32_t, int32_t, std::string>> expected = {
        {0, evtText, "b"},  {0, evtText, "c"},  {0, evtKeyChange, ""}, {0, evtChord, "d"},
        {16, evtTempo, ""}, {32, evtText, "a"}, {32, evtText, "e"}};
    EXPECT_EQ(loaded, expected);
}

TEST_F(NativeReaderTest, HeaderRecordsAreReadFieldByField) {
    Bytes hdr;
    // Name, size 11.5, flags underline and italic but not bold; a title.
    hdr.Text(" Georgia ").B({0}).Text("11.5").B({128 + 2 + 4}).Text("T").FF();
    // Composer text without FE: neither composer nor arranger is set.
    hdr.Text("Arial").B({0}).Text("12").B({129}).FF();
    hdr.Text("Arial").B({0}).Text("10").B({129}).FF();
    hdr.Text("Arial").B({0}).Text("10").B({129}).Text("no separator").FF();
    hdr.Text("Arial").B({0}).Text("8").B({128}).Text("c0").FE().Text("c1").FF();
    hdr.Text("0.3").FE().Text("0.75").FF();                // two fields: StaffSpace is kept
    hdr.Text("1.5").FE().Text("0.5").FE().B({7, 1}).FF();  // two margins, two switch bytes
    hdr.Text("200").FE().Text("8").FF();
    ASSERT_TRUE(Open(ScoreFileOf(hdr.Data(), Bytes().U32(0).B({1, 4, 16}).Data(), "", {})));

    const auto title = score->Fonts(fntTitle);
    EXPECT_EQ(
        std::tuple(title->Name(), title->Size(), title->Bold(), title->Underline(), score->Title(),
                   score->Composer(), score->Copyright(0), score->Copyright(1)),
        std::tuple("Georgia", 11.5f, false, false, "T", "", "c0", "c1"));
    EXPECT_EQ(
        std::tuple(score->StaffHeight(), score->StaffSpace(), score->SystemSpace(),
                   score->Margins(marTop), score->Margins(marBottom), score->Margins(marLeft)),
        std::tuple(0.3f, 0.5f, 0.75f, 1.5f, 0.5f, 0.75f));
    EXPECT_EQ(std::tuple(score->PageNums(), score->ReverseEvenOdd(), score->UseChords(),
                         score->Count(), score->AllGlobals()->PulseValue()),
              std::tuple(7, true, false, 200, 8));
}

TEST_F(NativeReaderTest, ALoadInProgressRefusesAnother) {
    struct Reentrant : FileEventLog {
        Score* target = nullptr;
        std::string path;
        std::optional<bool> nested;
        void BeforeOpenSave(int32_t size) override {
            FileEventLog::BeforeOpenSave(size);
            nested = target->OpenFile(path);
        }
    };
    path = PathOf("busy.sco");
    WriteFile(path, ScoreFileOf("", "", "", {{StaffHeader("A"), "", ""}}));
    score = Score::Create();
    auto listener = std::make_shared<Reentrant>();
    listener->target = score.get();
    listener->path = path;
    score->SetEvents(listener);
    EXPECT_TRUE(score->OpenFile(path));
    EXPECT_EQ(listener->nested, false);
    EXPECT_EQ(score->Staffs(), 1);
}

TEST_F(NativeReaderTest, AnOpenedFileJoinsTheRecentDocuments) {
    const std::string list = PathOf("recent.xbel");
    Headless().EnableRecentDocs(true, list);
    ASSERT_TRUE(Open(ScoreFileOf("", "", "", {})));
    EXPECT_NE(ReadFile(list).find("test.sco"), std::string::npos);
}

}  // namespace
}  // namespace corvendi::test
