#include "cli/options.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cli/twins_argument.h"

namespace kv::cli {
namespace {

// A subcommand with every kind of option: a short name standing alone, a
// long one with a short alias, a flag, and a value option.
constexpr OptionSpec Options[] = {
    {"-n", "", "N", "problem N"},
    {"--threads", "-t", "N", "1 or 2"},
    {"--json", "", "", "as JSON"},
    {"--text", "", "TEXT", "a text", true},
};
constexpr CommandSpec Spec{.name = "demo",
                           .operands = "FILE OUT",
                           .minOperands = 1,
                           .maxOperands = 2,
                           .summary = "try the parser",
                           .options = Options,
                           .exitStatus = "0 done; 2 bad arguments."};

using Values = std::map<std::string, std::string, std::less<>>;

struct Accepted {
  std::vector<std::string> args;
  std::vector<std::string> operands;
  Values values;
};

TEST(OptionParser, AcceptsBothSpellingsOfEveryOption) {
  const Accepted cases[] = {
      {{"f.kvl"}, {"f.kvl"}, {}},
      {{"f.kvl", "-n", "3"}, {"f.kvl"}, {{"-n", "3"}}},
      {{"-n=3", "f.kvl"}, {"f.kvl"}, {{"-n", "3"}}},
      {{"--threads", "2", "f.kvl"}, {"f.kvl"}, {{"--threads", "2"}}},
      {{"--threads=2", "f.kvl"}, {"f.kvl"}, {{"--threads", "2"}}},
      // A short alias is stored under the option's name.
      {{"-t", "1", "f.kvl"}, {"f.kvl"}, {{"--threads", "1"}}},
      {{"-t=1", "f.kvl"}, {"f.kvl"}, {{"--threads", "1"}}},
      // A flag said twice says the same.
      {{"f.kvl", "--json", "--json"}, {"f.kvl"}, {{"--json", ""}}},
      // Values keep blanks, '=' and leading dashes; "=" alone gives an empty one.
      {{"--text=8/8 w - -", "f.kvl"}, {"f.kvl"}, {{"--text", "8/8 w - -"}}},
      {{"--text=a=b", "f.kvl"}, {"f.kvl"}, {{"--text", "a=b"}}},
      {{"--text", "--json", "f.kvl"}, {"f.kvl"}, {{"--text", "--json"}}},
      {{"--text", "-", "f.kvl"}, {"f.kvl"}, {{"--text", "-"}}},
      {{"--text=", "f.kvl"}, {"f.kvl"}, {{"--text", ""}}},
      // A dash alone is an operand (the castling field of a FEN); after "--"
      // everything is.
      {{"-", "out"}, {"-", "out"}, {}},
      {{"--", "-x.kvl", "--json"}, {"-x.kvl", "--json"}, {}},
      {{"f.kvl", "out", "-n", "1"}, {"f.kvl", "out"}, {{"-n", "1"}}},
  };
  for (const Accepted& c : cases) {
    ParsedOptions parsed;
    std::string error;
    SCOPED_TRACE(::testing::PrintToString(c.args));
    ASSERT_TRUE(ParseOptions(c.args, Spec, parsed, error)) << error;
    EXPECT_FALSE(parsed.help);
    EXPECT_EQ(parsed.operands, c.operands);
    EXPECT_EQ(parsed.values, c.values);
  }
}

TEST(OptionParser, NamesWhatIsWrong) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"f.kvl", "--frob"}, "unknown option --frob (see kestrovale-cli demo --help)"},
      {{"--frob=1", "f.kvl"}, "unknown option --frob (see kestrovale-cli demo --help)"},
      {{"-x", "f.kvl"}, "unknown option -x (see kestrovale-cli demo --help)"},
      // Long names are not abbreviated, and a short name takes one dash.
      {{"--thread", "1", "f.kvl"}, "unknown option --thread (see kestrovale-cli demo --help)"},
      {{"--n", "1", "f.kvl"}, "unknown option --n (see kestrovale-cli demo --help)"},
      {{"f.kvl", "--threads"}, "--threads needs a value (N)"},
      {{"f.kvl", "-n"}, "-n needs a value (N)"},
      {{"f.kvl", "-t"}, "-t needs a value (N)"},  // named as typed
      {{"f.kvl", "--json=yes"}, "--json takes no value"},
      {{"f.kvl", "-n", "1", "-n=2"}, "-n given twice"},
      {{"f.kvl", "-t", "1", "--threads", "2"}, "--threads given twice"},
      // The first fault is named.
      {{"--frob", "--json=1", "f.kvl"}, "unknown option --frob (see kestrovale-cli demo --help)"},
      {{}, "expected FILE and OUT"},
      {{"--json"}, "expected FILE and OUT"},
      {{"a", "b", "c"}, "unexpected argument 'c'"},
  };
  for (const auto& [args, expected] : cases) {
    ParsedOptions parsed;
    std::string error;
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_FALSE(ParseOptions(args, Spec, parsed, error));
    EXPECT_EQ(error, expected);
  }
}

TEST(OptionParser, HelpWinsOverFaultsButNotOverValuesAndOperands) {
  const std::vector<std::string> helpRequests[] = {{"--help"},
                                                   {"-h"},
                                                   {"f.kvl", "-n", "2", "--help"},
                                                   {"--frob", "--help"},
                                                   {"--json=1", "-h"},
                                                   {"a", "b", "c", "-h"}};
  for (const std::vector<std::string>& args : helpRequests) {
    ParsedOptions parsed;
    std::string error;
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_TRUE(ParseOptions(args, Spec, parsed, error));
    EXPECT_TRUE(parsed.help);
    EXPECT_EQ(error, "");
  }
  // A value is taken as it stands, and after "--" everything is an operand.
  ParsedOptions parsed;
  std::string error;
  EXPECT_TRUE(ParseOptions({"f.kvl", "-n", "-h"}, Spec, parsed, error));
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(parsed.Value("-n"), "-h");
  EXPECT_TRUE(ParseOptions({"f.kvl", "--", "--help"}, Spec, parsed, error));
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(parsed.Operand(1), "--help");
}

TEST(OptionParser, AReadCommandLineStartsAfresh) {
  ParsedOptions parsed;
  std::string error;
  ASSERT_TRUE(ParseOptions({"a.kvl", "-n", "1", "--json"}, Spec, parsed, error));
  ASSERT_TRUE(ParseOptions({"b.kvl"}, Spec, parsed, error));
  EXPECT_EQ(parsed.operands, std::vector<std::string>{"b.kvl"});
  EXPECT_FALSE(parsed.Has("-n"));
  EXPECT_FALSE(parsed.Has("--json"));
  EXPECT_EQ(parsed.Value("-n"), "");
  EXPECT_EQ(parsed.Operand(5), "");
}

TEST(HelpText, MadeFromTheTable) {
  const std::string help = HelpText(Spec);
  EXPECT_EQ(help.rfind("usage: kestrovale-cli demo FILE OUT [-n N] [--threads N] [--json] "
                       "--text TEXT\n",
                       0),
            0u)
      << help;
  for (const char* line :
       {"\n  -n N                problem N\n", "\n  -t, --threads N     1 or 2\n",
        "\n  --json              as JSON\n", "\n  -h, --help          this text\n",
        "\nTry the parser.\n", "\nExit status: 0 done; 2 bad arguments.\n"})
    EXPECT_NE(help.find(line), std::string::npos) << line;
  EXPECT_EQ(CommandListEntry(Spec),
            "  demo FILE OUT [-n N] [--threads N] [--json] --text TEXT   try the parser\n");
}

TEST(HelpText, LongLinesWrapWithoutBreakingAnOptionFromItsValue) {
  static constexpr OptionSpec Many[] = {{"--first-option", "", "VALUE",
                                         "a help text long enough to take more than one line of a "
                                         "terminal of eighty columns, so that it wraps"},
                                        {"--second-option", "", "VALUE", "b"},
                                        {"--third-option", "", "VALUE", "c"},
                                        {"--fourth-option", "", "VALUE", "d"},
                                        {"--a-label-too-long-for-its-column", "", "X", "e"}};
  constexpr CommandSpec Wide{.name = "wide", .options = Many};
  const std::string help = HelpText(Wide);
  std::size_t start = 0;
  while (start < help.size()) {
    const std::size_t end = help.find('\n', start);
    const std::string line = help.substr(start, end - start);
    EXPECT_LE(line.size(), 79u) << line;
    EXPECT_FALSE(line.ends_with("-option")) << line;  // never apart from its VALUE
    start = end + 1;
  }
  EXPECT_NE(help.find("  --a-label-too-long-for-its-column X\n                      e\n"),
            std::string::npos)
      << help;
  EXPECT_EQ(WrapWords("one two three", 0, 2, 8), "one two\n  three");
  EXPECT_EQ(WrapWords("unbreakableword x", 4, 4, 8), "unbreakableword\n    x");
}

TEST(TwinsArgument, ReadsWhatShowPrints) {
  // Every byte a stored field may hold, in entries of four after a mode byte.
  std::string field(1, '\x7E');
  for (int byte = 1; byte < 256; ++byte) field += static_cast<char>(byte);
  field.resize(1 + 31 * 4 - 4);
  for (const std::string& stored : {field, std::string("\x7F#\\ %"), std::string("\x7F!\\\\\\")}) {
    const std::string shown = EscapedTwins(stored);
    EXPECT_EQ(shown.find_first_of(std::string("\x7F\x01\xE9", 3)), std::string::npos) << shown;
    std::string read, error;
    ASSERT_TRUE(ParseTwinsArgument(shown, read, error)) << shown << ": " << error;
    EXPECT_EQ(read, stored);
  }
  EXPECT_EQ(EscapedTwins("\x7F#\\ %"), "\\x7F#\\\\ %");
}

TEST(TwinsArgument, OldRawFieldsWithoutABackslashReadAsBefore) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},                                 // no twins
      {"x    AOW \"S  ", "\x7F    AOW \"S  "},  // any mode byte but ~ is usual
      {"~!+- ", "~!+- "},                       // successive
      {"x+\xC3\xA9 %", "\x7F+\xE9 %"},          // UTF-8 typed, stored in Windows-1252
      {"\\x7E!+- \\x21+- ", "~!+- !+- "},       // escapes in either case of hex
      {"\\x7f!+- ", "\x7F!+- "},
  };
  for (const auto& [typed, stored] : cases) {
    std::string read = "untouched", error;
    EXPECT_TRUE(ParseTwinsArgument(typed, read, error)) << typed << ": " << error;
    EXPECT_EQ(read, stored) << typed;
  }
}

TEST(TwinsArgument, RefusesWhatItCannotStore) {
  const std::pair<std::string, std::string> cases[] = {
      {"x#\\ %", "a backslash in --twins starts \\\\ or \\xHH"},  // a raw backslash
      {"x#\\", "a backslash in --twins starts \\\\ or \\xHH"},
      {"x\\x4", "a backslash in --twins starts \\\\ or \\xHH"},
      {"x\\xg0abc", "a backslash in --twins starts \\\\ or \\xHH"},
      {"x!+-", "--twins needs a mode byte and up to 31 entries of 4 bytes"},
      {"x!+- !", "--twins needs a mode byte and up to 31 entries of 4 bytes"},
      {"x" + std::string(32 * 4, '!'), "--twins needs a mode byte and up to 31 entries of 4 bytes"},
      {"x!+\\x00 ", "--twins cannot hold a zero byte"},
  };
  for (const auto& [typed, reason] : cases) {
    std::string read = "untouched", error;
    EXPECT_FALSE(ParseTwinsArgument(typed, read, error)) << typed;
    EXPECT_EQ(error, reason) << typed;
    EXPECT_EQ(read, "untouched") << typed;
  }
}

}  // namespace
}  // namespace kv::cli
