// The decisions of the open collection that need no window: where the
// navigation commands and the position box go, whether the save question is
// asked, the recent-file entries and the window title.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "collections/current_problem.h"
#include "core/position.h"

namespace kv::app {

// The record that first (20), next (21), previous (22) and last (25) show:
// clamped to 0 .. lastIndex, so "next" on the last stays there.
int NavigationTarget(int command, int currentIndex, int lastIndex);

// The record the position box asks for: its text read as a number n (leading
// and trailing blanks allowed); n - 1 when 1 <= n <= lastIndex + 1, else -1
// (the box then shows the current number again).
int PositionBoxTarget(std::string_view text, int lastIndex);

// The text the position box shows for a record: "%d " with index + 1.
std::string PositionBoxText(int currentIndex);

// What AskToSave does before it would show a box.
enum class SaveQuestion {
  Skip,     // a skip was pending: answer No without asking
  Nothing,  // the board equals the stored board and the texts are unchanged
  Ask,      // ask Yes / No / Cancel
};
// skipNextSavePrompt is cleared when it is used.
SaveQuestion DecideSaveQuestion(bool& skipNextSavePrompt, const CurrentProblem& problem,
                                const Board& board);

// The four recent files, entry 0 the most recent, each "path n°number".
using RecentFiles = std::array<std::string, 4>;

// After a file was opened or saved under a new name: the file left behind
// (entry 0) gets previousIndex + 1 as its number when previousIndex >= 0;
// the entry of fileName (among 0..2, else entry 3) drops out, the others
// move down, and entry 0 becomes fileName at currentIndex + 1.
void UpdateRecentFiles(RecentFiles& files, const std::string& fileName, int currentIndex,
                       int previousIndex);

// Entry 0 with its number replaced by number (appended when it has none).
void SetRecentNumber(std::string& entry, int number);

// The label of recent-file menu item i: "&%d %s", the entry shortened by the
// start folder when it lies in it.
std::string RecentFileLabel(int i, const std::string& entry, const std::string& startDirectory);

// The window title: "Kestrovale - file" with a file open, else "Kestrovale ".
std::string WindowTitle(bool fileOpen, const std::string& fileName);

}  // namespace kv::app
