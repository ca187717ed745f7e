#include "app/navigation.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "config/settings.h"

namespace kv::app {

int NavigationTarget(int command, int currentIndex, int lastIndex) {
  int target = currentIndex;
  switch (command) {
    case 20:
      target = 0;
      break;
    case 21:
      target = currentIndex + 1;
      break;
    case 22:
      target = currentIndex - 1;
      break;
    case 25:
      target = lastIndex;
      break;
    default:
      break;
  }
  return std::clamp(target, 0, std::max(lastIndex, 0));
}

int PositionBoxTarget(std::string_view text, int lastIndex) {
  // The box holds at most 11 characters; longer input is no record number.
  if (text.size() > 11) return -1;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  long long n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return -1;
  if (n < 1 || n > static_cast<long long>(lastIndex) + 1) return -1;
  return static_cast<int>(n - 1);
}

std::string PositionBoxText(int currentIndex) {
  return std::to_string(currentIndex + 1) + " ";
}

SaveQuestion DecideSaveQuestion(bool& skipNextSavePrompt, const CurrentProblem& problem,
                                const Board& board) {
  if (skipNextSavePrompt) {
    skipNextSavePrompt = false;
    return SaveQuestion::Skip;
  }
  return IsProblemModified(problem, board) ? SaveQuestion::Ask : SaveQuestion::Nothing;
}

void SetRecentNumber(std::string& entry, int number) {
  std::string path;
  int old = 0;
  SplitRecentFile(entry, path, old);
  entry = FormatRecentFile(path, number);
}

void UpdateRecentFiles(RecentFiles& files, const std::string& fileName, int currentIndex,
                       int previousIndex) {
  if (previousIndex >= 0 && !files[0].empty()) SetRecentNumber(files[0], previousIndex + 1);
  int found = 3;
  for (int i = 0; i < 3; ++i) {
    std::string path;
    int number = 0;
    SplitRecentFile(files[i], path, number);
    if (!files[i].empty() && path == fileName) {
      found = i;
      break;
    }
  }
  for (int i = found; i > 0; --i) files[i] = files[i - 1];
  files[0] = FormatRecentFile(fileName, currentIndex + 1);
}

std::string RecentFileLabel(int i, const std::string& entry, const std::string& startDirectory) {
  std::string shown = entry;
  if (!startDirectory.empty() && entry.find(startDirectory) != std::string::npos)
    shown = entry.substr(std::min(entry.size(), startDirectory.size()));
  return "&" + std::to_string(i + 1) + " " + shown;
}

std::string WindowTitle(bool fileOpen, const std::string& fileName) {
  return fileOpen ? "Kestrovale - " + fileName : "Kestrovale ";
}

}  // namespace kv::app
