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

}  // namespace
}  // namespace corvendi::test
