// The music-font map: which drawing stands for each character of the music font.
//
// The map is a text file (data/Common/Config/MusicFont.txt). Lines hold one statement each;
// "#" starts a comment outside quotes. Lengths are staff spaces (a quarter of the em, since the
// font size in points is the staff height), measured from the character's origin: its pen
// position on the baseline, y pointing up.
//
//   ascent 1.39                 cell top above the baseline, in em
//   height 2                    cell height, in em
//   font <alias> lilypond <file pattern> [sizes=11,13,...]   an engraving font file; "{size}"
//                                in the pattern is replaced by the optical size nearest the
//                                staff height in points
//   font <alias> family "<family>" [bold] [italic]           a face found through fontconfig
//   char <code>[,<code>] ["label"] [advance=<sp>] [gap=<sp>] one character or a sequence of
//                                them (Windows-1252 codes); the element lines below belong to it
//     glyph <font> <name>... [options]       glyphs by name, set one after another
//     unicode <font> U+XXXX... [options]     characters of a face by code point
//     text <font> "<text>" [options]         text of a face
//     rect <x0> <y0> <x1> <y1>               a filled rectangle
//     poly <x> <y> <x> <y> ...               a filled polygon
//     brace <font> top=<sp> height=<sp> clip=<lo>,<hi> [design=<staff heights>]
//                                            part of a brace glyph sized to the whole brace
//   Options: at=<x>,<y> where the anchor goes; align=<h>,<v> the anchor (h: origin, left,
//   center, right of the ink; v: origin, bottom, middle, top); size=<em> the face's em in music
//   em (default 1); scale=<s> or scale=<sx>,<sy>; width=<sp> scales the ink to that width;
//   track=<sp> extra space between glyphs.
//
// Reading is tolerant: a statement that cannot be read is skipped and described in
// Diagnostics, and the rest of the map still counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvendi::musicfont {

enum class AlignX { Origin, Left, Center, Right };
enum class AlignY { Origin, Bottom, Middle, Top };

enum class ElementKind { Glyphs, Unicode, Text, Rect, Poly, Brace };

struct Element {
    ElementKind Kind = ElementKind::Glyphs;
    std::string Font;                // font alias (Glyphs, Unicode, Text, Brace)
    std::vector<std::string> Names;  // glyph names (Glyphs)
    std::u32string Chars;            // code points (Unicode, Text)
    std::vector<double> Points;      // rect corners or polygon vertices (staff spaces)
    double AtX = 0.0;
    double AtY = 0.0;
    AlignX AnchorX = AlignX::Origin;
    AlignY AnchorY = AlignY::Origin;
    double Size = 1.0;  // the face's em in music em
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    double Width = 0.0;  // ink width to fit, 0 for none
    double Track = 0.0;
    // Brace: the whole brace's top and height, and the band of it this character shows.
    double BraceTop = 0.0;
    double BraceHeight = 0.0;
    double ClipLow = 0.0;
    double ClipHigh = 0.0;
    double Design = 3.0;  // brace height in staff heights when no staff size is known
};

struct Entry {
    std::vector<uint8_t> Key;  // Windows-1252 codes
    std::string Label;
    std::optional<double> Advance;  // staff spaces; default: right edge of the ink plus Gap
    double Gap = 0.0;
    std::vector<Element> Elements;
    int32_t Line = 0;
};

enum class FontSource { LilyPond, Family };

struct FontDecl {
    std::string Alias;
    FontSource Source = FontSource::Family;
    std::string File;            // LilyPond: file name pattern
    std::vector<int32_t> Sizes;  // LilyPond: optical sizes in points
    std::string Family;          // Family: fontconfig family
    bool Bold = false;
    bool Italic = false;
};

struct Map {
    double Ascent = 1.39;
    double Height = 2.0;
    std::vector<FontDecl> Fonts;
    std::vector<Entry> Entries;
    std::vector<std::string> Diagnostics;

    const FontDecl* FindFont(std::string_view alias) const;
    // The longest entry whose key starts `codes` at `pos`, or null.
    const Entry* Match(const std::vector<uint8_t>& codes, size_t pos) const;
};

Map ParseMap(std::string_view text);
// Reads the file; a missing or unreadable file gives an empty map with a diagnostic.
Map LoadMap(const std::string& path);

}  // namespace corvendi::musicfont
