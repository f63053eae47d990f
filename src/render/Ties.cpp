// Ties and slurs of a staff in one system. Each is a tie event of the staff: its time is the
// start note's, Value1 x 256 + Value2 the end note's, its text the voice number. A tie running
// into the next system ends in a short stub here and starts with one there.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

int32_t TieEnd(const GlobalEvent& tie) { return tie.Value1() * 256 + tie.Value2(); }

}  // namespace

void StaffDrawer::DrawTies() {
    const auto events = mFrame.Staff->GlobalEvents();
    if (!events) return;
    const int32_t t0 = mFrame.Start;
    const int32_t t1 = mLayout.System().End;

    // Walk back from the last tie starting in the system to the first that can reach into it.
    int32_t low = INT32_MAX;
    int32_t high = 0;
    auto tie = events->Find(t1 - 1, evtTie);
    while (tie && tie->EventType() == evtTie) {
        const int32_t end = TieEnd(*tie);
        if (end < t0 - 64) break;
        if (tie->EventTime() >= t0 || end >= t0) {
            low = std::min(low, tie->Index());
            high = std::max(high, tie->Index());
        }
        if (tie->Index() <= 1) break;
        auto previous = events->Find(tie->EventTime(), evtTie, false, tie->Index() - 1);
        if (previous && previous->Index() >= tie->Index()) break;
        tie = previous;
    }
    if (high == 0) return;

    for (int32_t i = low; i <= high; ++i) {
        const auto event = events->ByIndex(i);
        if (!event || event->EventType() != evtTie) continue;
        const int32_t start = event->EventTime();
        const int32_t end = TieEnd(*event);
        const double number = LeadingNumber(event->Text());
        const auto voice = number >= 1 && number <= 4
                               ? mFrame.Staff->Voice(static_cast<int32_t>(number))
                               : nullptr;
        const auto notes = voice ? voice->Notes() : nullptr;
        if (!notes) continue;

        int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        bool below = false;
        if (start >= t0) {
            if (const auto note = notes->Item(start, true)) {
                below = note->Up() != note->MultiVoice();
                x1 = note->X() + mS;
                y1 = note->Y() + 4 * mS + IDiv(mS, 2) + (below ? 2 * mS : 0);
            }
        }
        if (end < t1) {
            if (const auto note = notes->Item(end, true)) {
                x2 = note->X();
                y2 = note->Y() + 4 * mS + IDiv(mS, 2) + (below ? 2 * mS : 0);
            }
        }
        if (x1 == 0 && x2 == 0) continue;
        if (x1 == 0) x1 = x2 - 2 * mS, y1 = y2;
        if (x2 == 0) x2 = x1 + 2 * mS, y2 = y1;
        DrawTie(detail::ScoreAccess::DrawColors(mScore).Ties, x1, y1, x2, y2, below);
    }
}

// A thin lens of two cubic arcs, out along one side and back one pixel off. A tie too short for
// an arc is drawn as a straight line.
void StaffDrawer::DrawTie(int32_t color, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                          bool below) {
    auto* surface = mLayout.Target();
    if (!surface) return;
    const int32_t pxX = std::max(1, NInt(surface->TwipsPerPixelX()));
    const int32_t pxY = std::max(1, NInt(surface->TwipsPerPixelY()));
    const int32_t dx = x2 - x1;
    const int32_t lowY = std::min(y1, y2);
    const float ratio =
        lowY > 0 ? static_cast<float>(std::max(y1, y2)) / static_cast<float>(lowY) : 1.0f;
    const int32_t k = std::max(1, NInt(static_cast<double>(ratio) * 3.2));
    const int32_t a = IDiv(dx, k);
    const int32_t b = a - pxX;
    if (b <= 0) {
        mLayout.DrawLine(color, x1, y1, x2, y2);
        return;
    }
    const int32_t kept = surface->ForeColor();
    surface->SetForeColor(color);
    x1 -= mLayout.PrintOffsetX(), x2 -= mLayout.PrintOffsetX();
    y1 -= mLayout.PrintOffsetY(), y2 -= mLayout.PrintOffsetY();
    const double lnB = std::log(static_cast<double>(b));
    int32_t h = SnapY(NInt(lnB * 24));
    if (!below) h = -h;
    const int32_t h2 = below ? h + pxY : h - pxY;
    auto pixel = [&](int64_t x, int64_t y) {
        return PixelPoint{static_cast<int32_t>(FloorDiv(ClampCoord(x), pxX)),
                          static_cast<int32_t>(FloorDiv(ClampCoord(y), pxY))};
    };
    std::array<PixelPoint, 7> points;
    points[0] = points[6] = pixel(x1, y1);
    points[3] = pixel(x2, y2);
    if (y1 == y2) {
        points[1] = pixel(x1 + a, y1 + h);
        points[2] = pixel(x2 - a, y2 + h);
        points[4] = pixel(x2 - b, y2 + h2);
        points[5] = pixel(x1 + b, y1 + h2);
    } else {
        const int32_t mid = x1 + FloorDiv(dx, 2);
        const int32_t g = below ? -SnapY(NInt(lnB * 41)) : SnapY(NInt(lnB * 28));
        const int32_t g2 = below ? g - pxY : g + pxY;
        points[1] = pixel(mid - a, y1 + h);
        points[2] = pixel(mid + a, y2 - g);
        points[4] = pixel(mid + b, y2 - g2);
        points[5] = pixel(mid - b, y1 + h2);
    }
    surface->PolyBezier(points);
    surface->SetForeColor(kept);
}

}  // namespace corvendi
