// What the collection subcommands (new, count, show, add, insert, delete,
// compact, diagram) share: record numbers, the option that names one, and
// the report of a failed file operation on stderr.
#pragma once

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "collections/file_result.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {

// -n N: the problem a subcommand works on.
inline constexpr OptionSpec ProblemNumberOption{"-n", "", "N",
                                                "problem N, counted from 1 (default 1)"};

// The position and the type of a problem typed on the command line.
inline constexpr OptionSpec FenOption{
    "--fen", "", "BOARD",
    "the position: the board field of a FEN (the rest of a FEN line is ignored)", true};
inline constexpr OptionSpec StipOption{
    "--stip", "", "TYPE",
    "the problem type as show prints it ('#2', 'h#3', 's#2', 'sh#5', 'h#2 W') or as problemists "
    "write it ('ser-h#5', 'h#2.5')",
    true};

// A whole number in min .. max.
inline bool ParseWholeNumber(std::string_view text, int min, int max, int& number) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return false;
  }
  number = value;
  return true;
}

// Reads option `name` as a number in min .. max, or `fallback` when it is
// absent; on failure prints the usage error and returns false.
inline bool TakeNumber(const ParsedOptions& args, const std::string& command,
                       const std::string& name, int min, int max, int fallback, int& number,
                       int& exitCode) {
  if (!args.Has(name)) {
    number = fallback;
    return true;
  }
  if (ParseWholeNumber(args.Value(name), min, max, number)) return true;
  exitCode = UsageError(command + ": " + name + " must be a number from " + std::to_string(min) +
                        " to " + std::to_string(max) + ", not '" + args.Value(name) + "'");
  return false;
}

// Prints the failure on stderr in UTF-8; returns ExitFailure.
inline int FileError(const FileResult& result, const std::string& file) {
  const std::string text = FileResultText(result, file, Language{});
  std::fprintf(stderr, "kestrovale-cli: %s\n", Cp1252ToUtf8(text).c_str());
  return ExitFailure;
}

// Reports problem `number` missing from a file of `records` problems, in the
// words loading a problem uses; returns ExitFailure.
inline int NoSuchProblem(int number, int records, const std::string& file) {
  return FileError(Fail(FileStatus::NoRecord, "there is no problem " + std::to_string(number) +
                                                  "; the file holds " + std::to_string(records)),
                   file);
}

}  // namespace kv::cli
