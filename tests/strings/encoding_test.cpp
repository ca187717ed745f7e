#include "strings/encoding.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Encoding, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  // Figurine display is one-way for the pawns only; the pieces come back.
  const std::string figurines = "\xC0\xC1\xC2\xC3\xC4\xC6\xC7\xC8\xC9\xCA";
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(figurines, true)), figurines);
}

TEST(Encoding, KnownCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\xE9"
                         "chec"),
            "\xC3\xA9"
            "chec");                                // échec
  EXPECT_EQ(Cp1252ToUtf8("n\xB0"), "n\xC2\xB0");    // n°
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x9C"), "\xC5\x93");      // oe ligature
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9C"
                         "a"
                         "\xE2\x80\x9D"),
            "\x93"
            "a"
            "\x94");
}

TEST(Encoding, FigurinesOnlyWhenAsked) {
  EXPECT_EQ(Cp1252ToUtf8("\xC2"
                         "a1"),
            "\xC3\x82"
            "a1");  // Â
  EXPECT_EQ(Cp1252ToUtf8("\xC2"
                         "a1",
                         true),
            "\xE2\x99\x96"
            "a1");                                                        // white rook
  EXPECT_EQ(Cp1252ToUtf8("\xC0\xC6", true), "\xE2\x99\x94\xE2\x99\x9A");  // the kings
  EXPECT_EQ(Cp1252ToUtf8("\xCA", true), "\xE2\x99\x9E");                  // black knight
  EXPECT_EQ(Cp1252ToUtf8("\xC5\xCB", true), "\xC3\x85\xC3\x8B");          // no figurines
  EXPECT_FALSE(IsFigurineCode(0xC5));
  EXPECT_TRUE(IsFigurineCode(0xC4));
  EXPECT_EQ(Utf8ToCp1252("\xE2\x99\x99\xE2\x99\x9F"), "PP");  // pawns
}

TEST(Encoding, UnmappableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");      // a CJK character
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // an emoji
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");            // cut sequence
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");         // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");    // surrogate
  EXPECT_EQ(Utf8ToCp1252("\xFF"
                         "b"),
            "?b");
  EXPECT_EQ(Utf8ToCp1252(std::string("\0x", 2)), std::string("\0x", 2));
}

TEST(Encoding, Utf8IsToldFromWindows1252) {
  EXPECT_TRUE(
      IsUtf8Text("Fran\xC3\xA7"
                 "ais"));
  EXPECT_TRUE(IsUtf8Text("\xE2\x82\xAC"));
  EXPECT_FALSE(
      IsUtf8Text("Fran\xE7"
                 "ais"));  // Windows-1252
  EXPECT_FALSE(
      IsUtf8Text("n\xB0"
                 "43"));                      // a lone continuation byte
  EXPECT_FALSE(IsUtf8Text("plain"));          // nothing to tell: no multi-byte sequence
  EXPECT_FALSE(IsUtf8Text("\xC3\xA7 \xE9"));  // good, then a cut sequence
  EXPECT_FALSE(IsUtf8Text("\xC0\xAF"));       // overlong
  EXPECT_FALSE(IsUtf8Text("\xED\xA0\x80"));   // surrogate
  EXPECT_TRUE(IsValidUtf8("plain"));
}

}  // namespace
}  // namespace kv
