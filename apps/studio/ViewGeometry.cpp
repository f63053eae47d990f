#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace corvendi::studio {

void ViewGeometry::SetScale(int32_t scale) {
    mScale = std::max(scale, 1);
    ClampScroll();
}

void ViewGeometry::SetZoomStep(int32_t step) {
    mStep = std::clamp(step, 0, static_cast<int32_t>(kZoomSteps.size()) - 1);
    ClampScroll();
}

int32_t ViewGeometry::TwipsPerDevicePixel() const {
    const int32_t twips = kZoomSteps[static_cast<size_t>(mStep)];
    return std::max(1, (2 * twips + mScale) / (2 * mScale));
}

int32_t ViewGeometry::ZoomPercent() const {
    return static_cast<int32_t>(std::lround(1500.0 / (TwipsPerDevicePixel() * mScale)));
}

void ViewGeometry::SetPage(int32_t widthTwips, int32_t heightTwips) {
    mPageWidth = std::max(widthTwips, 0);
    mPageHeight = std::max(heightTwips, 0);
    ClampScroll();
}

void ViewGeometry::SetViewport(double width, double height) {
    mViewWidth = std::max(width, 0.0);
    mViewHeight = std::max(height, 0.0);
    ClampScroll();
}

bool PixelArea::Contains(const PixelArea& other) const {
    return other.X >= X && other.Y >= Y && other.X + other.Width <= X + Width &&
           other.Y + other.Height <= Y + Height;
}

PixelArea ViewGeometry::PagePixels() const {
    const double twips = TwipsPerDevicePixel();
    return {0, 0, static_cast<int32_t>(std::round(mPageWidth / twips)),
            static_cast<int32_t>(std::round(mPageHeight / twips))};
}

PixelArea ViewGeometry::VisiblePixels(double margin) const {
    const ViewPoint origin = PageOrigin();
    const double twips = TwipsPerDevicePixel();
    // Along one axis: the view's span in device pixels from the page's edge, widened, clipped.
    auto span = [margin, twips, this](double originAt, double view, double pageTwips, int32_t& from,
                                      int32_t& size) {
        const double widen = margin * view;
        const double low = std::floor((-originAt - widen) * mScale);
        const double high = std::ceil((view - originAt + widen) * mScale);
        const double pixels = std::round(pageTwips / twips);
        from = static_cast<int32_t>(std::clamp(low, 0.0, pixels));
        size = static_cast<int32_t>(std::clamp(high, 0.0, pixels)) - from;
    };
    PixelArea area;
    span(origin.X, mViewWidth, mPageWidth, area.X, area.Width);
    span(origin.Y, mViewHeight, mPageHeight, area.Y, area.Height);
    return area;
}

double ViewGeometry::PixelsPerTwip() const {
    return 1.0 / (static_cast<double>(TwipsPerDevicePixel()) * mScale);
}

double ViewGeometry::ContentWidth() const { return mPageWidth * PixelsPerTwip() + 2 * kBorder; }
double ViewGeometry::ContentHeight() const { return mPageHeight * PixelsPerTwip() + 2 * kBorder; }
double ViewGeometry::MaxScrollX() const { return std::max(0.0, ContentWidth() - mViewWidth); }
double ViewGeometry::MaxScrollY() const { return std::max(0.0, ContentHeight() - mViewHeight); }

void ViewGeometry::ScrollTo(double x, double y) {
    mScrollX = x;
    mScrollY = y;
    ClampScroll();
}

void ViewGeometry::ClampScroll() {
    mScrollX = std::clamp(mScrollX, 0.0, MaxScrollX());
    mScrollY = std::clamp(mScrollY, 0.0, MaxScrollY());
}

ViewPoint ViewGeometry::PageOrigin() const {
    auto along = [](double content, double view, double page, double scroll) {
        return content <= view ? std::floor((view - page) / 2) : kBorder - scroll;
    };
    return {along(ContentWidth(), mViewWidth, mPageWidth * PixelsPerTwip(), mScrollX),
            along(ContentHeight(), mViewHeight, mPageHeight * PixelsPerTwip(), mScrollY)};
}

PagePoint ViewGeometry::ToPage(ViewPoint view) const {
    const ViewPoint origin = PageOrigin();
    const double twipsPerPixel = 1.0 / PixelsPerTwip();
    return {static_cast<int32_t>(std::lround((view.X - origin.X) * twipsPerPixel)),
            static_cast<int32_t>(std::lround((view.Y - origin.Y) * twipsPerPixel))};
}

ViewPoint ViewGeometry::ToView(PagePoint page) const {
    const ViewPoint origin = PageOrigin();
    return {origin.X + page.X * PixelsPerTwip(), origin.Y + page.Y * PixelsPerTwip()};
}

bool ViewGeometry::ZoomAround(int32_t step, ViewPoint anchor) {
    const int32_t before = mStep;
    const PagePoint fixed = ToPage(anchor);
    SetZoomStep(step);
    if (mStep == before) return false;
    // Scroll so that `fixed` is drawn at `anchor` again.
    const ViewPoint now = ToView(fixed);
    ScrollTo(mScrollX + (now.X - anchor.X), mScrollY + (now.Y - anchor.Y));
    return true;
}

}  // namespace corvendi::studio
