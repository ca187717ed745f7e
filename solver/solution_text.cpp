#include "solver/solution_text.h"

namespace kv {

void SolutionText::NewLine() {
  if (textLength >= NewLineLimit) return;
  bytes[textLength++] = '\r';
  bytes[textLength++] = '\n';
  bytes[textLength++] = ' ';
  textColumn = 2;
}

void SolutionText::AppendText(std::string_view text) {
  for (char c : text) {
    // A line break inside the text (the headers begin with one) starts the
    // count again, so that a column remembered on a header line is the
    // column on the screen.
    textColumn = c == '\n' ? 1 : textColumn + 1;
    if (textLength < SolutionTextLimit) bytes[textLength++] = c;
  }
}

void SolutionText::PadToColumn(int column) {
  while (textColumn < column) AppendText(" ");
}

}  // namespace kv
