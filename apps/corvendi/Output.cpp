#include "Output.h"

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/CairoPdfSurface.h>
#include <corvendi/cairo/CairoSvgSurface.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "ForwardingSurface.h"

namespace corvendi::cli {

namespace {

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Shows the page `page` of a paginated score on its window.
void ShowPage(Score& score, int32_t page) {
    if (page == score.CurPage()) {
        score.PaintWindow();
    } else {
        score.SetCurPage(page);
    }
}

std::optional<std::vector<std::string>> WritePdf(Host& host, Score& score,
                                                 const std::string& output,
                                                 std::optional<int32_t> fromPage,
                                                 std::optional<int32_t> toPage) {
    auto printer = std::make_shared<CairoPdfSurface>(output);
    host.Progress("printing " + output);
    score.PrintScore(printer, fromPage, toPage);
    host.EndProgress();
    if (!printer->Ok() || printer->PageCount() < 1) {
        host.Error(output + ": the PDF could not be written");
        return std::nullopt;
    }
    return std::vector<std::string>{output};
}

std::optional<std::vector<std::string>> WritePngs(Host& host, Score& score,
                                                  CairoImageSurface& image,
                                                  const std::string& output,
                                                  const std::vector<int32_t>& pages) {
    std::vector<std::string> written;
    for (const int32_t page : pages) {
        host.Progress("drawing page " + std::to_string(page));
        ShowPage(score, page);
        const std::string name = PageFileName(output, page);
        if (!image.WritePng(name)) {
            host.EndProgress();
            host.Error(name + ": the picture could not be written");
            return std::nullopt;
        }
        written.push_back(name);
    }
    host.EndProgress();
    return written;
}

std::optional<std::vector<std::string>> WriteSvgs(Host& host, Score& score,
                                                  ForwardingSurface& window,
                                                  const std::string& output,
                                                  const std::vector<int32_t>& pages) {
    std::vector<std::string> written;
    const auto screen = window.Target();
    for (const int32_t page : pages) {
        host.Progress("drawing page " + std::to_string(page));
        const std::string name = PageFileName(output, page);
        auto picture = std::make_shared<CairoSvgSurface>(
            name, window.Width(), window.Height(), static_cast<int32_t>(window.TwipsPerPixelX()));
        window.SetTarget(picture);
        ShowPage(score, page);
        const bool ok = picture->Finish();
        window.SetTarget(screen);
        if (!ok) {
            host.EndProgress();
            host.Error(name + ": the picture could not be written");
            return std::nullopt;
        }
        written.push_back(name);
    }
    host.EndProgress();
    return written;
}

}  // namespace

OutputKind OutputKindOf(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".pdf") return OutputKind::Pdf;
    if (extension == ".png") return OutputKind::Png;
    if (extension == ".svg") return OutputKind::Svg;
    return OutputKind::None;
}

std::string PageFileName(const std::string& path, int32_t page) {
    const std::string extension = LowerExtension(path);
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

std::shared_ptr<Surface> PaginateOnImage(Host& host, Score& score) {
    auto image = std::make_shared<CairoImageSurface>(score.SheetWidthTw(), score.SheetHeightTw(),
                                                     host.Platform()->TwipsPerPixelX());
    host.Paginate(score, image);
    return image;
}

std::optional<std::vector<std::string>> RenderScore(Host& host, Score& score,
                                                    const std::string& output,
                                                    std::optional<int32_t> fromPage,
                                                    std::optional<int32_t> toPage) {
    const OutputKind kind = OutputKindOf(output);
    if (kind == OutputKind::Pdf) return WritePdf(host, score, output, fromPage, toPage);

    const auto pages = SelectedPages(fromPage, toPage, score.LastPage());
    if (pages.empty()) {
        host.Error(output + ": no page in the range asked for");
        return std::nullopt;
    }
    if (kind == OutputKind::Png) {
        auto image = std::dynamic_pointer_cast<CairoImageSurface>(score.Window());
        if (!image) return std::nullopt;
        return WritePngs(host, score, *image, output, pages);
    }
    auto window = std::dynamic_pointer_cast<ForwardingSurface>(score.Window());
    if (!window) return std::nullopt;
    return WriteSvgs(host, score, *window, output, pages);
}

std::optional<std::vector<std::string>> RenderFile(Host& host, const std::string& input,
                                                   const std::string& output,
                                                   std::optional<int32_t> fromPage,
                                                   std::optional<int32_t> toPage) {
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return std::nullopt;
    auto image = std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(),
                                                     host.Platform()->TwipsPerPixelX());
    if (OutputKindOf(output) == OutputKind::Svg) {
        host.Paginate(*score, std::make_shared<ForwardingSurface>(image));
    } else {
        host.Paginate(*score, image);
    }
    auto written = RenderScore(host, *score, output, fromPage, toPage);
    score->SetWindow(nullptr);
    return written;
}

}  // namespace corvendi::cli
