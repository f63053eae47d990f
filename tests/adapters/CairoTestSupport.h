// Rendering single characters on a cairo image surface and measuring their ink.
#pragma once

#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Arith.h"

namespace corvendi::test {

inline std::string RepositoryMusicFontMap() {
    return std::string(CORVENDI_TEST_DATA_DIR) + "/Common/Config/MusicFont.txt";
}

// Every test of the adapter reads the repository's map.
class MusicFontTest : public ::testing::Test {
  protected:
    void SetUp() override { SetMusicFontMapFile(RepositoryMusicFontMap()); }
    void TearDown() override { SetMusicFontMapFile({}); }
};

// Ink bounds in pixels: inclusive rows and columns of pixels darker than mid-grey.
struct Ink {
    int32_t Left = 0, Top = 0, Right = -1, Bottom = -1;
    int64_t Count = 0;
    bool Empty() const { return Count == 0; }
};

inline bool IsInk(int32_t color) {
    if (color < 0) return false;
    const int32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return (r + g + b) < 3 * 128;
}

inline Ink MeasureInk(CairoImageSurface& surface) {
    Ink ink;
    const std::vector<int32_t> pixels = surface.Pixels();
    const int32_t width = surface.PixelWidth();
    for (int32_t y = 0; y < surface.PixelHeight(); ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (!IsInk(pixels[static_cast<size_t>(y) * static_cast<size_t>(width) +
                              static_cast<size_t>(x)]))
                continue;
            if (ink.Count == 0) {
                ink.Left = ink.Right = x;
                ink.Top = ink.Bottom = y;
            }
            ink.Left = std::min(ink.Left, x);
            ink.Right = std::max(ink.Right, x);
            ink.Top = std::min(ink.Top, y);
            ink.Bottom = std::max(ink.Bottom, y);
            ++ink.Count;
        }
    }
    return ink;
}

// A staff of a given height on its own image surface, with helpers in staff spaces: one
// character drawn at (x, G - h), its ink measured from the bottom line (up) and from x.
class StaffCanvas {
  public:
    StaffCanvas(double staffHeightTwips, int32_t twipsPerPixel)
        : mHeight(staffHeightTwips),
          mSpace(staffHeightTwips / 4),
          mTpp(twipsPerPixel),
          mSurface(26 * mSpace, 22 * mSpace, twipsPerPixel) {
        mTop = 9 * mSpace;
        mX = 11 * mSpace;
        mSurface.Cls();
        mSurface.SetFont(FontSpec{"Quavrix", static_cast<float>(staffHeightTwips / 20.0)});
    }

    CairoImageSurface& Surface() { return mSurface; }
    double Space() const { return mSpace; }
    double Bottom() const { return mTop + 4 * mSpace; }
    // The staff's glyph reference: the top line less the glyph drop.
    double G() const { return mTop - NInt(0.39 * mHeight); }
    double PixelInSpaces() const { return mTpp / mSpace; }

    // Draws text with its cell at (X, G - h spaces) and returns its ink.
    Ink Draw(const std::string& text, double hSpaces = 0.0) {
        mSurface.DrawTextAt(mX, G() - hSpaces * mSpace, text);
        return MeasureInk(mSurface);
    }

    // Pixel edges to staff spaces: above the bottom line (y up) and right of X.
    double SpacesUp(double pixelEdge) const { return (Bottom() - pixelEdge * mTpp) / mSpace; }
    double SpacesRight(double pixelEdge) const { return (pixelEdge * mTpp - mX) / mSpace; }
    // The ink's outer edges (the far side of the last pixel) in staff spaces.
    double TopOf(const Ink& ink) const { return SpacesUp(ink.Top); }
    double BottomOf(const Ink& ink) const { return SpacesUp(ink.Bottom + 1.0); }
    double LeftOf(const Ink& ink) const { return SpacesRight(ink.Left); }
    double RightOf(const Ink& ink) const { return SpacesRight(ink.Right + 1.0); }
    double MiddleOf(const Ink& ink) const { return (TopOf(ink) + BottomOf(ink)) / 2.0; }

  private:
    double mHeight;
    double mSpace;
    int32_t mTpp;
    CairoImageSurface mSurface;
    double mTop = 0.0;
    double mX = 0.0;
};

}  // namespace corvendi::test
