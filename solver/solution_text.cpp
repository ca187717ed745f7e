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
  textColumn += static_cast<int>(text.size());
  for (char c : text) {
    if (textLength >= SolutionTextLimit) break;
    bytes[textLength++] = c;
  }
}

void SolutionText::PadToColumn(int column) {
  while (textColumn < column) AppendText(" ");
}

}  // namespace kv
