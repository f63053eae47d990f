// The PNG page encoder against zlib's decoder: whatever the picture, the stream inflates to
// exactly the scanlines given.
#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <vector>

#include "PngDeflate.h"

namespace corvendi::test {
namespace {

std::vector<unsigned char> Inflated(const std::vector<unsigned char>& stream, size_t expected) {
    std::vector<unsigned char> out(expected + 16);
    uLongf size = out.size();
    if (uncompress(out.data(), &size, stream.data(), stream.size()) != Z_OK) return {};
    out.resize(size);
    return out;
}

TEST(PngDeflate, EveryKindOfPictureInflatesToItsScanlines) {
    std::mt19937 random(7);
    // Noise (literals only), paper with specks (long runs), few shades (short repeats),
    // stripes (rows repeating the row above), a row wider than the window of repeats.
    for (int picture = 0; picture < 400; ++picture) {
        const int kind = picture % 5;
        const size_t pixelBytes = picture % 2 ? 3 : 1;
        const size_t width = kind == 4 ? 12000 : 1 + random() % 90;
        const size_t rowBytes = width * pixelBytes + 1;
        const size_t height = kind == 4 ? 3 : 1 + random() % 50;
        std::vector<unsigned char> rows(rowBytes * height);
        for (size_t i = 0; i < rows.size(); ++i) {
            const size_t x = i % rowBytes;
            switch (kind) {
                case 0: rows[i] = static_cast<unsigned char>(random()); break;
                case 1: rows[i] = random() % 40 ? 255 : static_cast<unsigned char>(random()); break;
                case 2: rows[i] = static_cast<unsigned char>(random() % 3); break;
                default: rows[i] = static_cast<unsigned char>((x / 5) % 7 * 30); break;
            }
            if (x == 0) rows[i] = 0;  // the filter byte
        }
        std::vector<unsigned char> stream;
        cairoimpl::DeflateScanlines(rows.data(), rows.size(), rowBytes, pixelBytes, stream);
        ASSERT_EQ(Inflated(stream, rows.size()), rows) << "picture " << picture;
    }
}

TEST(PngDeflate, APageOfPaperShrinksToAFewBytesARow) {
    const size_t rowBytes = 816 * 3 + 1;
    std::vector<unsigned char> rows(rowBytes * 1056, 255);
    for (size_t y = 0; y < 1056; ++y) rows[y * rowBytes] = 0;
    std::vector<unsigned char> stream;
    cairoimpl::DeflateScanlines(rows.data(), rows.size(), rowBytes, 3, stream);
    EXPECT_LT(stream.size(), 1056u * 6);
    EXPECT_EQ(Inflated(stream, rows.size()), rows);
}

}  // namespace
}  // namespace corvendi::test
