#include "solver/soundness.h"

#include <array>
#include <cctype>
#include <utility>

namespace kv {
namespace {

constexpr std::array<std::pair<Verdict, std::string_view>, 10> VerdictNames = {{
    {Verdict::Sound, "sound"},
    {Verdict::Cooked, "cooked"},
    {Verdict::TooFewSolutions, "too few solutions"},
    {Verdict::NoSolution, "no solution"},
    {Verdict::ShortMate, "short mate"},
    {Verdict::InvalidPosition, "invalid position"},
    {Verdict::NotSolvable, "kind not solvable"},
    {Verdict::TimedOut, "timed out"},
    {Verdict::Stopped, "stopped"},
    {Verdict::Unreadable, "unreadable record"},
}};

std::string JoinKeys(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) {
    if (!text.empty()) text += "; ";
    text += key;
  }
  return text;
}

// The words after the verdict: what was found and, for a part that falls
// short, what was asked.
std::string PartDetail(const PartOutcome& part, Verdict verdict, int stated) {
  switch (verdict) {
    case Verdict::Sound:
    case Verdict::Cooked:
      return JoinKeys(part.keys);
    case Verdict::TooFewSolutions:
      return std::to_string(part.keys.size()) + " of " + std::to_string(stated) + ": " +
             JoinKeys(part.keys);
    case Verdict::ShortMate:
      if (part.helpmate) return std::to_string(part.shortSolutions) + " shorter solution(s)";
      return (part.stalemate ? "stalemate in " : "mate in ") + std::to_string(part.movesFound) +
             (part.keys.empty() ? "" : ": " + JoinKeys(part.keys));
    case Verdict::InvalidPosition:
      return part.invalidText;
    default:
      return "";
  }
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The whole number that starts at `at`, or -1.
int NumberAt(std::string_view text, std::size_t at, std::size_t& end) {
  int value = 0;
  end = at;
  while (end < text.size() && IsDigit(text[end]) && end - at < 4) {
    value = value * 10 + (text[end] - '0');
    ++end;
  }
  return end == at ? -1 : value;
}

bool StartsWithWord(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
  return true;
}

}  // namespace

std::string_view VerdictName(Verdict verdict) {
  for (const auto& [v, name] : VerdictNames)
    if (v == verdict) return name;
  return "?";
}

Verdict JudgePart(const PartOutcome& part, int stated) {
  if (part.timedOut) return Verdict::TimedOut;
  if (part.broken) return Verdict::Stopped;
  if (!part.solvable) return Verdict::NotSolvable;
  if (!part.invalidText.empty()) return Verdict::InvalidPosition;
  if (part.helpmate) {
    // A shorter solution cooks a helpmate whatever the full-length count.
    if (part.shortSolutions > 0 || (part.movesFound != 0 && part.movesFound < part.movesAsked))
      return Verdict::ShortMate;
    const int found = static_cast<int>(part.keys.size());
    if (found == 0) return Verdict::NoSolution;
    if (found > stated) return Verdict::Cooked;
    if (found < stated) return Verdict::TooFewSolutions;
    return Verdict::Sound;
  }
  if (part.movesFound == 0) return Verdict::NoSolution;
  if (part.movesFound < part.movesAsked) return Verdict::ShortMate;
  if (part.keys.size() > 1) return Verdict::Cooked;
  return part.keys.size() == 1 ? Verdict::Sound : Verdict::NoSolution;
}

ProblemVerdict JudgeProblem(const std::vector<PartOutcome>& parts,
                            const std::vector<std::string>& partNames, int stated) {
  if (parts.empty()) return {Verdict::NoSolution, ""};
  ProblemVerdict result;
  std::string soundDetail;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Verdict verdict = JudgePart(parts[i], stated);
    const std::string name = i < partNames.size() ? partNames[i] + " " : "";
    const std::string detail = PartDetail(parts[i], verdict, stated);
    if (verdict != Verdict::Sound) {
      // A part without words of its own still names its twin.
      std::string text = name + detail;
      while (!text.empty() && text.back() == ' ') text.pop_back();
      return {verdict, text};
    }
    if (!soundDetail.empty()) soundDetail += "  ";
    soundDetail += name + detail;
  }
  result.detail = soundDetail;
  return result;
}

int StatedSolutions(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsDigit(text[i]) || (i > 0 && (IsDigit(text[i - 1]) || text[i - 1] == '.'))) continue;
    std::size_t end = 0;
    const int count = NumberAt(text, i, end);
    if (count < 1) continue;
    // "2.1.1.1", "3.1...": the count, then one move per side and solution;
    // "12.1.1990" is a date.
    std::size_t after = end;
    while (after + 1 < text.size() && text[after] == '.' && text[after + 1] == '1') after += 2;
    if (after > end && (after >= text.size() || !IsDigit(text[after]))) return count;
    std::size_t word = end;
    while (word < text.size() && text[word] == ' ') ++word;
    if (StartsWithWord(text, word, "sol")) return count;
  }
  return 1;
}

}  // namespace kv
