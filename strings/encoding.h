// Conversions between the Windows-1252 bytes the program holds and UTF-8,
// which the command-line tool prints and the Qt windows take.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, so that every byte survives a round trip.
char32_t Cp1252ToCodePoint(unsigned char byte);

// True for the figurine codes of the chess text font: 0xC0..0xC4 the white
// king, queen, rook, bishop and knight, 0xC6..0xCA the black king, queen,
// rook, bishop and knight.
bool IsFigurineCode(unsigned char byte);

// The Unicode chess symbol that a figurine code stands for (U+2654..U+265E),
// or 0 when the byte is not a figurine code.
char32_t FigurineCodePoint(unsigned char byte);

// Windows-1252 text as UTF-8. With figurines, the figurine codes become the
// Unicode chess symbols (a text written in figurine notation); without, they
// stay the accented capitals they are in the code page.
std::string Cp1252ToUtf8(std::string_view text, bool figurines = false);

// UTF-8 text as Windows-1252. A character the code page cannot hold, and a
// malformed UTF-8 sequence, become '?'. The chess symbols become their
// figurine codes (the pawns 'P', as figurine notation writes them).
std::string Utf8ToCp1252(std::string_view text);

// True when every byte of text belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

// True for text that is UTF-8 rather than Windows-1252: well-formed and
// holding at least one multi-byte sequence. Windows-1252 text with accents
// is almost never well-formed UTF-8 (an accented letter followed by a plain
// one is a cut sequence), and text of plain ASCII reads the same either way.
bool IsUtf8Text(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace kv
