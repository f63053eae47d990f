#include "MusicFontMap.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "common/Cp1252.h"

namespace corvendi::musicfont {

namespace {

// Limits that keep a hostile map from costing much.
constexpr size_t kMaxEntries = 4096;
constexpr size_t kMaxElementsPerEntry = 64;
constexpr size_t kMaxPoints = 256;
constexpr size_t kMaxDiagnostics = 200;
constexpr double kMaxLength = 1000.0;  // staff spaces

struct Token {
    std::string Text;
    bool Quoted = false;
};

std::vector<Token> Tokenize(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        Token token;
        if (c == '"') {
            token.Quoted = true;
            ++i;
            while (i < line.size() && line[i] != '"') token.Text += line[i++];
            ++i;  // the closing quote, if any
        } else {
            // An unquoted word; a quoted part inside it (label="x") stays part of the word.
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                if (line[i] == '"') {
                    ++i;
                    while (i < line.size() && line[i] != '"') token.Text += line[i++];
                    ++i;
                    continue;
                }
                token.Text += line[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::optional<double> ParseNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!(value >= -kMaxLength && value <= kMaxLength)) return std::nullopt;
    return value;
}

std::optional<long> ParseInteger(std::string_view text, int base = 10) {
    if (text.empty()) return std::nullopt;
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        parts.push_back(text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return parts;
}

std::optional<std::vector<double>> ParseNumberList(std::string_view text) {
    std::vector<double> values;
    for (std::string_view part : SplitCommas(text)) {
        auto value = ParseNumber(part);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

class Parser {
  public:
    Map Run(std::string_view text) {
        size_t start = 0;
        int32_t lineNo = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            std::string_view line = text.substr(
                start, end == std::string_view::npos ? std::string_view::npos : end - start);
            ++lineNo;
            Statement(lineNo, line);
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        return std::move(mMap);
    }

  private:
    void Problem(int32_t line, const std::string& what) {
        if (mMap.Diagnostics.size() >= kMaxDiagnostics) return;
        mMap.Diagnostics.push_back("line " + std::to_string(line) + ": " + what);
    }

    void Statement(int32_t line, std::string_view text) {
        std::vector<Token> tokens = Tokenize(text);
        if (tokens.empty()) return;
        const std::string& word = tokens[0].Text;
        if (word == "ascent" || word == "height") {
            auto value = tokens.size() == 2 ? ParseNumber(tokens[1].Text) : std::nullopt;
            if (!value || *value <= 0.0 || *value > 10.0) return Problem(line, "bad " + word);
            (word == "ascent" ? mMap.Ascent : mMap.Height) = *value;
        } else if (word == "font") {
            FontStatement(line, tokens);
        } else if (word == "char") {
            CharStatement(line, tokens);
        } else if (word == "glyph" || word == "unicode" || word == "text" || word == "rect" ||
                   word == "poly" || word == "brace") {
            ElementStatement(line, tokens);
        } else {
            Problem(line, "unknown statement \"" + word + "\"");
        }
    }

    void FontStatement(int32_t line, const std::vector<Token>& tokens) {
        if (tokens.size() < 4) return Problem(line, "font needs an alias, a source and a name");
        FontDecl font;
        font.Alias = tokens[1].Text;
        if (tokens[2].Text == "lilypond") {
            font.Source = FontSource::LilyPond;
            font.File = tokens[3].Text;
        } else if (tokens[2].Text == "family") {
            font.Source = FontSource::Family;
            font.Family = tokens[3].Text;
        } else {
            return Problem(line, "unknown font source \"" + tokens[2].Text + "\"");
        }
        for (size_t i = 4; i < tokens.size(); ++i) {
            const std::string& option = tokens[i].Text;
            if (option == "bold") {
                font.Bold = true;
            } else if (option == "italic") {
                font.Italic = true;
            } else if (option.rfind("sizes=", 0) == 0) {
                for (std::string_view part : SplitCommas(std::string_view(option).substr(6))) {
                    auto size = ParseInteger(part);
                    if (size && *size > 0 && *size < 1000)
                        font.Sizes.push_back(static_cast<int32_t>(*size));
                }
                std::sort(font.Sizes.begin(), font.Sizes.end());
            } else {
                Problem(line, "unknown font option \"" + option + "\"");
            }
        }
        if (font.Source == FontSource::LilyPond && font.File.find("{size}") != std::string::npos &&
            font.Sizes.empty()) {
            return Problem(line, "font pattern with {size} needs sizes=");
        }
        auto same = std::find_if(mMap.Fonts.begin(), mMap.Fonts.end(),
                                 [&](const FontDecl& f) { return f.Alias == font.Alias; });
        if (same != mMap.Fonts.end())
            *same = std::move(font);
        else
            mMap.Fonts.push_back(std::move(font));
    }

    void CharStatement(int32_t line, const std::vector<Token>& tokens) {
        mCurrent = nullptr;
        if (tokens.size() < 2) return Problem(line, "char needs a code");
        Entry entry;
        entry.Line = line;
        for (std::string_view part : SplitCommas(tokens[1].Text)) {
            auto code = ParseInteger(part);
            if (!code || *code < 0 || *code > 255) return Problem(line, "bad character code");
            entry.Key.push_back(static_cast<uint8_t>(*code));
        }
        if (entry.Key.empty() || entry.Key.size() > 4) return Problem(line, "bad character key");
        for (size_t i = 2; i < tokens.size(); ++i) {
            const Token& token = tokens[i];
            if (token.Quoted) {
                entry.Label = token.Text;
            } else if (token.Text.rfind("advance=", 0) == 0) {
                auto value = ParseNumber(std::string_view(token.Text).substr(8));
                if (!value || *value < 0.0) return Problem(line, "bad advance");
                entry.Advance = *value;
            } else if (token.Text.rfind("gap=", 0) == 0) {
                auto value = ParseNumber(std::string_view(token.Text).substr(4));
                if (!value) return Problem(line, "bad gap");
                entry.Gap = *value;
            } else {
                Problem(line, "unknown char option \"" + token.Text + "\"");
            }
        }
        if (mMap.Entries.size() >= kMaxEntries) return Problem(line, "too many characters");
        // A later definition of the same key replaces the earlier one.
        auto same = std::find_if(mMap.Entries.begin(), mMap.Entries.end(),
                                 [&](const Entry& e) { return e.Key == entry.Key; });
        if (same != mMap.Entries.end()) {
            *same = std::move(entry);
            mCurrent = &*same;
        } else {
            mMap.Entries.push_back(std::move(entry));
            mCurrent = &mMap.Entries.back();
        }
    }

    bool ReadOption(int32_t line, const std::string& option, Element& element) {
        size_t eq = option.find('=');
        if (eq == std::string::npos) {
            Problem(line, "unknown element option \"" + option + "\"");
            return true;
        }
        std::string_view name = std::string_view(option).substr(0, eq);
        std::string_view value = std::string_view(option).substr(eq + 1);
        if (name == "align") {
            auto parts = SplitCommas(value);
            if (parts.size() != 2) return false;
            static const std::pair<std::string_view, AlignX> xs[] = {{"origin", AlignX::Origin},
                                                                     {"left", AlignX::Left},
                                                                     {"center", AlignX::Center},
                                                                     {"right", AlignX::Right}};
            static const std::pair<std::string_view, AlignY> ys[] = {{"origin", AlignY::Origin},
                                                                     {"bottom", AlignY::Bottom},
                                                                     {"middle", AlignY::Middle},
                                                                     {"top", AlignY::Top}};
            auto x = std::find_if(std::begin(xs), std::end(xs),
                                  [&](auto& p) { return p.first == parts[0]; });
            auto y = std::find_if(std::begin(ys), std::end(ys),
                                  [&](auto& p) { return p.first == parts[1]; });
            if (x == std::end(xs) || y == std::end(ys)) return false;
            element.AnchorX = x->second;
            element.AnchorY = y->second;
            return true;
        }
        auto numbers = ParseNumberList(value);
        if (!numbers) return false;
        const std::vector<double>& n = *numbers;
        if (name == "at" && n.size() == 2) {
            element.AtX = n[0];
            element.AtY = n[1];
        } else if (name == "scale" && (n.size() == 1 || n.size() == 2)) {
            element.ScaleX = n[0];
            element.ScaleY = n.size() == 2 ? n[1] : n[0];
            if (element.ScaleX <= 0.0 || element.ScaleY <= 0.0) return false;
        } else if (name == "size" && n.size() == 1 && n[0] > 0.0) {
            element.Size = n[0];
        } else if (name == "width" && n.size() == 1 && n[0] > 0.0) {
            element.Width = n[0];
        } else if (name == "track" && n.size() == 1) {
            element.Track = n[0];
        } else if (name == "top" && n.size() == 1) {
            element.BraceTop = n[0];
        } else if (name == "height" && n.size() == 1 && n[0] > 0.0) {
            element.BraceHeight = n[0];
        } else if (name == "clip" && n.size() == 2 && n[0] < n[1]) {
            element.ClipLow = n[0];
            element.ClipHigh = n[1];
        } else if (name == "design" && n.size() == 1 && n[0] > 0.0) {
            element.Design = n[0];
        } else {
            return false;
        }
        return true;
    }

    void ElementStatement(int32_t line, const std::vector<Token>& tokens) {
        if (!mCurrent) return Problem(line, "element outside a char");
        if (mCurrent->Elements.size() >= kMaxElementsPerEntry)
            return Problem(line, "too many elements");
        const std::string& word = tokens[0].Text;
        Element element;
        size_t next = 1;
        if (word == "rect" || word == "poly") {
            element.Kind = word == "rect" ? ElementKind::Rect : ElementKind::Poly;
            for (; next < tokens.size() && tokens[next].Text.find('=') == std::string::npos;
                 ++next) {
                auto value = ParseNumber(tokens[next].Text);
                if (!value) return Problem(line, "bad coordinate");
                if (element.Points.size() >= kMaxPoints) return Problem(line, "too many points");
                element.Points.push_back(*value);
            }
            size_t count = element.Points.size();
            if (element.Kind == ElementKind::Rect ? count != 4 : (count < 6 || count % 2 != 0)) {
                return Problem(line, word + " has the wrong number of coordinates");
            }
        } else {
            if (tokens.size() < 2) return Problem(line, word + " needs a font");
            element.Font = tokens[1].Text;
            next = 2;
            if (word == "glyph") {
                element.Kind = ElementKind::Glyphs;
                for (; next < tokens.size() && tokens[next].Text.find('=') == std::string::npos;
                     ++next) {
                    element.Names.push_back(tokens[next].Text);
                }
                if (element.Names.empty()) return Problem(line, "glyph needs a name");
            } else if (word == "unicode") {
                element.Kind = ElementKind::Unicode;
                for (; next < tokens.size() && tokens[next].Text.find('=') == std::string::npos;
                     ++next) {
                    std::string_view code = tokens[next].Text;
                    if (code.rfind("U+", 0) == 0 || code.rfind("u+", 0) == 0) code.remove_prefix(2);
                    auto value = ParseInteger(code, 16);
                    if (!value || *value <= 0 || *value > 0x10FFFF)
                        return Problem(line, "bad code point");
                    element.Chars.push_back(static_cast<char32_t>(*value));
                }
                if (element.Chars.empty()) return Problem(line, "unicode needs a code point");
            } else if (word == "text") {
                element.Kind = ElementKind::Text;
                if (tokens.size() < 3 || !tokens[2].Quoted)
                    return Problem(line, "text needs a quoted text");
                element.Chars = Utf8ToCodePoints(tokens[2].Text);
                next = 3;
                if (element.Chars.empty()) return Problem(line, "empty text");
            } else {
                element.Kind = ElementKind::Brace;
            }
        }
        for (; next < tokens.size(); ++next) {
            if (!ReadOption(line, tokens[next].Text, element)) {
                return Problem(line, "bad option \"" + tokens[next].Text + "\"");
            }
        }
        if (element.Kind == ElementKind::Brace && element.BraceHeight <= 0.0) {
            return Problem(line, "brace needs height=");
        }
        mCurrent->Elements.push_back(std::move(element));
    }

    Map mMap;
    Entry* mCurrent = nullptr;
};

}  // namespace

const FontDecl* Map::FindFont(std::string_view alias) const {
    for (const FontDecl& font : Fonts) {
        if (font.Alias == alias) return &font;
    }
    return nullptr;
}

const Entry* Map::Match(const std::vector<uint8_t>& codes, size_t pos) const {
    const Entry* best = nullptr;
    for (const Entry& entry : Entries) {
        if (entry.Elements.empty() && !entry.Advance) continue;
        size_t n = entry.Key.size();
        if (pos + n > codes.size()) continue;
        if (!std::equal(entry.Key.begin(), entry.Key.end(),
                        codes.begin() + static_cast<std::ptrdiff_t>(pos)))
            continue;
        if (!best || n > best->Key.size()) best = &entry;
    }
    return best;
}

Map ParseMap(std::string_view text) { return Parser().Run(text); }

Map LoadMap(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Map map;
        map.Diagnostics.push_back("cannot read " + path);
        return map;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return ParseMap(buffer.str());
}

}  // namespace corvendi::musicfont
