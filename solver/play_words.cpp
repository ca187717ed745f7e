#include "solver/play_words.h"
#include "strings/message_ids.h"

#include <string_view>

namespace kv {
namespace {

// The message-part positions of the mate's words.
constexpr int WordButDraw = 4;
constexpr int WordMateInOne = 5;

// Part `index` of a ";"-separated list; false when the list is shorter.
bool PartOf(std::string_view list, int index, std::string& part) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t cut = list.find(';', start);
    if (cut == std::string_view::npos) return false;
    start = cut + 1;
  }
  const std::size_t end = list.find(';', start);
  part = std::string(
      list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return true;
}

}  // namespace

std::string PlayWordText(const Language& language, PlayWord word) {
  const int index = static_cast<int>(word);
  std::string part;
  if (PartOf(MessageView(language, msg::StalemateWords), index, part) && !part.empty()) return part;
  const Language english;
  PartOf(MessageView(english, msg::StalemateWords), index, part);
  return part;
}

const char* GoalSign(Goal goal) {
  return goal == Goal::Mate ? "#" : "=";
}

std::string GoalInOneText(const Language& language, Goal goal) {
  if (goal == Goal::Mate) return MessagePart(language, WordMateInOne);
  return PlayWordText(language, PlayWord::StalemateInOne);
}

std::string ShortSolutionHeader(const Language& language, Goal goal) {
  // The mate's header has always been English in every language.
  if (goal == Goal::Mate) return "Short Mate";
  return PlayWordText(language, PlayWord::ShortSolution);
}

std::string OtherGoalText(const Language& language, Goal goal) {
  if (goal == Goal::Mate) return MessagePart(language, WordButDraw);
  return PlayWordText(language, PlayWord::ButMate);
}

}  // namespace kv
