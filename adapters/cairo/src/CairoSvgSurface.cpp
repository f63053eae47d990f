#include <corvendi/cairo/CairoSvgSurface.h>

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace corvendi {

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// cairo names a picture's groups after its surfaces' serial numbers ("surface245"), which count
// every surface the process made before. They are renumbered in order of appearance, so that a
// page is the same file whatever was drawn before it.
std::string WithStableSurfaceIds(const std::string& svg) {
    constexpr std::string_view kPrefix = "surface";
    std::map<std::string, int> numbers;
    std::string out;
    out.reserve(svg.size());
    size_t pos = 0;
    for (size_t at = svg.find(kPrefix); at != std::string::npos; at = svg.find(kPrefix, at)) {
        const size_t digits = at + kPrefix.size();
        size_t end = digits;
        while (end < svg.size() && svg[end] >= '0' && svg[end] <= '9') ++end;
        const bool reference = at > 0 && (svg[at - 1] == '"' || svg[at - 1] == '#');
        if (end == digits || !reference) {
            at = digits;
            continue;
        }
        const auto number =
            numbers.emplace(svg.substr(digits, end - digits), static_cast<int>(numbers.size()) + 1)
                .first->second;
        out.append(svg, pos, digits - pos);
        out += std::to_string(number);
        pos = at = end;
    }
    out.append(svg, pos, std::string::npos);
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

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
        mSurface =
            cairo_svg_surface_create_for_stream(AppendBytes, &DocumentBytes(), width, height);
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
    if (mOk && !WriteFile(mPath, WithStableSurfaceIds(bytes))) mOk = false;
    std::string().swap(bytes);
    return mOk;
}

}  // namespace corvendi
