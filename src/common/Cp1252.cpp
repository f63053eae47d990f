#include "common/Cp1252.h"

namespace corvendi {

namespace {

// Unicode of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char32_t Cp1252ToUnicode(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

int UnicodeToCp1252(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch) return 0x80 + i;
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = 0xFFFD;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) AppendUtf8(out, Cp1252ToUnicode(static_cast<uint8_t>(c)));
    return out;
}

std::u32string Utf8ToCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b0 = static_cast<uint8_t>(utf8[i]);
        int extra;
        char32_t ch;
        if (b0 < 0x80) {
            out += b0;
            ++i;
            continue;
        }
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            ch = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            ch = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            ch = b0 & 0x07;
        } else {
            out += 0xFFFD;
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= utf8.size()) {
            out += 0xFFFD;
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto b = static_cast<uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            ch = (ch << 6) | (b & 0x3F);
        }
        // Reject overlong forms and surrogates.
        if (ok && ((extra == 2 && ch < 0x800) || (extra == 3 && (ch < 0x10000 || ch > 0x10FFFF)) ||
                   (ch >= 0xD800 && ch <= 0xDFFF))) {
            ok = false;
        }
        if (!ok) {
            out += 0xFFFD;
            ++i;
            continue;
        }
        out += ch;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (char32_t ch : Utf8ToCodePoints(utf8)) {
        int b = UnicodeToCp1252(ch);
        out += b < 0 ? replacement : static_cast<char>(static_cast<uint8_t>(b));
    }
    return out;
}

bool FitsCp1252(std::string_view utf8) {
    for (char32_t ch : Utf8ToCodePoints(utf8)) {
        if (ch == 0xFFFD || UnicodeToCp1252(ch) < 0) return false;
    }
    return true;
}

std::string MusicChar(uint8_t code) {
    std::string out;
    AppendUtf8(out, Cp1252ToUnicode(code));
    return out;
}

}  // namespace corvendi
