// The decisions of the multiple view, without widgets: what it walks (the
// records of the current file or the selected entries of the problem list),
// where its eight cells lie, how its scroll bar moves the first shown cell,
// and the three lines under each diagram.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collections/problem_list.h"

namespace kv::app {

inline constexpr int MultipleViewCells = 8;
inline constexpr int MultipleViewColumns = 4;
inline constexpr int MultipleDiagramSize = 128;  // pixels, 16 a square
inline constexpr int MultipleCellWidth = 140;
inline constexpr int MultipleCellHeight = 180;
inline constexpr int MultipleLeft = 8;
inline constexpr int MultipleTop = 10;
// A line of the scroll bar is a row of cells, a page the whole view.
inline constexpr int MultipleLineStep = 4;
inline constexpr int MultiplePageStep = 8;

// One problem the view can show: a collection and a record counted from 1.
struct ViewedProblem {
  std::string file;
  int record = 0;
};

// What the view walks, in order.
struct MultipleViewSource {
  bool selection = false;            // the selection of the problem list, else the current file
  std::string title;                 // the file's name, or "Selection"
  std::string file;                  // the current file (current-file view)
  int count = 0;                     // problems in the range
  int start = 0;                     // the first shown when the view opens
  std::vector<ViewedProblem> items;  // the selected problems (selection view)

  ViewedProblem At(int index) const;
};

// The current file: records 0 .. lastIndex, starting at the current one.
MultipleViewSource CurrentFileView(const std::string& file, int lastIndex, int currentIndex);
// The selected entries of the list (entry numbers, in list order), starting
// at the first. Entry numbers outside the list are left out.
MultipleViewSource SelectionView(const ProblemList& list, const std::vector<int>& selected);

// The top-left corner of the diagram of cell k (0 .. 7).
struct CellPoint {
  int x = 0;
  int y = 0;
};
CellPoint CellOrigin(int cell);
// The cell whose area (diagram and text, 140 x 180) holds the point; -1 for
// none.
int CellAt(int x, int y);

enum class ViewScroll { LineUp, LineDown, PageUp, PageDown, Start, End, Track };
// The first shown problem after a scroll action, kept within 0 .. count - 1.
int ScrollView(int first, ViewScroll action, int count, int trackPosition = 0);

// The file's name without folder and extension: what the selection view
// writes where the current-file view writes " Pos.".
std::string ViewFileLabel(std::string_view path);
// The file's name without folder: the current-file view's title.
std::string ViewFileTitle(std::string_view path);

// The three lines under a diagram: "(%d/%d)  %s n°%d  %s" (white men, black
// men, the label, the record from 1, the stipulation), the authors in display
// form and the source, each ended by CR LF. Windows-1252.
std::string CellText(int white, int black, std::string_view label, int record,
                     std::string_view stipulation, std::string_view displayedAuthors,
                     std::string_view source);

// Status part 1 while the thumb is dragged: " Pos. %d" (from 1).
std::string TrackingText(int position);

}  // namespace kv::app
