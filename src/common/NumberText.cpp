#include "common/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace corvendi {

std::string NumberText(float value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0.0f) return "0";

    // Seven significant digits in scientific form, locale independent: d.dddddde±x
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    std::string sci(buf, res.ptr);

    bool negative = sci[0] == '-';
    if (negative) sci.erase(0, 1);
    std::size_t ePos = sci.find('e');
    int exponent = std::atoi(sci.c_str() + ePos + 1);
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (sci[i] != '.') digits += sci[i];
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    // Place the decimal point: the first digit has weight 10^exponent.
    std::string out;
    int intDigits = exponent + 1;
    if (intDigits <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-intDigits), '0') + digits;
    } else if (static_cast<std::size_t>(intDigits) >= digits.size()) {
        out = digits + std::string(static_cast<std::size_t>(intDigits) - digits.size(), '0');
    } else {
        out = digits.substr(0, static_cast<std::size_t>(intDigits)) + "." +
              digits.substr(static_cast<std::size_t>(intDigits));
    }
    return negative ? "-" + out : out;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

double RadixNumber(std::string_view text, std::size_t pos, int radix) {
    uint64_t v = 0;
    bool any = false;
    for (; pos < text.size(); ++pos) {
        char c = text[pos];
        if (IsBlank(c)) continue;
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix) break;
        any = true;
        v = v * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull) break;
    }
    if (!any) return 0.0;
    // Hexadecimal and octal texts denote 32-bit signed integers, as the file readers expect.
    if (v > 0x7FFFFFFFull && v <= 0xFFFFFFFFull) {
        return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    }
    return static_cast<double>(v);
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos + 1 < text.size() && text[pos] == '&') {
        char k = text[pos + 1];
        if (k == 'H' || k == 'h') return RadixNumber(text, pos + 2, 16);
        if (k == 'O' || k == 'o') return RadixNumber(text, pos + 2, 8);
    }

    // Gather the characters of the number, dropping inner blanks, then convert in one go.
    std::string number;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number += text[pos++];
    }
    for (; pos < text.size(); ++pos) {
        char c = text[pos];
        if (IsBlank(c)) continue;
        if (c >= '0' && c <= '9') {
            number += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint && !seenExponent) {
            number += c;
            seenPoint = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit && !seenExponent) {
            // An exponent counts only when digits follow it.
            std::size_t look = pos + 1;
            std::string exp = "e";
            if (look < text.size() && (text[look] == '+' || text[look] == '-')) exp += text[look++];
            bool expDigits = false;
            while (look < text.size() && text[look] >= '0' && text[look] <= '9') {
                exp += text[look++];
                expDigits = true;
            }
            if (!expDigits) break;
            number += exp;
            seenExponent = true;
            pos = look - 1;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    if (number.front() == '+') number.erase(0, 1);

    double value = 0.0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return res.ec == std::errc() ? value : 0.0;
}

}  // namespace corvendi
