// Scores laid out on the recording surface, and readers for what the page drawing recorded.
//
// The recording surface's metrics make every position computable by hand: a text font of p
// points is 10 p twips per character wide and 24 p twips high; text positions are recorded in
// pixels of 15 twips.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreTestSupport.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {

// A text the page drew, at its pixel position.
struct DrawnText {
    std::string Text;
    int32_t X = 0;
    int32_t Y = 0;
};

// A line the page drew, in twips.
struct DrawnLine {
    double X1, Y1, X2, Y2;
    int32_t Color;
    LineFill Fill;
};

inline std::vector<DrawnText> TextsOf(const RecordingSurface& surface) {
    std::vector<DrawnText> texts;
    for (const auto& call : surface.CallsNamed("TextOut")) {
        texts.push_back({call.Text, static_cast<int32_t>(call.Numbers[0]),
                         static_cast<int32_t>(call.Numbers[1])});
    }
    return texts;
}

inline std::optional<DrawnText> FindText(const std::vector<DrawnText>& texts,
                                         const std::string& text) {
    for (const auto& t : texts) {
        if (t.Text == text) return t;
    }
    return std::nullopt;
}

inline std::vector<DrawnLine> LinesOf(const RecordingSurface& surface) {
    std::vector<DrawnLine> lines;
    for (const auto& call : surface.CallsNamed("Line")) {
        const auto& n = call.Numbers;
        lines.push_back({n[0], n[1], n[2], n[3], static_cast<int32_t>(n[4]),
                         static_cast<LineFill>(static_cast<int>(n[5]))});
    }
    return lines;
}

// Horizontal lines in the staff-line colour: the staff lines of the page, top to bottom.
inline std::vector<DrawnLine> StaffLinesOf(const RecordingSurface& surface, int32_t color = 0) {
    std::vector<DrawnLine> staffLines;
    for (const auto& line : LinesOf(surface)) {
        if (line.Color == color && line.Y1 == line.Y2 && line.Fill == LineFill::None) {
            staffLines.push_back(line);
        }
    }
    return staffLines;
}

struct LayoutLog : EventLog {
    std::vector<int32_t> handles;
    void MarkHandle(int16_t type, int32_t y) override {
        log.push_back("MarkHandle " + std::to_string(type));
        handles.push_back(y);
    }
};

class LayoutTest : public ScoreTest {
  protected:
    // A default score (its texts and staff description cleared unless asked to keep them) with
    // a window attached and paginated.
    std::shared_ptr<RecordingSurface> DefaultScore(bool plain = true) {
        NewScore();
        log = std::make_shared<LayoutLog>();
        events = log;
        score->SetEvents(log);
        score->CreateDefault();
        if (plain) {
            score->SetRedraw(false);
            score->SetTitle("");
            score->SetComposer("");
            score->SetArrangedBy("");
            score->SetMetronome(false);
            score->Staff(1)->SetFlags(0);
            score->SetRedraw(true);
        }
        auto surface = Attach();
        Paginate();
        surface->ClearCalls();
        log->log.clear();
        score->PaintWindow();
        return surface;
    }

    // Lets the pagination timer run until the last page is known.
    void Paginate() {
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
    }

    // Repaginates after a change made with Redraw off, then paints the current page afresh.
    void Relayout(RecordingSurface& surface) {
        detail::ScoreAccess::StartPagination(*score);
        Paginate();
        surface.ClearCalls();
        log->log.clear();
        score->PaintWindow();
    }

    // A staff after the last one, playing the last one's instrument, its description hidden.
    std::shared_ptr<Staff> AddStaff(const std::string& description = "Staff") {
        auto staffs = score->AllStaffs();
        auto staff = detail::StaffsAccess::Add(*staffs, staffs->NewID(), description);
        staff->SetFlags(0);
        return staff;
    }

    // A quarter note in voice 1 at the start of measure `number` (4/4).
    void NoteInMeasure(int32_t number, int32_t voice = 1) {
        score->AddNote(voice, (number - 1) * 64, 60, 16, 0);
    }

    const Range& PageRange(int32_t page) {
        return *detail::ScoreAccess::PageRanges(*score)[static_cast<size_t>(page - 1)];
    }

    std::shared_ptr<LayoutLog> log;
};

// A plain default score filled by each test, and the first staff's geometry read back from the
// drawn staff lines: its top line, the staff space s and the glyph row g of its bottom line.
class StaffDrawingTest : public LayoutTest {
  protected:
    static constexpr int32_t kPx = 15;

    std::shared_ptr<RecordingSurface> Draw(const std::function<void()>& fill) {
        auto surface = DefaultScore();
        score->SetRedraw(false);
        fill();
        score->SetRedraw(true);
        Relayout(*surface);
        const auto lines = StaffLinesOf(*surface, detail::ScoreAccess::DrawColors(*score).Lines);
        top = lines.empty() ? 0 : static_cast<int32_t>(lines[0].Y1);
        s = IDiv(detail::ScoreAccess::StaffHeightTw(*score), 4);
        g = top - SnapY(NInt(detail::ScoreAccess::StaffHeightTw(*score) * 0.39));
        return surface;
    }
    // The texts drawn between `above` and `below` staff spaces around the first staff's top.
    std::vector<DrawnText> TextsNear(const RecordingSurface& surface, const std::string& text,
                                     int32_t above, int32_t below) const {
        std::vector<DrawnText> found;
        for (const auto& t : TextsOf(surface)) {
            if (t.Text == text && t.Y * kPx > top - above * s && t.Y * kPx < top + below * s)
                found.push_back(t);
        }
        return found;
    }
    int32_t top = 0, s = 0, g = 0;
};

}  // namespace corvendi::test
