#include "solver/solution_tree.h"

#include <string_view>
#include <utility>

namespace kv {
namespace {

// English letters by white piece code (a black man's code is 16 minus it).
constexpr std::string_view PieceLetters = " RQBSPK";

char PieceLetter(int code) {
  const int white = code > OffBoard ? 16 - code : code;
  return white > 0 && white < static_cast<int>(PieceLetters.size()) ? PieceLetters[white] : '?';
}

// Rows 2..9 of the board hold ranks 8..1, columns 2..9 files a..h.
std::string SquareName(int square, bool rankMirror) {
  const int rank = 10 - square / 10;
  std::string name;
  name += static_cast<char>('a' + square % 10 - 2);
  name += static_cast<char>('0' + (rankMirror ? 9 - rank : rank));
  return name;
}

}  // namespace

TreeMove PlainTreeMove(const Move& move, bool rankMirror) {
  TreeMove m;
  m.from = SquareName(move.from, rankMirror);
  m.to = SquareName(move.to, rankMirror);
  m.piece = PieceLetter(move.moved);
  m.white = move.moved < OffBoard;
  if (move.placed != move.moved) m.promotion = PieceLetter(move.placed);
  m.capture = move.captured != 0;
  return m;
}

void SolutionTreeBuilder::BeginTwin(std::string heading) {
  tree_.twins.push_back(TreeTwin{std::move(heading), {}});
  play_ = nullptr;
  open_.clear();
}

TreeRun& SolutionTreeBuilder::BeginRun() {
  if (tree_.twins.empty()) tree_.twins.emplace_back();
  play_ = nullptr;
  open_.clear();
  return tree_.twins.back().runs.emplace_back();
}

TreeRun& SolutionTreeBuilder::Run() {
  if (tree_.twins.empty() || tree_.twins.back().runs.empty()) return BeginRun();
  return tree_.twins.back().runs.back();
}

TreePlay& SolutionTreeBuilder::BeginPlay(PlayPhase phase, std::optional<TreeMove> firstMove) {
  std::vector<TreePhase>& phases = Run().phases;
  if (phases.empty() || phases.back().phase != phase) phases.push_back(TreePhase{phase, {}});
  TreePlay& play = phases.back().plays.emplace_back();
  play.phase = phase;
  play.shortSolution = shortSolutions_;
  if (firstMove) play.line.answers.push_back(std::move(*firstMove));
  play_ = &play;
  open_.clear();
  return play;
}

void SolutionTreeBuilder::DropPlay() {
  open_.clear();
  if (play_ == nullptr) return;
  play_ = nullptr;
  std::vector<TreePhase>& phases = Run().phases;
  if (phases.empty() || phases.back().plays.empty()) return;
  phases.back().plays.pop_back();
  if (phases.back().plays.empty()) phases.pop_back();
}

TreeLine& SolutionTreeBuilder::Line() {
  if (!open_.empty()) return *open_.back();
  if (play_ != nullptr) return play_->line;
  scratch_ = TreeLine{};
  return scratch_;
}

// A parent's vector grows only while none of its lines is open, so the
// pointers kept on the stack stay valid.
void SolutionTreeBuilder::OpenVariation(TreeLine line) {
  TreeLine& parent = Line();
  open_.push_back(&parent.variations.emplace_back(std::move(line)));
}

void SolutionTreeBuilder::OpenThreatMove(TreeLine line) {
  TreeLine& parent = Line();
  open_.push_back(&parent.threat.moves.emplace_back(std::move(line)));
}

void SolutionTreeBuilder::CloseLine() {
  if (!open_.empty()) open_.pop_back();
}

}  // namespace kv
