// Windows-1252 <-> UTF-8 at the file boundary. Inside the engine all text is UTF-8; score files
// store single-byte Windows-1252 text. Music-font characters are the Unicode characters of
// their Windows-1252 codes, so MusicChar turns a font code into engine text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvendi {

// The Unicode character of a Windows-1252 byte. The five codes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, so every byte
// sequence survives a round trip.
char32_t Cp1252ToUnicode(uint8_t byte);

// The Windows-1252 byte of a Unicode character, or -1 when the code page cannot hold it.
int UnicodeToCp1252(char32_t ch);

// Appends the UTF-8 encoding of one character.
void AppendUtf8(std::string& out, char32_t ch);

// Windows-1252 bytes to UTF-8 text.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 text to Windows-1252 bytes. Characters the code page cannot hold, and malformed UTF-8,
// become `replacement`.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool FitsCp1252(std::string_view utf8);

// Decodes UTF-8 into code points; malformed sequences give U+FFFD per bad byte.
std::u32string Utf8ToCodePoints(std::string_view utf8);

// The engine text of one music-font character code.
std::string MusicChar(uint8_t code);

}  // namespace corvendi
