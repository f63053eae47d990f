// Staff metrics, font selection and the text and line primitives of the page drawing.
#include <algorithm>
#include <string>

#include "common/Arith.h"
#include "corvendi/Font.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Removes the last UTF-8 character of the text.
void DropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) text.pop_back();
}

// The note glyph of a metronome beat.
std::string_view BeatGlyph(int32_t beat) {
    switch (beat) {
        case 4: return "s";
        case 8: return "e";
        case 32: return "h";
        case 64: return "w";
        default: return "q";
    }
}

}  // namespace

StaffMetrics StaffMetrics::For(int32_t lineSpacing) {
    const int32_t s = std::clamp(lineSpacing, 0, kMaxLineSpacingTw);
    StaffMetrics m;
    m.LineSpacing = s;
    m.BracketWidth = NInt(0.45 * s);
    m.HalfSpacing = IDiv(s, 2);
    m.BracketInset = SnapX(s + IDiv(IDiv(s, 2), 2));
    m.BracketRise = s + IDiv(s, 2);
    m.SizeUnit = 2 * s;
    m.MinMeasureWidth = 3 * s;
    m.ItemWidth = 4 * s;
    m.FiveSpacings = 5 * s;
    m.FiveAndAHalf = IDiv(s, 2) + 5 * s;
    return m;
}

void PageLayout::SetStaffMetrics(int32_t lineSpacing) { mMetrics = StaffMetrics::For(lineSpacing); }

void PageLayout::SelectFont(int32_t index) {
    if (!mSurface || !InRange(index, 0, Score::kFontCount - 1)) return;
    mFontIndex = index;
    const auto& font = detail::ScoreAccess::FontsRef(mScore)[static_cast<size_t>(index)];
    if (!font) return;
    const int32_t staffHeight = LayoutStaffHeight(mScore);
    if (index == kMusicFontIndex) {
        if (mStaffScale == 0.0f) mStaffScale = 1.0f;
        font->SetSize(static_cast<float>(staffHeight) / 20.0f * mStaffScale);
        mGlyphDrop = SnapY(NInt(static_cast<double>(staffHeight) * 0.39 * mStaffScale));
    } else if (index == kSmallTextFontIndex) {
        font->SetSize(static_cast<float>(staffHeight) / 60.0f);
    }
    mSurface->SetFont(font->Spec());
    mSurface->SetFontTransparent(true);
    mSurface->SetBackgroundTransparent(true);
}

int32_t PageLayout::TextWidth(std::string_view text) const {
    return mSurface ? ClampCoord(NInt64(mSurface->TextWidth(text))) : 0;
}

int32_t PageLayout::TextHeight(std::string_view text) const {
    return mSurface ? ClampCoord(NInt64(mSurface->TextHeight(text))) : 0;
}

void PageLayout::DrawText(std::string_view text, int32_t x, int32_t y) {
    if (!mSurface) return;
    if (mPrinting) {
        mSurface->SetCurrentX(static_cast<double>(x) - mPrintOffsetX);
        mSurface->SetCurrentY(static_cast<double>(y) - mPrintOffsetY);
        mSurface->Print(text);
        return;
    }
    mSurface->TextOut(IDiv(x, NInt(detail::ScoreAccess::State(mScore).TwipsPerPixelX)),
                      IDiv(y, NInt(detail::ScoreAccess::State(mScore).TwipsPerPixelY)), text);
}

void PageLayout::DrawLine(int32_t color, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                          LineFill fill) {
    if (!mSurface) return;
    const double dx = mPrintOffsetX;
    const double dy = mPrintOffsetY;
    mSurface->Line(x1 - dx, y1 - dy, x2 - dx, y2 - dy, color, fill);
}

// --- title-block lines ----------------------------------------------------------------------

int32_t PageLayout::AvailableWidth() const {
    return ClampCoord(static_cast<int64_t>(LayoutPageWidth(mScore)) -
                      LayoutMargin(mScore, marLeft) - LayoutMargin(mScore, marRight));
}

std::string PageLayout::FitBetweenMargins(std::string_view text) const {
    std::string fitted(text);
    const int32_t available = AvailableWidth();
    if (available <= 0) return {};
    while (!fitted.empty() && TextWidth(fitted) > available) DropLastCharacter(fitted);
    return fitted;
}

void PageLayout::DrawCenteredLine(int32_t& y, std::string_view text) {
    const std::string line = FitBetweenMargins(text);
    const int32_t x = mLeftEdge + IDiv(AvailableWidth() - TextWidth(line), 2);
    if (mDrawing && !line.empty()) DrawText(line, x, y);
    y = ClampCoord(static_cast<int64_t>(y) + TextHeight(line));
}

void PageLayout::DrawRightLine(int32_t& y, std::string_view text) {
    const std::string line = FitBetweenMargins(text);
    const int32_t x = ClampCoord(static_cast<int64_t>(mRightLimit) - TextWidth(line));
    if (mDrawing && !line.empty()) DrawText(line, x, y);
    y = ClampCoord(static_cast<int64_t>(y) + TextHeight(line));
}

void PageLayout::DrawFooterLine(int32_t& y, std::string_view text) {
    const std::string line = FitBetweenMargins(text);
    y = ClampCoord(static_cast<int64_t>(y) - TextHeight(line));
    const int32_t x = mLeftEdge + IDiv(AvailableWidth() - TextWidth(line), 2);
    if (mDrawing && !line.empty()) DrawText(line, x, y);
}

void PageLayout::DrawHeading(int32_t& y, std::string_view text) {
    const std::string line = FitBetweenMargins(text);
    const size_t placeholder = line.find(kBeatPlaceholder);
    const std::string_view before = std::string_view(line).substr(0, placeholder);
    int64_t x = mLeftEdge;
    if (mDrawing && !before.empty()) DrawText(before, mLeftEdge, y);
    x += TextWidth(before);

    if (placeholder != std::string::npos) {
        const int32_t headingFont = mFontIndex;
        const float headingSize = mSurface ? mSurface->Font().Size : 0.0f;
        SelectFont(kMusicFontIndex);
        if (mSurface) {
            FontSpec glyphFont = mSurface->Font();
            glyphFont.Size = headingSize * 1.5f;
            mSurface->SetFont(glyphFont);
        }
        const std::string_view glyph = BeatGlyph(mScore.Beat());
        const int32_t raise = NInt(0.3 * TextHeight(glyph));
        if (mDrawing) DrawText(glyph, ClampCoord(x), y - raise);
        x += TextWidth(glyph);
        SelectFont(headingFont);
        const std::string_view after = std::string_view(line).substr(placeholder + 1);
        if (mDrawing && !after.empty()) DrawText(after, ClampCoord(x), y);
    }
    y = ClampCoord(static_cast<int64_t>(y) + TextHeight("S"));
}

}  // namespace corvendi
