// The command line of every subcommand. Each subcommand declares its options
// once, in a table; the parser, the text of `--help`, the usage line of the
// list of subcommands and (through `--help`) the man page and the shell
// completion are all made from that table.
//
// Options are written "--name value" or "--name=value"; a short name too
// ("-n 3", "-n=3"). "-h" and "--help" ask for the help of any subcommand;
// "--" ends the options, so that an operand may start with a dash.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::cli {

struct OptionSpec {
  std::string_view name;       // "--threads", or a short name standing alone ("-n")
  std::string_view shortName;  // "-t", or empty
  std::string_view value;      // what the value is called ("N", "pdf|png"); empty for a flag
  std::string_view help;       // what it does, wrapped when printed
  bool required = false;       // shown without brackets in the usage line
};

struct CommandSpec {
  std::string_view name = {};
  std::string_view operands = {};  // the arguments that are not options: "FILE", "FILE.kvl OUT"
  int minOperands = 0;
  int maxOperands = 0;            // AnyNumber: as many as given
  std::string_view summary = {};  // one line, in the list of subcommands
  std::span<const OptionSpec> options = {};
  // The usage forms when the one made from the table would not say enough
  // (options that go together or exclude each other), one form a line.
  std::string_view synopsis = {};
  std::string_view about = {};       // paragraphs before the options; else the summary
  std::string_view notes = {};       // paragraphs after the options
  std::string_view exitStatus = {};  // "0 ...; 1 ...; 2 bad arguments."
};

inline constexpr int AnyNumber = -1;

// The command line once read: the operands in order, and each option given
// under its `name` (a flag with an empty value).
struct ParsedOptions {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> values;
  bool help = false;  // -h or --help: nothing else was checked

  bool Has(std::string_view name) const { return values.find(name) != values.end(); }
  // The value given, or an empty text when the option is absent.
  const std::string& Value(std::string_view name) const;
  const std::string& Operand(std::size_t index) const;
};

// Reads `args` against the table of `spec`. False with a one-line reason in
// `error` for an unknown option, a missing or unwanted value, an option
// given twice, or too few or too many operands. A help request wins over
// any of these, so that a half-typed command line can still ask for help.
bool ParseOptions(const std::vector<std::string>& args, const CommandSpec& spec,
                  ParsedOptions& parsed, std::string& error);

// The usage forms, one a line, each after "kestrovale-cli NAME ".
std::vector<std::string> UsageForms(const CommandSpec& spec);

// The whole text of `kestrovale-cli NAME --help`.
std::string HelpText(const CommandSpec& spec);

// The entry of `spec` in the list of subcommands: "  NAME USAGE   SUMMARY"
// on one line, its usage forms joined by " | ".
std::string CommandListEntry(const CommandSpec& spec);

// Pieces of text joined by spaces and wrapped to lines of at most `width`
// characters; every line but the first starts with `indent` spaces. A piece
// longer than a line stands alone.
std::string WrapUnits(const std::vector<std::string_view>& units, std::size_t firstColumn,
                      std::size_t indent, std::size_t width);

// Words wrapped to lines of at most `width` characters; every line but the
// first starts with `indent` spaces. A word longer than a line stands alone.
std::string WrapWords(std::string_view text, std::size_t firstColumn, std::size_t indent,
                      std::size_t width);

}  // namespace kv::cli
