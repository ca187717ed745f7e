// The one door from the pure libraries to whatever shows things to the user.
// The Qt program fills it with widgets, the command-line tool with stderr and
// SIGINT, the tests with recorders. Every member may be left empty: an empty
// callback does nothing and answers as a silent user would (OK, no break).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv {

// Message box styles and answers keep the values the original platform used,
// so that code reading like the original stays recognisable.
inline constexpr int MbOk = 0x00;
inline constexpr int MbYesNoCancel = 0x03;
inline constexpr int MbIconStop = 0x10;
inline constexpr int MbIconQuestion = 0x20;
inline constexpr int MbIconExclamation = 0x30;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;

// Texts passed through here are Windows-1252 bytes, as the program holds them.
struct UiCallbacks {
  // Status bar: part 1..4 receives text (an empty text clears it).
  std::function<void(int part, const std::string& text)> statusText;
  // A message box; returns IdOk, IdYes, IdNo or IdCancel.
  std::function<int(const std::string& text, const std::string& caption, int style)> messageBox;
  // Polled by long operations; true once the user asked to stop (Escape, Ctrl-C).
  std::function<bool()> breakPoll;
  // The test-a-move dialog: the legal moves as texts; returns the chosen
  // entry's index + 1, or 0 for Cancel.
  std::function<int(const std::vector<std::string>& moveTexts)> chooseMove;

  void Status(int part, const std::string& text) const {
    if (statusText) statusText(part, text);
  }
  int Message(const std::string& text, const std::string& caption, int style) const {
    return messageBox ? messageBox(text, caption, style)
                      : ((style & 0x0f) == MbYesNoCancel ? IdCancel : IdOk);
  }
  bool BreakRequested() const { return breakPoll && breakPoll(); }
  int ChooseMove(const std::vector<std::string>& moveTexts) const {
    return chooseMove ? chooseMove(moveTexts) : 0;
  }
};

}  // namespace kv
