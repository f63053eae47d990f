// Repainting the systems of the drawn page after an edit that left the layout as it was: their
// band is erased with the surface's background and each staff is drawn again from its region.
// An edit of a few notes of one staff repaints less where the surface can limit its drawing: a
// box around the edited measures of that staff is cleared, and the staffs whose drawing can
// reach it are drawn again with everything outside the box left as it was.
#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreState.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

using Regions = std::vector<std::shared_ptr<Region>>;

// Measure flags are 16-bit values.
constexpr int32_t kFlagWord = 65535;
// The drawing of a staff (ledger lines, stems, chord symbols above it, dynamics below) reaches
// this many line spacings beyond its band; lyrics reach further, a line per verse.
constexpr int32_t kReachSpacings = 8;
// The drawing that hangs on a head (ledger lines, a stem and its beam away from the staff,
// articulations and ornaments) stays within this many line spacings of it.
constexpr int32_t kHeadReachSpacings = 5;

int32_t TopLineOf(const Region& region) { return region.Top + region.PadTop; }

// The bottom line of the region's staff (of the lower staff of a grand staff).
int32_t BottomLineOf(const Region& region) {
    const int32_t spacings = region.Split ? 12 : 4;
    return ClampCoord(int64_t{TopLineOf(region)} + int64_t{spacings} * region.IncY);
}

// The regions of the system holding region `index` (0-based): first and last, inclusive.
struct SystemSpan {
    size_t First = 0;
    size_t Last = 0;
};

SystemSpan SystemOf(const Regions& regions, size_t index) {
    SystemSpan span{index, index};
    while (span.First > 0 && !regions[span.First]->First) --span.First;
    while (span.Last + 1 < regions.size() && !regions[span.Last + 1]->First) ++span.Last;
    return span;
}

// A box in page twips.
struct Box {
    double Left = 0.0, Top = 0.0, Right = 0.0, Bottom = 0.0;
};

// The pixel edge at or before a twip coordinate where a filled box drawn from it would begin:
// the box's pixels are those of the nearest pixel centres.
double PixelStart(double twips, double perPixel) { return NInt(twips / perPixel) * perPixel; }
double PixelEnd(double twips, double perPixel) { return (NInt(twips / perPixel) + 1) * perPixel; }

// The start times of the region's measures and, last, the end of its last measure; empty when
// the region's measures cannot be read.
std::vector<int32_t> MeasureBounds(const Region& region, Score& score) {
    const int32_t count = region.Measures();
    const auto globals = score.AllGlobals();
    if (count < 1 || !globals) return {};
    std::vector<int32_t> bounds;
    for (int32_t j = 0; j < count; ++j) {
        const auto measure = region.Measure(j);
        if (!measure) return {};
        bounds.push_back(measure->High());
    }
    const int64_t end = int64_t{bounds.back()} + globals->MeasureInfo(bounds.back()).Duration;
    bounds.push_back(static_cast<int32_t>(std::min<int64_t>(end, INT32_MAX)));
    return bounds;
}

// The measures (0-based, inclusive) whose bounds hold the times from..to-1; none when a time
// lies outside them.
std::optional<std::pair<int32_t, int32_t>> MeasuresHolding(const std::vector<int32_t>& bounds,
                                                           int32_t from, int32_t to) {
    if (bounds.size() < 2 || to <= from || from < bounds.front() || to > bounds.back())
        return std::nullopt;
    const auto holding = [&](int32_t time) {
        return static_cast<int32_t>(std::upper_bound(bounds.begin(), bounds.end(), time) -
                                    bounds.begin()) -
               1;
    };
    return std::make_pair(holding(from), holding(to - 1));
}

// The page y of the centre of a value's head on the region's staff at a time.
int32_t HeadY(Staff& staff, const Region& region, int32_t value, int32_t time) {
    int32_t clef = staff.CurClef(time);
    int32_t bottomLine = ClampCoord(int64_t{TopLineOf(region)} + 4 * int64_t{region.IncY});
    if (clef == clfGrand) {
        // Middle C and above on the upper staff, the rest on the lower one.
        clef = value >= 60 ? clfTreble : clfBass;
        if (value < 60) bottomLine = BottomLineOf(region);
    }
    const float position = PageLayout::StaffPosition(value, clef, staff.CurKey(time));
    return ClampCoord(int64_t{bottomLine} + NInt(static_cast<double>(position) * region.IncY));
}

}  // namespace

void PageLayout::RepaintSystem(int32_t regionIndex, bool toEndOfPage, int32_t measureIndex,
                               int32_t setBits, int32_t clearBits) {
    using detail::ScoreAccess;
    auto& regions = ScoreAccess::Regions(mScore);
    const auto& window = ScoreAccess::WindowRef(mScore);
    if (!CanRepaint(regionIndex)) return;

    // The system: back to its first region, on to the region before the next system's first.
    const SystemSpan system = SystemOf(regions, static_cast<size_t>(regionIndex - 1));
    const size_t first = system.First;
    const size_t last = toEndOfPage ? regions.size() - 1 : system.Last;

    int32_t left = regions[first]->Left;
    int32_t right = regions[first]->Right;
    for (size_t i = first; i <= last; ++i) {
        Region& region = *regions[i];
        if (measureIndex >= 0) {
            const int32_t flags = region.MeasureFlag(measureIndex);
            region.SetMeasureFlag(measureIndex, (flags | setBits) & (kFlagWord - clearBits));
        }
        left = std::min(left, region.Left);
        right = std::max(right, region.Right);
    }

    const Region& top = *regions[first];
    const Region& bottom = *regions[last];
    mSurface = window;
    // The band reaches half a staff space above the system's top: on page 1 the first system
    // stands right under the title block, whose last line (heading, composer) must stay.
    const int32_t bandTop = std::max(top.Top - top.PadTop, mShownTitleBottom);
    DrawLine(mSurface->BackColor(), left, bandTop, right, bottom.Bottom + bottom.PadBottom,
             LineFill::FilledBox);
    mSurface.reset();
    for (size_t i = first; i <= last; ++i) RedrawRegion(*regions[i]);
    DrawLeftBarlines(first, last);
}

std::pair<int32_t, int32_t> PageLayout::HeadsReach(const Region& region, int32_t from, int32_t to,
                                                   std::span<const uint8_t> gone) const {
    std::pair<int32_t, int32_t> reach{region.Top - region.PadTop, region.Bottom + region.PadBottom};
    const auto staffs = detail::ScoreAccess::StaffsRef(mScore);
    const auto staff = staffs ? staffs->Item(region.Staff) : nullptr;
    if (!staff) return reach;
    const int32_t beyond = kHeadReachSpacings * region.IncY;
    const auto widen = [&](int32_t value, int32_t time) {
        const int32_t y = HeadY(*staff, region, value, time);
        reach.first = std::min<int32_t>(reach.first, ClampCoord(int64_t{y} - beyond));
        reach.second = std::max<int32_t>(reach.second, ClampCoord(int64_t{y} + beyond));
    };
    for (const uint8_t value : gone) widen(value, from);
    for (int32_t v = 1; v <= staff->Voices(); ++v) {
        const auto voice = staff->Voice(v);
        const auto notes = voice ? voice->Notes() : nullptr;
        if (!notes) continue;
        auto it = std::partition_point(notes->begin(), notes->end(),
                                       [&](const auto& note) { return note->NoteTime() < from; });
        for (; it != notes->end() && (*it)->NoteTime() < to; ++it) {
            for (int32_t i = 0; i < (*it)->ValueCount(); ++i) widen((*it)->Value(i), from);
        }
    }
    return reach;
}

void PageLayout::RepaintAround(int32_t regionIndex, int32_t fromTime, int32_t toTime,
                               std::span<const uint8_t> gone) {
    using detail::ScoreAccess;
    if (!CanRepaint(regionIndex)) return;
    auto& regions = ScoreAccess::Regions(mScore);
    const auto window = ScoreAccess::WindowRef(mScore);  // held while the box is drawn
    const auto index = static_cast<size_t>(regionIndex - 1);
    const Region& edited = *regions[index];
    const std::vector<int32_t> bounds = MeasureBounds(edited, mScore);
    const auto measures = MeasuresHolding(bounds, fromTime, toTime);
    if (!measures) return RepaintSystem(regionIndex, false, -1, 0, 0);

    // Horizontally the edited measures and a measure on either side (accidentals, ties, beams
    // and slurs reach into the neighbours); vertically the staff's band and its pads. Both are
    // taken to the pixels a filled box of that extent would cover, whole pixels either way.
    const int32_t count = edited.Measures();
    const int32_t from = std::max(0, measures->first - 1);
    const int32_t to = std::min(count - 1, measures->second + 1);
    int64_t x = edited.Left;
    int64_t fromX = edited.Left;
    int64_t toX = edited.Right;
    for (int32_t j = 0; j < to; ++j) {
        x += edited.Measure(j)->Low();
        if (j + 1 == from) fromX = x;
    }
    if (to < count - 1) toX = x + edited.Measure(to)->Low();
    const double perPixelX = std::max(1.0, window->TwipsPerPixelX());
    const double perPixelY = std::max(1.0, window->TwipsPerPixelY());
    // Notes far above or below the staff draw beyond its band: the box takes in their heads and
    // what hangs on them. It never takes in the title block or the page's footer lines.
    auto [top, bottom] = HeadsReach(edited, bounds[static_cast<size_t>(from)],
                                    bounds[static_cast<size_t>(to) + 1], gone);
    const bool headsAbove = top < edited.Top - edited.PadTop;
    if ((headsAbove && top < mShownTitleBottom) || bottom > mShownFooterTop) {
        // Heads reaching into the title block or the footer are drawn there unerased.
        return RepaintSystem(regionIndex, false, -1, 0, 0);
    }
    top = std::max(top, mShownTitleBottom);  // the band stops there, as a system's does
    const Box box{
        PixelStart(static_cast<double>(ClampCoord(fromX)), perPixelX), PixelStart(top, perPixelY),
        PixelEnd(static_cast<double>(ClampCoord(toX)), perPixelX), PixelEnd(bottom, perPixelY)};
    if (!window->LimitDrawingTo(box.Left, box.Top, box.Right, box.Bottom))
        return RepaintSystem(regionIndex, false, -1, 0, 0);

    window->Cls();
    // Every staff that can draw into the box, in page order; at least the edited staff and its
    // neighbours in the system. Then the left barlines of the systems, which the box may cut.
    const SystemSpan system = SystemOf(regions, index);
    for (size_t i = 0; i < regions.size(); ++i) {
        const bool neighbour =
            i >= system.First && i <= system.Last && i + 1 >= index && i <= index + 1;
        if (neighbour || ReachesInto(*regions[i], box.Top, box.Bottom)) RedrawRegion(*regions[i]);
    }
    DrawLeftBarlines(0, regions.size() - 1);
    window->EndDrawingLimit();
}

bool PageLayout::CanRepaint(int32_t regionIndex) {
    using detail::ScoreAccess;
    const auto& regions = ScoreAccess::Regions(mScore);
    const auto& state = ScoreAccess::State(mScore);
    const auto count = static_cast<int32_t>(regions.size());
    if (regionIndex < 1 || regionIndex > count) return false;
    if (std::any_of(regions.begin(), regions.end(), [](const auto& r) { return !r; })) return false;
    if (!mScore.Redraw() && !state.Paginating) {
        ScoreAccess::PaintPendingSet(mScore, true);
        return false;
    }
    return !state.Painting && !state.PaginateBusy && ScoreAccess::WindowRef(mScore);
}

bool PageLayout::ReachesInto(const Region& region, double top, double bottom) const {
    const auto staffs = detail::ScoreAccess::StaffsRef(mScore);
    const auto staff = staffs ? staffs->Item(region.Staff) : nullptr;
    const int64_t lyrics = staff ? int64_t{staff->Verses()} * kLyricLineTw : 0;
    const int64_t reach = int64_t{kReachSpacings} * region.IncY;
    const auto first = static_cast<double>(int64_t{region.Top} - region.PadTop - reach);
    const auto last =
        static_cast<double>(int64_t{region.Bottom} + region.PadBottom + reach + lyrics);
    return first < bottom && last > top;
}

void PageLayout::DrawLeftBarlines(size_t first, size_t last) {
    // The erased band took the systems' left barlines with it.
    const auto& regions = detail::ScoreAccess::Regions(mScore);
    mSurface = detail::ScoreAccess::WindowRef(mScore);
    for (size_t i = first; i <= last; ++i) {
        if (!regions[i]->First) continue;
        size_t end = i;
        while (end + 1 <= last && !regions[end + 1]->First) ++end;
        const Region& system = *regions[i];
        DrawLine(detail::ScoreAccess::State(mScore).Colors.Bars, system.Left, TopLineOf(system),
                 system.Left, BottomLineOf(*regions[end]));
    }
    mSurface.reset();
}

}  // namespace corvendi
