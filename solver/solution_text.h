// The buffer the solver writes its text into. Text is appended only while
// the length is below 60000 and a line break only below 59998, so whatever a
// solve produces fits in the 60002 bytes; the driver cuts the finished text
// at 50000 characters.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int SolutionBufferSize = 60002;
inline constexpr int SolutionTextLimit = 60000;
inline constexpr int NewLineLimit = 59998;

struct SolutionText {
  std::array<char, SolutionBufferSize> bytes{};
  int textLength = 0;
  // The column the next character goes to, counting from 1 at the start of
  // a line; it advances even when characters are dropped.
  int textColumn = 1;

  void Clear() {
    textLength = 0;
    textColumn = 1;
  }
  // Carriage return, line feed and one blank.
  void NewLine();
  void AppendText(std::string_view text);
  // Appends blanks until textColumn reaches `column`.
  void PadToColumn(int column);
  std::string_view View() const { return {bytes.data(), static_cast<std::size_t>(textLength)}; }
};

}  // namespace kv
