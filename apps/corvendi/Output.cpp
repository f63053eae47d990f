#include "Output.h"

#include <corvendi/Error.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include <memory>

namespace corvendi::cli {

std::shared_ptr<Surface> PaginateOnImage(Host& host, Score& score) {
    auto image = std::make_shared<CairoImageSurface>(score.SheetWidthTw(), score.SheetHeightTw(),
                                                     host.Platform()->TwipsPerPixelX());
    host.Paginate(score, image);
    return image;
}

std::optional<std::vector<std::string>> RenderScore(Host& host, Score& score,
                                                    const std::string& output,
                                                    std::optional<int32_t> fromPage,
                                                    std::optional<int32_t> toPage, int32_t dpi) {
    const auto format = cairo::RenderFormatOf(output);
    if (!format) return std::nullopt;
    cairo::RenderOptions options;
    options.FromPage = fromPage;
    options.ToPage = toPage;
    options.Dpi = dpi;
    options.Progress = [&host, &output](cairo::RenderStage stage, int32_t page) {
        switch (stage) {
            case cairo::RenderStage::Paginating:
                host.Progress("paginating: page " + std::to_string(page));
                break;
            case cairo::RenderStage::Printing: host.Progress("printing " + output); break;
            case cairo::RenderStage::Drawing:
                host.Progress("drawing page " + std::to_string(page));
                break;
        }
    };
    try {
        auto written = cairo::Render(score, *format, output, options);
        host.EndProgress();
        return written;
    } catch (const Error& error) {
        host.EndProgress();
        host.Error(error.Message());
        return std::nullopt;
    }
}

std::optional<std::vector<std::string>> RenderFile(Host& host, const std::string& input,
                                                   const std::string& output,
                                                   std::optional<int32_t> fromPage,
                                                   std::optional<int32_t> toPage, int32_t dpi) {
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return std::nullopt;
    auto written = RenderScore(host, *score, output, fromPage, toPage, dpi);
    score->SetWindow(nullptr);
    return written;
}

}  // namespace corvendi::cli
