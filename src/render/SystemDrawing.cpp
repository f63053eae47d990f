// Drawing one system: for each visible staff its hit region, staff lines and contents, the
// staff-group brackets, braces and staff descriptions; then the system's left barline.
#include <memory>
#include <string_view>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Music-font characters of brackets and braces (UTF-8).
constexpr std::string_view kBracketTop = "\xC3\x82";  // "Â"
constexpr std::string_view kBracketBottom = "L";
constexpr std::string_view kBraceUpper = "\xC2\xA7";  // "§"
constexpr std::string_view kBraceLower = "\xC3\xAA";  // "ê"

// Staff groups 1 and above get a bracket, except piano staffs, which are braced instead.
constexpr int32_t kPianoGroup = 4;
bool BracketedGroup(int32_t id) { return id >= 1 && id != kPianoGroup; }

// A system stops drawing staffs once its cursor has run this far off any page.
constexpr int32_t kCursorLimit = kMaxCoordTw / 2;

}  // namespace

void PageLayout::DrawSystem(const std::vector<SystemStaff>& staffs) {
    SetBarlinePositions();
    mGroup = GroupBracket{};
    mBrace = PendingBrace{};
    if (mScore.UseChords()) mTop = ClampCoord(static_cast<int64_t>(mTop) + ChordRowHeight());

    const int32_t staffHeight = LayoutStaffHeight(mScore);
    const int32_t staffSpace = LayoutStaffSpace(mScore);
    auto& regions = detail::ScoreAccess::State(mScore).Regions;
    bool first = true;
    int32_t systemTopLine = 0;
    int32_t systemBottomLine = 0;

    for (const auto& entry : staffs) {
        if (mTop > kCursorLimit || mTop < -kCursorLimit) break;
        const Staff& staff = *entry.Staff;
        mStaffScale = entry.Scale;
        SetStaffMetrics(NInt(staffHeight / 4.0 * entry.Scale));
        const int32_t s = mMetrics.LineSpacing;
        SelectFont(kMusicFontIndex);
        if (const auto events = staff.GlobalEvents()) {
            if (const auto space = events->Find(mSystem.Start, evtStaffSpace, true)) {
                mTop += space->Value1() > 0 ? space->Value1() * s : -space->Value2() * s;
            }
        }

        auto region = std::make_shared<Region>();
        region->Time = mSystem.Start;
        region->First = first;
        region->Split = false;
        region->Staff = staff.Index();
        region->Right = mRightLimit;
        region->Left = mMusicLeft;
        region->Top = mTop;
        const int32_t pad = SnapY(IDiv(NInt(entry.Scale * static_cast<float>(staffSpace)), 2));
        region->PadTop = pad;
        region->PadBottom = pad;
        mTop += pad;
        region->IncY = s;
        region->SetMeasures(mSystem.Count);

        const int32_t topLine = mTop;
        if (mScore.Handles())
            detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::MarkHandle, int16_t{0},
                                                           topLine);
        if (detail::ScoreAccess::State(mScore).HasGroupMark) OpenGroupIfNeeded(staff, topLine);
        if (mBrace.StaffsLeft == 0 && staff.Brace() > 0) {
            mBrace = PendingBrace{staff.Brace(), topLine, entry.Staff};
        }
        const bool braced = mBrace.StaffsLeft > 0;

        DrawStaffLines(mTop);
        mTop += 4 * s;
        StaffSystemFrame frame{mMusicLeft, topLine,       mRightLimit,   mTop,
                               1,          staff.Index(), mSystem.Start, braced ? mBrace.Top : -1,
                               entry.Staff};
        DrawStaffSystem(frame, *region);
        if (entry.Grand) {
            region->Split = true;
            mTop += 4 * s;
            frame.TopLine = mTop;
            DrawStaffLines(mTop);
            mTop += 4 * s;
            frame.BottomLine = mTop;
            frame.Part = 2;
            DrawStaffSystem(frame, *region);
        }
        const int32_t bottomLine = mTop;

        if (braced) {
            if (--mBrace.StaffsLeft == 0) DrawBrace(bottomLine);
        } else if (ShowsDescription(staff)) {
            DrawDescription(staff, topLine + IDiv(bottomLine - topLine, 2));
        }

        for (int32_t j = 0; j < mSystem.Count; ++j) {
            region->SetMeasureFlag(j, mSystem.Flags[static_cast<size_t>(j)]);
        }
        mTop = SnapY(bottomLine + pad);
        region->Bottom = mTop;
        if (!entry.Grand) mTop += staff.Verses() * kLyricLineTw;
        region->Index = WrapToInt16(static_cast<int64_t>(regions.size()) + 1);
        regions.push_back(std::move(region));

        if (first) systemTopLine = topLine;
        systemBottomLine = bottomLine;
        first = false;
    }

    // A brace asking for more staffs than the system has closes at its last staff.
    if (mBrace.StaffsLeft > 0) DrawBrace(systemBottomLine);
    if (mGroup.Open) CloseGroup();
    if (!first) {
        DrawLine(detail::ScoreAccess::State(mScore).Colors.Bars, mMusicLeft, systemTopLine,
                 mMusicLeft, systemBottomLine);
    }
}

void PageLayout::DrawStaffLines(int32_t top) {
    const int32_t s = mMetrics.LineSpacing;
    for (int32_t line = 0; line < 5; ++line) {
        const int32_t y = top + line * s;
        DrawLine(detail::ScoreAccess::State(mScore).Colors.Lines, mMusicLeft, y, mRightLimit, y);
    }
}

void PageLayout::DrawGlyph(std::string_view glyph, int32_t x, int32_t y, int32_t color) {
    if (!mSurface) return;
    mSurface->SetForeColor(color);
    DrawText(glyph, x, y);
}

// --- staff-group brackets ---------------------------------------------------------------------

void PageLayout::OpenGroupIfNeeded(const Staff& staff, int32_t topLine) {
    const int32_t id = staff.GroupID();
    const int32_t type = staff.GroupType();
    if (id != mGroup.Id) {
        if (mGroup.Open) CloseGroup();
        mGroup = GroupBracket{};
        mGroup.Id = id;
        if (BracketedGroup(id)) {
            mGroup.Open = true;
            mGroup.X = mMusicLeft - mMetrics.BracketInset;
            mGroup.Top = topLine;
            mGroup.RunType = type;
            mGroup.RunTop = topLine;
            DrawGlyph(kBracketTop, mGroup.X, topLine - mMetrics.BracketRise,
                      detail::ScoreAccess::State(mScore).Colors.Bars);
        }
    } else if (mGroup.Open && type != mGroup.RunType) {
        CloseGroupRun();
        mGroup.RunType = type;
        mGroup.RunTop = topLine;
        mGroup.RunCount = 0;
    }
    if (mGroup.Open) {
        mGroup.LastTopLine = topLine;
        mGroup.Last = mMetrics;
        ++mGroup.RunCount;
    }
}

void PageLayout::CloseGroup() {
    const StaffMetrics& m = mGroup.Last;
    const int32_t color = detail::ScoreAccess::State(mScore).Colors.Bars;
    SelectFont(kMusicFontIndex);
    DrawGlyph(kBracketBottom, mGroup.X, mGroup.LastTopLine - m.BracketRise, color);
    DrawLine(color, mGroup.X, mGroup.Top, mGroup.X + m.BracketWidth,
             mGroup.LastTopLine - m.BracketRise + m.FiveAndAHalf, LineFill::FilledBox);
    CloseGroupRun();
    mGroup.Open = false;
}

// A run of two or more staffs of the same instrument inside a group gets a square sub-bracket.
void PageLayout::CloseGroupRun() {
    if (mGroup.RunCount <= 1) return;
    const int32_t s = mGroup.Last.LineSpacing;
    const int32_t color = detail::ScoreAccess::State(mScore).Colors.Bars;
    const int32_t x = mMusicLeft - 2 * s;
    const int32_t top = mGroup.RunTop;
    const int32_t bottom = mGroup.LastTopLine + 4 * s;
    DrawLine(color, x, top, mMusicLeft, top);
    DrawLine(color, x, bottom, mMusicLeft, bottom);
    DrawLine(color, x, top, x, bottom);
}

// --- braces and descriptions --------------------------------------------------------------------

void PageLayout::DrawBrace(int32_t bottomLine) {
    const int32_t half = NInt((bottomLine - mBrace.Top) / 2.0);
    if (mBrace.First && ShowsDescription(*mBrace.First)) {
        DrawDescription(*mBrace.First, mBrace.Top + half);
    }
    SelectFont(kMusicFontIndex);
    if (mSurface && half > 0) {
        FontSpec braceFont = mSurface->Font();
        braceFont.Size = static_cast<float>(half) / 40.0f;
        mSurface->SetFont(braceFont);
        const int32_t x = mMusicLeft - TextWidth(kBraceUpper);
        const int32_t y = mBrace.Top - NInt(half * 0.17);
        DrawGlyph(kBraceUpper, x, y, detail::ScoreAccess::State(mScore).Colors.Bars);
        DrawGlyph(kBraceLower, x, y + half, detail::ScoreAccess::State(mScore).Colors.Bars);
        SelectFont(kMusicFontIndex);
    }
    mBrace = PendingBrace{};
}

bool PageLayout::ShowsDescription(const Staff& staff) const {
    return mFirstSystem && mScore.CurPage() == 1 && (staff.Flags() & stfShowStaffDesc) != 0 &&
           !staff.Description().empty();
}

void PageLayout::DrawDescription(const Staff& staff, int32_t middleY) {
    SelectFont(fntCopyright);
    if (mSurface) mSurface->SetForeColor(detail::ScoreAccess::State(mScore).Colors.Bars);
    DrawText(staff.Description(), mLeftEdge, middleY - IDiv(TextHeight(staff.Description()), 2));
    SelectFont(kMusicFontIndex);
}

}  // namespace corvendi
