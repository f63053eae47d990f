#include "MusicFont.h"

#include <corvendi/Platform.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include FT_OUTLINE_H
#include FT_BBOX_H

#include "TextFaces.h"
#include "common/Cp1252.h"
#include "common/ParsedFileCache.h"

namespace corvendi::cairoimpl {

using musicfont::AlignX;
using musicfont::AlignY;
using musicfont::Element;
using musicfont::ElementKind;
using musicfont::Entry;
using musicfont::FontDecl;
using musicfont::FontSource;

namespace {

thread_local std::string tMapFileOverride;

// The face characters without an entry are drawn with, at half the music em.
constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr double kFallbackSize = 0.5;

struct GlyphMetrics {
    bool Found = false;
    double Advance = 0.0;  // font units
    Box Ink;               // font units
};

GlyphMetrics MeasureGlyph(FT_Face face, uint32_t index) {
    GlyphMetrics metrics;
    if (!face || index == 0) return metrics;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) return metrics;
    metrics.Found = true;
    metrics.Advance = static_cast<double>(face->glyph->metrics.horiAdvance);
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0) {
        FT_BBox box;
        if (FT_Outline_Get_BBox(&face->glyph->outline, &box) == 0) {
            metrics.Ink.Add(static_cast<double>(box.xMin), static_cast<double>(box.yMin),
                            static_cast<double>(box.xMax), static_cast<double>(box.yMax));
        }
    }
    return metrics;
}

std::string ReplaceSize(std::string pattern, int32_t size) {
    size_t at = pattern.find("{size}");
    if (at != std::string::npos) pattern.replace(at, 6, std::to_string(size));
    return pattern;
}

}  // namespace

void Box::Add(double x0, double y0, double x1, double y1) {
    if (Empty) {
        X0 = x0, Y0 = y0, X1 = x1, Y1 = y1;
        Empty = false;
        return;
    }
    X0 = std::min(X0, x0);
    Y0 = std::min(Y0, y0);
    X1 = std::max(X1, x1);
    Y1 = std::max(Y1, y1);
}

void Box::Add(const Box& other) {
    if (!other.Empty) Add(other.X0, other.Y0, other.X1, other.Y1);
}

std::string CurrentMapFile() {
    if (!tMapFileOverride.empty()) return tMapFileOverride;
    std::string folder = CurrentPlatform().AppFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "Common/Config/MusicFont.txt";
}

void SetMapFileOverride(std::string path) { tMapFileOverride = std::move(path); }

MusicFont::MusicFont(std::shared_ptr<const musicfont::Map> map)
    : mShared(std::move(map)), mMap(*mShared), mLilyPondDir(MusicFontDir()) {
    for (const Entry& entry : mMap.Entries) {
        if (entry.Key.empty()) continue;
        mByFirstCode[entry.Key.front()].push_back(&entry);
        for (const Element& element : entry.Elements)
            if (element.Kind == ElementKind::Brace) mBraceCode[entry.Key.front()] = true;
    }
    // Longest keys first, so the first match is the longest.
    for (auto& list : mByFirstCode) {
        std::stable_sort(list.begin(), list.end(), [](const Entry* a, const Entry* b) {
            return a->Key.size() > b->Key.size();
        });
    }
}

namespace {

// The map file at `path`, parsed by the first thread that asks for it.
std::shared_ptr<const musicfont::Map> SharedMap(const std::string& path) {
    static ParsedFileCache<musicfont::Map> parsed;
    if (auto map = parsed.Get(path, musicfont::ParseMap)) return map;
    return std::make_shared<const musicfont::Map>(musicfont::LoadMap(path));  // says why
}

}  // namespace

const std::shared_ptr<MusicFont>& MusicFont::ForThread() {
    thread_local std::shared_ptr<MusicFont> font;
    // What the map was read for: the override, else the application folder, compared before
    // any path is built.
    thread_local std::string loadedOverride;
    thread_local std::string loadedFolder;
    if (!tMapFileOverride.empty()) {
        if (!font || loadedOverride != tMapFileOverride) {
            font = std::make_shared<MusicFont>(SharedMap(tMapFileOverride));
            loadedOverride = tMapFileOverride;
        }
        return font;
    }
    std::string folder = CurrentPlatform().AppFolder();
    if (!font || !loadedOverride.empty() || loadedFolder != folder) {
        font = std::make_shared<MusicFont>(SharedMap(CurrentMapFile()));
        loadedOverride.clear();
        loadedFolder = std::move(folder);
    }
    return font;
}

MusicFont::FaceInfo MusicFont::ResolveFace(const std::string& alias, double sizePoints) {
    FaceInfo info;
    const FontDecl* decl = mMap.FindFont(alias);
    if (!decl) return info;
    std::string path;
    int32_t index = 0;
    if (decl->Source == FontSource::LilyPond) {
        if (mLilyPondDir.empty()) return info;
        std::string file = decl->File;
        if (!decl->Sizes.empty())
            file = ReplaceSize(file, NearestOpticalSize(decl->Sizes, sizePoints));
        path = mLilyPondDir + "/" + file;
    } else {
        FontFile match = MatchFontFile(decl->Family, decl->Bold, decl->Italic);
        path = match.Path;
        index = match.Index;
    }
    info.Metrics = CachedFace(path, index);
    if (info.Metrics) info.Face = FaceForFile(path, index);
    if (!info.Face) info.Metrics = nullptr;
    return info;
}

void MusicFont::ReadCodes(std::string_view text) {
    std::u32string& chars = mChars;
    std::vector<uint8_t>& codes = mCodes;
    chars.clear();
    codes.clear();
    // Music is mostly ASCII, where code points, the code page and UTF-8 agree.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        chars.assign(text.begin(), text.end());
        codes.assign(text.begin(), text.end());
        return;
    }
    chars = Utf8ToCodePoints(text);
    for (char32_t ch : chars) {
        int code = UnicodeToCp1252(ch);
        // Characters outside the code page match no entry (0 is never a key of the map).
        codes.push_back(code < 0 ? 0 : static_cast<uint8_t>(code));
    }
}

const MusicRun& MusicFont::Layout(std::string_view text, double sizePoints, double staffPoints) {
    // A page draws a few symbols at one size thousands of times: runs are kept by their sizes
    // and text (the sizes first, so that keys of different texts never run into each other).
    // Every other symbol repeats the one before (a note's head after the previous note's).
    // Sizes compare as the key does, bit for bit.
    if (mLast.Run && mLast.Size == std::bit_cast<uint64_t>(sizePoints) &&
        mLast.Staff == std::bit_cast<uint64_t>(staffPoints) && mLast.Text == text)
        return *mLast.Run;
    mRunKey.clear();
    mRunKey.append(reinterpret_cast<const char*>(&sizePoints), sizeof sizePoints);
    mRunKey.append(reinterpret_cast<const char*>(&staffPoints), sizeof staffPoints);
    mRunKey.append(text);
    if (auto found = mRuns.find(mRunKey); found != mRuns.end()) return Remember(*found);
    // Runs point into the drawings, so all three are let go together, before a run is built.
    if (mRuns.size() > kMaxRuns || mDrawings.size() > kMaxDrawings ||
        mFallbacks.size() > kMaxFallbacks) {
        mLast = {};
        mRuns.clear();
        mDrawings.clear();
        mFallbacks.clear();
    }
    MusicRun& run = Remember(*mRuns.try_emplace(mRunKey).first);
    ReadCodes(text);
    const std::u32string& chars = mChars;
    const std::vector<uint8_t>& codes = mCodes;
    double pen = 0.0;
    size_t pos = 0;
    while (pos < codes.size()) {
        const Entry* match = nullptr;
        if (codes[pos] != 0) {
            for (const Entry* entry : mByFirstCode[codes[pos]]) {
                size_t n = entry->Key.size();
                if (pos + n <= codes.size() &&
                    std::equal(entry->Key.begin(), entry->Key.end(),
                               codes.begin() + static_cast<std::ptrdiff_t>(pos))) {
                    match = entry;
                    break;
                }
            }
        }
        const Drawing* drawing = nullptr;
        size_t used = 1;
        if (match) {
            drawing = &EntryDrawing(*match, sizePoints, staffPoints);
            used = match->Key.size();
        } else {
            drawing = &FallbackDrawing(chars[pos]);
        }
        run.Items.emplace_back(pen, drawing);
        pen += drawing->Advance;
        pos += used;
    }
    run.Width = pen;
    run.Brace =
        std::any_of(codes.begin(), codes.end(), [this](uint8_t code) { return mBraceCode[code]; });
    return run;
}

MusicRun& MusicFont::Remember(std::pair<const std::string, MusicRun>& keyAndRun) {
    // The key is the sizes' bytes and then the text.
    constexpr size_t kSizesBytes = 2 * sizeof(double);
    mLast.Run = &keyAndRun.second;
    std::memcpy(&mLast.Size, keyAndRun.first.data(), sizeof(double));
    std::memcpy(&mLast.Staff, keyAndRun.first.data() + sizeof(double), sizeof(double));
    mLast.Text = std::string_view(keyAndRun.first).substr(kSizesBytes);
    return keyAndRun.second;
}

const Drawing& MusicFont::EntryDrawing(const Entry& entry, double sizePoints, double staffPoints) {
    // The drawing depends on the size only through the optical size of sized faces and the
    // brace glyph chosen; the variant key captures both.
    int64_t variant = 0;
    for (const Element& element : entry.Elements) {
        if (const FontDecl* decl = mMap.FindFont(element.Font); decl && !decl->Sizes.empty()) {
            variant = NearestOpticalSize(decl->Sizes, sizePoints * element.Size);
        }
        if (element.Kind == ElementKind::Brace) {
            double brace = element.BraceHeight / kSpacesPerEm * sizePoints;
            double staff = staffPoints > 0.0 ? staffPoints : brace / element.Design;
            // Quantised ratio of brace height to staff height: glyph choice only changes with it.
            variant = variant * 100000 + std::llround(std::min(brace / staff, 1000.0) * 50.0);
        }
    }
    auto key = std::make_pair(&entry, variant);
    auto found = mDrawings.find(key);
    if (found != mDrawings.end()) return *found->second;
    auto drawing = std::make_unique<Drawing>(Build(entry, sizePoints, staffPoints));
    return *mDrawings.emplace(key, std::move(drawing)).first->second;
}

Drawing MusicFont::Build(const Entry& entry, double sizePoints, double staffPoints) {
    Drawing drawing;
    for (const Element& element : entry.Elements)
        AddElement(element, sizePoints, staffPoints, drawing);
    if (entry.Advance) {
        drawing.Advance = *entry.Advance / kSpacesPerEm;
    } else {
        double right = drawing.Ink.Empty ? 0.0 : drawing.Ink.X1;
        drawing.Advance = std::max(0.0, right + entry.Gap / kSpacesPerEm);
    }
    return drawing;
}

void MusicFont::Report(const std::string& problem) {
    if (mProblems.size() < 100 &&
        std::find(mProblems.begin(), mProblems.end(), problem) == mProblems.end()) {
        mProblems.push_back(problem);
    }
}

const Drawing& MusicFont::FallbackDrawing(char32_t ch) {
    auto found = mFallbacks.find(ch);
    if (found != mFallbacks.end()) return *found->second;
    auto drawing = std::make_unique<Drawing>();
    FontFile file = MatchFontFile(kFallbackFamily, false, false);
    FT_Face face = CachedFace(file.Path, file.Index);
    cairo_font_face_t* cairoFace = face ? FaceForFile(file.Path, file.Index) : nullptr;
    if (face && cairoFace && ch >= 0x20) {
        uint32_t index = FT_Get_Char_Index(face, ch);
        GlyphMetrics metrics = MeasureGlyph(face, index);
        double unit = kFallbackSize / face->units_per_EM;
        if (metrics.Found) {
            PlacedGlyph glyph;
            glyph.Face = cairoFace;
            glyph.Index = index;
            glyph.ScaleX = glyph.ScaleY = unit;
            glyph.UnitsPerEm = face->units_per_EM;
            drawing->Glyphs.push_back(glyph);
            drawing->Advance = metrics.Advance * unit;
            if (!metrics.Ink.Empty) {
                drawing->Ink.Add(metrics.Ink.X0 * unit, metrics.Ink.Y0 * unit,
                                 metrics.Ink.X1 * unit, metrics.Ink.Y1 * unit);
            }
        }
    }
    return *mFallbacks.emplace(ch, std::move(drawing)).first->second;
}

uint32_t MusicFont::NearestBraceGlyph(FT_Face face, BraceGrades& grades, double wanted) {
    auto height = [&](uint32_t index) {
        auto [at, added] = grades.Measured.try_emplace(index, 0.0);
        if (added) {
            GlyphMetrics metrics = MeasureGlyph(face, index);
            if (metrics.Found && !metrics.Ink.Empty) at->second = metrics.Ink.Y1 - metrics.Ink.Y0;
        }
        return at->second;
    };
    const auto last = static_cast<uint32_t>(std::max<FT_Long>(face->num_glyphs - 1, 0));
    if (!grades.Scanned && last >= 1) {
        // Brace fonts grade their glyphs by index, smallest first: a binary search measures
        // a dozen glyphs where a scan would measure hundreds. The glyphs it looked at must
        // all have ink and grow with their index, else every glyph is measured after all.
        uint32_t low = 1;
        uint32_t high = last;
        while (low < high) {
            const uint32_t middle = low + (high - low) / 2;
            if (height(middle) < wanted) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        uint32_t chosen = low;
        if (low > 1 && std::abs(height(low - 1) - wanted) <= std::abs(height(low) - wanted))
            chosen = low - 1;
        height(1);
        height(last);
        double previous = 0.0;
        bool graded = true;
        for (const auto& [index, measured] : grades.Measured) {
            graded = graded && measured > previous;
            previous = measured;
        }
        if (graded) return chosen;
        grades.Scanned = true;
        for (uint32_t i = 1; i <= last; ++i) {
            if (const double h = height(i); h > 0.0) grades.Sorted.emplace_back(h, i);
        }
        std::sort(grades.Sorted.begin(), grades.Sorted.end());
    }
    if (grades.Sorted.empty()) return 0;
    auto nearest = std::min_element(
        grades.Sorted.begin(), grades.Sorted.end(), [&](const auto& a, const auto& b) {
            return std::abs(a.first - wanted) < std::abs(b.first - wanted);
        });
    return nearest->second;
}

void MusicFont::AddElement(const Element& element, double sizePoints, double staffPoints,
                           Drawing& out) {
    const double em = 1.0 / kSpacesPerEm;  // one staff space in em
    const double atX = element.AtX * em;
    const double atY = element.AtY * em;

    if (element.Kind == ElementKind::Rect || element.Kind == ElementKind::Poly) {
        PlacedShape shape;
        shape.IsRect = element.Kind == ElementKind::Rect;
        const std::vector<double>& p = element.Points;
        if (shape.IsRect) {
            double x0 = std::min(p[0], p[2]) * em + atX, x1 = std::max(p[0], p[2]) * em + atX;
            double y0 = std::min(p[1], p[3]) * em + atY, y1 = std::max(p[1], p[3]) * em + atY;
            shape.Points = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        } else {
            for (size_t i = 0; i + 1 < p.size(); i += 2)
                shape.Points.emplace_back(p[i] * em + atX, p[i + 1] * em + atY);
        }
        for (const auto& [x, y] : shape.Points) out.Ink.Add(x, y, x, y);
        out.Shapes.push_back(std::move(shape));
        return;
    }

    const double size = sizePoints * element.Size;
    FaceInfo face = ResolveFace(element.Font, size);
    if (!face.Metrics) {
        Report("font \"" + element.Font + "\" cannot be opened or is not declared");
        return;
    }
    const double upem = face.Metrics->units_per_EM;

    if (element.Kind == ElementKind::Brace) {
        // Brace glyphs are graded by height; choose the one nearest the height wanted at the
        // staff size in use, then scale it to the brace exactly.
        const double braceEm = element.BraceHeight * em;
        const double bracePoints = braceEm * sizePoints;
        const double staff = staffPoints > 0.0 ? staffPoints : bracePoints / element.Design;
        const double wantedUnits = bracePoints / staff * upem;
        const uint32_t braceGlyph =
            NearestBraceGlyph(face.Metrics, mBraceGrades[element.Font], wantedUnits);
        if (braceGlyph == 0) return;
        GlyphMetrics metrics = MeasureGlyph(face.Metrics, braceGlyph);
        const double unit = braceEm / (metrics.Ink.Y1 - metrics.Ink.Y0);  // em per font unit
        PlacedGlyph glyph;
        glyph.Face = face.Face;
        glyph.Index = braceGlyph;
        glyph.ScaleX = glyph.ScaleY = unit;
        glyph.UnitsPerEm = static_cast<int32_t>(upem);
        glyph.X = atX - metrics.Ink.X0 * unit;                    // ink starts at the anchor x
        glyph.Y = element.BraceTop * em - metrics.Ink.Y1 * unit;  // ink top at BraceTop
        glyph.Clip = element.ClipHigh > element.ClipLow;
        glyph.ClipLow = element.ClipLow * em;
        glyph.ClipHigh = element.ClipHigh * em;
        double y0 = glyph.Y + metrics.Ink.Y0 * unit, y1 = glyph.Y + metrics.Ink.Y1 * unit;
        if (glyph.Clip) {
            y0 = std::max(y0, glyph.ClipLow);
            y1 = std::min(y1, glyph.ClipHigh);
        }
        if (y1 > y0) {
            out.Ink.Add(glyph.X + metrics.Ink.X0 * unit, y0, glyph.X + metrics.Ink.X1 * unit, y1);
            out.Glyphs.push_back(glyph);
        }
        return;
    }

    // Glyphs by name, by code point or as text, set one after another by their advances.
    struct Raw {
        uint32_t Index;
        double Pen;  // font units
    };
    std::vector<Raw> raws;
    Box ink;  // font units
    double pen = 0.0;
    double unit = element.Size / upem;
    auto addGlyph = [&](uint32_t index) {
        GlyphMetrics metrics = MeasureGlyph(face.Metrics, index);
        if (!metrics.Found) {
            Report("font \"" + element.Font + "\" lacks a glyph the map names");
            return;
        }
        raws.push_back({index, pen});
        if (!metrics.Ink.Empty)
            ink.Add(metrics.Ink.X0 + pen, metrics.Ink.Y0, metrics.Ink.X1 + pen, metrics.Ink.Y1);
        pen += metrics.Advance + element.Track * em / (unit * element.ScaleX);
    };
    if (element.Kind == ElementKind::Glyphs) {
        for (const std::string& name : element.Names) {
            addGlyph(FT_Get_Name_Index(face.Metrics, name.c_str()));
        }
    } else {
        for (char32_t ch : element.Chars) addGlyph(FT_Get_Char_Index(face.Metrics, ch));
    }
    if (raws.empty()) return;

    double sx = unit * element.ScaleX;
    double sy = unit * element.ScaleY;
    if (element.Width > 0.0 && !ink.Empty && ink.X1 > ink.X0) {
        double k = element.Width * em / ((ink.X1 - ink.X0) * sx);
        sx *= k;
        sy *= k;
    }
    double anchorX = 0.0;
    double anchorY = 0.0;
    if (!ink.Empty) {
        switch (element.AnchorX) {
            case AlignX::Origin: break;
            case AlignX::Left: anchorX = ink.X0 * sx; break;
            case AlignX::Center: anchorX = (ink.X0 + ink.X1) / 2.0 * sx; break;
            case AlignX::Right: anchorX = ink.X1 * sx; break;
        }
        switch (element.AnchorY) {
            case AlignY::Origin: break;
            case AlignY::Bottom: anchorY = ink.Y0 * sy; break;
            case AlignY::Middle: anchorY = (ink.Y0 + ink.Y1) / 2.0 * sy; break;
            case AlignY::Top: anchorY = ink.Y1 * sy; break;
        }
    }
    const double dx = atX - anchorX;
    const double dy = atY - anchorY;
    for (const Raw& raw : raws) {
        PlacedGlyph glyph;
        glyph.Face = face.Face;
        glyph.Index = raw.Index;
        glyph.X = dx + raw.Pen * sx;
        glyph.Y = dy;
        glyph.ScaleX = sx;
        glyph.ScaleY = sy;
        glyph.UnitsPerEm = static_cast<int32_t>(upem);
        out.Glyphs.push_back(glyph);
    }
    if (!ink.Empty)
        out.Ink.Add(dx + ink.X0 * sx, dy + ink.Y0 * sy, dx + ink.X1 * sx, dy + ink.Y1 * sy);
}

}  // namespace corvendi::cairoimpl
