// The cairo surfaces as output: text fonts, robustness and the multi-page PDF printer.
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/CairoPdfSurface.h>
#include <corvendi/cairo/CairoSvgSurface.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <corvendi/Enums.h>
#include <corvendi/Platform.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>

#include "CairoTestSupport.h"
#include "common/NumberText.h"
#include "engine/ScoreAccess.h"

// fontconfig 2.14 loses a few bytes while parsing its configuration files, once per process;
// the leak checker is told to ignore what it allocates.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace corvendi::test {
namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    return (fs::temp_directory_path() /
            ("corvendi-cairo-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Light reading of a PDF: the page objects and their media boxes, in order of appearance.
struct PdfPage {
    double Width = 0.0;
    double Height = 0.0;
};

std::vector<PdfPage> ReadPdfPages(const std::string& pdf) {
    std::vector<PdfPage> pages;
    std::regex page(
        R"(/Type\s*/Page\b[^s][\s\S]*?/MediaBox\s*\[\s*([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), page); it != std::sregex_iterator();
         ++it) {
        const std::smatch& m = *it;
        pages.push_back({LeadingNumber(m[3].str()) - LeadingNumber(m[1].str()),
                         LeadingNumber(m[4].str()) - LeadingNumber(m[2].str())});
    }
    return pages;
}

class CairoOutput : public MusicFontTest {};

TEST_F(CairoOutput, WindowsFontNamesResolveToTheirFreeFaces) {
    CairoImageSurface surface(1440, 1440);
    surface.SetFont(FontSpec{"Arial", 10.0f});
    EXPECT_EQ(surface.ResolvedFamily(), "Liberation Sans");
    // Widths grow with the size and do not depend on the resolution.
    const double ten = surface.TextWidth("Page 12");
    surface.SetFont(FontSpec{"Arial", 20.0f});
    CairoImageSurface coarse(1440, 1440, 15);
    coarse.SetFont(FontSpec{"Arial", 20.0f});
    EXPECT_NEAR(surface.TextWidth("Page 12"), 2 * ten, 0.02);
    EXPECT_DOUBLE_EQ(coarse.TextWidth("Page 12"), surface.TextWidth("Page 12"));
    surface.SetFont(FontSpec{"Verdana", 10.0f});
    EXPECT_EQ(surface.ResolvedFamily(), "DejaVu Sans");
    surface.SetFont(FontSpec{"Times New Roman", 12.0f, true, true});
    EXPECT_EQ(surface.ResolvedFamily(), "Liberation Serif");
    surface.SetFont(FontSpec{"arial", 12.0f, true});
    EXPECT_EQ(surface.ResolvedFamily(), "Liberation Sans");
    // Bold text is wider than regular text.
    const double bold = surface.TextWidth("Title");
    surface.SetFont(FontSpec{"Arial", 12.0f});
    EXPECT_GT(bold, surface.TextWidth("Title"));
    // An unknown face still draws and measures.
    surface.SetFont(FontSpec{"No Such Face 123", 10.0f});
    EXPECT_GT(surface.TextWidth("abc"), 0.0);
    surface.DrawTextAt(100, 100, "abc");
    EXPECT_FALSE(MeasureInk(surface).Empty());
}

TEST_F(CairoOutput, MalformedTextAndAbsurdSizesLeaveTheSurfaceWorking) {
    CairoImageSurface surface(2880, 1440, 15);
    surface.Cls();
    surface.SetFont(FontSpec{"Arial", 12.0f});
    const std::string bad = std::string("ab\xC3\x28\xFF") + '\0' + "cd";
    EXPECT_GT(surface.TextWidth(bad), 0.0);
    surface.DrawTextAt(100, 100, bad);
    surface.SetFont(FontSpec{"Quavrix", 20.0f});
    surface.DrawTextAt(100, 100, bad);
    for (float size : {0.0f, -3.0f, 1e9f, std::nanf("")}) {
        surface.SetFont(FontSpec{"Arial", size});
        surface.DrawTextAt(100, 100, "H");
        EXPECT_GE(surface.TextWidth("H"), 0.0);
        surface.SetFont(FontSpec{"Quavrix", size});
        surface.DrawTextAt(100, 100, "&");
    }
    surface.Line(0, 0, 1e30, 1e30, 0, LineFill::None);
    std::vector<PixelPoint> far = {{0, 0}, {INT32_MAX, INT32_MIN}, {INT32_MIN, 5}, {10, 10}};
    surface.PolyBezier(far);
    // Still drawing afterwards.
    CairoImageSurface fresh(2880, 1440, 15);
    fresh.Cls();
    surface.Cls();
    surface.SetFont(FontSpec{"Arial", 12.0f});
    fresh.SetFont(FontSpec{"Arial", 12.0f});
    surface.DrawTextAt(300, 300, "Still here");
    fresh.DrawTextAt(300, 300, "Still here");
    Ink a = MeasureInk(surface), b = MeasureInk(fresh);
    EXPECT_EQ(a.Count, b.Count);
    EXPECT_EQ(a.Left, b.Left);
    EXPECT_EQ(a.Top, b.Top);
    EXPECT_EQ(a.Right, b.Right);
    EXPECT_EQ(a.Bottom, b.Bottom);
    EXPECT_FALSE(a.Empty());
}

TEST_F(CairoOutput, PdfHasTheRequestedPagesAndSizesAndNoTrailingBlankPage) {
    const std::string path = TempPath("pages.pdf");
    {
        CairoPdfSurface pdf(path);
        EXPECT_EQ(pdf.Kind(), SurfaceKind::Printer);
        pdf.SetScaleMode(kScaleTwips);
        pdf.SetPaperSize(9);  // A4 portrait
        pdf.SetOrientation(1);
        EXPECT_NEAR(pdf.Width(), 11906, 1);
        EXPECT_NEAR(pdf.Height(), 16838, 1);
        EXPECT_DOUBLE_EQ(pdf.ScaleWidth(), pdf.Width());
        EXPECT_DOUBLE_EQ(pdf.ScaleHeight(), pdf.Height());
        pdf.SetFont(FontSpec{"Arial", 12.0f});
        pdf.SetCurrentX(1440);
        pdf.SetCurrentY(1440);
        pdf.Print("Page one");
        pdf.NewPage();
        pdf.SetPaperSize(1);  // Letter landscape
        pdf.SetOrientation(2);
        EXPECT_DOUBLE_EQ(pdf.Width(), 15840);
        pdf.Line(1440, 1440, 5000, 1440, 0, LineFill::None);
        pdf.SetFont(FontSpec{"Quavrix", 20.0f});
        pdf.SetCurrentX(1440);
        pdf.SetCurrentY(2000);
        pdf.Print("&");
        pdf.NewPage();
        pdf.SetOrientation(1);  // a custom page: height and width as given
        pdf.SetHeight(8000);
        pdf.SetWidth(6000);
        pdf.Line(100, 100, 200, 200, 0, LineFill::Box);
        pdf.NewPage();  // the page after the last one: no blank page
        EXPECT_EQ(pdf.PageCount(), 3);
        pdf.EndDoc();
        EXPECT_TRUE(pdf.Ok());
    }
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    std::vector<PdfPage> pages = ReadPdfPages(bytes);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_NEAR(pages[0].Width, 595.276, 0.01);
    EXPECT_NEAR(pages[0].Height, 841.89, 0.01);
    EXPECT_NEAR(pages[1].Width, 792, 0.01);
    EXPECT_NEAR(pages[1].Height, 612, 0.01);
    EXPECT_NEAR(pages[2].Width, 300, 0.01);
    EXPECT_NEAR(pages[2].Height, 400, 0.01);
    fs::remove(path);
}

// A page picks up what the page before it left on the thread (its byte buffer, its drawing
// batches, the music font's laid-out runs), and is still the file it would be alone.
TEST_F(CairoOutput, AnSvgPageIsTheSameFileWhateverWasDrawnBeforeIt) {
    auto draw = [](const std::string& path, int32_t symbols) {
        CairoSvgSurface svg(path, 6000, 8000, 15);
        svg.SetFont(FontSpec{"Quavrix", 20.0f});
        for (int32_t i = 0; i < symbols; ++i) {
            const double x = 200.0 + (i % 40) * 130.0, y = 300.0 + (i / 40) * 700.0;
            svg.Line(x, y, x, y + 600.0, i % 3 == 0 ? 0 : 0x2020C0, LineFill::None);
            svg.SetForeColor(i % 2 == 0 ? 0 : 0x129812);
            svg.SetCurrentX(x);
            svg.SetCurrentY(y);
            svg.Print(i % 5 == 0 ? "&" : "q");
        }
        EXPECT_TRUE(svg.Finish());
    };
    const std::string alone = TempPath("alone.svg"), busy = TempPath("busy.svg"),
                      after = TempPath("after.svg");
    draw(alone, 3);
    draw(busy, 400);
    draw(after, 3);
    const std::string expected = ReadFile(alone);
    EXPECT_NE(expected.find("<svg"), std::string::npos);
    EXPECT_EQ(ReadFile(after), expected);
    EXPECT_GT(ReadFile(busy).size(), expected.size());
    for (const std::string& path : {alone, busy, after}) fs::remove(path);
}

TEST_F(CairoOutput, ALandscapeScoreIsLaidOutAcrossATurnedSheetAndPrintedOnIt) {
    auto score = Score::Create();
    score->CreateDefault();
    score->SetPageOrientation(pgeLandscape);
    score->SetPageWidth(10.0f);  // across the turned sheet: the paper's long side
    score->SetPageHeight(7.0f);
    ASSERT_EQ(score->PageSize(), pgsCustom);
    auto window =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(window);
    EXPECT_EQ(window->PixelWidth(), 14400 / 15);
    EXPECT_EQ(window->PixelHeight(), 10080 / 15);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }

    const std::string path = TempPath("landscape.pdf");
    auto pdf = std::make_shared<CairoPdfSurface>(path);
    score->PrintScore(pdf);
    ASSERT_TRUE(pdf->Ok());
    // The staffs run to the right margin of the long side.
    ASSERT_FALSE(detail::ScoreAccess::Regions(*score).empty());
    EXPECT_EQ(detail::ScoreAccess::Regions(*score).front()->Right,
              14400 - detail::ScoreAccess::MarginsTw(*score, marRight));
    const std::vector<PdfPage> pages = ReadPdfPages(ReadFile(path));
    ASSERT_EQ(pages.size(), static_cast<size_t>(score->LastPage()));
    EXPECT_NEAR(pages[0].Width, 720, 0.01);
    EXPECT_NEAR(pages[0].Height, 504, 0.01);
    fs::remove(path);
}

// A screen showing part of a large page has the score paint only that part: inside the clip the
// picture is the whole paint's, outside it the image is never touched (still black).
TEST_F(CairoOutput, AClippedWindowGetsTheWholePaintsPictureInsideTheClipAndNothingElse) {
    auto score = Score::Create();
    score->CreateDefault();
    for (int32_t t = 0; t < 256; t += 16) score->AddNote(1, t, uint8_t(60 + t / 16), 16, 0);
    auto paint = [&score](std::shared_ptr<CairoImageSurface> window) {
        score->SetWindow(window);
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
        return window->Pixels();
    };
    const auto whole =
        paint(std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw()));
    auto clipped = std::make_shared<CairoImageSurface>(1.0, 1.0);
    clipped->ClipTo(100, 150, 300, 200);
    clipped->SetWidth(score->SheetWidthTw());
    clipped->SetHeight(score->SheetHeightTw());
    const auto part = paint(clipped);
    ASSERT_EQ(part.size(), whole.size());
    const int32_t width = clipped->PixelWidth();
    size_t inside = 0, differing = 0, touchedOutside = 0;
    for (size_t i = 0; i < part.size(); ++i) {
        const int32_t x = static_cast<int32_t>(i) % width, y = static_cast<int32_t>(i) / width;
        if (x >= 100 && x < 400 && y >= 150 && y < 350) {
            ++inside;
            differing += part[i] != whole[i];
        } else {
            touchedOutside += part[i] != 0;
        }
    }
    EXPECT_EQ(inside, 300u * 200u);
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(touchedOutside, 0u);

    clipped->Unclip();
    EXPECT_EQ(paint(clipped), whole);

    // An image holding only a rectangle of the page (drawing still in page pixels) gets the
    // whole paint's pixels for it, wherever the rectangle moves and whoever's memory it reuses.
    auto holds = [&whole, width](CairoImageSurface& image, int32_t x, int32_t y, int32_t w,
                                 int32_t h) {
        std::vector<int32_t> expected;
        for (int32_t row = y; row < y + h; ++row) {
            const auto from = whole.begin() + row * width + x;
            expected.insert(expected.end(), from, from + w);
        }
        return image.PixelWidth() == width && image.Pixels() == expected &&
               image.PixelAt(x - 1, y) == -1 &&
               image.PixelAt(x + w - 1, y + h - 1) == expected.back();
    };
    auto covering = std::make_shared<CairoImageSurface>(1.0, 1.0);
    covering->CoverOnly(100, 150, 300, 200);
    covering->SetWidth(score->SheetWidthTw());
    covering->SetHeight(score->SheetHeightTw());
    paint(covering);
    EXPECT_TRUE(holds(*covering, 100, 150, 300, 200));
    covering->CoverOnly(37, 410, 250, 180);
    score->PaintWindow();
    EXPECT_TRUE(holds(*covering, 37, 410, 250, 180));
    auto next = std::make_shared<CairoImageSurface>(1.0, 1.0);
    next->ShareMemoryOf(*covering);
    next->CoverOnly(500, 20, 120, 300);
    next->SetWidth(score->SheetWidthTw());
    next->SetHeight(score->SheetHeightTw());
    paint(next);
    EXPECT_TRUE(holds(*next, 500, 20, 120, 300));
}

// An image clears itself only when something may have changed it since the last clearing, so
// each of these clearings must still leave nothing but the background.
TEST_F(CairoOutput, AnImageIsClearedAfterDrawingAClipChangeAndANewBackground) {
    CairoImageSurface image(1500, 1500);  // 100 x 100 pixels
    auto box = [&image] { image.Line(0, 0, 1485, 1485, 0, LineFill::FilledBox); };
    auto count = [&image](int32_t color) {
        const auto pixels = image.Pixels();
        return std::count(pixels.begin(), pixels.end(), color);
    };
    image.Cls();
    box();
    image.Cls();
    EXPECT_EQ(count(0xFFFFFF), 100 * 100);

    image.ClipTo(0, 0, 10, 10);
    box();
    EXPECT_EQ(count(0), 10 * 10);
    image.ClipTo(50, 50, 10, 10);
    image.Cls();  // the other corner is not this clip's business
    EXPECT_EQ(count(0), 10 * 10);
    image.ClipTo(0, 0, 20, 20);
    image.Cls();
    EXPECT_EQ(count(0), 0);
    image.Unclip();
    image.Cls();
    image.SetBackColor(0x0000FF);
    image.Cls();
    EXPECT_EQ(count(0x0000FF), 100 * 100);
}

}  // namespace
}  // namespace corvendi::test
