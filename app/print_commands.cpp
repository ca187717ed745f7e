#include "app/print_commands.h"

#include "app/commands.h"
#include "print/print_layout.h"

namespace kv::app {

print::DocumentKind PrintKindOf(int command, print::DocumentKind current) {
  switch (command) {
    case CmdPrintDiagrams:
    case CmdPreviewDiagrams:
      return print::DocumentKind::DiagramSheet;
    case CmdPrintReport:
    case CmdPreviewReport:
      return print::DocumentKind::Report;
    default:
      return current;
  }
}

namespace {

print::PrintedProblem ShownProblem(const AppState& state, int number) {
  print::PrintedProblem shown;
  shown.problem = state.problem;
  shown.board = state.pos.board;
  shown.number = number;
  return shown;
}

FileResult LoadSelection(const ProblemList& list, const std::vector<ProblemListEntry>& selection,
                         std::vector<print::PrintedProblem>& problems) {
  std::vector<print::PrintedProblem> loaded;
  for (const ProblemListEntry& entry : selection) {
    if (static_cast<int>(loaded.size()) >= print::MaxSheetProblems) break;
    std::vector<print::PrintedProblem> one;
    if (FileResult read = print::LoadSheetProblems(list.FileOf(entry), {entry.record - 1}, one);
        !read) {
      return read;
    }
    loaded.insert(loaded.end(), one.begin(), one.end());
  }
  problems = std::move(loaded);
  return {};
}

}  // namespace

FileResult MakePrintDocument(const AppState& state, print::DocumentKind kind,
                             const std::string& paneText,
                             const std::vector<ProblemListEntry>& selection,
                             print::PrintDocument& document) {
  document.kind = kind;
  document.settings = state.output;
  document.paneFont = state.paneFont;
  document.language = state.language;
  document.figurines = state.output[OutputFigurineNotation] != 0;
  document.problems.clear();
  document.paneText.clear();
  if (kind == print::DocumentKind::Report) {
    document.problems.push_back(ShownProblem(state, 0));
    document.paneText = paneText;
    return {};
  }
  if (!selection.empty()) return LoadSelection(state.problemList, selection, document.problems);
  if (state.fileOpen) {
    return print::LoadSheetProblems(state.collection.currentFileName, {}, document.problems);
  }
  // Without a file the sheet holds the one problem on the board.
  document.problems.push_back(ShownProblem(state, 0));
  return {};
}

}  // namespace kv::app
