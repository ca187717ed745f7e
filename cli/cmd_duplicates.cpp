// kestrovale-cli duplicates FILE PATH [--gap]: the duplicate scan of every
// problem of FILE against the collections at PATH (a file or a folder). The
// copies found are appended to each problem's stored solution text; each
// appended line is printed as "record<TAB>line". Ctrl-C stops the scan
// between two problems. Exit 1 when FILE or part of PATH could not be read
// (each one is named on stderr), even though what could be read was noted.
// A problem another program moved meanwhile gets its lines where it went,
// and one it changed or removed gets none: both are named on stderr, and the
// second makes the exit status 1 too.
#include <cstdio>
#include <string>

#include "cli/collection_paths.h"
#include "cli/command.h"
#include "cli/solve_support.h"
#include "collections/duplicate_scan.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {
namespace {

int Report(const FileResult& result, const std::string& path) {
  const std::string text = FileResultText(result, path, Language{});
  std::fprintf(stderr, "kestrovale-cli: %s\n", Cp1252ToUtf8(text).c_str());
  return ExitFailure;
}

constexpr OptionSpec Options[] = {
    {"--gap", "", "", "a copy may stand shifted as a whole anywhere it fits on the board"}};

constexpr CommandSpec Spec{
    .name = "duplicates",
    .operands = "FILE PATH",
    .minOperands = 2,
    .maxOperands = 2,
    .summary = "note under each problem of FILE its copies in the collections at PATH",
    .options = Options,
    .about =
        "Scans every problem of FILE against the collections at PATH (a file or a\n"
        "folder). The copies found are appended to each problem's stored solution text;\n"
        "each line appended is printed as \"record<TAB>line\". Ctrl+C stops the scan\n"
        "between two problems.\n",
    .exitStatus =
        "0 scanned; 1 FILE or some of PATH cannot be read (each one is named on "
        "stderr; the copies in what could be read are noted), or stopped by Ctrl+C; 2 "
        "bad arguments."};

int Run(const Args& args) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(args, Spec, parsed, exitCode)) return exitCode;
  const bool shifted = parsed.Has("--gap");
  const std::string& file = parsed.Operand(0);
  const std::string& path = parsed.Operand(1);

  // PATH is looked at before FILE is touched: a scan against nothing would
  // report no copies as if there were none.
  CollectionPaths paths;
  if (!CollectionFilesAt(path, paths)) return ExitFailure;

  InstallBreakHandler();
  UiCallbacks ui;
  ui.breakPoll = [] { return BreakRequested(); };
  const DuplicateScanOutcome outcome = ScanDuplicates({file, 0, -1}, paths.files, shifted, ui);
  for (const UnreadFile& unread : outcome.unreadFiles) Report(unread.result, unread.path);
  for (const DuplicateNote& note : outcome.notes) {
    std::size_t start = 0;
    while (start < note.lines.size()) {
      std::size_t end = note.lines.find("\r\n", start);
      if (end == std::string::npos) end = note.lines.size();
      std::printf("%d\t%s\n", note.storedAt,
                  Cp1252ToUtf8(std::string_view(note.lines).substr(start, end - start)).c_str());
      start = end + 2;
    }
  }
  for (const std::string& change : DuplicateScanChanges(outcome)) {
    std::fprintf(stderr, "kestrovale-cli: duplicates: %s\n", change.c_str());
  }
  if (!outcome.failure) return Report(outcome.failure, file);
  if (outcome.broken) {
    std::fprintf(stderr, "kestrovale-cli: duplicates: stopped after %d problem(s)\n",
                 outcome.scanned);
    return ExitFailure;
  }
  // The copies in what could not be read are not noted: say so by the status.
  if (paths.unreadFolders > 0 || !outcome.unreadFiles.empty()) {
    std::fprintf(stderr,
                 "kestrovale-cli: duplicates: %d folder(s) and %d file(s) at %s could not be "
                 "read; their copies are not noted\n",
                 paths.unreadFolders, static_cast<int>(outcome.unreadFiles.size()), path.c_str());
    return ExitFailure;
  }
  return outcome.unstored.empty() ? ExitOk : ExitFailure;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
