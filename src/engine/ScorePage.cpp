// Page geometry: paper size and orientation, margins, staff and system spacing.
#include <array>

#include "common/Arith.h"
#include "corvendi/Enums.h"
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

}  // namespace

// --- paper ----------------------------------------------------------------------------------

// The window shows the sheet: in landscape its width is the paper's long side.
void Score::ApplyPageSizeToWindow() {
    if (!mWindow) return;
    mWindow->SetHeight(static_cast<double>(SheetHeightTw()));
    mWindow->SetWidth(static_cast<double>(SheetWidthTw()));
}

void Score::RecomputePageSize() {
    mPageSize = pgsCustom;
    for (size_t i = 0; i < kPaperSizes.size(); ++i) {
        if (kPaperSizes[i].HeightTw == mPageHeightTw && kPaperSizes[i].WidthTw == mPageWidthTw) {
            mPageSize = static_cast<int32_t>(i);
            break;
        }
    }
}

void Score::SetPageSize(int32_t value) {
    if (!InRange(value, static_cast<int32_t>(pgsLeter), static_cast<int32_t>(pgsCustom)) ||
        value == mPageSize) {
        return;
    }
    SetChanged(true);
    mPageSize = value;
    if (value != pgsCustom) {
        const PaperSize& paper = kPaperSizes[static_cast<size_t>(value)];
        mPageHeightTw = paper.HeightTw;
        mPageWidthTw = paper.WidthTw;
        mPageHeightIn = paper.HeightIn;
        mPageWidthIn = paper.WidthIn;
        ApplyPageSizeToWindow();
    }
    PaintWindow();
}

bool Score::Landscape() const { return mPageOrientation == pgeLandscape; }

float Score::PageHeight() const { return Landscape() ? mPageWidthIn : mPageHeightIn; }
float Score::PageWidth() const { return Landscape() ? mPageHeightIn : mPageWidthIn; }

// The paper's long side, whichever way the page is turned.
void Score::SetPaperLength(float inches) {
    mPageHeightIn = inches;
    mPageHeightTw = InchesToTwips(inches);
    ApplyPageSizeToWindow();
}

// The paper's short side.
void Score::SetPaperBreadth(float inches) {
    mPageWidthIn = inches;
    mPageWidthTw = InchesToTwips(inches);
    ApplyPageSizeToWindow();
}

void Score::SetPageHeight(float inches) {
    if (inches == PageHeight()) return;
    if (Landscape()) {
        SetPaperBreadth(inches);
    } else {
        SetPaperLength(inches);
    }
    SetChanged(true);
    RecomputePageSize();
    PaintWindow();
}

void Score::SetPageWidth(float inches) {
    if (inches == PageWidth()) return;
    if (Landscape()) {
        SetPaperLength(inches);
    } else {
        SetPaperBreadth(inches);
    }
    SetChanged(true);
    RecomputePageSize();
    PaintWindow();
}

void Score::SetPageOrientation(int32_t value) {
    if (value == mPageOrientation) return;
    mPageOrientation = value;
    SetChanged(true);
    ApplyPageSizeToWindow();
    PaintWindow();
}

// --- margins and spacing ------------------------------------------------------------------

float Score::Margins(int32_t Margin) const {
    if (!InRange(Margin, 0, 3)) return 0.0f;
    return mMargins[static_cast<size_t>(Margin)];
}

int32_t Score::MarginsTw(int32_t Margin) const {
    if (!InRange(Margin, 0, 3)) return 0;
    return mMarginsTw[static_cast<size_t>(Margin)];
}

void Score::SetMargins(int32_t Margin, float inches) {
    if (!InRange(Margin, 0, 3)) return;
    StoreSpacing(inches, mMargins[static_cast<size_t>(Margin)],
                 mMarginsTw[static_cast<size_t>(Margin)]);
}

// Stores a length in inches and its twips; true when it changed.
bool Score::StoreLength(float inches, float& member, int32_t& twips) {
    if (inches == member) return false;
    member = inches;
    twips = InchesToTwips(inches);
    return true;
}

void Score::StoreSpacing(float inches, float& member, int32_t& twips) {
    if (!StoreLength(inches, member, twips)) return;
    SetChanged(true);
    PaintWindow();
}

void Score::UpdateBeamMetrics() {
    const bool large = mStaffHeightTw >= 576;
    mBeamLines = large ? 4 : 3;
    mBeamGap = large ? 105 : 90;
}

void Score::SetStaffHeight(float inches) {
    if (!StoreLength(inches, mStaffHeight, mStaffHeightTw)) return;
    UpdateBeamMetrics();
    SetChanged(true);
    PaintWindow();
}

void Score::StaffHeightTwSet(int32_t twips) { mStaffHeightTw = twips; }

void Score::SetStaffSpace(float inches) { StoreSpacing(inches, mStaffSpace, mStaffSpaceTw); }

void Score::SetSystemSpace(float inches) { StoreSpacing(inches, mSystemSpace, mSystemSpaceTw); }

}  // namespace corvendi
