#include "app/multiple_view_logic.h"

#include <algorithm>
#include <filesystem>

namespace kv::app {

ViewedProblem MultipleViewSource::At(int index) const {
  if (index < 0 || index >= count) return {};
  if (selection) return items[static_cast<std::size_t>(index)];
  return {file, index + 1};
}

MultipleViewSource CurrentFileView(const std::string& file, int lastIndex, int currentIndex) {
  MultipleViewSource source;
  source.title = ViewFileTitle(file);
  source.file = file;
  source.count = std::max(0, lastIndex + 1);
  source.start = source.count > 0 ? std::clamp(currentIndex, 0, source.count - 1) : 0;
  return source;
}

MultipleViewSource SelectionView(const ProblemList& list, const std::vector<int>& selected) {
  MultipleViewSource source;
  source.selection = true;
  source.title = "Selection";
  for (int entry : selected) {
    if (entry < 0 || entry >= list.count()) continue;
    const ProblemListEntry& e = list.entries[static_cast<std::size_t>(entry)];
    source.items.push_back({list.FileOf(e), e.record});
  }
  source.count = static_cast<int>(source.items.size());
  return source;
}

CellPoint CellOrigin(int cell) {
  return {MultipleCellWidth * (cell % MultipleViewColumns) + MultipleLeft,
          MultipleCellHeight * (cell / MultipleViewColumns) + MultipleTop};
}

int CellAt(int x, int y) {
  if (x < MultipleLeft || y < MultipleTop) return -1;
  const int column = (x - MultipleLeft) / MultipleCellWidth;
  const int row = (y - MultipleTop) / MultipleCellHeight;
  if (column >= MultipleViewColumns || row >= MultipleViewCells / MultipleViewColumns) return -1;
  return row * MultipleViewColumns + column;
}

int ScrollView(int first, ViewScroll action, int count, int trackPosition) {
  int target = first;
  switch (action) {
    case ViewScroll::LineUp:
      target = first - MultipleLineStep;
      break;
    case ViewScroll::LineDown:
      target = first + MultipleLineStep;
      break;
    case ViewScroll::PageUp:
      target = first - MultiplePageStep;
      break;
    case ViewScroll::PageDown:
      target = first + MultiplePageStep;
      break;
    case ViewScroll::Start:
      target = 0;
      break;
    case ViewScroll::End:
      target = count - 1;
      break;
    case ViewScroll::Track:
      target = trackPosition;
      break;
  }
  return std::clamp(target, 0, std::max(0, count - 1));
}

std::string ViewFileLabel(std::string_view path) {
  return std::filesystem::path(path).stem().string();
}

std::string ViewFileTitle(std::string_view path) {
  return std::filesystem::path(path).filename().string();
}

std::string CellText(int white, int black, std::string_view label, int record,
                     std::string_view stipulation, std::string_view displayedAuthors,
                     std::string_view source) {
  std::string text = "(" + std::to_string(white) + "/" + std::to_string(black) + ")  ";
  text += label;
  text += " n\xB0" + std::to_string(record) + "  ";
  text += stipulation;
  text += "\r\n";
  text += displayedAuthors;
  text += "\r\n";
  text += source;
  text += "\r\n";
  return text;
}

std::string TrackingText(int position) {
  return " Pos. " + std::to_string(position + 1);
}

}  // namespace kv::app
