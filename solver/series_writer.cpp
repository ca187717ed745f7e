#include "solver/series_writer.h"

#include <utility>
#include <vector>

#include "core/rules.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

// The part of a message cut at ';' at `position`, empty when it has none.
std::string Part(std::string_view message, int position) {
  std::size_t start = 0;
  for (int i = 0; i < position; ++i) {
    const std::size_t end = message.find(';', start);
    if (end == std::string_view::npos) return {};
    start = end + 1;
  }
  return std::string(message.substr(start, message.find(';', start) - start));
}

// Whether the side that has just moved gives check.
bool GivesCheck(const Position& pos, const Move& move) {
  return move.moved < OffBoard ? AttackedByWhite(pos, pos.blackKingSquare) != 0
                               : AttackedByBlack(pos, pos.whiteKingSquare) != 0;
}

}  // namespace

std::string SeriesWord(const Language& language, int position) {
  std::string word = Part(MessageView(language, msg::SeriesWords), position);
  if (word.empty()) word = Part(MessageView(Language{}, msg::SeriesWords), position);
  return word;
}

std::string SeriesLineText(Writer& w, const SeriesRules& rules, const SeriesSolution& solution) {
  Position& pos = w.ctx.pos;
  std::string line;
  std::vector<TreeMove> treeSeries;
  std::vector<TreeMove> treeFinals;
  const bool mateBySeries = rules.family == SeriesFamily::Direct && !rules.stalemate;
  const std::size_t count = solution.series.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Move& m = solution.series[i];
    SolutionRecord record{m, 0};
    // Only the last move of a series may check; a mating one shows "#".
    if (i + 1 == count && !mateBySeries) {
      MakeMove(pos, m);
      const bool checks = GivesCheck(pos, m);
      UnmakeMove(pos, m);
      if (checks) record.mark = CheckMark;
    }
    if (i > 0) line += ' ';
    line += std::to_string(i + 1) + ". " + MoveText(w, record);
    if (w.tree != nullptr) treeSeries.push_back(TreeMoveOf(w, record));
    MakeMove(pos, m);
  }
  for (std::size_t i = 0; i < solution.finals.size(); ++i) {
    line += i == 0 ? "  " : ", ";
    line += MoveText(w, solution.finals[i]);
    if (w.tree != nullptr) treeFinals.push_back(TreeMoveOf(w, solution.finals[i]));
  }
  for (std::size_t i = count; i-- > 0;) UnmakeMove(pos, solution.series[i]);
  line += rules.stalemate ? "=" : "#";
  if (w.tree != nullptr) {
    TreePlay& play = w.tree->BeginPlay(PlayPhase::Solution, std::nullopt);
    play.series = std::move(treeSeries);
    play.finals = std::move(treeFinals);
  }
  return line;
}

void WriteSeriesSolutions(Writer& w, const SeriesRules& rules, const SeriesResult& result,
                          int statedMoves) {
  if (result.length == 0 || result.solutions.empty()) return;
  const Language& language = w.ctx.language;
  if (result.length < statedMoves) {
    w.text.NewLine();
    w.text.AppendText(SeriesWord(language, SeriesWordShortSolution));
  }
  if (result.count >= 2) {
    w.text.NewLine();
    w.text.AppendText(std::to_string(result.count) + " " +
                      SeriesWord(language, SeriesWordSolutions));
  }
  for (const SeriesSolution& solution : result.solutions) {
    // Past the buffer's end only the tree takes more.
    if (w.text.textLength >= SolutionTextLimit && w.tree == nullptr) break;
    w.text.NewLine();
    w.text.AppendText(SeriesLineText(w, rules, solution));
    if (w.tree != nullptr && w.tree->Play() != nullptr)
      w.tree->Play()->shortSolution = result.length < statedMoves;
  }
  w.text.NewLine();
}

}  // namespace kv
