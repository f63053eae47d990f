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

RenderOutcome RenderScore(Host& host, Score& score, const std::string& name,
                          const RenderRequest& request) {
    const std::string& output = request.Output;
    const auto format = cairo::RenderFormatOf(output);
    if (!format) return RenderOutcome{{}, kExitUsage};
    cairo::RenderOptions options;
    options.FromPage = request.FromPage;
    options.ToPage = request.ToPage;
    options.Dpi = request.Dpi;
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
        return RenderOutcome{std::move(written), kExitOk};
    } catch (const Error& error) {
        host.EndProgress();
        if (error.Id() == "render.pages") {
            host.Error(name + ": " + error.Message());
            return RenderOutcome{{}, kExitUsage};
        }
        host.Error(error.Message());
        return RenderOutcome{{}, kExitFile};
    }
}

RenderOutcome RenderFile(Host& host, const std::string& input, const RenderRequest& request) {
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return RenderOutcome{{}, kExitFile};
    auto outcome = RenderScore(host, *score, input, request);
    score->SetWindow(nullptr);
    return outcome;
}

}  // namespace corvendi::cli
