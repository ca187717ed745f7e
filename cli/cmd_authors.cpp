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

int Run(const Args& args) {
  KvlArgs parsed;
  std::string error;
  if (!ParseKvlArgs(args, {"--born-from", "--born-to", "--died-from", "--died-to", "--country"},
                    parsed, error))
    return UsageError("authors: " + error);

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
  const FileResult loaded = LoadAuthorList(parsed.file, authors, &stop);
  if (!loaded) return FileError(loaded, parsed.file);
  if (stop.line != 0)
    std::fprintf(stderr, "%s\n",
                 Cp1252ToUtf8(AuthorListStopMessage(Utf8ToCp1252(parsed.file), stop)).c_str());

  const BiographicalResult result = ApplyBiographicalSelection(selection, authors, false);
  if (!result.text.empty()) std::fputs(PaneTextForTerminal(result.text).c_str(), stdout);
  std::fprintf(stderr, "%s\n", BiographicalTotalText(result.total).c_str());
  return ExitOk;
}

Registration reg({"authors",
                  "LIST [--born-from Y] [--born-to Y] [--died-from Y] [--died-to Y] "
                  "[--country C]   the authors of a list that the biographical selection keeps",
                  &Run});

}  // namespace
}  // namespace kv::cli
