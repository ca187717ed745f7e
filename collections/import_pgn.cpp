#include "collections/import_pgn.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "collections/forsyth.h"
#include "collections/kvl_format.h"

namespace kv {
namespace {

// The board of a FEN tag line: the text between its first two double quotes,
// or after the first one to the end of the line. False without a quote.
bool FenBoardText(std::string_view line, std::string_view& board) {
  const std::size_t open = line.find('"');
  if (open == std::string_view::npos) return false;
  const std::size_t close = line.find('"', open + 1);
  board = line.substr(open + 1,
                      close == std::string_view::npos ? std::string_view::npos : close - open - 1);
  return true;
}

// Hands the gathered game text to the last problem. Normally that problem's
// text is still empty; a game without a FEN tag adds its text after the text
// of the game before it rather than replacing it. A stored text holds at
// most 32767 characters.
void StoreGameText(ImportBatch& batch, std::string& gathered) {
  if (batch.count() == 0 || gathered.empty()) return;
  std::string& solution = batch.problems().back().problem.solutionText;
  const std::size_t room =
      MaxHeapStringLength - std::min<std::size_t>(solution.size(), MaxHeapStringLength);
  solution.append(gathered, 0, std::min(room, gathered.size()));
  gathered.clear();
}

}  // namespace

FileResult ReadPgnProblems(SourceReader& source, ImportBatch& batch) {
  CurrentProblem problem;
  ClearWholeProblem(problem);
  Board board = EmptyImportBoard();
  std::string gathered;
  std::string line;
  bool lineEnded = false;
  while (source.ReadLine(PgnLineLength, LongLine::Split, line, &lineEnded)) {
    if (line.find("[FEN") != std::string::npos) {
      std::string_view fen;
      if (!FenBoardText(line, fen)) continue;
      ForsythToBoard(fen, board);
      // The text gathered since the last "[Event " line is this game's tags;
      // past the limit it belongs to a game that is not imported.
      if (!batch.Add(problem, board)) return {};
      continue;
    }
    if (batch.count() > 0 && line.find("[Event ") != std::string::npos) {
      StoreGameText(batch, gathered);
    }
    if (gathered.size() < static_cast<std::size_t>(PgnGameTextLimit)) {
      gathered += line;
      if (lineEnded) gathered += "\r\n";
    }
  }
  StoreGameText(batch, gathered);
  return {};
}

ImportResult ImportPgn(ImportEnv& env) {
  return RunImport(env, ReadPgnProblems);
}

}  // namespace kv
