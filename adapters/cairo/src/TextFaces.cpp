#include "TextFaces.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>
#include <utility>

namespace corvendi::cairoimpl {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class FileFaces {
  public:
    FileFaces() = default;
    ~FileFaces() {
        for (auto& entry : mFaces) {
            if (entry.second) cairo_font_face_destroy(entry.second);
        }
    }
    FileFaces(const FileFaces&) = delete;
    FileFaces& operator=(const FileFaces&) = delete;

    cairo_font_face_t* Get(const std::string& path, int32_t index) {
        auto key = std::make_pair(path, index);
        auto found = mFaces.find(key);
        if (found != mFaces.end()) return found->second;
        cairo_font_face_t* face = nullptr;
        if (CachedFace(path, index)) {
            // A pattern with nothing but the file, so that the surface's font options decide
            // hinting and antialiasing.
            std::lock_guard<std::mutex> lock(FontconfigMutex());
            FcPattern* pattern = FcPatternCreate();
            if (pattern) {
                FcPatternAddString(pattern, FC_FILE,
                                   reinterpret_cast<const FcChar8*>(path.c_str()));
                FcPatternAddInteger(pattern, FC_INDEX, index);
                face = cairo_ft_font_face_create_for_pattern(pattern);
                FcPatternDestroy(pattern);
                if (face && cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
                    cairo_font_face_destroy(face);
                    face = nullptr;
                }
            }
        }
        mFaces.emplace(key, face);
        return face;
    }

  private:
    std::map<std::pair<std::string, int32_t>, cairo_font_face_t*> mFaces;
};

class TextFaceCache {
  public:
    TextFaceCache() = default;
    ~TextFaceCache() {
        if (mDefault.Face) cairo_font_face_destroy(mDefault.Face);
    }
    TextFaceCache(const TextFaceCache&) = delete;
    TextFaceCache& operator=(const TextFaceCache&) = delete;

    const TextFace& Get(const std::string& name, bool bold, bool italic) {
        auto key = std::make_tuple(Lower(name), bold, italic);
        auto found = mFaces.find(key);
        if (found != mFaces.end()) return found->second;
        TextFace face;
        FontFile file = MatchFontFile(SubstituteFamily(name), bold, italic);
        if (!file.Path.empty()) {
            face.Face = FaceForFile(file.Path, file.Index);
            face.Metrics = CachedFace(file.Path, file.Index);
            face.Family = file.Family;
        }
        if (!face.Face) face = Default();
        return mFaces.emplace(key, face).first->second;
    }

  private:
    const TextFace& Default() {
        if (!mDefault.Face) {
            mDefault.Face = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                                       CAIRO_FONT_WEIGHT_NORMAL);
            mDefault.Family = "sans-serif";
        }
        return mDefault;
    }

    TextFace mDefault;
    std::map<std::tuple<std::string, bool, bool>, TextFace> mFaces;
};

FileFaces& Files() {
    thread_local FileFaces files;
    return files;
}

}  // namespace

std::string SubstituteFamily(const std::string& name) {
    static const std::pair<const char*, const char*> kSubstitutes[] = {
        {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"arial narrow", "Liberation Sans Narrow"},
        {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
        {"verdana", "DejaVu Sans"},
        {"tahoma", "DejaVu Sans"},
        {"georgia", "DejaVu Serif"},
    };
    std::string lower = Lower(name);
    for (const auto& [windows, free] : kSubstitutes) {
        if (lower == windows) return free;
    }
    return name.empty() ? std::string("Liberation Sans") : name;
}

const TextFace& ResolveTextFace(const std::string& name, bool bold, bool italic) {
    thread_local TextFaceCache cache;
    return cache.Get(name, bold, italic);
}

cairo_font_face_t* FaceForFile(const std::string& path, int32_t index) {
    return Files().Get(path, index);
}

}  // namespace corvendi::cairoimpl
