// A phrase entered the way a user enters it, by pointing at the drawn page: every note is an
// AddNoteByHit at the place where its line or space and its beat are drawn, chord tones are
// clicks on a note's time, marks are AddOrnamentByHit on the drawn note, and one note is raised
// a semitone with ChangeLast. Writes a PNG of the result (docs/images/note-entry.png).
//
//   corvendi_note_entry_picture [output.png]
#include <corvendi/Enums.h>
#include <corvendi/Note.h>
#include <corvendi/Notes.h>
#include <corvendi/Platform.h>
#include <corvendi/Range.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voice.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"

using namespace corvendi;

namespace {

constexpr int32_t H = durHalf, Q = durQuarter, E = durEighth;

// Points of the page the way a user finds them: the band of the staff in the system that shows
// the measure, the beat within the measure, and a line or space counted down from the top line.
class Pointer {
  public:
    explicit Pointer(Score& score) : mScore(score) {}

    void Enter(int32_t staffIndex, int32_t measure, int32_t offset, int32_t step, int32_t duration,
               int32_t flags = 0) {
        int32_t j = 0;
        if (const Region* r = Find(staffIndex, measure, j)) {
            mScore.AddNoteByHit(X(*r, j, offset), Y(*r, step), duration, flags, E);
        }
    }
    void Mark(int32_t staffIndex, int32_t measure, int32_t offset, int32_t ornament) {
        int32_t j = 0;
        const Region* r = Find(staffIndex, measure, j);
        const auto voice = mScore.Staff(staffIndex)->Voice(1);
        const auto note = voice->Notes()->Item(measure * durWhole + offset);
        if (r && note) mScore.AddOrnamentByHit(note->X() + r->IncY / 2, Y(*r, 4), ornament);
    }

  private:
    // The region of the staff showing measure `measure` (0-based, 4/4), and its index there.
    const Region* Find(int32_t staffIndex, int32_t measure, int32_t& j) const {
        for (const auto& region : detail::ScoreAccess::Regions(mScore)) {
            if (region->Staff != staffIndex) continue;
            for (j = 0; j < region->Measures(); ++j) {
                if (region->Measure(j)->High() == measure * durWhole) return region.get();
            }
        }
        return nullptr;
    }
    // The x a click on tick `offset` of measure j takes: its share of the measure's width.
    static int32_t X(const Region& r, int32_t j, int32_t offset) {
        int32_t left = r.Left;
        for (int32_t k = 0; k < j; ++k) left += r.Measure(k)->Low();
        const int32_t pad = r.MeasurePad(j);
        const int32_t tick = (r.Measure(j)->Low() - pad) / durWhole;
        return left + pad + offset * tick + tick / 2;
    }
    // Line or space `step` below the top staff line: 0 the top line, 8 the bottom line.
    static int32_t Y(const Region& r, int32_t step) { return r.Top + r.PadTop + step * r.IncY / 2; }

  private:
    Score& mScore;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "note-entry.png";
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("Entered by Pointing");
    score->SetSubTitle("");
    score->SetComposer("");
    score->SetArrangedBy("");
    score->SetMetronome(false);
    score->SetKey(1);
    auto staffs = score->AllStaffs();
    score->Staff(1)->SetFlags(0);
    auto bass = detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Bass");
    bass->SetFlags(0);
    bass->SetDefaultClef(clfBass);
    score->SetRedraw(true);

    auto surface =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }

    Pointer p(*score);
    // The melody in G major: the F line gives F sharp as the key says.
    struct Click {
        int32_t Measure, Offset, Step, Duration, Flags;
    };
    const Click melody[] = {
        {0, 0, 7, Q, 0},     {0, Q, 6, E, 0},      {0, Q + E, 5, E, 0}, {0, H, 4, Q, 0},
        {0, H + Q, 3, Q, 0}, {1, 0, 2, Q, nteDot}, {1, Q + E, 3, E, 0}, {1, H, 4, H, 0},
        {2, 0, 5, E, 0},     {2, E, 4, E, 0},      {2, Q, 3, E, 0},     {2, Q + E, 2, E, 0},
        {2, H, 1, Q, 0},     {2, H + Q, 0, Q, 0},  {3, 0, 4, H, 0},     {3, H, 7, H, 0},
    };
    for (const auto& c : melody) p.Enter(1, c.Measure, c.Offset, c.Step, c.Duration, c.Flags);
    // Chord tones: clicks on the time of a note already there.
    p.Enter(1, 1, H, 6, H);
    p.Enter(1, 3, H, 9, H);
    p.Enter(1, 3, H, 11, H);
    // The bass line, one click a beat or two, and a raised leading note.
    const Click bassLine[] = {
        {0, 0, 6, H, 0}, {0, H, 4, H, 0}, {1, 0, 2, H, 0}, {1, H, 5, H, 0},
        {2, 0, 3, H, 0}, {2, H, 2, Q, 0}, {3, 0, 4, H, 0}, {3, H, 8, H, 0},
    };
    for (const auto& c : bassLine) p.Enter(2, c.Measure, c.Offset, c.Step, c.Duration, c.Flags);
    // C, raised to C sharp on its way to D.
    p.Enter(2, 2, H + Q, 5, Q);
    score->ChangeLast(1);
    // Marks on the drawn notes.
    p.Mark(1, 0, 0, ornAccent);
    p.Mark(1, 1, 0, ornTrill);
    p.Mark(1, 2, H + Q, ornStacato);
    p.Mark(1, 3, H, ornFermata);
    p.Mark(2, 3, H, ornFermata);

    score->PaintWindow();
    // The picture ends below the last system with music.
    int32_t bottom = 0;
    for (const auto& region : detail::ScoreAccess::Regions(*score)) {
        if (region->Time < 4 * durWhole) bottom = std::max(bottom, region->Bottom);
    }
    if (bottom > 0) surface->SetHeight(bottom + 90);
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf(
        "%s: %d notes entered\n", output.c_str(),
        score->Staff(1)->Voice(1)->Notes()->Count() + score->Staff(2)->Voice(1)->Notes()->Count());
    return 0;
}
