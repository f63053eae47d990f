// The compressed stream of a PNG picture (a zlib stream of its scanlines), made for pages of
// music: mostly paper, with long runs of one colour and rows that repeat the row above.
//
// General-purpose deflate encoders hash every byte looking for repeats anywhere in the last
// 32 KiB, which costs as much on a blank page as on a photograph. This one looks in just two
// places, the pixel before and the pixel above, measures a repeat eight bytes at a time, and
// codes literals and repeats with Huffman codes made for the picture (one dynamic block): a
// page at 96 dpi compresses in about a millisecond to roughly the size the fastest levels of
// general encoders give.
#pragma once

#include <cstddef>
#include <vector>

namespace corvendi::cairoimpl {

// Appends the zlib stream of `size` bytes of scanlines (each row a filter byte and its pixels,
// `rowBytes` in all) to `out`; `pixelBytes` is the size of one pixel.
void DeflateScanlines(const unsigned char* data, size_t size, size_t rowBytes, size_t pixelBytes,
                      std::vector<unsigned char>& out);

}  // namespace corvendi::cairoimpl
