#include "strings/encoding.h"

#include <array>
#include <cstdint>

namespace kv {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Figurine codes 0xC0..0xCA; 0 where the byte is no figurine (0xC5).
constexpr std::array<char16_t, 11> kFigurines = {
    0x2654, 0x2655, 0x2656, 0x2657, 0x2658, 0,  // white K Q R B N
    0x265A, 0x265B, 0x265C, 0x265D, 0x265E,     // black K Q R B N
};

int ByteForCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return 0x80 + i;
  }
  for (int i = 0; i < 11; ++i) {
    if (kFigurines[i] != 0 && kFigurines[i] == cp) return 0xC0 + i;
  }
  if (cp == 0x2659 || cp == 0x265F) return 'P';
  return -1;
}

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

bool IsFigurineCode(unsigned char byte) {
  return FigurineCodePoint(byte) != 0;
}

char32_t FigurineCodePoint(unsigned char byte) {
  if (byte < 0xC0 || byte > 0xCA) return 0;
  return kFigurines[byte - 0xC0];
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view text, bool figurines) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t figurine = figurines ? FigurineCodePoint(byte) : 0;
    AppendUtf8(out, figurine != 0 ? figurine : Cp1252ToCodePoint(byte));
  }
  return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i] and its code
// point, or 0 for a malformed one (a stray continuation byte, a cut
// sequence, an overlong form, a surrogate, a value past U+10FFFF).
int DecodeUtf8At(std::string_view text, std::size_t i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int length = 0;
  if (lead < 0x80) {
    length = 1;
    cp = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  }
  if (length == 0 || i + length > text.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (next & 0x3F);
  }
  if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  char32_t cp = 0;
  for (std::size_t i = 0; i < text.size();) {
    const int length = DecodeUtf8At(text, i, cp);
    if (length == 0) return false;
    i += static_cast<std::size_t>(length);
  }
  return true;
}

bool IsUtf8Text(std::string_view text) {
  bool multiByte = false;
  for (char c : text) multiByte = multiByte || static_cast<unsigned char>(c) >= 0x80;
  return multiByte && IsValidUtf8(text);
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    const int length = DecodeUtf8At(text, i, cp);
    if (length == 0) {
      out += '?';
      ++i;  // resynchronise on the next byte
      continue;
    }
    const int byte = ByteForCodePoint(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += length;
  }
  return out;
}

}  // namespace kv
