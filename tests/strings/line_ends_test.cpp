#include "strings/line_ends.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(LineEnds, CrlfPairsBecomeLineFeeds) {
  EXPECT_EQ(CrlfToLf("1.Qd1! zz\r\n1...Kb2 2.Qd2#\r\n"), "1.Qd1! zz\n1...Kb2 2.Qd2#\n");
  EXPECT_EQ(CrlfToLf("\r\n\r\n"), "\n\n");
  EXPECT_EQ(CrlfToLf(""), "");
  // A CR that is no line end stays, wherever it stands; so does a bare LF.
  EXPECT_EQ(CrlfToLf("a\rb\r"), "a\rb\r");
  EXPECT_EQ(CrlfToLf("a\r\r\nb\n"), "a\r\nb\n");
  // Bytes of the code page above 0x7F and NUL pass untouched.
  const std::string bytes("n\xB0\0\xE9\r\n", 6);
  EXPECT_EQ(CrlfToLf(bytes), std::string("n\xB0\0\xE9\n", 5));
}

TEST(LineEnds, LineFeedsBecomeCrlfPairsOnce) {
  EXPECT_EQ(LfToCrlf("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(LfToCrlf("\n"), "\r\n");
  EXPECT_EQ(LfToCrlf("a\r\nb"), "a\r\nb");
  EXPECT_EQ(LfToCrlf("no line end"), "no line end");
}

TEST(LineEnds, ARoundTripGivesTheStoredText) {
  const std::string stored = "a) 1.e4!\r\n\r\nb) 1.d4 \xE9\r\n";
  EXPECT_EQ(LfToCrlf(CrlfToLf(stored)), stored);
}

}  // namespace
}  // namespace kv
