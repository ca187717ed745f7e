// The main window: menus, accelerators and toolbars built around one
// registry of actions (one QAction per command id), the board and piece box,
// the two text panes, the small boxes below the board and the five-part
// status bar. Every source of a command reaches Dispatch, so one id is one
// action whatever its source.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/board_widget.h"
#include "app/piece_images.h"
#include "app/tool_bands.h"
#include "collections/import_common.h"
#include "print/print_document.h"
#include "print/print_preview_logic.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "strings/menu.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QToolBar;
class QToolButton;

namespace kv::app {

class MainArea;
class PieceBox;
class SolveRunner;

// Everything the window asks the user. The program shows boxes and file
// dialogs; the tests put recorders here.
struct Prompts {
  // A message box (style: kv::Mb* flags); answers kv::IdOk, IdYes, IdNo, IdCancel.
  std::function<int(const QString& text, const QString& caption, int style)> messageBox;
  // The file choice of a kind (app/choose_file_logic.h): on OK puts the
  // chosen path (UTF-8) into name and answers true. The program shows the
  // dialogs of ChooseFile; without it the window asks openFileName or
  // saveFileName with the kind's title and filters.
  std::function<bool(const Language& language, std::string& name, int kind)> chooseFile;
  std::function<QString(const QString& title, const QString& filter)> openFileName;
  std::function<QString(const QString& title, const QString& filter)> saveFileName;
  // A command id that Dispatch has no case for: its menu text and id.
  std::function<void(const QString& title)> unhandledCommand;
  // The test-a-move choice: index + 1 of the chosen move, 0 for Cancel.
  std::function<int(const QString& title, const QStringList& moves)> chooseMove;
};
// The program's prompts; boxes belong to parent or, without one, to the
// window the user works in when the box opens.
Prompts DefaultPrompts(QWidget* parent);
// The File menu's text of recent file i (0 … 3) for its ini entry.
QString RecentFileMenuText(int i, const std::string& entry, const std::string& startDirectory);
// Who owns a box: parent when given, else the open modal dialog, else the
// active window, else the shown main window.
QWidget* MessageOwner(QWidget* parent);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(AppState& state, Prompts prompts, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The one dispatch of commands; modifiers are those held when it was given
  // (Ctrl changes the recent files and the shifts).
  void Dispatch(int command, Qt::KeyboardModifiers modifiers);
  void Dispatch(int command);

  QAction* Action(int command) const;
  // Asks whether to save a changed problem: kv::IdYes, IdNo, IdCancel, or 0
  // when there is nothing to save.
  int AskToSave();
  void OpenByExtension();
  void ReportSkippedImports(const ImportResult& imported);
  void AfterCommandRefresh(bool focus);
  // Shows the problem just loaded into the state (from the file, the
  // problem list or the multiple view): its solution text, the board, the
  // information pane, the boxes below the board and the problem type in the
  // status bar. The solution on show is no longer the board's own.
  void ShowLoadedProblem();
  // The warning for a problem shown with its damaged parts empty (none
  // when `damage` is ok).
  void ReportDamage(const FileResult& damage);
  void RefreshInformation();
  void RefreshProblemType();
  void RefreshMenCount();
  void RebuildMenus();
  void UpdateCommandStates();
  // The piece set and the relief of the squares, from the output settings.
  void ApplyBoardSettings();
  void StatusText(int part, const QString& text);
  // Ends a menu item's help line in part 4 (see the definition).
  void EndMenuHelp();
  QString StatusTextOf(int part) const;
  // Shows the current problem's solution text (or any pane text) in the
  // solution pane, converted from Windows-1252 at this edge.
  void SetSolutionPaneText(const std::string& text);
  std::string SolutionPaneText() const;  // Windows-1252, CR LF lines
  // The text search of the solution pane: from the end of the selection,
  // case-sensitive, offering to restart at the top. True when found.
  bool FindInSolution(const std::string& text);

  bool solving() const;
  // Waits until the running solve (if any) has ended: for tests and shut-down.
  void WaitForSolve();

  AppState& state() { return state_; }
  BoardWidget* board() const { return board_; }
  PieceBox* pieceBox() const { return box_; }
  QPlainTextEdit* solutionPane() const { return solutionPane_; }
  QPlainTextEdit* informationPane() const { return informationPane_; }
  QLineEdit* positionBox() const { return positionBox_; }
  ToolBand* navigationBar() const { return navigationBar_; }
  ToolBand* effectsBar() const { return effectsBar_; }
  ToolBandArea* toolBands() const { return bands_; }
  const Menu& menuData() const { return menu_; }

  // Set when the window may close (AskToSave did not answer Cancel).
  std::function<void()> onClose;

 signals:
  void commandDispatched(int command);
  void solveFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  void CreateToolBars();
  void CreateStatusBar();
  QAction* MakeAction(int command);
  QString MessageText(int n) const;
  QString MenuText(int command) const;  // the item's text as a dialog title
  int Message(int n, const std::string& argument, int style);
  bool DispatchDialogCommand(int command);
  void UnhandledCommand(int command);
  void ApplyLanguageTexts();
  void ApplyPaneFont();
  void RelabelRecentFiles();
  void RefreshSquareStatus();
  void UpdateNavigationTips();
  void TellAuthorListProblem();
  QString FileSummary() const;

  // Commands.
  void GoToRecord(int command);
  void PositionBoxEntered();
  void CloseFile();
  void OpenFile();
  void SaveAs();
  void AddPosition();
  void ClearBoard();
  void BoardOperationCommand(int operation);
  void SolveCommand(int command);
  void OnSolveFinished();
  void SaveText();
  void ReloadText();
  void FindNext();
  void SelectLanguageCommand(int command);
  void OpenRecentFile(int command, Qt::KeyboardModifiers modifiers);
  void OpenStartFile(bool ctrl);
  void HandOver();
  void ToggleEffects();
  void LoadWithDisplay();
  void ReportResult(const FileResult& result, const std::string& fileName);
  bool ChooseFileName(std::string& name, int kind);
  // Printing.
  QPrinter& Printer();
  bool MakeDocument(print::DocumentKind kind, print::PrintDocument& document);
  void PrintCommand(print::DocumentKind kind);
  void PreviewCommand(print::DocumentKind kind);
  void PrintOptionsCommand();
  void DisplayOptionsCommand();

  AppState& state_;
  Prompts prompts_;
  Menu menu_;
  std::map<int, QAction*> commands_;
  DragState drag_;
  PieceImages modernPieces_;
  PieceImages classicPieces_;
  MainArea* area_ = nullptr;
  BoardWidget* board_ = nullptr;
  PieceBox* box_ = nullptr;
  QPlainTextEdit* solutionPane_ = nullptr;
  QPlainTextEdit* informationPane_ = nullptr;
  QLineEdit* positionBox_ = nullptr;
  ToolBandArea* bands_ = nullptr;
  ToolBand* navigationBar_ = nullptr;
  ToolBand* mainBar_ = nullptr;
  ToolBand* effectsBar_ = nullptr;
  // The items of the print and preview buttons' drop-down menus.
  std::vector<QAction*> dropDownItems_;
  std::array<QLabel*, 5> statusParts_{};
  std::unique_ptr<Solver> solver_;
  SolveRunner* runner_ = nullptr;
  bool testingMove_ = false;
  bool squareShown_ = false;    // part 1 names the square under the pointer
  bool menuHelpShown_ = false;  // part 4 holds a menu item's help line
  SavedPerKindOptions savedTestOptions_{};
  // The printer chosen in the print dialogs, kept while the program runs.
  std::unique_ptr<QPrinter> printer_;
  print::PreviewZoomMemory zoomMemory_;
  print::DocumentKind printKind_ = print::DocumentKind::DiagramSheet;
  int lastPageCount_ = 0;
};

}  // namespace kv::app
