#include <corvendi/cairo/CairoSvgSurface.h>

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>

#include "common/ThreadInstance.h"

namespace corvendi {

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// cairo names a picture's groups after its surfaces' serial numbers ("surface245"), which count
// every surface the process made before. They are written renumbered in order of appearance, so
// that a page is the same file whatever was drawn before it.
bool WriteWithStableSurfaceIds(const std::string& path, const std::string& svg) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = true;
    auto put = [&](std::string_view bytes) {
        written = written && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    };
    constexpr std::string_view kPrefix = "surface";
    std::map<std::string, int, std::less<>> numbers;
    const std::string_view text = svg;
    size_t pos = 0;
    for (size_t at = text.find(kPrefix); at != std::string_view::npos;
         at = text.find(kPrefix, at)) {
        const size_t digits = at + kPrefix.size();
        size_t end = digits;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        const bool reference = at > 0 && (text[at - 1] == '"' || text[at - 1] == '#');
        if (end == digits || !reference) {
            at = digits;
            continue;
        }
        const std::string_view serial = text.substr(digits, end - digits);
        auto found = numbers.find(serial);
        if (found == numbers.end())
            found =
                numbers.emplace(std::string(serial), static_cast<int>(numbers.size()) + 1).first;
        put(text.substr(pos, digits - pos));
        put(std::to_string(found->second));
        pos = at = end;
    }
    put(text.substr(pos));
    return std::fclose(file) == 0 && written;
}

// The memory a finished page's bytes took, kept for the thread's next page: a document of one
// file per page would otherwise grow a buffer to the page's size again for every page.
struct SpareBytes {
    static constexpr size_t kMost = size_t{4} << 20;
    std::string Bytes;
};

}  // namespace

CairoSvgSurface::CairoSvgSurface(std::string path, double widthTwips, double heightTwips,
                                 int32_t twipsPerPixel)
    : CairoSurface(twipsPerPixel), mPath(std::move(path)) {
    mWidth = std::isfinite(widthTwips) ? std::max(widthTwips, 0.0) : 0.0;
    mHeight = std::isfinite(heightTwips) ? std::max(heightTwips, 0.0) : 0.0;
}

CairoSvgSurface::~CairoSvgSurface() { Finish(); }

cairo_t* CairoSvgSurface::DrawingContext() {
    if (mFinished) return nullptr;
    if (!mSurface) {
        // The picture is at least one point each way and at most a few metres.
        const double width = std::clamp(mWidth / 20.0, 1.0, 1e5);
        const double height = std::clamp(mHeight / 20.0, 1.0, 1e5);
        std::string& bytes = DocumentBytes();
        bytes.swap(detail::ThreadInstance<SpareBytes>().Bytes);
        bytes.clear();
        mSurface = cairo_svg_surface_create_for_stream(AppendBytes, &bytes, width, height);
        mContext = cairo_create(mSurface);
    }
    if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) {
        mOk = false;
        return nullptr;
    }
    if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) {
        // A context that went wrong is replaced; what was drawn lives on in the surface.
        cairo_destroy(mContext);
        mContext = cairo_create(mSurface);
    }
    return cairo_status(mContext) == CAIRO_STATUS_SUCCESS ? mContext : nullptr;
}

bool CairoSvgSurface::Finish() {
    if (mFinished) return mOk;
    if (!mSurface) DrawingContext();  // an empty picture still makes a file
    Flush();
    mFinished = true;
    if (!CloseDocument(mContext, mSurface)) mOk = false;
    std::string& bytes = DocumentBytes();
    if (mOk && !WriteWithStableSurfaceIds(mPath, bytes)) mOk = false;
    std::string& spare = detail::ThreadInstance<SpareBytes>().Bytes;
    if (bytes.capacity() <= SpareBytes::kMost && bytes.capacity() > spare.capacity()) {
        bytes.swap(spare);
    }
    std::string().swap(bytes);
    return mOk;
}

}  // namespace corvendi
