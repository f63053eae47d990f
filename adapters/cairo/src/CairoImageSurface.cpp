#include <corvendi/cairo/CairoImageSurface.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "PngFile.h"
#include "common/Arith.h"

namespace corvendi {

namespace {

// Large enough for a legal page at 1 twip per pixel, small enough to allocate.
constexpr int32_t kMaxPixels = 32000;

int32_t PixelsFor(double twips, int32_t twipsPerPixel) {
    if (!std::isfinite(twips)) return 1;
    return std::clamp(NInt(twips / twipsPerPixel), 1, kMaxPixels);
}

void PaintColor(cairo_t* context, int32_t color) {
    const auto rgb = static_cast<uint32_t>(color);
    cairo_set_source_rgb(context, (rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         ((rgb >> 16) & 0xFF) / 255.0);
    cairo_paint(context);
}

}  // namespace

CairoImageSurface::CairoImageSurface(double widthTwips, double heightTwips, int32_t twipsPerPixel)
    : CairoSurface(twipsPerPixel) {
    Resize(widthTwips, heightTwips);
}

CairoImageSurface::~CairoImageSurface() {
    ReleaseFonts();
    if (mContext) cairo_destroy(mContext);
    if (mSurface) cairo_surface_destroy(mSurface);
}

void CairoImageSurface::Resize(double widthTwips, double heightTwips) {
    const int32_t width = PixelsFor(widthTwips, mTwipsPerPixel);
    const int32_t height = PixelsFor(heightTwips, mTwipsPerPixel);
    mWidth = std::isfinite(widthTwips) ? std::max(widthTwips, 0.0) : 0.0;
    mHeight = std::isfinite(heightTwips) ? std::max(heightTwips, 0.0) : 0.0;
    if (mCovering) {
        mPixelWidth = width;
        mPixelHeight = height;
        return;
    }
    if (mSurface && width == mPixelWidth && height == mPixelHeight) return;
    if (mSurface) Flush();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* context = cairo_create(surface);
    ApplyClip(context);
    PaintColor(context, mBackColor);
    if (mSurface) {
        cairo_set_source_surface(context, mSurface, 0, 0);
        cairo_paint(context);
        cairo_destroy(mContext);
        cairo_surface_destroy(mSurface);
        if (mBackColor != mBlankColor) mBlankInClip = mBlankEverywhere = false;
    } else {
        mBlankInClip = mBlankEverywhere = true;
        mBlankColor = mBackColor;
    }
    mSurface = surface;
    mContext = context;
    mPixelWidth = width;
    mPixelHeight = height;
}

void CairoImageSurface::CoverOnly(int32_t x, int32_t y, int32_t width, int32_t height) {
    Flush();  // what waits belongs to the rectangle held so far
    x = std::clamp(x, 0, kMaxPixels - 1);
    y = std::clamp(y, 0, kMaxPixels - 1);
    width = std::clamp(width, 1, kMaxPixels - x);
    height = std::clamp(height, 1, kMaxPixels - y);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
    if (!mMemory || bytes > mMemoryBytes) {
        mMemory = std::make_shared_for_overwrite<unsigned char[]>(bytes);
        mMemoryBytes = bytes;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        mMemory.get(), CAIRO_FORMAT_RGB24, width, height, stride);
    cairo_surface_set_device_offset(surface, -x, -y);
    // The memory lives as long as the cairo surface, which a host may still hold (a frame
    // being shown) after this image has moved on.
    using Memory = std::shared_ptr<unsigned char[]>;
    static cairo_user_data_key_t memoryKey;
    auto* kept = new Memory(mMemory);
    if (cairo_surface_set_user_data(surface, &memoryKey, kept, [](void* memory) {
            delete static_cast<Memory*>(memory);
        }) != CAIRO_STATUS_SUCCESS) {
        delete kept;
    }
    mCovering = true;
    mCoverX = x;
    mCoverY = y;
    if (mContext) cairo_destroy(mContext);
    if (mSurface) cairo_surface_destroy(mSurface);
    mSurface = surface;
    mContext = cairo_create(surface);
    ClipTo(x, y, width, height);
    PaintColor(mContext, mBackColor);
    mBlankInClip = mBlankEverywhere = true;
    mBlankColor = mBackColor;
}

void CairoImageSurface::ShareMemoryOf(const CairoImageSurface& other) {
    if (other.mMemoryBytes <= mMemoryBytes) return;
    mMemory = other.mMemory;
    mMemoryBytes = other.mMemoryBytes;
}

int32_t CairoImageSurface::HeldWidth() const {
    return mCovering ? cairo_image_surface_get_width(mSurface) : mPixelWidth;
}

int32_t CairoImageSurface::HeldHeight() const {
    return mCovering ? cairo_image_surface_get_height(mSurface) : mPixelHeight;
}

void CairoImageSurface::SetWidth(double twips) { Resize(twips, mHeight); }

void CairoImageSurface::SetHeight(double twips) { Resize(mWidth, twips); }

cairo_t* CairoImageSurface::DrawingContext() {
    if (!mSurface || cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) return nullptr;
    if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) {
        // A context that went wrong is replaced; the picture lives on in the surface.
        cairo_destroy(mContext);
        mContext = cairo_create(mSurface);
        ApplyClip(mContext);
    }
    return cairo_status(mContext) == CAIRO_STATUS_SUCCESS ? mContext : nullptr;
}

void CairoImageSurface::Cls() {
    if (mBlankInClip && mBlankColor == mBackColor) {
        mCurrentX = 0.0;
        mCurrentY = 0.0;
        return;
    }
    CairoSurface::Cls();
    mBlankInClip = !mLimited;
    mBlankEverywhere = !mClipped && !mLimited;
    mBlankColor = mBackColor;
}

void CairoImageSurface::Line(double x1, double y1, double x2, double y2, int32_t color,
                             LineFill fill) {
    mBlankInClip = mBlankEverywhere = false;
    CairoSurface::Line(x1, y1, x2, y2, color, fill);
}

void CairoImageSurface::Print(std::string_view text) {
    mBlankInClip = mBlankEverywhere = false;
    CairoSurface::Print(text);
}

void CairoImageSurface::TextOut(int32_t px, int32_t py, std::string_view text) {
    mBlankInClip = mBlankEverywhere = false;
    CairoSurface::TextOut(px, py, text);
}

void CairoImageSurface::PolyBezier(std::span<const PixelPoint> points) {
    mBlankInClip = mBlankEverywhere = false;
    CairoSurface::PolyBezier(points);
}

void CairoImageSurface::ClipTo(int32_t x, int32_t y, int32_t width, int32_t height) {
    Flush();  // what waits was drawn under the previous clip
    mClipped = true;
    // Within the largest image, where cairo's coordinates are exact.
    mClipX = std::clamp(x, 0, kMaxPixels);
    mClipY = std::clamp(y, 0, kMaxPixels);
    mClipWidth = std::clamp(width, 0, kMaxPixels - mClipX);
    mClipHeight = std::clamp(height, 0, kMaxPixels - mClipY);
    mBlankInClip = mBlankEverywhere;
    ClipOrLimitChanged();
}

void CairoImageSurface::Unclip() {
    Flush();
    mClipped = false;
    mBlankInClip = mBlankEverywhere;
    ClipOrLimitChanged();
}

bool CairoImageSurface::LimitDrawingTo(double left, double top, double right, double bottom) {
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) ||
        !std::isfinite(bottom))
        return false;
    Flush();  // what waits was drawn without the limit
    // Outward to whole pixels, within the largest image.
    const auto pixel = [](double v) {
        return static_cast<int32_t>(std::clamp(v, 0.0, 1.0 * kMaxPixels));
    };
    mLimitX0 = pixel(std::floor(left / mTwipsPerPixel));
    mLimitY0 = pixel(std::floor(top / mTwipsPerPixel));
    mLimitX1 = std::max(mLimitX0, pixel(std::ceil(right / mTwipsPerPixel)));
    mLimitY1 = std::max(mLimitY0, pixel(std::ceil(bottom / mTwipsPerPixel)));
    mLimited = true;
    ClipOrLimitChanged();
    return true;
}

void CairoImageSurface::EndDrawingLimit() {
    if (!mLimited) return;
    Flush();
    mLimited = false;
    // A clear within the limit left the rest of the clip as it was.
    mBlankInClip = mBlankEverywhere;
    ClipOrLimitChanged();
}

void CairoImageSurface::ClipOrLimitChanged() {
    if (mContext) ApplyClip(mContext);
    // At a high zoom the image holds a small part of the page: the rest of the page's drawing
    // would be collected, sorted and handed to cairo only to be clipped away.
    if (mLimited) {
        DropDrawingOutside(mLimitX0, mLimitY0, mLimitX1, mLimitY1);
    } else if (mClipped) {
        DropDrawingOutside(mClipX, mClipY, mClipX + mClipWidth, mClipY + mClipHeight);
    } else {
        KeepDrawingEverywhere();
    }
}

void CairoImageSurface::ApplyClip(cairo_t* context) const {
    cairo_reset_clip(context);
    if (mClipped) {
        cairo_new_path(context);
        cairo_rectangle(context, mClipX, mClipY, mClipWidth, mClipHeight);
        cairo_clip(context);
    }
    if (mLimited) {
        cairo_new_path(context);
        cairo_rectangle(context, mLimitX0, mLimitY0, mLimitX1 - mLimitX0, mLimitY1 - mLimitY0);
        cairo_clip(context);
    }
}

int32_t CairoImageSurface::PixelAt(int32_t x, int32_t y) {
    if (mCovering) {
        x -= mCoverX;
        y -= mCoverY;
    }
    if (!mSurface || x < 0 || y < 0 || x >= HeldWidth() || y >= HeldHeight()) return -1;
    Flush();
    cairo_surface_flush(mSurface);
    const unsigned char* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    uint32_t pixel = 0;
    std::copy_n(data + static_cast<ptrdiff_t>(y) * stride + static_cast<ptrdiff_t>(x) * 4, 4,
                reinterpret_cast<unsigned char*>(&pixel));
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return static_cast<int32_t>(r + 256 * g + 65536 * b);
}

std::vector<int32_t> CairoImageSurface::Pixels() {
    std::vector<int32_t> pixels;
    if (!mSurface) return pixels;
    Flush();
    cairo_surface_flush(mSurface);
    const unsigned char* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    const int32_t width = HeldWidth(), height = HeldHeight();
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            std::copy_n(row + static_cast<ptrdiff_t>(x) * 4, 4,
                        reinterpret_cast<unsigned char*>(&pixel));
            const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            pixels.push_back(static_cast<int32_t>(r + 256 * g + 65536 * b));
        }
    }
    return pixels;
}

bool CairoImageSurface::WritePng(const std::string& path) {
    if (!mSurface) return false;
    Flush();
    cairo_surface_flush(mSurface);
    return cairoimpl::WritePngFile(path, cairo_image_surface_get_data(mSurface), HeldWidth(),
                                   HeldHeight(), cairo_image_surface_get_stride(mSurface));
}

}  // namespace corvendi
