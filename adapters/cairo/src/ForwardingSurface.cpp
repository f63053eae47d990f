#include "ForwardingSurface.h"

#include <utility>

namespace corvendi::cairo {

ForwardingSurface::ForwardingSurface(std::shared_ptr<Surface> target) : mTarget(std::move(target)) {
    mWidth = mTarget->Width();
    mHeight = mTarget->Height();
}

void ForwardingSurface::SetTarget(std::shared_ptr<Surface> target) {
    mTarget = std::move(target);
    mTarget->SetWidth(mWidth);
    mTarget->SetHeight(mHeight);
    mTarget->SetFont(mFont);
    mTarget->SetForeColor(mForeColor);
    mTarget->SetBackColor(mBackColor);
    mTarget->SetDrawMode(mDrawMode);
    mTarget->SetDrawStyle(mDrawStyle);
    mTarget->SetDrawWidth(mDrawWidth);
    mTarget->SetFontTransparent(mFontTransparent);
    mTarget->SetBackgroundTransparent(mBackgroundTransparent);
    mTarget->SetCurrentX(mCurrentX);
    mTarget->SetCurrentY(mCurrentY);
}

// Drawing moves the target's current position; this surface reports the same.
void ForwardingSurface::PullPosition() {
    mCurrentX = mTarget->CurrentX();
    mCurrentY = mTarget->CurrentY();
}

void ForwardingSurface::Cls() {
    mTarget->Cls();
    PullPosition();
}

void ForwardingSurface::Line(double x1, double y1, double x2, double y2, int32_t color,
                             LineFill fill) {
    mTarget->Line(x1, y1, x2, y2, color, fill);
    PullPosition();
}

void ForwardingSurface::Print(std::string_view text) {
    mTarget->Print(text);
    PullPosition();
}

void ForwardingSurface::TextOut(int32_t px, int32_t py, std::string_view text) {
    mTarget->TextOut(px, py, text);
}

void ForwardingSurface::PolyBezier(std::span<const PixelPoint> points) {
    mTarget->PolyBezier(points);
}

double ForwardingSurface::TextWidth(std::string_view text) { return mTarget->TextWidth(text); }
double ForwardingSurface::TextHeight(std::string_view text) { return mTarget->TextHeight(text); }

void ForwardingSurface::SetFont(const FontSpec& font) {
    Surface::SetFont(font);
    mTarget->SetFont(font);
}
void ForwardingSurface::SetCurrentX(double x) {
    Surface::SetCurrentX(x);
    mTarget->SetCurrentX(x);
}
void ForwardingSurface::SetCurrentY(double y) {
    Surface::SetCurrentY(y);
    mTarget->SetCurrentY(y);
}
void ForwardingSurface::SetForeColor(int32_t color) {
    Surface::SetForeColor(color);
    mTarget->SetForeColor(color);
}
void ForwardingSurface::SetBackColor(int32_t color) {
    Surface::SetBackColor(color);
    mTarget->SetBackColor(color);
}
void ForwardingSurface::SetDrawMode(int32_t mode) {
    Surface::SetDrawMode(mode);
    mTarget->SetDrawMode(mode);
}
void ForwardingSurface::SetDrawStyle(int32_t style) {
    Surface::SetDrawStyle(style);
    mTarget->SetDrawStyle(style);
}
void ForwardingSurface::SetDrawWidth(int32_t width) {
    Surface::SetDrawWidth(width);
    mTarget->SetDrawWidth(width);
}
void ForwardingSurface::SetFontTransparent(bool on) {
    Surface::SetFontTransparent(on);
    mTarget->SetFontTransparent(on);
}
void ForwardingSurface::SetBackgroundTransparent(bool on) {
    Surface::SetBackgroundTransparent(on);
    mTarget->SetBackgroundTransparent(on);
}
void ForwardingSurface::SetWidth(double twips) {
    Surface::SetWidth(twips);
    mTarget->SetWidth(twips);
}
void ForwardingSurface::SetHeight(double twips) {
    Surface::SetHeight(twips);
    mTarget->SetHeight(twips);
}

}  // namespace corvendi::cairo
