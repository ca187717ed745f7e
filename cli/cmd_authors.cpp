// kestrovale-cli authors LIST [--born-from Y] [--born-to Y] [--died-from Y]
// [--died-to Y] [--country C]: the biographical selection over an author list
// file. Prints the result text (one "name<TAB>birth<TAB>death<TAB>country"
// line per author kept) in UTF-8 on stdout, and "Total : N" on stderr.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cmd_kvl_support.h"
#include "cli/command.h"
#include "cli/solve_support.h"
#include "collections/author_list.h"
#include "collections/biographical_filter.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

constexpr int MaxYear = 9999;

constexpr OptionSpec Options[] = {{"--born-from", "", "Y", "born in year Y or later"},
                                  {"--born-to", "", "Y", "born in year Y or earlier"},
                                  {"--died-from", "", "Y", "died in year Y or later"},
                                  {"--died-to", "", "Y", "died in year Y or earlier"},
                                  {"--country", "", "C", "of country C"}};

constexpr CommandSpec Spec{
    .name = "authors",
    .operands = "LIST",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "the authors of a list that the biographical selection keeps",
    .options = Options,
    .about =
        "The biographical selection over an author list file: prints one\n"
        "\"name<TAB>birth<TAB>death<TAB>country\" line per author kept, in UTF-8, and\n"
        "\"Total : N\" on stderr. Years run from 0 to 9999.\n",
    .exitStatus =
        "0 selected (also when none is kept); 1 the list cannot be read; 2 bad "
        "arguments."};

int Run(const Args& args) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(args, Spec, parsed, exitCode)) return exitCode;
  const std::string& file = parsed.Operand(0);

  BiographicalSelection selection;
  int exitCode = ExitUsage;
  if (!TakeNumber(parsed, "authors", "--born-from", 0, MaxYear, 0, selection.bornFrom, exitCode) ||
      !TakeNumber(parsed, "authors", "--born-to", 0, MaxYear, 0, selection.bornTo, exitCode) ||
      !TakeNumber(parsed, "authors", "--died-from", 0, MaxYear, 0, selection.diedFrom, exitCode) ||
      !TakeNumber(parsed, "authors", "--died-to", 0, MaxYear, 0, selection.diedTo, exitCode))
    return exitCode;
  if (parsed.Has("--country")) selection.country = Utf8ToCp1252(parsed.Value("--country"));

  std::vector<AuthorEntry> authors;
  AuthorListStop stop;
  const FileResult loaded = LoadAuthorList(file, authors, &stop);
  if (!loaded) return FileError(loaded, file);
  if (stop.line != 0)
    std::fprintf(stderr, "%s\n",
                 Cp1252ToUtf8(AuthorListStopMessage(Utf8ToCp1252(file), stop)).c_str());

  const BiographicalResult result = ApplyBiographicalSelection(selection, authors, false);
  if (!result.text.empty()) std::fputs(PaneTextForTerminal(result.text).c_str(), stdout);
  std::fprintf(stderr, "%s\n", BiographicalTotalText(result.total).c_str());
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
