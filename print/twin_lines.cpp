// Kept apart from the print settings: the twins header and the settings
// header each name the size of the twins field.
#include "print/twin_lines.h"

#include "solver/twins.h"

namespace kv::print {

std::vector<std::string> TwinLines(const CurrentProblem& problem, const Board& board,
                                   const Language& language) {
  std::vector<std::string> lines;
  const std::string_view field = problem.twins;
  const int count = TwinCount(field);
  const bool successive = TwinsSuccessive(field);
  Board position = board;
  ProblemType type = problem.type, saved = problem.type;
  for (int i = 0; i < count; ++i) {
    std::string line;
    line += static_cast<char>('a' + i);
    line += ") ";
    for (;; ++i) {
      const TwinEntry entry = TwinEntryAt(field, i);
      line += DescribeTwin(field, i, successive ? position : board, language).text;
      // Successive twins each start from the one before.
      if (successive) ApplyTwin(entry, position, type, saved, Move{});
      if (!entry.combined || i + 1 >= count) break;
      line += ", ";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace kv::print
