// kestrovale-cli import FILE [--lang LL]: imports a .pgn, .epd, .dbf, .txt
// (archive text) or .inp (solver input) file into the collection of the same path with the
// extension ".kvl", as opening such a file does, appending to that
// collection when it exists. The language gives the award names of dBASE
// tables. Problems of a solver input file that the collection cannot hold are
// skipped, each named on stderr with the reason, and counted; the options of
// such a file that steer only a solver's output or search are read but not
// kept, and named once on stderr.
#include <cstdio>

#include "cli/cmd_kvl_support.h"
#include "cli/lang_option.h"
#include "collections/import_file.h"

namespace kv::cli {
namespace {

constexpr OptionSpec Options[] = {
    {LangOption.name, "", LangOption.value,
     "the language of the award names of a dBASE table (default en)"}};

constexpr CommandSpec Spec{
    .name = "import",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "import a .pgn, .epd, .dbf, .txt or .inp file into FILE.kvl",
    .options = Options,
    .about =
        "Imports a .pgn, .epd, .dbf, .txt (archive text) or .inp (solver input) file into\n"
        "the collection of the same path with the extension .kvl, as opening such a file\n"
        "does, appending to that collection when it exists. Problems of a solver input\n"
        "file that a collection cannot hold are skipped, each named on stderr with the\n"
        "reason; its options that steer only a solver's output or search are read but\n"
        "not kept, and named once on stderr.\n",
    .exitStatus =
        "0 imported; 1 the file cannot be read, holds nothing to import, or the "
        "collection cannot be written; 2 bad arguments."};

int Run(const Args& input) {
  ParsedOptions args;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, args, exitCode)) return exitCode;
  Language language;
  std::string error;
  if (args.Has("--lang") && !LanguageFromName(args.Value("--lang"), language, &error))
    return UsageError("import: " + error);

  CollectionState state{args.Operand(0), 0, -1};
  CurrentProblem problem;
  Board board{};
  UiCallbacks ui;
  ImportEnv env{state, problem, board, language, ui};
  const ImportResult result = ImportFile(env);
  // Problems left out as a whole are named even when none was left to import.
  for (const std::string& note : result.skipNotes) {
    std::fprintf(stderr, "kestrovale-cli: skipped %s\n", Cp1252ToUtf8(note).c_str());
  }
  if (result.skipped > 0) {
    std::fprintf(stderr, "kestrovale-cli: %d problem%s skipped\n", result.skipped,
                 result.skipped == 1 ? "" : "s");
  }
  if (!result.notKept.empty()) {
    std::string words;
    for (const std::string& word : result.notKept) words += (words.empty() ? "" : ", ") + word;
    std::fprintf(stderr, "kestrovale-cli: read but not kept (output and search settings): %s\n",
                 Cp1252ToUtf8(words).c_str());
  }
  if (!result.ok()) {
    std::fprintf(stderr, "kestrovale-cli: %s\n",
                 Cp1252ToUtf8(ImportFailureText(result, language)).c_str());
    return ExitFailure;
  }
  std::printf("%d problem%s imported into %s\n", result.imported, result.imported == 1 ? "" : "s",
              result.targetPath.c_str());
  if (result.stoppedAtLimit) {
    std::fprintf(stderr, "kestrovale-cli: %s; the source holds more\n",
                 ImportStoppedText().c_str());
  }
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
