// Marks, chords and lyrics placed the way a user places them, by pointing at the drawn page:
// dynamics, a tempo mark, free text, repeats, an ending, an octave line and chord symbols are
// AddGlobalByHit calls at the place they belong to, the chord codes come from the list
// LoadChordList fills, and two verses of lyrics are typed at the lyric cursor as it steps from
// note to note. Writes a PNG of the result (docs/images/events-entry.png).
//
//   corvendi_events_entry_picture [output.png]
#include <corvendi/ChordList.h>
#include <corvendi/Enums.h>
#include <corvendi/Platform.h>
#include <corvendi/Range.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include "engine/ScoreAccess.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace corvendi;

namespace {

constexpr int32_t H = durHalf, Q = durQuarter, E = durEighth;
constexpr int32_t kMeasures = 4;

// The chord names of a combo box, with their codes.
class NamedChords : public ChordList {
  public:
    void Clear() override { mItems.clear(); }
    void AddItem(const std::string& text) override { mItems.emplace_back(text, 0); }
    void SetItemData(int32_t index, int32_t code) override {
        if (index >= 0 && static_cast<size_t>(index) < mItems.size()) mItems[index].second = code;
    }
    int32_t Code(const std::string& name) const {
        for (const auto& [text, code] : mItems) {
            if (text == name) return code;
        }
        return 0;
    }

  private:
    std::vector<std::pair<std::string, int32_t>> mItems;
};

// Points of the page: the staff band showing a measure, a tick's share of its width, and a line
// or space counted down from the top line.
class Pointer {
  public:
    explicit Pointer(Score& score) : mScore(score) {}

    void Place(int32_t measure, int32_t offset, int32_t step, int32_t type, int32_t subType = 0,
               const std::string& text = {}) {
        int32_t j = 0;
        if (const Region* r = Find(measure, j)) {
            mScore.AddGlobalByHit(X(*r, j, offset), Y(*r, step), type, subType, text);
        }
    }

  private:
    const Region* Find(int32_t measure, int32_t& j) const {
        for (const auto& region : detail::ScoreAccess::Regions(mScore)) {
            for (j = 0; j < region->Measures(); ++j) {
                if (region->Measure(j)->High() == measure * durWhole) return region.get();
            }
        }
        return nullptr;
    }
    static int32_t X(const Region& r, int32_t j, int32_t offset) {
        int32_t left = r.Left;
        for (int32_t k = 0; k < j; ++k) left += r.Measure(k)->Low();
        const int32_t pad = r.MeasurePad(j);
        return left + pad + offset * (r.Measure(j)->Low() - pad) / durWhole;
    }
    static int32_t Y(const Region& r, int32_t step) { return r.Top + r.PadTop + step * r.IncY / 2; }

    Score& mScore;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "events-entry.png";
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("Marks by Pointing");
    score->SetSubTitle("");
    score->SetComposer("");
    score->SetArrangedBy("");
    score->SetMetronome(false);
    score->Staff(1)->SetFlags(0);
    // The dynamics go below the two verses of lyrics.
    score->SetDynAdjust(2 * 225);
    struct Tone {
        int32_t Time, Value, Duration;
    };
    const Tone melody[] = {
        {0, 67, Q},           {Q, 69, Q},       {H, 71, Q},   {H + Q, 72, Q},
        {64, 74, H},          {64 + H, 71, H},  {128, 72, Q}, {128 + Q, 71, E},
        {128 + Q + E, 69, E}, {128 + H, 67, H}, {192, 69, H}, {192 + H, 67, H},
    };
    for (const auto& t : melody)
        score->AddNote(1, t.Time, static_cast<uint8_t>(t.Value), t.Duration, 0);
    score->SetRedraw(true);

    auto surface =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }

    NamedChords chords;
    score->LoadChordList(chords);
    Pointer p(*score);
    p.Place(0, 0, 4, evtChord, chords.Code("G"));
    p.Place(1, 0, 4, evtChord, chords.Code("D7"));
    p.Place(2, 0, 4, evtChord, chords.Code("C"));
    p.Place(2, H, 4, evtChord, chords.Code("G"));
    p.Place(3, 0, 4, evtChord, chords.Code("D7"));
    p.Place(3, H, 4, evtChord, chords.Code("G"));
    p.Place(0, 0, 4, evtDynamic, dynP);
    p.Place(1, 0, 4, evtDynamic, dynMF);
    p.Place(3, 0, 4, evtDynamic, dynF);
    p.Place(3, 0, 4, evtTempo, tmpRitardando);
    p.Place(0, 0, 4, evtRepeatBegin);
    p.Place(3, 0, 4, evtRepeatEnd);
    p.Place(3, 0, 4, evtSectionDefine, sctEnding1);
    p.Place(1, 0, 4, evtSectionDefine, sct8va);
    p.Place(2, 0, 4, evtSectionDefine, sct8va);
    p.Place(0, H, -3, evtText, 0, "dolce");

    // Two verses typed note by note at the lyric cursor.
    const std::vector<std::vector<std::string>> verses = {
        {"Here", "we", "point", "and", "click;", "the", "mark", "is", "set", "in", "its", "place."},
        {"Each", "word", "we", "type", "stays", "where", "it", "is", "put", "a-", "bove", "time."},
    };
    for (size_t v = 0; v < verses.size(); ++v) {
        score->SetVerse(static_cast<int32_t>(v + 1));
        int32_t time = 0, x = 0, y = 0;
        std::string lyric;
        bool on = score->FirstActiveXY(time, x, y, lyric);
        for (const auto& syllable : verses[v]) {
            if (!on) break;
            score->SetLyric(syllable);
            on = score->NextActiveXY(time, x, y, lyric);
        }
    }

    score->PaintWindow();
    int32_t bottom = 0;
    for (const auto& region : detail::ScoreAccess::Regions(*score)) {
        if (region->Time < kMeasures * durWhole) bottom = std::max(bottom, region->Bottom);
    }
    if (bottom > 0) surface->SetHeight(bottom + 4 * 225);
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s written\n", output.c_str());
    return 0;
}
