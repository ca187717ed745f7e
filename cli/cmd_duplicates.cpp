// kestrovale-cli duplicates FILE PATH [--gap]: the duplicate scan of every
// problem of FILE against the collections at PATH (a file or a folder). The
// copies found are appended to each problem's stored solution text; each
// appended line is printed as "record<TAB>line". Ctrl-C stops the scan
// between two problems.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/solve_support.h"
#include "collections/duplicate_scan.h"
#include "collections/file_walk.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {
namespace {

int Bad(const std::string& message) {
  return UsageError("duplicates: " + message);
}

int Report(const FileResult& result, const std::string& path) {
  const std::string text = FileResultText(result, path, Language{});
  std::fprintf(stderr, "kestrovale-cli: %s\n", Cp1252ToUtf8(text).c_str());
  return ExitFailure;
}

int Run(const Args& args) {
  std::vector<std::string> positional;
  bool shifted = false;
  for (const std::string& arg : args) {
    if (arg == "--gap") {
      shifted = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Bad("unknown option '" + arg + "'");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return Bad("expected FILE and PATH");
  const std::string& file = positional[0];
  const std::string& path = positional[1];

  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return Report(Fail(FileStatus::CannotOpen, "no such file or folder"), path);
  }
  const std::vector<std::string> files =
      S_ISDIR(info.st_mode) ? CollectionFilesUnder(path, false) : std::vector<std::string>{path};

  InstallBreakHandler();
  UiCallbacks ui;
  ui.breakPoll = [] { return BreakRequested(); };
  const DuplicateScanOutcome outcome = ScanDuplicates({file, 0, -1}, files, shifted, ui);
  for (const UnreadFile& unread : outcome.unreadFiles) Report(unread.result, unread.path);
  for (const DuplicateNote& note : outcome.notes) {
    std::size_t start = 0;
    while (start < note.lines.size()) {
      std::size_t end = note.lines.find("\r\n", start);
      if (end == std::string::npos) end = note.lines.size();
      std::printf("%d\t%s\n", note.record,
                  Cp1252ToUtf8(std::string_view(note.lines).substr(start, end - start)).c_str());
      start = end + 2;
    }
  }
  if (!outcome.failure) return Report(outcome.failure, file);
  if (outcome.broken) {
    std::fprintf(stderr, "kestrovale-cli: duplicates: stopped after %d problem(s)\n",
                 outcome.scanned);
    return ExitFailure;
  }
  return ExitOk;
}

Registration reg({"duplicates",
                  "FILE PATH [--gap]   note under each problem of FILE its copies in the "
                  "collections at PATH",
                  &Run});

}  // namespace
}  // namespace kv::cli
