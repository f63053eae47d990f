// Page geometry: paper size and orientation, margins, staff and system spacing.
#include <array>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"

namespace corvendi {

namespace {

struct PaperSize {
    int32_t HeightTw;
    int32_t WidthTw;
    float HeightIn;
    float WidthIn;
};

// The named sizes, indexed by PageSizes, in portrait sense.
constexpr std::array<PaperSize, 5> kPaperSizes = {{
    {15840, 12240, 11.0f, 8.5f},    // pgsLeter
    {20160, 12240, 14.0f, 8.5f},    // pgsLegal
    {15120, 10440, 10.5f, 7.25f},   // pgsExecutive
    {16834, 11909, 11.69f, 8.27f},  // pgsA4
    {11909, 8395, 8.27f, 5.83f},    // pgsA5
}};

int32_t InchesToTwips(float inches) { return NInt(inches * 1440.0f); }

// Stores a length in inches and its twips; true when it changed.
bool StoreLength(float inches, float& member, int32_t& twips) {
    if (inches == member) return false;
    member = inches;
    twips = InchesToTwips(inches);
    return true;
}

}  // namespace

// --- paper ----------------------------------------------------------------------------------

// The window shows the sheet: in landscape its width is the paper's long side.
void detail::ScoreAccess::ApplyPageSizeToWindow(Score& s) {
    if (!s.mWindow) return;
    s.mWindow->SetHeight(static_cast<double>(s.SheetHeightTw()));
    s.mWindow->SetWidth(static_cast<double>(s.SheetWidthTw()));
}

void detail::ScoreAccess::RecomputePageSize(Score& s) {
    s.mPageSize = pgsCustom;
    for (size_t i = 0; i < kPaperSizes.size(); ++i) {
        if (kPaperSizes[i].HeightTw == s.mState->PageHeightTw &&
            kPaperSizes[i].WidthTw == s.mState->PageWidthTw) {
            s.mPageSize = static_cast<int32_t>(i);
            break;
        }
    }
}

void Score::SetPageSize(int32_t value) {
    detail::EditStep step(*this);
    if (!InRange(value, static_cast<int32_t>(pgsLeter), static_cast<int32_t>(pgsCustom)) ||
        value == mPageSize) {
        return;
    }
    SetChanged(true);
    mPageSize = value;
    if (value != pgsCustom) {
        const PaperSize& paper = kPaperSizes[static_cast<size_t>(value)];
        mState->PageHeightTw = paper.HeightTw;
        mState->PageWidthTw = paper.WidthTw;
        mPageHeightIn = paper.HeightIn;
        mPageWidthIn = paper.WidthIn;
        detail::ScoreAccess::ApplyPageSizeToWindow(*this);
    }
    PaintWindow();
}

bool detail::ScoreAccess::Landscape(const Score& s) { return s.mPageOrientation == pgeLandscape; }

int32_t Score::SheetWidthTw() const {
    return detail::ScoreAccess::Landscape(*this) ? mState->PageHeightTw : mState->PageWidthTw;
}

int32_t Score::SheetHeightTw() const {
    return detail::ScoreAccess::Landscape(*this) ? mState->PageWidthTw : mState->PageHeightTw;
}

float Score::PageHeight() const {
    return detail::ScoreAccess::Landscape(*this) ? mPageWidthIn : mPageHeightIn;
}
float Score::PageWidth() const {
    return detail::ScoreAccess::Landscape(*this) ? mPageHeightIn : mPageWidthIn;
}

// The paper's long side, whichever way the page is turned.
void detail::ScoreAccess::SetPaperLength(Score& s, float inches) {
    s.mPageHeightIn = inches;
    s.mState->PageHeightTw = InchesToTwips(inches);
    ApplyPageSizeToWindow(s);
}

// The paper's short side.
void detail::ScoreAccess::SetPaperBreadth(Score& s, float inches) {
    s.mPageWidthIn = inches;
    s.mState->PageWidthTw = InchesToTwips(inches);
    ApplyPageSizeToWindow(s);
}

void Score::SetPageHeight(float inches) {
    detail::EditStep step(*this);
    if (inches == PageHeight()) return;
    if (detail::ScoreAccess::Landscape(*this)) {
        detail::ScoreAccess::SetPaperBreadth(*this, inches);
    } else {
        detail::ScoreAccess::SetPaperLength(*this, inches);
    }
    SetChanged(true);
    detail::ScoreAccess::RecomputePageSize(*this);
    PaintWindow();
}

void Score::SetPageWidth(float inches) {
    detail::EditStep step(*this);
    if (inches == PageWidth()) return;
    if (detail::ScoreAccess::Landscape(*this)) {
        detail::ScoreAccess::SetPaperLength(*this, inches);
    } else {
        detail::ScoreAccess::SetPaperBreadth(*this, inches);
    }
    SetChanged(true);
    detail::ScoreAccess::RecomputePageSize(*this);
    PaintWindow();
}

void Score::SetPageOrientation(int32_t value) {
    detail::EditStep step(*this);
    if (value == mPageOrientation) return;
    mPageOrientation = value;
    SetChanged(true);
    detail::ScoreAccess::ApplyPageSizeToWindow(*this);
    PaintWindow();
}

// --- margins and spacing ------------------------------------------------------------------

float Score::Margins(int32_t Margin) const {
    if (!InRange(Margin, 0, 3)) return 0.0f;
    return mMargins[static_cast<size_t>(Margin)];
}

void Score::SetMargins(int32_t Margin, float inches) {
    detail::EditStep step(*this);
    if (!InRange(Margin, 0, 3)) return;
    detail::ScoreAccess::StoreSpacing(*this, inches, mMargins[static_cast<size_t>(Margin)],
                                      mState->MarginsTw[static_cast<size_t>(Margin)]);
}

void detail::ScoreAccess::StoreSpacing(Score& s, float inches, float& member, int32_t& twips) {
    if (!StoreLength(inches, member, twips)) return;
    s.SetChanged(true);
    s.PaintWindow();
}

void detail::ScoreAccess::UpdateBeamMetrics(Score& s) {
    const bool large = s.mState->StaffHeightTw >= 576;
    s.mState->BeamLines = large ? 4 : 3;
    s.mState->BeamGap = large ? 105 : 90;
}

void Score::SetStaffHeight(float inches) {
    detail::EditStep step(*this);
    if (!StoreLength(inches, mStaffHeight, mState->StaffHeightTw)) return;
    detail::ScoreAccess::UpdateBeamMetrics(*this);
    SetChanged(true);
    PaintWindow();
}

void Score::SetStaffSpace(float inches) {
    detail::EditStep step(*this);
    detail::ScoreAccess::StoreSpacing(*this, inches, mStaffSpace, mState->StaffSpaceTw);
}

void Score::SetSystemSpace(float inches) {
    detail::EditStep step(*this);
    detail::ScoreAccess::StoreSpacing(*this, inches, mSystemSpace, mState->SystemSpaceTw);
}

}  // namespace corvendi
