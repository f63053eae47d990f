// The cairo surfaces as output: text fonts and their metrics, lines on the pixel grid, the
// multi-page PDF printer and the SVG picture.
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/CairoPdfSurface.h>
#include <corvendi/cairo/CairoSvgSurface.h>
#include <corvendi/cairo/Render.h>

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <corvendi/Enums.h>
#include <corvendi/Error.h>
#include <corvendi/Platform.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>

#include "CairoTestSupport.h"
#include "common/Cp1252.h"
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

TEST_F(CairoOutput, PrintAdvancesTheCurrentPositionAndTextIsPlacedByItsCellTop) {
    CairoImageSurface surface(7200, 2880, 15);
    surface.Cls();
    surface.SetFont(FontSpec{"Arial", 20.0f});
    surface.SetCurrentX(1500);
    surface.SetCurrentY(300);
    const double width = surface.TextWidth("HHH");
    surface.Print("HHH");
    EXPECT_DOUBLE_EQ(surface.CurrentX(), 1500 + width);
    Ink ink = MeasureInk(surface);
    // Capital H: its top is the cap height below the baseline's ascent.
    const double baseline = 300 + surface.TextAscent();
    EXPECT_NEAR((ink.Bottom + 1) * 15.0, baseline, 15.0);
    EXPECT_NEAR(ink.Left * 15.0, 1500, 45.0);
    // TextOut takes pixels.
    CairoImageSurface other(7200, 2880, 15);
    other.Cls();
    other.SetFont(FontSpec{"Arial", 20.0f});
    other.TextOut(100, 20, "HHH");
    Ink outInk = MeasureInk(other);
    EXPECT_EQ(outInk.Top, ink.Top);
    EXPECT_EQ(outInk.Left, ink.Left);
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

TEST_F(CairoOutput, LinesCoverWholePixelsFromEndToEnd) {
    CairoImageSurface surface(300, 300, 15);  // 20 x 20 pixels
    surface.Cls();
    surface.Line(30, 150, 120, 150, 0x0000FF, LineFill::None);  // pixels 2..8 of row 10, red
    for (int32_t x = 0; x < 20; ++x) {
        const bool expected = x >= 2 && x <= 8;
        EXPECT_EQ(surface.PixelAt(x, 10), expected ? 0x0000FF : 0xFFFFFF) << x;
        EXPECT_EQ(surface.PixelAt(x, 9), 0xFFFFFF);
        EXPECT_EQ(surface.PixelAt(x, 11), 0xFFFFFF);
    }
    surface.Line(15, 15, 45, 60, 0x00FF00, LineFill::FilledBox);  // columns 1..3, rows 1..4
    Ink box;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            if (surface.PixelAt(x, y) == 0x00FF00) {
                box.Left = box.Count ? std::min(box.Left, x) : x;
                box.Top = box.Count ? std::min(box.Top, y) : y;
                box.Right = std::max(box.Right, x);
                box.Bottom = std::max(box.Bottom, y);
                ++box.Count;
            }
        }
    }
    EXPECT_EQ(box.Count, 12);
    EXPECT_EQ(box.Left, 1);
    EXPECT_EQ(box.Right, 3);
    EXPECT_EQ(box.Top, 1);
    EXPECT_EQ(box.Bottom, 4);
    // Cls paints the back colour everywhere.
    surface.SetBackColor(0x123456);
    surface.Cls();
    EXPECT_EQ(surface.PixelAt(5, 10), 0x123456);
    EXPECT_EQ(surface.PixelAt(0, 0), 0x123456);
}

TEST_F(CairoOutput, ImageSurfaceHonoursItsResolutionAndResizes) {
    CairoImageSurface fine(1440, 720, 5);
    EXPECT_EQ(fine.PixelWidth(), 288);
    EXPECT_EQ(fine.PixelHeight(), 144);
    EXPECT_EQ(fine.TwipsPerPixelX(), 5.0);
    fine.Line(0, 0, 100, 0, 0, LineFill::None);
    fine.SetWidth(2880);
    EXPECT_EQ(fine.PixelWidth(), 576);
    EXPECT_EQ(fine.PixelAt(10, 0), 0);          // kept
    EXPECT_EQ(fine.PixelAt(400, 0), 0xFFFFFF);  // new area
    // Nonsense sizes give a usable surface.
    CairoImageSurface odd(-5, std::nan(""), 0);
    EXPECT_GE(odd.PixelWidth(), 1);
    odd.Line(0, 0, 1e300, -1e300, 0, LineFill::FilledBox);
    odd.Print("x");
    const std::string png = TempPath("image.png");
    ASSERT_TRUE(fine.WritePng(png));
    EXPECT_EQ(ReadFile(png).substr(1, 3), "PNG");
    fs::remove(png);
}

// The pixels of a PNG file as PixelAt gives them.
std::vector<int32_t> PngPixels(const std::string& path) {
    std::vector<int32_t> pixels;
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
            for (int x = 0; x < cairo_image_surface_get_width(image); ++x) {
                uint32_t p = 0;
                std::memcpy(&p, data + y * stride + x * 4, 4);
                pixels.push_back(
                    static_cast<int32_t>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)));
            }
        }
    }
    cairo_surface_destroy(image);
    return pixels;
}

TEST_F(CairoOutput, PngFilesHoldEveryPixelWithOrWithoutAPalette) {
    const std::string png = TempPath("exact.png");
    CairoImageSurface surface(4800, 1200, 15);
    surface.SetFont(FontSpec{"Arial", 12.0f});
    surface.DrawTextAt(100, 100, "Anti-aliased grey shades");  // few colours: a palette
    ASSERT_TRUE(surface.WritePng(png));
    EXPECT_EQ(ReadFile(png).substr(25, 1), "\x03");  // colour type 3: palette
    EXPECT_EQ(PngPixels(png), surface.Pixels());

    for (int32_t i = 0; i < 300; ++i)  // 300 colours, a pixel column each
        surface.Line(i * 15, 600, i * 15, 1100, i * 0x010203, LineFill::FilledBox);
    ASSERT_TRUE(surface.WritePng(png));
    EXPECT_EQ(ReadFile(png).substr(25, 1), "\x02");  // colour type 2: RGB
    EXPECT_EQ(PngPixels(png), surface.Pixels());
    fs::remove(png);
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

TEST_F(CairoOutput, PdfKeepsBlankPagesBetweenPagesAndMakesOnePageOfNothing) {
    const std::string path = TempPath("blank.pdf");
    {
        CairoPdfSurface pdf(path);
        pdf.Line(0, 0, 100, 100, 0, LineFill::None);
        pdf.NewPage();
        pdf.NewPage();
        pdf.Line(0, 0, 100, 100, 0, LineFill::None);
        pdf.NewPage();
        pdf.NewPage();
        EXPECT_EQ(pdf.PageCount(), 3);
    }  // the destructor ends the document
    EXPECT_EQ(ReadPdfPages(ReadFile(path)).size(), 3u);
    const std::string empty = TempPath("empty.pdf");
    {
        CairoPdfSurface pdf(empty);
        pdf.NewPage();
        pdf.EndDoc();
        pdf.Line(0, 0, 100, 100, 0, LineFill::None);  // ignored after the end
        pdf.EndDoc();
    }
    EXPECT_EQ(ReadPdfPages(ReadFile(empty)).size(), 1u);
    fs::remove(path);
    fs::remove(empty);
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

TEST_F(CairoOutput, SvgIsWellFormedXmlOfTheSurfaceSize) {
    const std::string path = TempPath("picture.svg");
    {
        CairoSvgSurface svg(path, 2880, 1440);
        svg.SetHeight(2000);  // before drawing: the picture takes it
        svg.Cls();
        svg.SetFont(FontSpec{"Arial", 10.0f, false, false, true});
        svg.SetCurrentX(100);
        svg.SetCurrentY(100);
        svg.Print("Title & <subtitle> \xC3\xA9");
        svg.SetFont(FontSpec{"Quavrix", 20.0f});
        svg.DrawTextAt(200, 400, "&" + MusicChar(207) + " .");
        svg.SetDrawStyle(kDrawStyleDot);
        svg.Line(0, 1000, 2000, 1000, 0xFF, LineFill::None);
        std::vector<PixelPoint> tie = {{10, 10}, {20, 0}, {40, 0}, {50, 10},
                                       {40, 2},  {20, 2}, {10, 10}};
        svg.PolyBezier(tie);
        EXPECT_TRUE(svg.Finish());
    }
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"144pt\""), std::string::npos);
    EXPECT_NE(text.find("height=\"100pt\""), std::string::npos);
    ASSERT_EQ(std::system("command -v /usr/bin/python3 >/dev/null 2>&1"), 0)
        << "python3 is needed to parse the SVG";
    const std::string check =
        "/usr/bin/python3 -c \"import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])\" "
        "'" +
        path + "'";
    EXPECT_EQ(std::system(check.c_str()), 0);
    fs::remove(path);
}

TEST_F(CairoOutput, RenderPngWritesOneFileForEachPageOfTheRangeAndReportsEach) {
    auto score = Score::Create();
    ASSERT_TRUE(score->OpenFile(CORVENDI_TEST_DATA_DIR "/examples/example.sco"));
    const std::string path = TempPath("render.png");
    cairo::RenderOptions options;
    options.FromPage = 2;
    options.Dpi = 48;
    std::vector<int32_t> drawn;
    options.Progress = [&drawn](cairo::RenderStage stage, int32_t page) {
        if (stage == cairo::RenderStage::Drawing) drawn.push_back(page);
    };
    const auto written = cairo::RenderPng(*score, path, options);
    ASSERT_GE(score->LastPage(), 2);
    ASSERT_EQ(written, std::vector<std::string>{TempPath("render-2.png")});
    EXPECT_EQ(drawn, std::vector<int32_t>{2});
    EXPECT_FALSE(fs::exists(TempPath("render-1.png")));
    // 48 dpi: the page's width in twips over 30 twips per pixel.
    std::ifstream file(written[0], std::ios::binary);
    char header[24] = {};
    ASSERT_TRUE(file.read(header, sizeof header));
    const auto byte = [&header](int i) { return static_cast<uint32_t>(uint8_t(header[i])); };
    const uint32_t width = byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19);
    EXPECT_EQ(width, static_cast<uint32_t>(score->SheetWidthTw() / 30));
    fs::remove(written[0]);

    options.FromPage = score->LastPage() + 1;
    try {
        cairo::RenderPng(*score, path, options);
        FAIL() << "a range beyond the score rendered";
    } catch (const Error& error) {
        EXPECT_EQ(error.Id(), "render.pages");
    }
    score->SetWindow(nullptr);
}

}  // namespace
}  // namespace corvendi::test
