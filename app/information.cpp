#include "app/information.h"

#include "app/board_editing.h"
#include "solver/twins.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The label of an extra string: the dialog's message without its "&" and
// with a final ":" turned into a blank; the two version strings get "(V) ".
std::string ExtraLabel(const Language& language, int i) {
  if (i >= 3) return "(V) ";
  std::string label = LoadMessage(language, msg::DedicatedTo + i);
  if (!label.empty()) label.erase(0, 1);
  if (!label.empty() && label.back() == ':') label.back() = ' ';
  return label;
}

void AddLine(std::string& text, const std::string& line) {
  if (line.empty()) return;
  text += line;
  text += "\r\n";
}

}  // namespace

std::string InformationText(const CurrentProblem& problem, const Language& language) {
  std::string text;
  AddLine(text, AuthorsDisplayText(problem.authors));
  AddLine(text, problem.source);
  AddLine(text, problem.award);
  AddLine(text, problem.comment);
  for (int i = 0; i < ExtraStringCount; ++i) {
    if (!problem.extraStrings[i].empty())
      AddLine(text, ExtraLabel(language, i) + problem.extraStrings[i]);
  }
  std::string broken;
  broken.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
      broken += "\r\n";
      ++i;
    } else {
      broken += text[i];
    }
  }
  return broken;
}

std::string TwinsBoxText(const CurrentProblem& problem, const Board& board,
                         const Language& language, int& lines) {
  lines = 0;
  const int count = TwinCount(problem.twins);
  std::string text;
  int allowed = 2;
  for (int i = 0; i < count; ++i) {
    const TwinEntry entry = TwinEntryAt(problem.twins, i);
    const char letter = static_cast<char>('a' + i);
    if (entry.kind == TwinDiagram) {
      ++allowed;
      continue;
    }
    if (lines >= allowed) {
      // The last line's CR LF gives way to a mark that more twins follow.
      if (text.size() >= 2) text.resize(text.size() - 2);
      text += std::string(" ") + letter + ") ...";
      break;
    }
    std::string line =
        std::string(1, letter) + ") " + DescribeTwin(problem.twins, i, board, language).text;
    if (entry.combined && i + 1 < count) {
      ++i;
      line += DescribeTwin(problem.twins, i, board, language).text;
    }
    text += line + "\r\n";
    ++lines;
  }
  return text;
}

std::string ProblemTypeStatusText(const SolveOptions& options, const ProblemType& type,
                                  const Language& language) {
  std::string text = " [   ]          ";
  const std::string_view letters = OptionLetters(language);
  auto letter = [&](std::size_t i) { return i < letters.size() ? letters[i] : ' '; };
  if (options[Option::SetPlay] != 0) text[2] = letter(0);
  if (options[Option::TryRefutations] != 0) text[3] = letter(1);
  if (options[Option::ActualPlay] != 0) text[4] = letter(2);
  std::string kind = LoadMessage(language, msg::KindDirect + (type.kind & 3));
  if (!kind.empty()) kind.erase(0, 1);
  text.replace(7, std::string::npos, kind);
  if (type.flags & FlagSeries) text += " serie";
  return text;
}

std::string FileSummaryText(const std::string& fileName, int currentIndex, int lastIndex,
                            const Language& language) {
  const std::string label = language.base == LanguageFrench
                                ? std::string("Position n\xB0")
                                : LoadMessage(language, msg::PositionNumber);
  return " " + fileName + " - " + label + std::to_string(currentIndex + 1) + " / " +
         std::to_string(lastIndex + 1) + " ";
}

std::string MenCountText(const Board& board) {
  const MenCount count = CountMen(board);
  return "(" + std::to_string(count.white) + "+" + std::to_string(count.black) + ")";
}

}  // namespace kv::app
