// A small song made from a new score through the studio's own actions (the dialogs answered by a
// scripted presenter, notes and marks placed by page clicks, lyrics typed note by note), saved,
// read back and compared whole with the dump committed beside the tests, then printed to PDF.
// CORVENDI_UPDATE_EXPECTED=1 writes the dump instead of comparing (inspect it before committing).
#include <corvendi/Enums.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/ToJson.h>
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/Render.h>
#include <corvendi/dialogs/ScriptedPresenter.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "LyricCursor.h"
#include "MarkPlacement.h"
#include "PageClick.h"

namespace corvendi::studio {
namespace {

constexpr int32_t kQuarter = 16;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Staff, voice and instrument identifiers are made from the clock: numbered in order of
// appearance instead, so that dumps of two runs compare.
std::string WithStableIds(const std::string& dump) {
    static const std::regex id(R"re("([ISV])([0-9]+)")re");
    std::map<std::string, std::string> renamed;
    std::string out;
    auto from = dump.cbegin();
    for (std::sregex_iterator it(dump.begin(), dump.end(), id), end; it != end; ++it) {
        const std::string found = (*it)[0];
        auto [at, added] = renamed.try_emplace(found, "");
        if (added) at->second = "\"" + (*it)[1].str() + std::to_string(renamed.size()) + "\"";
        out.append(from, (*it)[0].first);
        out += at->second;
        from = (*it)[0].second;
    }
    out.append(from, dump.cend());
    return out;
}

// The pages of a PDF: its page objects.
int32_t PdfPages(const std::string& pdf) {
    static const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int32_t>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

class SongTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform = std::make_shared<gtk::GtkPlatform>();
        presenter = std::make_shared<ScriptedPresenter>();
        platform->SetDialogPresenter(presenter);
        SetPlatform(platform);
        score = Score::Create();
        score->SetWindow(
            std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(), 15));
        score->CreateDefault();
        Settle();
        dir = std::filesystem::temp_directory_path() /
              ("corvendi-song-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        SetPlatform(nullptr);
    }

    void Settle() {
        while (score->Paginating() && platform->ProcessPendingEvents()) {
        }
    }
    void Answer(std::string_view text) {
        const auto answer = DialogAnswer::Parse(text);
        ASSERT_TRUE(answer) << text;
        presenter->Queue(*answer);
    }
    // The page point `tick` ticks into measure `measure` (0-based, counted across the page's
    // systems) of staff `staff`, `steps` staff positions below its top line.
    PagePoint At(int32_t staff, int32_t measure, int32_t tick, int32_t steps) {
        regions = score->Regions();
        for (const auto& band : regions) {
            if (band->Staff != staff) continue;
            if (measure >= band->Measures()) {
                measure -= band->Measures();
                continue;
            }
            int32_t left = band->Left;
            for (int32_t i = 0; i < measure; ++i) left += band->Measure(i)->Low();
            const int32_t pad = band->MeasurePad(measure);
            const int32_t width = band->Measure(measure)->Low() - pad;
            const int32_t x = left + pad + width * tick / 64;
            return PagePoint{x, band->Top + band->PadTop + steps * band->IncY / 2};
        }
        ADD_FAILURE() << "staff " << staff << " has no measure " << measure << " on the page";
        return PagePoint{};
    }
    // A click with the note tool, a quarter into the beat: the snap takes the note back to the
    // beat's start.
    void Click(int32_t staff, int32_t measure, int32_t beat, int32_t steps, int32_t duration) {
        const PagePoint point = At(staff, measure, beat * kQuarter + kQuarter / 4, steps);
        EXPECT_EQ(
            ClickOnPage(*score, point, MarkChoice{}, EntryChoice{false, duration, 0, kQuarter}),
            PageClick::Note);
        Settle();
    }
    void Mark(PagePoint point, MarkChoice choice) {
        EXPECT_EQ(ClickOnPage(*score, point, choice, EntryChoice{}), PageClick::Mark);
        Settle();
    }
    void TypeVerse(int32_t verse, const std::vector<std::string>& syllables) {
        EXPECT_EQ(ClickOnPage(*score, At(1, 0, 32, 4), MarkChoice{}, EntryChoice{true}),
                  PageClick::Activate);
        score->SetVerse(verse);
        LyricCursor cursor(*score);
        ASSERT_TRUE(cursor.Start());
        for (size_t i = 0; i < syllables.size(); ++i) {
            cursor.Store(syllables[i]);
            if (i + 1 < syllables.size()) {
                ASSERT_TRUE(cursor.Next());
            }
        }
        Settle();
    }

    std::shared_ptr<gtk::GtkPlatform> platform;
    std::shared_ptr<ScriptedPresenter> presenter;
    std::shared_ptr<Score> score;
    std::vector<std::shared_ptr<Region>> regions;
    std::filesystem::path dir;
};

TEST_F(SongTest, ASongMadeThroughTheStudiosActionsSavesAndPrintsAsExpected) {
    // Score menu: the properties, then a voice staff before the new score's staff and a piano
    // grand staff after it; the new score's own staff goes.
    Answer("txtTitle(0)=Evening Song; txtTempo=96; cboMajor=6; cmdOk");
    score->ShowDialog(dlgScoreProperties);
    Answer(
        "txtQuant=1; optWhere(0); cboStaff=0; cboCategory=Vocal; cboType=0; cboClef=Treble; "
        "cmdOk");
    score->AddStaff(std::nullopt, true);
    Answer(
        "txtQuant=1; optWhere(1); cboStaff=1; cboCategory=Grand; cboType=0; "
        "cboClef=Grand Staff; cmdOk");
    score->AddStaff(std::nullopt, true);
    score->DelStaff(2);
    Settle();
    ASSERT_EQ(score->Staffs(), 2);

    // Notes by position: a tune on the voice staff, whole-measure chords in the piano.
    const int32_t tune[4][4] = {{7, 6, 5, 4}, {5, 4, 3, 3}, {4, 5, 6, 7}, {8, 7, 8, 8}};
    for (int32_t measure = 0; measure < 4; ++measure) {
        for (int32_t beat = 0; beat < 4; ++beat)
            Click(1, measure, beat, tune[measure][beat], kQuarter);
        Click(2, measure, 0, 6, 64);
        Click(2, measure, 0, 18, 64);
    }

    // Marks palette: dynamics, a key change, a chord over the voice, the endings.
    Mark(At(1, 0, 0, 4), MarkChoice{evtDynamic, dynMF, "", false});
    Mark(At(2, 2, 0, 4), MarkChoice{evtDynamic, dynP, "", false});
    Mark(At(1, 2, 0, 4), MarkChoice{evtKeyChange, 1, "", false});
    PagePoint chordRow = At(1, 0, 0, 0);
    chordRow.Y -= 400;
    Mark(chordRow, MarkChoice{evtChord, 1, "", false});
    Answer("chkBars(1)=1; chkMisc(0)=1; txtEnding=1; cmdOk");
    Mark(At(1, 1, 32, 4), MarkChoice{evtSectionDefine, 0, "", true});
    Answer("chkMisc(0)=1; txtEnding=2; cmdOk");
    Mark(At(1, 2, 32, 4), MarkChoice{evtSectionDefine, 0, "", true});

    // Two verses on the voice staff.
    TypeVerse(1, {"Day", "is", "done,", "the", "sun", "is", "low-", "ing"});
    TypeVerse(2, {"Night", "is", "near,", "the", "stars", "are", "show-", "ing"});

    EXPECT_TRUE(presenter->Problems().empty()) << presenter->Problems().front();
    EXPECT_EQ(presenter->Pending(), 0u);

    const std::filesystem::path saved = dir / "song.sco";
    ASSERT_TRUE(score->SaveFile(saved.string(), fmtQuavrix));
    auto reread = Score::Create();
    reread->SetWindow(
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(), 15));
    ASSERT_TRUE(reread->OpenFile(saved.string()));
    const std::string dump = WithStableIds(ToJson(*reread));
    const std::filesystem::path expected =
        std::filesystem::path(CORVENDI_TEST_EXPECTED_DIR) / "studio-song.json";
    if (std::getenv("CORVENDI_UPDATE_EXPECTED")) {
        std::ofstream(expected, std::ios::binary) << dump;
    }
    EXPECT_EQ(dump, ReadAll(expected));

    const auto written = cairo::RenderPdf(*reread, (dir / "song.pdf").string());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(PdfPages(ReadAll(written.front())), 1);
    EXPECT_EQ(reread->LastPage(), 1);
    EXPECT_GT(std::filesystem::file_size(written.front()), 1000u);
}

}  // namespace
}  // namespace corvendi::studio
