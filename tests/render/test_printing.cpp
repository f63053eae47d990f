// Printing on a recording printer: page ranges, the printer set-up, offsets and the state
// given back afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/Error.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "render/LayoutTestSupport.h"

namespace corvendi::test {
namespace {

// A printer with an unprintable border and a hook run on every NewPage.
class TestPrinter : public RecordingSurface {
  public:
    TestPrinter() : RecordingSurface(SurfaceKind::Printer) { SetTwipsPerPixel(3, 3); }
    double ScaleWidth() const override { return Width() - mBorderX; }
    double ScaleHeight() const override { return Height() - mBorderY; }
    void NewPage() override {
        RecordingSurface::NewPage();
        if (mOnNewPage) mOnNewPage();
    }
    void SetBorder(double x, double y) { mBorderX = x, mBorderY = y; }
    std::function<void()> mOnNewPage;

  private:
    double mBorderX = 0.0;
    double mBorderY = 0.0;
};

class PrintingTest : public LayoutTest {
  protected:
    // A default score with page numbers on every page and a note in each of `measures` measures.
    std::shared_ptr<RecordingSurface> ManyPages(int32_t measures = 400) {
        auto window = DefaultScore();
        score->SetRedraw(false);
        score->SetPageNums(pgnAllPages);
        for (int32_t m = 1; m <= measures; ++m) NoteInMeasure(m);
        score->SetRedraw(true);
        Relayout(*window);
        return window;
    }

    // The page numbers the printer printed, in order.
    static std::vector<int32_t> PrintedPages(const RecordingSurface& printer) {
        std::vector<int32_t> pages;
        for (const auto& call : printer.CallsNamed("Print")) {
            if (call.Text.rfind("Page ", 0) == 0) pages.push_back(std::stoi(call.Text.substr(5)));
        }
        return pages;
    }

    std::vector<int32_t> Print(std::optional<int32_t> from, std::optional<int32_t> to) {
        auto printer = std::make_shared<TestPrinter>();
        score->PrintScore(printer, from, to);
        EXPECT_EQ(printer->Count("EndDoc"), 1u);
        EXPECT_EQ(printer->Calls().back().Name, "EndDoc");
        const auto pages = PrintedPages(*printer);
        EXPECT_EQ(printer->Count("NewPage"), pages.size());
        return pages;
    }

    static std::vector<int32_t> Pages(int32_t from, int32_t to) {
        std::vector<int32_t> pages;
        for (int32_t p = from; p <= to; ++p) pages.push_back(p);
        return pages;
    }
};

TEST_F(PrintingTest, PageRangeRules) {
    ManyPages();
    const int32_t last = score->LastPage();
    ASSERT_GE(last, 6);
    EXPECT_EQ(Print(std::nullopt, std::nullopt), Pages(1, last));
    EXPECT_EQ(Print(0, 0), Pages(1, last));
    EXPECT_EQ(Print(3, std::nullopt), Pages(3, 3));
    EXPECT_EQ(Print(0, 2), Pages(1, 2));
    EXPECT_EQ(Print(5, 2), Pages(5, 5));
    EXPECT_EQ(Print(-4, 2), Pages(1, 2));
    EXPECT_EQ(Print(last - 1, last + 50), Pages(last - 1, last));
    // A page beyond the score is skipped without a NewPage; the document still ends.
    EXPECT_EQ(Print(last + 2, std::nullopt), Pages(1, 0));
    // No device is a host's mistake it hears of; the score can still print afterwards.
    try {
        score->PrintScore(nullptr);
        ADD_FAILURE() << "printing without a device went unreported";
    } catch (const Error& error) {
        EXPECT_EQ(error.Id(), "print.device");
    }
    EXPECT_EQ(Print(1, 1), Pages(1, 1));
}

TEST_F(PrintingTest, PrinterSetUpForNamedPaperAndCustomSizes) {
    ManyPages(10);
    score->SetPageSize(pgsA4);
    score->SetPageOrientation(pgeLandscape);
    auto printer = std::make_shared<TestPrinter>();
    score->PrintScore(printer);
    ASSERT_EQ(printer->CallsNamed("SetScaleMode").size(), 1u);
    EXPECT_EQ(printer->CallsNamed("SetScaleMode")[0].Numbers[0], kScaleTwips);
    EXPECT_EQ(printer->CallsNamed("SetPaperSize").at(0).Numbers[0], 9);
    EXPECT_EQ(printer->CallsNamed("SetOrientation").at(0).Numbers[0], 2);
    EXPECT_EQ(printer->CallsNamed("SetCopies").at(0).Numbers[0], 1);
    // One screen pixel (15 twips) is five printer pixels of 3 twips.
    EXPECT_EQ(printer->CallsNamed("SetDrawWidth").at(0).Numbers[0], 5);
    EXPECT_EQ(printer->Count("SetWidth"), 0u);
    EXPECT_EQ(printer->Count("SetHeight"), 0u);

    // Custom pages send their size instead, turned for landscape.
    score->SetPageWidth(7.0f);
    score->SetPageHeight(9.0f);
    ASSERT_EQ(score->PageSize(), pgsCustom);
    auto custom = std::make_shared<TestPrinter>();
    score->PrintScore(custom);
    EXPECT_EQ(custom->CallsNamed("SetOrientation").at(0).Numbers[0], 2);
    EXPECT_EQ(custom->CallsNamed("SetWidth").at(0).Numbers[0],
              detail::ScoreAccess::PageHeightTw(*score));
    EXPECT_EQ(custom->CallsNamed("SetHeight").at(0).Numbers[0],
              detail::ScoreAccess::PageWidthTw(*score));
    EXPECT_EQ(custom->Count("SetPaperSize"), 0u);
}

TEST_F(PrintingTest, UnprintableBorderShiftsEverythingByHalfOfIt) {
    ManyPages(10);
    auto plain = std::make_shared<TestPrinter>();
    score->PrintScore(plain, 1);
    auto bordered = std::make_shared<TestPrinter>();
    bordered->SetWidth(12240);
    bordered->SetHeight(15840);
    bordered->SetBorder(361, 240);  // offsets 180 and 120
    score->PrintScore(bordered, 1);

    const auto lines = plain->CallsNamed("Line");
    const auto shifted = bordered->CallsNamed("Line");
    ASSERT_EQ(lines.size(), shifted.size());
    ASSERT_FALSE(lines.empty());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(shifted[i].Numbers[0], lines[i].Numbers[0] - 180) << i;
        EXPECT_EQ(shifted[i].Numbers[1], lines[i].Numbers[1] - 120) << i;
    }
    const auto texts = plain->CallsNamed("Print");
    const auto shiftedTexts = bordered->CallsNamed("Print");
    ASSERT_EQ(texts.size(), shiftedTexts.size());
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(shiftedTexts[0].Numbers[0], texts[0].Numbers[0] - 180);
    EXPECT_EQ(shiftedTexts[0].Numbers[1], texts[0].Numbers[1] - 120);

    // Afterwards the window draws without offsets again.
    auto again = std::make_shared<TestPrinter>();
    score->PrintScore(again, 1);
    EXPECT_EQ(again->CallsNamed("Line")[0], lines[0]);
}

TEST_F(PrintingTest, ScoreStateIsGivenBack) {
    auto window = ManyPages();
    score->SetCurPage(4);
    const int32_t time = score->CurTime();
    const int32_t last = score->LastPage();
    auto printer = std::make_shared<TestPrinter>();
    auto inner = std::make_shared<TestPrinter>();
    printer->mOnNewPage = [&] {
        EXPECT_TRUE(score->Printing());
        EXPECT_EQ(detail::ScoreAccess::TwipsPerPixelXf(*score), 3.0f);
        EXPECT_EQ(score->Window(), printer);
        score->PrintScore(inner);  // a second print while printing is ignored
    };
    score->PrintScore(printer, 1, 3);
    EXPECT_TRUE(inner->Calls().empty());

    EXPECT_EQ(score->CurPage(), 4);
    EXPECT_EQ(score->CurTime(), time);
    EXPECT_EQ(score->LastPage(), last);
    EXPECT_TRUE(score->Redraw());
    EXPECT_FALSE(score->Printing());
    EXPECT_EQ(score->Window(), window);
    EXPECT_EQ(detail::ScoreAccess::TwipsPerPixelXf(*score), 15.0f);
    EXPECT_EQ(detail::ScoreAccess::TwipsPerPixelYf(*score), 15.0f);
    // The regions are those of the last printed page until the window is painted again.
    window->ClearCalls();
    score->PaintWindow();
    EXPECT_GT(window->Count("Cls"), 0u);
}

}  // namespace
}  // namespace corvendi::test
