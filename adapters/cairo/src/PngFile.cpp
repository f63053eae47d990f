#include "PngFile.h"

#include "PngDeflate.h"

#include <zlib.h>

#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace corvendi::cairoimpl {

namespace {

constexpr size_t kMaxPaletteColors = 256;

uint32_t PixelAt(const unsigned char* row, int32_t x) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, 4);
    return pixel & 0xFFFFFF;
}

uint32_t ToLittleEndian(uint32_t value) {
    if constexpr (std::endian::native == std::endian::little) return value;
    return __builtin_bswap32(value);
}

// The colours of a picture and each one's index, as long as there are at most 256: an
// open-addressed table of 1024 slots, so a lookup rarely probes twice.
class Palette {
  public:
    Palette() { mSlots.fill(kEmpty); }

    // The index of a colour, added when new; -1 once the palette is full.
    int32_t IndexOf(uint32_t color) {
        size_t slot = (color * 2654435761u) >> 22;
        while (true) {
            const uint32_t held = mSlots[slot];
            if (held == kEmpty) break;
            if ((held & 0xFFFFFF) == color) return static_cast<int32_t>(held >> 24);
            slot = (slot + 1) % mSlots.size();
        }
        if (mColors.size() == kMaxPaletteColors) return -1;
        const auto index = static_cast<uint32_t>(mColors.size());
        mSlots[slot] = color | (index << 24);
        mColors.push_back(color);
        return static_cast<int32_t>(index);
    }

    const std::vector<uint32_t>& Colors() const { return mColors; }

  private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // no colour has its top byte set
    std::array<uint32_t, 1024> mSlots;
    std::vector<uint32_t> mColors;
};

// The picture as palette indices, row by row; false when it has more than 256 colours.
bool ToIndices(const unsigned char* data, int32_t width, int32_t height, int32_t stride,
               Palette& palette, std::vector<unsigned char>& indices) {
    indices.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    size_t at = 0;
    uint32_t last = 0xFFFFFFFFu;  // no colour: the first pixel is looked up
    int32_t lastIndex = 0;
    for (int32_t y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel = PixelAt(row, x);
            if (pixel != last) {
                lastIndex = palette.IndexOf(pixel);
                if (lastIndex < 0) return false;
                last = pixel;
            }
            indices[at++] = static_cast<unsigned char>(lastIndex);
        }
    }
    return true;
}

// The rows as the PNG stream holds them before compression: a filter byte (0, none) and the
// row's palette indices or RGB triples.
void RawRows(const unsigned char* data, int32_t width, int32_t height, int32_t stride,
             const std::vector<unsigned char>* indices, std::vector<unsigned char>& raw) {
    const size_t rowBytes = static_cast<size_t>(width) * (indices ? 1 : 3);
    // One byte to spare: each RGB pixel is stored as four bytes, the next pixel overwriting
    // the fourth.
    raw.resize((rowBytes + 1) * static_cast<size_t>(height) + 1);
    unsigned char* out = raw.data();
    for (int32_t y = 0; y < height; ++y) {
        *out++ = 0;
        if (indices) {
            std::memcpy(out, indices->data() + static_cast<size_t>(y) * rowBytes, rowBytes);
            out += rowBytes;
            continue;
        }
        const unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            // 0x00RRGGBB turned into the bytes R, G, B (and a fourth that the next overwrites).
            const uint32_t rgb = ToLittleEndian(__builtin_bswap32(PixelAt(row, x)) >> 8);
            std::memcpy(out, &rgb, 4);
            out += 3;
        }
    }
    raw.pop_back();
}

// Buffers kept between pictures of a thread: a page's worth of memory is not mapped and
// faulted in again for every page.
struct Buffers {
    std::vector<unsigned char> Indices, Raw, Packed;
};

void PutBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const unsigned char* data, size_t size) {
    PutBigEndian(out, static_cast<uint32_t>(size));
    const size_t start = out.size();
    out.append(type, 4);
    out.append(reinterpret_cast<const char*>(data), size);
    const auto* checked = reinterpret_cast<const unsigned char*>(out.data() + start);
    PutBigEndian(out, static_cast<uint32_t>(crc32(0L, checked, static_cast<uInt>(size + 4))));
}

std::string Header(int32_t width, int32_t height, bool indexed) {
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<uint32_t>(width));
    PutBigEndian(ihdr, static_cast<uint32_t>(height));
    ihdr += static_cast<char>(8);                // bits per sample
    ihdr += static_cast<char>(indexed ? 3 : 2);  // palette or RGB
    ihdr += std::string(3, '\0');                // deflate, adaptive filters, no interlace
    return ihdr;
}

std::string PngBytes(int32_t width, int32_t height, const Palette* palette,
                     const std::vector<unsigned char>& packed) {
    std::string png = "\x89PNG\r\n\x1a\n";
    const std::string ihdr = Header(width, height, palette != nullptr);
    PutChunk(png, "IHDR", reinterpret_cast<const unsigned char*>(ihdr.data()), ihdr.size());
    if (palette) {
        std::vector<unsigned char> plte;
        for (uint32_t color : palette->Colors()) {
            plte.push_back(static_cast<unsigned char>(color >> 16));
            plte.push_back(static_cast<unsigned char>(color >> 8));
            plte.push_back(static_cast<unsigned char>(color));
        }
        PutChunk(png, "PLTE", plte.data(), plte.size());
    }
    PutChunk(png, "IDAT", packed.data(), packed.size());
    PutChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace

bool WritePngFile(const std::string& path, const unsigned char* data, int32_t width, int32_t height,
                  int32_t stride) {
    if (!data || width <= 0 || height <= 0) return false;
    thread_local Buffers buffers;
    Palette palette;
    const bool indexed = ToIndices(data, width, height, stride, palette, buffers.Indices);
    RawRows(data, width, height, stride, indexed ? &buffers.Indices : nullptr, buffers.Raw);
    const size_t pixelBytes = indexed ? 1 : 3;
    buffers.Packed.clear();
    DeflateScanlines(buffers.Raw.data(), buffers.Raw.size(),
                     static_cast<size_t>(width) * pixelBytes + 1, pixelBytes, buffers.Packed);
    const std::string png = PngBytes(width, height, indexed ? &palette : nullptr, buffers.Packed);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) std::remove(path.c_str());
    return written && closed;
}

}  // namespace corvendi::cairoimpl
