#include "collections/import_epd.h"

#include "collections/forsyth.h"

namespace kv {
namespace {

bool IsBlank(std::string_view line) {
  for (char c : line) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

std::string EpdAuthors(std::string_view rest) {
  std::string authors;
  for (std::size_t i = 0; i < rest.size() && i < EpdAuthorsLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(rest[i]);
    if (c < ' ') break;
    if (c == ' ' && i > 0 && rest[i - 1] == ';') continue;
    authors += static_cast<char>(c);
  }
  return authors;
}

FileResult ReadEpdProblems(SourceReader& source, ImportBatch& batch) {
  CurrentProblem problem;
  Board board = EmptyImportBoard();
  std::string line;
  while (source.ReadLine(EpdLineLength, LongLine::Drain, line)) {
    // A blank line (often the last one) holds no problem, not an empty board.
    if (IsBlank(line)) continue;
    ClearWholeProblem(problem);
    const std::size_t space = line.find(' ');
    ForsythToBoard(std::string_view(line).substr(0, space), board);
    if (space != std::string::npos) {
      problem.authors = EpdAuthors(std::string_view(line).substr(space + 1));
    }
    if (!batch.Add(problem, board)) break;
  }
  return {};
}

ImportResult ImportEpd(ImportEnv& env) {
  return RunImport(env, ReadEpdProblems);
}

}  // namespace kv
