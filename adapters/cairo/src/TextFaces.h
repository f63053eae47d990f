// Text faces: a score font (name, bold, italic) resolved through fontconfig to a font file, and
// the cairo font faces of font files, cached per thread.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "FontFiles.h"

namespace corvendi::cairoimpl {

struct TextFace {
    cairo_font_face_t* Face = nullptr;  // owned by the cache
    FT_Face Metrics = nullptr;          // the same file opened for metrics; may be null
    std::string Family;                 // the family fontconfig chose
};

// The family a Windows font name is drawn with: the metric-compatible or customary free face
// for the common Windows fonts, else the name itself (fontconfig then finds the closest).
std::string SubstituteFamily(const std::string& name);

// The face for a font name, weight and slant. Never fails: without any match the face is
// cairo's default face.
const TextFace& ResolveTextFace(const std::string& name, bool bold, bool italic);

// The cairo face of a font file (null when the file is missing).
cairo_font_face_t* FaceForFile(const std::string& path, int32_t index = 0);

}  // namespace corvendi::cairoimpl
