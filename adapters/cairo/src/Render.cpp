#include "corvendi/cairo/Render.h"

#include <corvendi/Error.h>
#include <corvendi/FileName.h>
#include <corvendi/Platform.h>
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/CairoPdfSurface.h>
#include <corvendi/cairo/CairoSvgSurface.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "ForwardingSurface.h"
#include "LayoutSurface.h"

namespace corvendi::cairo {

namespace {

constexpr int32_t kTwipsPerInch = 1440;

void Report(const RenderOptions& options, RenderStage stage, int32_t page) {
    if (options.Progress) options.Progress(stage, page);
}

int32_t TwipsPerPixel(const RenderOptions& options) {
    if (options.Dpi == 0) return CurrentPlatform().TwipsPerPixelX();
    if (options.Dpi < 1 || options.Dpi > kTwipsPerInch || kTwipsPerInch % options.Dpi != 0) {
        throw Error("render.dpi",
                    std::to_string(options.Dpi) + ": the resolution must divide 1440 evenly");
    }
    return kTwipsPerInch / options.Dpi;
}

// Attaches `window` and lets pagination run to the end on the thread's platform.
void Paginate(Score& score, const std::shared_ptr<Surface>& window, const RenderOptions& options) {
    score.SetWindow(window);
    Platform& platform = CurrentPlatform();
    int32_t shown = 0;
    while (score.Paginating() && platform.ProcessPendingEvents()) {
        if (score.LastPage() != shown) {
            shown = score.LastPage();
            Report(options, RenderStage::Paginating, shown);
        }
    }
}

// A window of the page's size to paginate on when the pages go elsewhere.
std::shared_ptr<Surface> LayoutWindow(const Score& score) {
    return std::make_shared<cairoimpl::LayoutSurface>(score.SheetWidthTw(), score.SheetHeightTw(),
                                                      CurrentPlatform().TwipsPerPixelX());
}

std::shared_ptr<CairoImageSurface> PageImage(const Score& score, int32_t twipsPerPixel) {
    return std::make_shared<CairoImageSurface>(score.SheetWidthTw(), score.SheetHeightTw(),
                                               twipsPerPixel);
}

// "9", "9–12": a range of pages as a reader writes it.
std::string RangeText(int32_t from, int32_t to) {
    return from == to ? std::to_string(from) : std::to_string(from) + "\u2013" + std::to_string(to);
}

// The pages asked for of a paginated score; throws, naming the pages there are, when the range
// selects none.
std::vector<int32_t> PagesOf(const Score& score, const RenderOptions& options) {
    const int32_t last = score.LastPage();
    auto pages = SelectedPages(options.FromPage, options.ToPage, last);
    if (!pages.empty()) return pages;
    const int32_t from = options.FromPage.value_or(1);
    const int32_t to = std::max(from, options.ToPage.value_or(from));
    const bool one = from == to;
    std::string message =
        (one ? "page " : "pages ") + RangeText(from, to) + (one ? " lies" : " lie") + " outside ";
    message += last < 1 ? "the score, which has no pages" : RangeText(1, last);
    throw Error("render.pages", message);
}

// Shows the page `page` of a paginated score on its window.
void ShowPage(Score& score, int32_t page) {
    if (page == score.CurPage()) {
        score.PaintWindow();
    } else {
        score.SetCurPage(page);
    }
}

}  // namespace

std::optional<RenderFormat> RenderFormatOf(const std::string& path) {
    const std::string extension = FileExtension(path);
    if (extension == ".pdf") return RenderFormat::Pdf;
    if (extension == ".png") return RenderFormat::Png;
    if (extension == ".svg") return RenderFormat::Svg;
    return std::nullopt;
}

std::string PageFileName(const std::string& path, int32_t page) {
    const std::string extension = FileExtension(path);
    const std::string stem = path.substr(0, path.size() - extension.size());
    return stem + "-" + std::to_string(page) + path.substr(path.size() - extension.size());
}

std::vector<int32_t> SelectedPages(std::optional<int32_t> fromPage, std::optional<int32_t> toPage,
                                   int32_t lastPage) {
    int32_t from = fromPage.value_or(0);
    int32_t to = toPage.value_or(0);
    if (from == 0) {
        from = 1;
        if (to == 0) to = lastPage;
    }
    from = std::max(from, 1);
    to = std::max(std::min(to, lastPage), from);
    std::vector<int32_t> pages;
    for (int32_t page = from; page <= to && page <= lastPage; ++page) pages.push_back(page);
    return pages;
}

std::vector<std::string> RenderPdf(Score& score, const std::string& path,
                                   const RenderOptions& options) {
    Paginate(score, LayoutWindow(score), options);
    PagesOf(score, options);  // before the file is made: a range outside the score writes nothing
    auto printer = std::make_shared<CairoPdfSurface>(path);
    Report(options, RenderStage::Printing, options.FromPage.value_or(1));
    score.PrintScore(printer, options.FromPage, options.ToPage);
    if (!printer->Ok() || printer->PageCount() < 1) {
        throw Error("render.write", path + ": the PDF could not be written");
    }
    return {path};
}

std::vector<std::string> RenderPng(Score& score, const std::string& path,
                                   const RenderOptions& options) {
    auto image = PageImage(score, TwipsPerPixel(options));
    Paginate(score, image, options);
    std::vector<std::string> written;
    for (const int32_t page : PagesOf(score, options)) {
        Report(options, RenderStage::Drawing, page);
        ShowPage(score, page);
        const std::string name = PageFileName(path, page);
        if (!image->WritePng(name)) {
            throw Error("render.write", name + ": the picture could not be written");
        }
        written.push_back(name);
    }
    return written;
}

std::vector<std::string> RenderSvg(Score& score, const std::string& path,
                                   const RenderOptions& options) {
    // One window whose target changes from page to page: attaching a new window per page would
    // start pagination again.
    auto window = std::make_shared<ForwardingSurface>(LayoutWindow(score));
    Paginate(score, window, options);
    const auto screen = window->Target();
    std::vector<std::string> written;
    for (const int32_t page : PagesOf(score, options)) {
        Report(options, RenderStage::Drawing, page);
        const std::string name = PageFileName(path, page);
        auto picture =
            std::make_shared<CairoSvgSurface>(name, window->Width(), window->Height(),
                                              static_cast<int32_t>(window->TwipsPerPixelX()));
        window->SetTarget(picture);
        ShowPage(score, page);
        const bool ok = picture->Finish();
        window->SetTarget(screen);
        if (!ok) throw Error("render.write", name + ": the picture could not be written");
        written.push_back(name);
    }
    return written;
}

std::vector<std::string> Render(Score& score, RenderFormat format, const std::string& path,
                                const RenderOptions& options) {
    switch (format) {
        case RenderFormat::Pdf: return RenderPdf(score, path, options);
        case RenderFormat::Png: return RenderPng(score, path, options);
        case RenderFormat::Svg: return RenderSvg(score, path, options);
    }
    throw Error("render.format", path + ": no such output format");
}

}  // namespace corvendi::cairo
