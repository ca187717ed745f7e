#include "solver/twin_pass.h"

#include "solver/twins.h"

namespace kv {

char TwinLetter(int letter) {
  return letter < 26 ? static_cast<char>('a' + letter) : static_cast<char>('A' + letter - 26);
}

TwinPass::TwinPass(std::string_view field, const Board& diagram, const ProblemType& type,
                   const Language& language)
    : field_(field),
      diagram_(diagram),
      current_(diagram),
      type_(type),
      language_(language),
      entries_(TwinCount(field)),
      successive_(TwinsSuccessive(field)) {}

bool TwinPass::Next(const Move& previousKey, TwinStep& step) {
  step = TwinStep{};
  if (done_) return false;
  if (entries_ == 0) {
    // The problem itself, once.
    done_ = true;
    step.board = diagram_;
    step.type = type_;
    return true;
  }
  if (next_ >= entries_) {
    done_ = true;
    return false;
  }
  // Each twin from the diagram, or from the twin before when successive; a
  // stipulation change holds for its own twin only.
  Board board = successive_ ? current_ : diagram_;
  ProblemType type = type_;
  ProblemType savedType{};
  step.letter = letter_++;
  std::string line(1, TwinLetter(step.letter));
  line += ") ";
  // The men the heading names are those on the board the entry applies to;
  // a combined entry follows on the line of the one before it.
  TwinDescription description = DescribeTwin(field_, next_, board, language_);
  line += description.text;
  TwinEntry entry = TwinEntryAt(field_, next_);
  for (;;) {
    step.duplex = step.duplex || entry.kind == TwinDuplex;
    step.typeChanged = step.typeChanged || entry.kind == TwinChangeType;
    ApplyTwin(entry, board, type, savedType, previousKey);
    ++next_;
    if (!entry.combined || next_ >= entries_) break;
    description = DescribeTwin(field_, next_, board, language_);
    line += description.text.substr(static_cast<std::size_t>(description.prefixLength));
    entry = TwinEntryAt(field_, next_);
  }
  current_ = board;
  step.heading = line;
  step.board = board;
  step.type = type;
  return true;
}

}  // namespace kv
