// The page view's arithmetic: zoom steps at each monitor scale, the page's place in the view, and
// view positions as page twips.
#include <gtest/gtest.h>

#include "StatusText.h"
#include "ViewGeometry.h"

namespace corvendi::studio {
namespace {

TEST(ViewGeometry, ZoomStepsAreWholeTwipsPerDevicePixelAtEachScale) {
    ViewGeometry view;
    std::vector<int32_t> twips, percent;
    for (int32_t step = 0; step < 8; ++step) {
        view.SetZoomStep(step);
        twips.push_back(view.TwipsPerDevicePixel());
        percent.push_back(view.ZoomPercent());
    }
    EXPECT_EQ(twips, (std::vector<int32_t>{15, 12, 10, 8, 6, 5, 4, 3}));
    EXPECT_EQ(percent, (std::vector<int32_t>{100, 125, 150, 188, 250, 300, 375, 500}));

    // A monitor of scale 2 gets twice the device pixels for about the same size on screen.
    view.SetScale(2);
    view.SetZoomStep(0);
    EXPECT_EQ(view.TwipsPerDevicePixel(), 8);
    EXPECT_EQ(view.ZoomPercent(), 94);
    view.SetZoomStep(7);
    EXPECT_EQ(view.TwipsPerDevicePixel(), 2);
    view.SetScale(3);
    EXPECT_EQ(view.TwipsPerDevicePixel(), 1);  // never below one twip
    view.SetZoomStep(99);
    EXPECT_EQ(view.ZoomStep(), 7);
    view.SetZoomStep(-1);
    EXPECT_EQ(view.ZoomStep(), 0);
}

TEST(ViewGeometry, APageNarrowerThanTheViewIsCentredAndCannotScroll) {
    ViewGeometry view;
    view.SetPage(12240, 15840);  // Letter: 816 x 1056 pixels at 100 %
    view.SetViewport(1000, 2000);
    view.ScrollTo(50, 50);
    EXPECT_EQ(view.ScrollX(), 0.0);
    EXPECT_EQ(view.ScrollY(), 0.0);
    EXPECT_EQ(view.PageOrigin().X, 92.0);
    EXPECT_EQ(view.ToPage({92.0, 472.0}), (PagePoint{0, 0}));
    EXPECT_EQ(view.ToPage({192.0, 572.0}), (PagePoint{1500, 1500}));
}

TEST(ViewGeometry, ScrollingMovesThePageAndStaysWithinIt) {
    ViewGeometry view;
    view.SetPage(12240, 15840);
    view.SetViewport(400, 300);
    EXPECT_EQ(view.MaxScrollX(), 816.0 + 32 - 400);
    view.ScrollTo(100, 5000);
    EXPECT_EQ(view.ScrollY(), view.MaxScrollY());
    EXPECT_EQ(view.PageOrigin().X, 16.0 - 100);
    // A point and its page twips go back and forth at every zoom and scale.
    for (int32_t scale : {1, 2}) {
        view.SetScale(scale);
        for (int32_t step = 0; step < 8; ++step) {
            view.SetZoomStep(step);
            view.ScrollTo(120, 240);
            const PagePoint page{7200, 9000};
            const ViewPoint at = view.ToView(page);
            EXPECT_EQ(view.ToPage(at), page) << "scale " << scale << " step " << step;
        }
    }
}

// What the score paints at a high zoom: the pixels the view shows and a margin, within the page.
TEST(ViewGeometry, TheVisiblePixelsAreTheViewsPartOfThePageWidenedWithinIt) {
    ViewGeometry view;
    view.SetPage(12240, 15840);
    view.SetViewport(600, 400);
    EXPECT_EQ(view.PagePixels(), (PixelArea{0, 0, 816, 1056}));
    // At 100 % the page starts after the border: its first 584 x 384 pixels show.
    EXPECT_EQ(view.VisiblePixels(), (PixelArea{0, 0, 584, 384}));
    view.SetZoomStep(7);  // 500 %: 4080 x 5280 pixels
    view.ScrollTo(1016, 2016);
    EXPECT_EQ(view.VisiblePixels(), (PixelArea{1000, 2000, 600, 400}));
    EXPECT_EQ(view.VisiblePixels(0.5), (PixelArea{700, 1800, 1200, 800}));
    // At the right end the border shows beside the page: the area stops at the page's edges.
    view.ScrollTo(view.MaxScrollX(), 0);
    EXPECT_EQ(view.VisiblePixels(0.5), (PixelArea{4080 + 16 - 600 - 300, 0, 884, 384 + 200}));
    // On a monitor of scale 2 the view shows twice the device pixels each way.
    view.SetScale(2);
    view.SetZoomStep(0);
    view.ScrollTo(0, 0);
    EXPECT_EQ(view.VisiblePixels(), (PixelArea{0, 0, 1168, 768}));

    const PixelArea painted = view.VisiblePixels(0.5);
    EXPECT_TRUE(painted.Contains(view.VisiblePixels()));
    view.ScrollTo(0, 400);
    EXPECT_FALSE(painted.Contains(view.VisiblePixels()));
}

TEST(ViewGeometry, ZoomingKeepsThePointUnderTheMouseInPlace) {
    ViewGeometry view;
    view.SetPage(12240, 15840);
    view.SetViewport(600, 400);
    view.ScrollTo(100, 200);
    const ViewPoint mouse{300, 150};
    const PagePoint under = view.ToPage(mouse);
    EXPECT_TRUE(view.ZoomAround(4, mouse));
    EXPECT_EQ(view.TwipsPerDevicePixel(), 6);
    const PagePoint after = view.ToPage(mouse);
    EXPECT_NEAR(after.X, under.X, 6);
    EXPECT_NEAR(after.Y, under.Y, 6);
    EXPECT_FALSE(view.ZoomAround(4, mouse));
}

TEST(StatusText, PitchNames) {
    EXPECT_EQ(PitchName(60), "C4");
    EXPECT_EQ(PitchName(77), "F5");
    EXPECT_EQ(PitchName(61), "C#4");
    EXPECT_EQ(PitchName(0), "C-1");
    EXPECT_EQ(PitchName(127), "G9");
    EXPECT_EQ(PitchName(128), "");
}

}  // namespace
}  // namespace corvendi::studio
