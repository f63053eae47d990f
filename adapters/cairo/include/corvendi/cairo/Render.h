// Rendering a score's pages to files: a PDF through printing, PNG or SVG one file per page. The
// one implementation the command-line program, the desktop program and the Python module share.
//
// Each function attaches a window of its own to the score (an image of the page's size), lets
// pagination run to the end on the calling thread's platform, writes the files and detaches the
// window again. A failure to write throws corvendi::Error with the id "render.write"; a page
// range that selects no page throws "render.pages" (naming the pages the score has) before any
// file is made.
#pragma once

#include <corvendi/Export.h>
#include <corvendi/Score.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvendi::cairo {

enum class RenderFormat { Pdf, Png, Svg };

// What a render is doing when it reports progress: the page count found so far while paginating,
// the first page printed of a PDF, the page drawn of a PNG or SVG.
enum class RenderStage { Paginating, Printing, Drawing };
using RenderProgress = std::function<void(RenderStage stage, int32_t page)>;

struct RenderOptions {
    // The pages, by the rules of printing: no first page means from page 1 (and with no last
    // page either, to the last page); a first page alone selects that page; pages beyond the
    // score are left out.
    std::optional<int32_t> FromPage;
    std::optional<int32_t> ToPage;
    // Pixels per inch of a PNG; it must divide 1440 evenly. 0 takes the platform's screen
    // resolution, which is also the resolution every PDF and SVG is paginated at.
    int32_t Dpi = 0;
    RenderProgress Progress;
};

// The format by a file's extension (.pdf, .png, .svg in any letter case); nullopt for others.
CORVENDI_API std::optional<RenderFormat> RenderFormatOf(const std::string& path);
// The name of page `page` of a picture output: "out.png" gives "out-<page>.png".
CORVENDI_API std::string PageFileName(const std::string& path, int32_t page);
// The pages a range selects (see RenderOptions) in a score of `lastPage` pages.
CORVENDI_API std::vector<int32_t> SelectedPages(std::optional<int32_t> fromPage,
                                                std::optional<int32_t> toPage, int32_t lastPage);

// Each returns the files written: the PDF itself, or one "<stem>-<page>.<ext>" per page.
CORVENDI_API std::vector<std::string> RenderPdf(Score& score, const std::string& path,
                                                const RenderOptions& options = {});
CORVENDI_API std::vector<std::string> RenderPng(Score& score, const std::string& path,
                                                const RenderOptions& options = {});
CORVENDI_API std::vector<std::string> RenderSvg(Score& score, const std::string& path,
                                                const RenderOptions& options = {});
CORVENDI_API std::vector<std::string> Render(Score& score, RenderFormat format,
                                             const std::string& path,
                                             const RenderOptions& options = {});

}  // namespace corvendi::cairo
