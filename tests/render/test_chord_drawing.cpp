// Drawing chord names and guitar diagrams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "corvendi/ChordLibrary.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/RecordingSurface.h"
#include "render/ChordDrawing.h"

namespace corvendi {
namespace {

constexpr int32_t kX = 1000;
constexpr int32_t kY = 3000;
constexpr int32_t kRed = 0x0000FF;

std::shared_ptr<ChordLibrary> ShippedLibrary() {
    auto library = std::make_shared<ChordLibrary>();
    library->SetDataFolder(std::filesystem::path(CORVENDI_TEST_DATA_DIR) / "Common" / "Config");
    EXPECT_TRUE(library->Load());
    return library;
}

int32_t Code(const ChordLibrary& library, std::string_view name) {
    const auto code = library.Vocabulary().CodeOfName(name);
    EXPECT_TRUE(code) << name;
    return code.value_or(0);
}

// What a diagram drawn at (kX, kY) shows, read back from the recorded calls.
struct DiagramReading {
    int32_t strings = 0;                         // vertical lines
    std::set<std::pair<int32_t, int32_t>> dots;  // (string 0..5 from low E, fret)
    std::map<int32_t, std::string> marks;        // string -> "o" or "x"
    bool nut = false;
    std::vector<std::string> texts;  // every text printed, in order
};

DiagramReading ReadDiagram(const RecordingSurface& s, int32_t startFret, int32_t rows) {
    DiagramReading r;
    const double top = kY - kDiagramFretGap * rows;
    std::map<std::pair<double, double>, int> boxCentres;
    for (const auto& call : s.CallsNamed("Line")) {
        const auto& n = call.Numbers;
        EXPECT_EQ(n[4], kRed) << call.ToString();
        const auto fill = static_cast<LineFill>(static_cast<int>(n[5]));
        if (fill == LineFill::None && n[0] == n[2]) ++r.strings;
        if (fill != LineFill::FilledBox) continue;
        if (n[2] - n[0] > kDiagramDotSize) {
            r.nut = true;
            continue;
        }
        ++boxCentres[{(n[0] + n[2]) / 2, (n[1] + n[3]) / 2}];
    }
    for (const auto& [centre, boxes] : boxCentres) {
        EXPECT_EQ(boxes, 2);  // every dot is a wide and a tall box
        const double string = (centre.first - kX) / kDiagramStringGap;
        const double fret = startFret + (centre.second - top) / kDiagramFretGap - 0.5;
        EXPECT_EQ(string, std::round(string));
        EXPECT_EQ(fret, std::round(fret));
        r.dots.insert({static_cast<int32_t>(string), static_cast<int32_t>(fret)});
    }
    for (const auto& call : s.CallsNamed("Print")) {
        r.texts.push_back(call.Text);
        if (call.Text != "o" && call.Text != "x") continue;
        const double centre =
            call.Numbers[0] + RecordingSurface::WidthOf(DiagramLabelFont(), call.Text) / 2;
        r.marks[static_cast<int32_t>(std::lround((centre - kX) / kDiagramStringGap))] = call.Text;
    }
    return r;
}

DiagramReading DrawDiagramOf(const ChordLibrary& library, std::string_view name) {
    RecordingSurface s;
    library.DrawInKey(s, kX, kY, Code(library, name), 0, true, kRed, "", 0);
    return ReadDiagram(s, 1, kDiagramFrets);
}

TEST(ChordDiagram, OpenChordsShowSixStringsTheirDotsAndStringMarks) {
    const auto library = ShippedLibrary();
    {
        const DiagramReading c = DrawDiagramOf(*library, "C");  // x32010
        EXPECT_EQ(c.strings, 6);
        EXPECT_TRUE(c.nut);
        EXPECT_EQ(c.dots, (std::set<std::pair<int32_t, int32_t>>{{1, 3}, {2, 2}, {4, 1}}));
        EXPECT_EQ(c.marks, (std::map<int32_t, std::string>{{0, "x"}, {3, "o"}, {5, "o"}}));
        EXPECT_EQ(c.texts.back(), "C");
    }
    {
        const DiagramReading g = DrawDiagramOf(*library, "G");  // 320003
        EXPECT_EQ(g.strings, 6);
        EXPECT_EQ(g.dots, (std::set<std::pair<int32_t, int32_t>>{{0, 3}, {1, 2}, {5, 3}}));
        EXPECT_EQ(g.marks, (std::map<int32_t, std::string>{{2, "o"}, {3, "o"}, {4, "o"}}));
    }
}

TEST(ChordDiagram, AHighChordShowsItsStartingFretInsteadOfTheNut) {
    const auto library = ShippedLibrary();
    RecordingSurface s;
    library->DrawInKey(s, kX, kY, Code(*library, "E7#9"), 4, true, kRed, "", 0);  // 0,7,6,7,8,0
    const ChordFrets frets{0, 7, 6, 7, 8, 0};
    ASSERT_EQ(DiagramStartFret(frets), 6);
    ASSERT_EQ(DiagramFretRows(frets), kDiagramFrets);
    const DiagramReading r = ReadDiagram(s, 6, kDiagramFrets);
    EXPECT_FALSE(r.nut);
    EXPECT_EQ(r.dots, (std::set<std::pair<int32_t, int32_t>>{{1, 7}, {2, 6}, {3, 7}, {4, 8}}));
    EXPECT_EQ(r.marks, (std::map<int32_t, std::string>{{0, "o"}, {5, "o"}}));
    EXPECT_NE(std::find(r.texts.begin(), r.texts.end(), "6"), r.texts.end());
    // A span wider than the grid gets more rows.
    EXPECT_EQ(DiagramFretRows(ChordFrets{5, 9, -1, -1, -1, -1}), 5);
}

TEST(ChordDiagram, StandsOnYAndFitsTheDiagramRow) {
    const auto library = ShippedLibrary();
    RecordingSurface s;
    // A sounding D with the capo on fret 2 is played, and drawn, as a C shape.
    library->DrawInKey(s, kX, kY, Code(*library, "D"), 2, true, kRed, "", 2);
    EXPECT_EQ(ReadDiagram(s, 1, kDiagramFrets).dots,
              (std::set<std::pair<int32_t, int32_t>>{{1, 3}, {2, 2}, {4, 1}}));
    double highest = kY;
    double lowest = 0;
    for (const auto& call : s.CallsNamed("Line")) {
        highest = std::min({highest, call.Numbers[1], call.Numbers[3]});
        lowest = std::max({lowest, call.Numbers[1], call.Numbers[3]});
    }
    for (const auto& call : s.CallsNamed("Print")) highest = std::min(highest, call.Numbers[1]);
    EXPECT_EQ(lowest, kY);
    EXPECT_GT(highest, kY - library->DiagramRowHeight());
    // The name is centred over the grid.
    const auto name = s.CallsNamed("Print").back();
    EXPECT_EQ(name.Text, "C");
    EXPECT_DOUBLE_EQ(name.Numbers[0] + RecordingSurface::WidthOf(DiagramNameFont(), "C") / 2,
                     kX + 2.5 * kDiagramStringGap);
}

TEST(ChordName, WithoutAFingeringOrAKnownCodeTheNameOrTextIsDrawn) {
    const auto library = ShippedLibrary();
    ASSERT_EQ(library->Vocabulary().Fingering(Code(*library, "F#sus2")), nullptr);
    RecordingSurface s;
    library->DrawInKey(s, kX, kY, Code(*library, "F#sus2"), 0, true, kRed, "", 0);
    EXPECT_EQ(s.Count("Line"), 0u);
    ASSERT_EQ(s.Count("Print"), 1u);
    EXPECT_EQ(s.CallsNamed("Print")[0].Text, "F#sus2");
    EXPECT_EQ(s.CallsNamed("Print")[0].Numbers[1],
              kY - RecordingSurface::HeightOf(ChordNameFont()));
    // An unknown code shows the event's text, or nothing.
    s.ClearCalls();
    library->DrawInKey(s, kX, kY, 0, 0, true, kRed, "N.C.", 3);
    ASSERT_EQ(s.Count("Print"), 1u);
    EXPECT_EQ(s.CallsNamed("Print")[0].Text, "N.C.");
    s.ClearCalls();
    library->DrawInKey(s, kX, kY, 0, 0, false, kRed, "", 0);
    library->DrawInKey(s, kX, kY, 254, 0, true, kRed, "", 0);
    EXPECT_TRUE(s.DrawingCalls().empty());
}

// A score's events with a key at time 0 and chord events.
std::shared_ptr<GlobalEvents> EventsInKey(uint8_t keyByte) {
    auto globals = std::make_shared<GlobalEvents>();
    globals->Add(0, evtTimeChange, 4, 16);
    globals->Add(0, evtKeyChange, keyByte);
    return globals;
}

std::string DrawnName(ChordLibrary& library, const std::shared_ptr<GlobalEvents>& globals,
                      int32_t code, std::string_view text = "", int32_t capo = 0,
                      int32_t atTime = 64) {
    RecordingSurface s;
    library.Draw(s, kX, kY, code, globals, false, kRed, text, capo, atTime);
    const auto prints = s.CallsNamed("Print");
    return prints.empty() ? std::string("<nothing>") : prints.back().Text;
}

TEST(ChordDraw, SpellsTheRootForTheKeyInForceAtTheChordsTime) {
    const auto library = ShippedLibrary();
    const int32_t cSharpMinor = Code(*library, "C#m");
    auto sharps = EventsInKey(4);  // E major
    sharps->Add(64, evtChord, static_cast<uint8_t>(cSharpMinor));
    EXPECT_EQ(DrawnName(*library, sharps, cSharpMinor), "C#m");
    auto flats = EventsInKey(256 - 4);  // Ab major
    flats->Add(64, evtChord, static_cast<uint8_t>(cSharpMinor));
    EXPECT_EQ(DrawnName(*library, flats, cSharpMinor), "Dbm");
    // With the capo on fret 2 in Ab the shapes are in F#: Dbm is played as a Bm shape.
    EXPECT_EQ(DrawnName(*library, flats, cSharpMinor, "", 2), "Bm");
    // No key event: C major's spelling; no events at all likewise.
    auto keyless = std::make_shared<GlobalEvents>();
    EXPECT_EQ(DrawnName(*library, keyless, cSharpMinor), "Dbm");
    EXPECT_EQ(DrawnName(*library, nullptr, Code(*library, "F#")), "F#");
}

}  // namespace
}  // namespace corvendi
