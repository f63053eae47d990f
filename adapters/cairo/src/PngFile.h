// PNG files of cairo images, written for speed. A page of music has few colours (each ink
// with its anti-aliased shades), so a picture of at most 256 colours is written with a
// palette, one byte a pixel, others as 8-bit RGB; rows are unfiltered and deflated at the
// fastest level, which on mostly white pages also gives the smallest files. Both forms are
// read by every viewer.
#pragma once

#include <cstdint>
#include <string>

namespace corvendi::cairoimpl {

// Writes an image in cairo's RGB24 layout (32 bits a pixel, native byte order, rows of
// `stride` bytes). False when the file cannot be written.
bool WritePngFile(const std::string& path, const unsigned char* data, int32_t width, int32_t height,
                  int32_t stride);

}  // namespace corvendi::cairoimpl
