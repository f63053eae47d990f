// Scores edited with the mouse: a score is drawn on the recording surface, points are taken from
// the regions the drawing recorded, and the edited document is compared with a twin score built
// the same way and changed by numbers (AddNote and the note collections) instead of by hit.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/ToJson.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "engine/UndoHistory.h"
#include "model/ModelAccess.h"
#include "render/LayoutTestSupport.h"

namespace corvendi::test {

struct EntryLog : LayoutLog {
    void HistoryChanged(bool canUndo) override {
        log.push_back(canUndo ? "HistoryChanged true" : "HistoryChanged false");
    }
};

class NoteEntryTest : public LayoutTest {
  protected:
    using Arrange = std::function<void(Score&)>;

    // The default score (plain texts) arranged by `arrange`, paginated and page 1 drawn; a twin
    // arranged the same way without a window.
    void Open(const Arrange& arrange = {}) {
        NewScore();
        log = std::make_shared<EntryLog>();
        events = log;
        score->SetEvents(log);
        Build(*score, arrange);
        surface = Attach();
        Relayout(*surface);
        // The twin is drawn too: drawing sizes the music font, which the document keeps.
        twin = Score::Create();
        Build(*twin, arrange);
        twin->SetWindow(std::make_shared<RecordingSurface>(SurfaceKind::Window));
        while (twin->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
        score->SetChanged(false);
        detail::ClearHistory(*score);  // the arrangement is where the editing starts
        surface->ClearCalls();
        log->log.clear();
    }

    // The twin after the expected edit has the same document as the score.
    void ExpectDocument(const Arrange& edit = {}) {
        if (edit) edit(*twin);
        EXPECT_EQ(ToJson(*score), ToJson(*twin));
    }

    const Region& R(int32_t index = 1) const {
        return *detail::ScoreAccess::Regions(*score)[static_cast<size_t>(index - 1)];
    }
    // Ticks of measure j's share of the width after its note pad (4/4 measures).
    static int32_t Tick(const Region& r, int32_t j) {
        return (r.Measure(j)->Low() - r.MeasurePad(j)) / 64;
    }
    // The middle of tick `offset`'s share of measure j.
    static int32_t XAt(const Region& r, int32_t j, int32_t offset) {
        int32_t left = r.Left;
        for (int32_t k = 0; k < j; ++k) left += r.Measure(k)->Low();
        return left + r.MeasurePad(j) + offset * Tick(r, j) + Tick(r, j) / 2;
    }
    // Line or space `step` below the top staff line (0 top line, 8 bottom line).
    static int32_t YAt(const Region& r, int32_t step) {
        return r.Top + r.PadTop + step * r.IncY / 2;
    }

    static std::shared_ptr<Notes> NotesOf(Score& s, int32_t staff = 1, int32_t voice = 1) {
        return s.Staff(staff)->Voice(voice)->Notes();
    }

    std::shared_ptr<Note> NoteOf(int32_t time, int32_t staff = 1, int32_t voice = 1) {
        auto notes = NotesOf(*score, staff, voice);
        auto note = notes->Item(time);
        return note && note->NoteTime() == time ? note : nullptr;
    }

    // Whether the last drawing erased a band with the surface's background (a system repaint).
    bool SystemErased() const {
        for (const auto& line : LinesOf(*surface)) {
            if (line.Fill == LineFill::FilledBox && line.Color == surface->BackColor()) return true;
        }
        return false;
    }

    std::shared_ptr<RecordingSurface> surface;
    std::shared_ptr<Score> twin;

  private:
    static void Build(Score& s, const Arrange& arrange) {
        s.CreateDefault();
        s.SetRedraw(false);
        s.SetTitle("");
        s.SetComposer("");
        s.SetArrangedBy("");
        s.SetMetronome(false);
        s.Staff(1)->SetFlags(0);
        if (arrange) arrange(s);
        s.SetRedraw(true);
    }
};

}  // namespace corvendi::test
