// What the collection subcommands (new, count, show, add, insert, delete,
// compact, diagram) share: their argument parsing, record numbers, and the
// report of a failed file operation on stderr.
#pragma once

#include <charconv>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "collections/file_result.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {

// The arguments of a collection subcommand: one FILE and options that each
// take a value ("-n 3", "--count=2").
struct KvlArgs {
  std::string file;
  std::map<std::string, std::string> values;

  bool Has(const std::string& option) const { return values.count(option) != 0; }
  const std::string& Value(const std::string& option) const { return values.at(option); }
};

// Fills `parsed`; on failure `error` holds a one-line reason.
inline bool ParseKvlArgs(const Args& args, const std::set<std::string>& options, KvlArgs& parsed,
                         std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      std::string value;
      bool inlineValue = false;
      if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
        value = arg.substr(equals + 1);
        arg.resize(equals);
        inlineValue = true;
      }
      if (options.count(arg) == 0) {
        error = "unknown option '" + arg + "'";
        return false;
      }
      if (!inlineValue) {
        if (i + 1 >= args.size()) {
          error = arg + " needs a value";
          return false;
        }
        value = args[++i];
      }
      if (!parsed.values.emplace(arg, value).second) {
        error = arg + " given twice";
        return false;
      }
      continue;
    }
    if (!parsed.file.empty()) {
      error = "unexpected argument '" + arg + "'";
      return false;
    }
    parsed.file = arg;
  }
  if (parsed.file.empty()) {
    error = "expected FILE";
    return false;
  }
  return true;
}

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
inline bool TakeNumber(const KvlArgs& args, const std::string& command, const std::string& name,
                       int min, int max, int fallback, int& number, int& exitCode) {
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
