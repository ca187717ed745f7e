#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/biographical_selection_dialog.h"
#include "app/board_editing.h"
#include "app/choose_file.h"
#include "app/choose_file_logic.h"
#include "app/collection_dialog_commands.h"
#include "app/command_icons.h"
#include "app/commands.h"
#include "app/description_commands.h"
#include "app/dialog_frame.h"
#include "app/display_options_dialog.h"
#include "app/help_window.h"
#include "app/information.h"
#include "app/main_area.h"
#include "app/multiple_view_dialog.h"
#include "app/piece_box.h"
#include "app/print_commands.h"
#include "app/problem_list_dialog.h"
#include "app/search_commands.h"
#include "app/solve_runner.h"
#include "app/test_move_dialog.h"
#include "app/tool_bands.h"
#include "collections/export.h"
#include "collections/file_result.h"
#include "collections/import_file.h"
#include "config/ini_file.h"
#include "config/ini_location.h"
#include "print/print_job.h"
#include "print/print_options_dialog.h"
#include "print/print_preview_dialog.h"
#include "solver/board_operations.h"
#include "strings/custom_language.h"
#include "strings/encoding.h"
#include "strings/line_ends.h"
#include "strings/message_ids.h"

namespace kv::app {
namespace {

// The commands 100..180 have a hint each: the hint of command 100 + n is
// message n.
constexpr int LastCommandWithHint = 180;
constexpr int CommandHint(int command) {
  return msg::FirstCommandHint + command - CmdClose;
}

// The keypad commands 182..189 are the board operations 2..9, the shifts,
// mirrors, rotation and colour swap; with Ctrl a shift is toroidal.
constexpr int EffectCommand(int operation) {
  return CmdEffectFirst + operation - OpShiftDown;
}
constexpr int EffectOperation(int command) {
  return command - CmdEffectFirst + OpShiftDown;
}

QString Q(std::string_view cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

// A file name as the file system gives it, for display and messages.
std::string FileNameText(const std::string& path) {
  return Utf8ToCp1252(path);
}

// The status parts' widths: spacer, square, problem type, spacer, the rest.
constexpr std::array<int, 4> StatusWidths = {6, 130, 130, 4};

void CollectCommands(const std::vector<MenuItem>& items, std::vector<int>& ids) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItemKind::Command) ids.push_back(item.id);
    if (item.kind == MenuItemKind::Popup) CollectCommands(item.items, ids);
  }
}

}  // namespace

QWidget* MessageOwner(QWidget* parent) {
  if (parent != nullptr) return parent;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<MainWindow*>(top) != nullptr && top->isVisible()) return top;
  }
  return nullptr;
}

Prompts DefaultPrompts(QWidget* parent) {
  Prompts p;
  p.messageBox = [parent](const QString& text, const QString& caption, int style) {
    // A box with an owner opens centred over it, not over the screen.
    QMessageBox box(MessageOwner(parent));
    box.setWindowTitle(caption);
    box.setText(text);
    const int icon = style & 0xF0;
    box.setIcon(icon == MbIconStop          ? QMessageBox::Critical
                : icon == MbIconQuestion    ? QMessageBox::Question
                : icon == MbIconExclamation ? QMessageBox::Warning
                                            : QMessageBox::NoIcon);
    if ((style & 0x0F) == MbYesNoCancel) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      const int answer = box.exec();
      return answer == QMessageBox::Yes ? IdYes : answer == QMessageBox::No ? IdNo : IdCancel;
    }
    box.exec();
    return IdOk;
  };
  p.chooseFile = [parent](const Language& language, std::string& name, int kind) {
    return ChooseFile(MessageOwner(parent), language, name, kind);
  };
  p.openFileName = [parent](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(MessageOwner(parent), title, QString(), filter);
  };
  p.saveFileName = [parent](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(MessageOwner(parent), title, QString(), filter);
  };
  p.unhandledCommand = [](const QString& title) {
    qWarning("command without a handler: %s", qPrintable(title));
  };
  // chooseMove stays empty: the window shows its own test-a-move dialog.
  return p;
}

MainWindow::MainWindow(AppState& state, Prompts prompts, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(std::move(prompts)) {
  setObjectName("Kestrovale");
  solver_ = std::make_unique<Solver>();
  modernPieces_ = RenderPieceImages(PieceSet::Modern, BoardWidget::SquareSize);
  classicPieces_ = RenderPieceImages(PieceSet::Classic, BoardWidget::SquareSize);

  // Above the client area the toolbar bands, which wrap onto more rows in a
  // narrow window; the area below keeps its own coordinates.
  auto* central = new QWidget(this);
  setCentralWidget(central);
  area_ = new MainArea(central);
  board_ = new BoardWidget(state_.pos.board, drag_, area_);
  solutionPane_ = new QPlainTextEdit(area_);
  solutionPane_->setObjectName("solutionPane");
  solutionPane_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  informationPane_ = new QPlainTextEdit(area_);
  informationPane_->setObjectName("informationPane");
  informationPane_->setReadOnly(true);
  informationPane_->setFrameShape(QFrame::NoFrame);
  informationPane_->viewport()->setAutoFillBackground(false);
  box_ = new PieceBox(*board_, drag_, area_);
  board_->SetPieceBox(box_);
  area_->SetChildren(board_, solutionPane_, informationPane_, box_);

  CreateActions();
  CreateToolBars();
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(bands_);
  column->addWidget(area_, 1);
  CreateStatusBar();
  RebuildMenus();
  ApplyPaneFont();
  ApplyBoardSettings();

  connect(board_, &BoardWidget::edited, this, [this] {
    state_.solutionStale = true;
    RefreshMenCount();
    UpdateCommandStates();
  });
  connect(board_, &BoardWidget::statusText, this, [this](const QString& t) {
    StatusText(1, t);
    squareShown_ = true;
  });
  connect(board_, &BoardWidget::commandRequested, this,
          [this](int command, Qt::KeyboardModifiers m) { Dispatch(command, m); });
  connect(board_, &BoardWidget::setupModeChanged, this, [this] { UpdateCommandStates(); });
  connect(area_, &MainArea::commandRequested, this, [this](int command) { Dispatch(command); });

  runner_ = new SolveRunner(this);
  runner_->messageBox = [this](const std::string& text, const std::string& caption, int style) {
    return prompts_.messageBox ? prompts_.messageBox(Q(text), Q(caption), style) : IdOk;
  };
  runner_->chooseMove = [this](const std::vector<std::string>& moves) {
    QStringList list;
    for (const std::string& m : moves) list << Q(m);
    if (prompts_.chooseMove) return prompts_.chooseMove(MenuText(CmdTestMove), list);
    return RunTestMoveDialog(this, state_.language, MenuText(CmdTestMove), list,
                             solutionPane_->font());
  };
  connect(runner_, &SolveRunner::statusText, this,
          [this](int part, const QString& text) { StatusText(part, text); });
  connect(runner_, &SolveRunner::finished, this, &MainWindow::OnSolveFinished);

  qApp->installEventFilter(this);
  ApplyLanguageTexts();
  RefreshInformation();
  RefreshProblemType();
  RefreshMenCount();
  AfterCommandRefresh(false);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // Children losing the focus while they are destroyed must not call back
  // into a window that is half gone.
  board_->disconnect(this);
  positionBox_->disconnect(this);
  positionBox_->removeEventFilter(this);
  statusParts_[2]->removeEventFilter(this);
  if (runner_ != nullptr) runner_->BreakAndWait();
}

QAction* MainWindow::MakeAction(int command) {
  auto* action = new QAction(this);
  action->setData(command);
  action->setObjectName(QStringLiteral("command%1").arg(command));
  Accelerator accelerator{};
  if (AcceleratorOf(command, accelerator)) {
    action->setShortcut(QKeySequence(QKeyCombination(accelerator.modifier, accelerator.key)));
    action->setShortcutContext(Qt::ApplicationShortcut);
  }
  connect(action, &QAction::triggered, this,
          [this, command] { Dispatch(command, QGuiApplication::keyboardModifiers()); });
  addAction(action);  // keys work for commands that no menu holds
  commands_[command] = action;
  return action;
}

QAction* MainWindow::Action(int command) const {
  const auto it = commands_.find(command);
  return it == commands_.end() ? nullptr : it->second;
}

void MainWindow::CreateActions() {
  std::vector<int> ids;
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    Language language;
    language.base = base;
    CollectCommands(LanguageMenu(language), ids);
  }
  for (int id : CommandsOutsideMenus) ids.push_back(id);
  for (int id : {CmdFirst, CmdPrevious, CmdNext, CmdLast, CmdPrintButton}) ids.push_back(id);
  for (int id = CmdEffectFirst; id <= CmdEffectLast; ++id) ids.push_back(id);
  for (int id : ids)
    if (Action(id) == nullptr) MakeAction(id);
  for (int id = CmdLanguageFirst; id <= CmdLanguageOther; ++id) Action(id)->setCheckable(true);
  Action(CmdSpecialEffects)->setCheckable(true);
  for (const auto& [id, action] : commands_) action->setIcon(CommandIcon(id));
}

void MainWindow::CreateToolBars() {
  bands_ = new ToolBandArea(centralWidget());
  bands_->setObjectName("toolBands");
  navigationBar_ = new ToolBand(bands_);
  navigationBar_->setObjectName("navigationBand");
  mainBar_ = new ToolBand(bands_);
  mainBar_->setObjectName("mainBand");
  effectsBar_ = new ToolBand(bands_);
  effectsBar_->setObjectName("effectsBand");

  navigationBar_->AddAction(Action(CmdFirst));
  navigationBar_->AddAction(Action(CmdPrevious));
  positionBox_ = new QLineEdit(navigationBar_);
  positionBox_->setObjectName("positionBox");
  positionBox_->setAlignment(Qt::AlignRight);
  positionBox_->setFixedWidth(44);
  positionBox_->setMaxLength(11);
  positionBox_->installEventFilter(this);
  connect(positionBox_, &QLineEdit::editingFinished, this, [this] {
    if (!positionBox_->isModified()) return;
    positionBox_->setModified(false);
    Dispatch(CmdPositionBox);
  });
  navigationBar_->AddWidget(positionBox_);
  navigationBar_->AddAction(Action(CmdNext));
  navigationBar_->AddAction(Action(CmdLast));
  navigationBar_->hide();

  // The drop-down items carry the names of the two print kinds; they have
  // actions of their own, so that the File menu keeps its own texts for the
  // same commands.
  auto dropDown = [this](int command, int first, int second) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("dropDown%1").arg(command));
    for (int item : {first, second}) {
      auto* action = new QAction(menu);
      action->setData(item);
      action->setObjectName(QStringLiteral("dropDownItem%1").arg(item));
      connect(action, &QAction::triggered, this, [this, item] { Dispatch(item); });
      menu->addAction(action);
      dropDownItems_.push_back(action);
    }
    mainBar_->AddDropDown(Action(command), menu);
  };
  mainBar_->AddAction(Action(CmdOpen));
  mainBar_->AddAction(Action(CmdSaveAs));
  mainBar_->AddSeparator();
  dropDown(CmdPrintButton, CmdPrintDiagrams, CmdPrintReport);
  dropDown(CmdPreview, CmdPreviewDiagrams, CmdPreviewReport);
  mainBar_->AddSeparator();
  mainBar_->AddAction(Action(CmdInformation));
  mainBar_->AddSeparator();
  mainBar_->AddAction(Action(CmdSearchPositions));
  mainBar_->AddAction(Action(CmdOldList));
  mainBar_->AddAction(Action(CmdVisualizer));
  mainBar_->AddSeparator();
  mainBar_->AddAction(Action(CmdSearchSolution));
  mainBar_->AddAction(Action(CmdSolvingOptions));
  mainBar_->AddSeparator();
  mainBar_->AddAction(Action(CmdSpecialEffects));

  for (int id : {188, 182, 184, 186, 185, 183, 189}) effectsBar_->AddAction(Action(id));
  effectsBar_->hide();

  for (ToolBand* band : {navigationBar_, mainBar_, effectsBar_}) bands_->AddBand(band);
}

void MainWindow::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  for (int part = 0; part < 5; ++part) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("statusPart%1").arg(part));
    if (part < 4) label->setFixedWidth(StatusWidths[part]);
    if (part == 1 || part == 2 || part == 4) label->setFrameShape(QFrame::Panel);
    if (part == 1 || part == 2 || part == 4) label->setFrameShadow(QFrame::Sunken);
    bar->addWidget(label, part == 4 ? 1 : 0);
    statusParts_[part] = label;
  }
  statusParts_[2]->installEventFilter(this);
}

QString MainWindow::MessageText(int n) const {
  return Q(MessageView(state_.language, n));
}

QString MainWindow::MenuText(int command) const {
  const MenuItem* item = FindMenuItem(menu_, command);
  if (item != nullptr) return Q(MenuTitle(item->text));
  if (command == CmdPreviewDiagrams || command == CmdPrintButton)
    return MessageText(msg::DiagramsPage);
  if (command == CmdPreviewReport) return MessageText(msg::ReportPage);
  return QStringLiteral("Kestrovale");
}

int MainWindow::Message(int n, const std::string& argument, int style) {
  const std::string text = FormatMessage(MessageView(state_.language, n), argument);
  return prompts_.messageBox ? prompts_.messageBox(Q(text), QStringLiteral("Kestrovale"), style)
                             : IdOk;
}

// Every command of the menus, accelerators and toolbars has its case in
// Dispatch; an id that has none is a fault of the program, reported to the
// log (and to the tests, which fail on it), never silently dropped.
void MainWindow::UnhandledCommand(int command) {
  if (prompts_.unhandledCommand)
    prompts_.unhandledCommand(MenuText(command) + QStringLiteral(" (%1)").arg(command));
}

void MainWindow::RebuildMenus() {
  menu_ = LanguageMenu(state_.language);
  menuBar()->clear();
  std::function<void(QMenu*, const std::vector<MenuItem>&)> fill =
      [&](QMenu* menu, const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
          if (item.kind == MenuItemKind::Separator) {
            menu->addSeparator();
          } else if (item.kind == MenuItemKind::Popup) {
            QMenu* sub = menu->addMenu(Q(item.text));
            fill(sub, item.items);
          } else {
            QAction* action = Action(item.id);
            if (action == nullptr) action = MakeAction(item.id);
            QString text = Q(MenuLabel(item.text));
            const std::string_view hint = MenuHint(item.text);
            if (!hint.empty()) text += QLatin1Char('\t') + Q(hint);
            action->setText(text);
            menu->addAction(action);
          }
        }
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
        connect(menu, &QMenu::aboutToHide, this, &MainWindow::EndMenuHelp);
        connect(menu, &QMenu::hovered, this, [this](QAction* action) {
          const int id = action->data().toInt();
          if (id < CmdClose) return;
          StatusText(4, MessageText(CommandHint(id)));
          menuHelpShown_ = true;
        });
      };
  for (const MenuItem& top : menu_) {
    if (top.kind != MenuItemKind::Popup) continue;
    QMenu* menu = menuBar()->addMenu(Q(top.text));
    fill(menu, top.items);
  }
  RelabelRecentFiles();
  UpdateCommandStates();
}

void MainWindow::ApplyLanguageTexts() {
  box_->SetTitle(MessageText(msg::PieceBox));
  board_->SetBoardLetters(std::string(BoardLetters(state_.language)));
  for (const auto& [id, action] : commands_) {
    if (id >= CmdClose && id <= LastCommandWithHint)
      action->setToolTip(MessageText(CommandHint(id)));
  }
  // The board operations have no help line of their own: their tips say
  // the operation and its direction in the words of the twins dialog
  // (translation, rotation, mirror).
  const QString translation = MessageText(msg::Translation);
  Action(EffectCommand(OpShiftUp))->setToolTip(translation + QStringLiteral(" \u2191"));
  Action(EffectCommand(OpShiftDown))->setToolTip(translation + QStringLiteral(" \u2193"));
  Action(EffectCommand(OpShiftLeft))->setToolTip(translation + QStringLiteral(" \u2190"));
  Action(EffectCommand(OpShiftRight))->setToolTip(translation + QStringLiteral(" \u2192"));
  Action(EffectCommand(OpRotate90))
      ->setToolTip(MessageText(msg::Rotation) + QStringLiteral(" 90\u00B0"));
  Action(EffectCommand(OpMirrorFiles))
      ->setToolTip(MessageText(msg::Mirror) + QStringLiteral(" \u2194"));
  Action(EffectCommand(OpMirrorRanks))
      ->setToolTip(MessageText(msg::Mirror) + QStringLiteral(" \u2195"));
  UpdateNavigationTips();
  for (QAction* item : dropDownItems_) {
    const int id = item->data().toInt();
    const bool diagrams = id == CmdPrintDiagrams || id == CmdPreviewDiagrams;
    item->setText(MessageText(diagrams ? msg::DiagramsPage : msg::ReportPage));
  }
}

// A recent-file entry holds the path as the file system gives it (UTF-8 on
// this system) and the " n°" suffix in Windows-1252, as the ini file keeps
// it: each part is converted from its own encoding. A path stored by an
// older version in Windows-1252 still shows its accents.
QString RecentFileMenuText(int i, const std::string& entry, const std::string& startDirectory) {
  const std::size_t mark = entry.find(" n\xB0");
  const std::string path = entry.substr(0, mark);
  const std::string suffix = mark == std::string::npos ? std::string() : entry.substr(mark);
  const std::string label = RecentFileLabel(i, path, startDirectory);
  const QString shown = IsValidUtf8(label) ? QString::fromStdString(label) : Q(label);
  return shown + Q(suffix);
}

void MainWindow::RelabelRecentFiles() {
  for (int i = 0; i < 4; ++i) {
    QAction* action = Action(CmdRecentFirst + i);
    if (action == nullptr) continue;
    action->setText(RecentFileMenuText(i, state_.recentFiles[i], state_.startDirectory));
  }
}

void MainWindow::UpdateCommandStates() {
  CommandContext context;
  context.fileOpen = state_.fileOpen;
  context.problemListCount = state_.problemListCount;
  context.setupMode = board_->setupMode();
  context.solutionStale = state_.solutionStale;
  context.solving = solving();
  for (const auto& [id, action] : commands_) action->setEnabled(CommandEnabled(id, context));
  for (QAction* item : dropDownItems_)
    item->setEnabled(CommandEnabled(item->data().toInt(), context));
  const int current = LanguageCommand(state_.language);
  for (int id = CmdLanguageFirst; id <= CmdLanguageOther; ++id)
    Action(id)->setChecked(id == current);
  positionBox_->setEnabled(!context.solving);
}

void MainWindow::StatusText(int part, const QString& text) {
  if (part == 1) squareShown_ = false;
  if (part == 4) menuHelpShown_ = false;
  if (part >= 0 && part < 5) statusParts_[part]->setText(text);
}

// A menu item's help line lasts while the item is highlighted: when the
// menu closes or a command starts, part 4 shows again what it showed for
// the file (its name and the position), or nothing.
void MainWindow::EndMenuHelp() {
  if (!menuHelpShown_) return;
  StatusText(4, state_.fileOpen ? FileSummary() : QString());
}

QString MainWindow::FileSummary() const {
  return Q(FileSummaryText(FileNameText(state_.collection.currentFileName),
                           state_.collection.currentIndex, state_.collection.lastIndex,
                           state_.language));
}

// Part 1 names the man on the square under the pointer; a change of the
// board (a typed letter, a drop, a board operation, a new problem) renews
// it, so that it never names a man that has gone.
void MainWindow::RefreshSquareStatus() {
  if (squareShown_) {
    StatusText(1, board_->SquareStatusText());
    squareShown_ = true;
  }
}

QString MainWindow::StatusTextOf(int part) const {
  return part >= 0 && part < 5 ? statusParts_[part]->text() : QString();
}

void MainWindow::ApplyBoardSettings() {
  const PieceImages* images =
      state_.output[OutputClassicPieces] == 1 ? &classicPieces_ : &modernPieces_;
  board_->SetPieceImages(images);
  board_->SetRelief(state_.output[OutputSquares3D] != 0);
  box_->SetPieceImages(images);
}

void MainWindow::ApplyPaneFont() {
  const PaneFont& record = state_.paneFont;
  const int height = record.height == 0 ? 13 : std::abs(record.height);
  QFont font(QString::fromStdString(Cp1252ToUtf8(FaceName(record))));
  font.setPixelSize(height);
  font.setWeight(record.weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(record.italic != 0);
  solutionPane_->setFont(font);
  informationPane_->setFont(font);
  area_->SetBoxFont(font, record.height);
}

void MainWindow::SetSolutionPaneText(const std::string& text) {
  const std::string lf = CrlfToLf(std::string_view(text).substr(0, SolutionPaneLimit));
  const bool figurines = state_.output[OutputFigurineNotation] != 0;
  solutionPane_->setPlainText(QString::fromStdString(Cp1252ToUtf8(lf, figurines)));
}

std::string MainWindow::SolutionPaneText() const {
  return LfToCrlf(Utf8ToCp1252(solutionPane_->toPlainText().toStdString()));
}

void MainWindow::RefreshInformation() {
  informationPane_->setPlainText(Q(CrlfToLf(InformationText(state_.problem, state_.language))));
  SwitchOptionsToKind(state_.options, state_.problem.type.kind);
  RefreshMenCount();
  if (state_.fileOpen) StatusText(4, FileSummary());
}

void MainWindow::RefreshProblemType() {
  StatusText(2, Q(ProblemTypeStatusText(state_.options, state_.problem.type, state_.language)));
}

// The three small boxes below the board: men count, twins and stipulation.
void MainWindow::RefreshMenCount() {
  int lines = 0;
  std::string twins =
      CrlfToLf(TwinsBoxText(state_.problem, state_.pos.board, state_.language, lines));
  if (!twins.empty() && twins.back() == '\n') twins.pop_back();
  area_->SetBoxTexts(Q(MenCountText(state_.pos.board)), Q(twins), lines,
                     Q(FormatProblemType(state_.problem.type)));
  RefreshSquareStatus();
}

bool MainWindow::solving() const {
  return runner_ != nullptr && runner_->running();
}

void MainWindow::WaitForSolve() {
  while (solving()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// ---- The dispatch.

void MainWindow::Dispatch(int command) {
  Dispatch(command, QGuiApplication::keyboardModifiers());
}

void MainWindow::Dispatch(int command, Qt::KeyboardModifiers modifiers) {
  emit commandDispatched(command);
  EndMenuHelp();
  if (solving()) {
    // Every command waits for the solve; Escape breaks it off.
    if (command == CmdQuit) runner_->RequestBreak();
    return;
  }
  QAction* action = Action(command);
  if (action != nullptr && !action->isEnabled()) return;
  const bool ctrl = modifiers & Qt::ControlModifier;
  switch (command) {
    case CmdPositionBox:
      PositionBoxEntered();
      break;
    case CmdFirst:
    case CmdNext:
    case CmdPrevious:
    case CmdLast:
      GoToRecord(command);
      break;
    case CmdClose:
      CloseFile();
      break;
    case CmdOpen:
      OpenFile();
      break;
    case CmdOpenPosition:
      if (AskToSave() != IdCancel) AfterCommandRefresh(true);
      break;
    case CmdSaveAs:
      SaveAs();
      break;
    case CmdQuit:
      close();
      break;
    case CmdAddPosition:
      AddPosition();
      break;
    case CmdSetup:
      board_->setFocus(Qt::OtherFocusReason);
      break;
    case CmdSpecialEffects:
      ToggleEffects();
      break;
    case CmdClear:
      ClearBoard();
      break;
    case CmdRestore:
      BoardOperationCommand(OpRestore);
      break;
    case CmdRefreshSolution:
    case CmdSearchSolution:
    case CmdTestMove:
      SolveCommand(command);
      break;
    case CmdSaveText:
      SaveText();
      break;
    case CmdReloadText:
      ReloadText();
      break;
    case CmdFindNext:
      FindNext();
      break;
    case CmdToggleActualPlay:
      ToggleActualPlay(state_.options);
      RefreshProblemType();
      break;
    case CmdStartFile:
      OpenStartFile(ctrl);
      break;
    case CmdHandOver:
      HandOver();
      break;
    default:
      if (command >= CmdEffectFirst && command <= CmdEffectLast) {
        const int operation = EffectOperation(command);
        const bool toroidal = ctrl && operation % 2 == 0;
        BoardOperationCommand(toroidal ? operation + OpToroidal : operation);
      } else if (command >= CmdLanguageFirst && command <= CmdLanguageOther) {
        SelectLanguageCommand(command);
      } else if (command >= CmdRecentFirst && command <= CmdRecentLast) {
        OpenRecentFile(command, modifiers);
      } else if (!DispatchDialogCommand(command)) {
        UnhandledCommand(command);
      }
      break;
  }
  UpdateCommandStates();
}

// The commands that open a dialog, a list, a print or the help; false for an
// id that is none of them.
bool MainWindow::DispatchDialogCommand(int command) {
  switch (command) {
    case CmdInformation:
    case CmdAdditionalInfo:
      TellAuthorListProblem();
      RunDescriptionCommand(*this, command);
      break;
    case CmdProblemType:
    case CmdSolvingOptions:
    case CmdCopyBoard:
    case CmdTwins:
      RunDescriptionCommand(*this, command);
      break;
    case CmdSavePosition:
      if (state_.fileOpen) {
        ReportResult(RunSavePositionDialog(this, state_, MenuText(command)),
                     state_.collection.currentFileName);
        AfterCommandRefresh(true);
      }
      break;
    case CmdFindInText:
      if (RunTextSearchDialog(this, state_.language, solutionPane_->textCursor().selectedText(),
                              state_.findText, MenuText(CmdFindInText))) {
        FindInSolution(state_.findText);
      }
      break;
    case CmdOldList:
    case CmdNewList:
      ProblemListCommand(*this, command);
      break;
    case CmdVisualizer:
      VisualizerCommand(*this);
      break;
    case CmdBiographical:
      TellAuthorListProblem();
      RunBiographicalSelectionDialog(this, state_, MenuText(command),
                                     [this] { TellAuthorListProblem(); });
      break;
    case CmdOrganize:
      if (state_.fileOpen) {
        FileResult result;
        if (RunOrganizeDialog(this, state_, result, MenuText(command)) == OrganiseCancel) break;
        ReportResult(result, state_.collection.currentFileName);
        if (!result) break;
        AfterCommandRefresh(true);
        LoadWithDisplay();
      }
      break;
    case CmdHelpIndex:
      OpenHelp(HelpIndexContext, this);
      break;
    case CmdSearchPositions:
      PositionSearchCommand(*this, [this](int n, int style) { return Message(n, "", style); });
      break;
    case CmdDuplicates: {
      std::vector<UnreadFolder> unreadFolders;
      const std::vector<std::string> files = DuplicateScanFiles(state_, &unreadFolders);
      DuplicateScanCommand(
          *this, files,
          [this](const FileResult& result) {
            ReportResult(result, state_.collection.currentFileName);
          },
          [this](const QString& text) {
            if (prompts_.messageBox) prompts_.messageBox(text, QStringLiteral("Kestrovale"), MbOk);
          },
          unreadFolders);
      break;
    }
    case CmdAbout:
      RunAboutDialog(this, state_.language, MenuText(CmdAbout));
      break;
    case CmdDisplayOptions:
      DisplayOptionsCommand();
      break;
    case CmdPrintButton:
    case CmdPrintDiagrams:
    case CmdPrintReport:
      PrintCommand(PrintKindOf(command, printKind_));
      break;
    case CmdPreview:
    case CmdPreviewDiagrams:
    case CmdPreviewReport:
      PreviewCommand(PrintKindOf(command, printKind_));
      break;
    case CmdPrintOptions:
      PrintOptionsCommand();
      break;
    default:
      return false;
  }
  return true;
}

// ---- Saving and opening.

int MainWindow::AskToSave() {
  switch (DecideSaveQuestion(state_.skipNextSavePrompt, state_.problem, state_.pos.board)) {
    case SaveQuestion::Skip:
      return IdNo;
    case SaveQuestion::Nothing:
      return 0;
    case SaveQuestion::Ask:
      break;
  }
  const int answer =
      state_.fileOpen ? Message(msg::SaveProblemIn, FileNameText(state_.collection.currentFileName),
                                MbYesNoCancel | MbIconQuestion)
                      : Message(msg::SaveProblem, "", MbYesNoCancel | MbIconQuestion);
  if (answer != IdYes) return answer;
  if (state_.fileOpen) {
    const FileResult result = SaveProblem(state_.collection, state_.problem, state_.pos.board);
    if (!result) {
      // The problem stays modified and is not replaced: the caller stops.
      ReportResult(result, state_.collection.currentFileName);
      return IdCancel;
    }
  } else {
    SaveAs();
    if (IsProblemModified(state_.problem, state_.pos.board)) return IdCancel;
  }
  return IdYes;
}

// A user's author list that ends early (a line without its final ";")
// would otherwise show as a short or empty list without a word: the user is
// told which line stopped the reading and why, once per reading.
void MainWindow::TellAuthorListProblem() {
  DialogLists(state_);
  if (state_.dialogListsProblem.empty()) return;
  const std::string text = std::move(state_.dialogListsProblem);
  state_.dialogListsProblem.clear();
  if (prompts_.messageBox)
    prompts_.messageBox(Q(text), QStringLiteral("Kestrovale"), MbIconExclamation);
}

void MainWindow::ReportResult(const FileResult& result, const std::string& fileName) {
  UiCallbacks ui;
  ui.messageBox = [this](const std::string& text, const std::string& caption, int style) {
    return prompts_.messageBox ? prompts_.messageBox(Q(text), Q(caption), style) : IdOk;
  };
  ReportFileResult(ui, state_.language, result, FileNameText(fileName));
}

void MainWindow::ReportDamage(const FileResult& damage) {
  if (damage.ok() || !prompts_.messageBox) return;
  const std::string text =
      DamagedProblemText(damage, FileNameText(state_.collection.currentFileName));
  prompts_.messageBox(Q(text), QStringLiteral("Kestrovale"), MbIconExclamation);
}

void MainWindow::LoadWithDisplay() {
  // A damaged problem is shown with what can be read, so that the user can
  // see it and move on to the others.
  FileResult damage;
  const FileResult result =
      LoadProblem(state_.collection, state_.problem, state_.pos.board, &damage);
  if (!result) {
    ReportResult(result, state_.collection.currentFileName);
    return;
  }
  ShowLoadedProblem();
  ReportDamage(damage);
}

void MainWindow::ShowLoadedProblem() {
  state_.solutionStale = true;
  SetSolutionPaneText(state_.problem.solutionText);
  board_->update();
  RefreshInformation();  // refreshes the boxes below the board too
  RefreshProblemType();
}

void MainWindow::OpenByExtension() {
  state_.fileOpen = true;
  FileResult result;
  FileResult damage;
  std::string failure;
  if (ImportFormatOf(state_.collection.currentFileName) != ImportFormat::None) {
    UiCallbacks ui;
    ui.statusText = [this](int part, const std::string& text) { StatusText(part, Q(text)); };
    ImportEnv env{state_.collection, state_.problem, state_.pos.board, state_.language, ui};
    const ImportResult imported = ImportFile(env);
    if (imported.ok()) {
      state_.collection.currentFileName = imported.targetPath;
      state_.collection.currentIndex = 0;
      result = LoadProblem(state_.collection, state_.problem, state_.pos.board, &damage);
      ReportSkippedImports(imported);
    } else {
      result = imported.result;
      failure = ImportFailureText(imported, state_.language);
    }
  } else {
    result = LoadProblem(state_.collection, state_.problem, state_.pos.board, &damage);
  }
  if (result) {
    ShowLoadedProblem();
    ReportDamage(damage);
    UpdateRecentFiles(state_.recentFiles, state_.collection.currentFileName,
                      state_.collection.currentIndex, state_.previousIndex);
    RelabelRecentFiles();
    if (AskToSave() == IdCancel) return;
    AfterCommandRefresh(true);
    return;
  }
  state_.fileOpen = false;
  if (!failure.empty()) {
    if (prompts_.messageBox)
      prompts_.messageBox(Q(failure), QStringLiteral("Kestrovale"), MbIconStop);
  } else {
    ReportResult(result, state_.collection.currentFileName);
  }
  AfterCommandRefresh(true);
}

// Problems of an imported file that the collection cannot hold (fairy men
// or conditions, for instance) are left out whole; the user is told which,
// as the command-line import tells them on its error stream.
void MainWindow::ReportSkippedImports(const ImportResult& imported) {
  if (imported.skipped == 0 || !prompts_.messageBox) return;
  std::string text = std::to_string(imported.imported) + " problem(s) imported, " +
                     std::to_string(imported.skipped) + " left out:";
  for (const std::string& note : imported.skipNotes) text += "\n" + note;
  if (static_cast<int>(imported.skipNotes.size()) < imported.skipped) text += "\n...";
  prompts_.messageBox(Q(text), QStringLiteral("Kestrovale"), MbIconExclamation);
}

// The navigation buttons' tips name the problem each one goes to.
void MainWindow::UpdateNavigationTips() {
  const int last = state_.collection.lastIndex;
  const int current = state_.collection.currentIndex;
  const QString label = MessageText(msg::PositionNumber).remove(QLatin1Char(':')).trimmed();
  auto tip = [&](int command) {
    const int target = NavigationTarget(command, current, last) + 1;
    Action(command)->setToolTip(label + QLatin1Char(' ') + QString::number(target));
  };
  for (int command : {CmdFirst, CmdPrevious, CmdNext, CmdLast}) tip(command);
}

void MainWindow::AfterCommandRefresh(bool focus) {
  UpdateNavigationTips();
  setWindowTitle(Q(WindowTitle(state_.fileOpen, FileNameText(state_.collection.currentFileName))));
  if (state_.fileOpen) {
    navigationBar_->show();
    if (focus) positionBox_->setFocus(Qt::OtherFocusReason);
    positionBox_->setText(QString::fromStdString(PositionBoxText(state_.collection.currentIndex)));
    positionBox_->setModified(false);
  } else {
    navigationBar_->hide();
  }
  RefreshInformation();
  UpdateCommandStates();
}

void MainWindow::GoToRecord(int command) {
  if (!state_.fileOpen) return;
  if (AskToSave() == IdCancel) return;
  state_.collection.currentIndex =
      NavigationTarget(command, state_.collection.currentIndex, state_.collection.lastIndex);
  LoadWithDisplay();
  AfterCommandRefresh(true);
}

void MainWindow::PositionBoxEntered() {
  const int target = state_.fileOpen ? PositionBoxTarget(positionBox_->text().toStdString(),
                                                         state_.collection.lastIndex)
                                     : -1;
  if (target >= 0 && AskToSave() != IdCancel) {
    state_.collection.currentIndex = target;
    LoadWithDisplay();
  }
  positionBox_->setText(QString::fromStdString(PositionBoxText(state_.collection.currentIndex)));
  positionBox_->setModified(false);
  RefreshInformation();
}

void MainWindow::CloseFile() {
  // A changed problem is offered for saving before it is cleared away.
  if (AskToSave() == IdCancel) return;
  if (state_.fileOpen) SetRecentNumber(state_.recentFiles[0], state_.collection.currentIndex + 1);
  state_.fileOpen = false;
  BoardOperationCommand(OpClear);
  // The empty board is the new unchanged state, so that the next question
  // concerns only what the user sets up from here.
  state_.problem.storedBoard = EmptyPositionBytes();
  state_.problem.infoModified = false;
  RelabelRecentFiles();
  AfterCommandRefresh(false);
}

void MainWindow::OpenFile() {
  state_.previousIndex = state_.collection.currentIndex;
  if (AskToSave() == IdCancel) return;
  // The dialog starts in the folder of the file open now.
  std::string name = state_.fileOpen ? state_.collection.currentFileName : std::string();
  if (!ChooseFileName(name, ChooseOpen)) {
    RelabelRecentFiles();
    AfterCommandRefresh(false);
    return;
  }
  state_.collection.currentFileName = name;
  state_.collection.currentIndex = 0;
  OpenByExtension();
}

void MainWindow::SaveAs() {
  std::string name = state_.fileOpen ? state_.collection.currentFileName : std::string();
  if (!ChooseFileName(name, ChooseSaveAs)) {
    RelabelRecentFiles();
    return;
  }
  // The problem goes to the end of the chosen collection, in one operation.
  CollectionState target{name, 0, -1};
  const FileResult result = AppendProblem(target, state_.problem, state_.pos.board);
  if (!result) {
    ReportResult(result, target.currentFileName);
    return;
  }
  state_.previousIndex = state_.fileOpen ? state_.collection.currentIndex : -1;
  state_.collection = target;
  state_.fileOpen = true;
  UpdateRecentFiles(state_.recentFiles, state_.collection.currentFileName,
                    state_.collection.currentIndex, state_.previousIndex);
  RelabelRecentFiles();
  AfterCommandRefresh(true);
}

void MainWindow::AddPosition() {
  if (!state_.fileOpen) return;
  const FileResult result = AppendProblem(state_.collection, state_.problem, state_.pos.board);
  if (!result) ReportResult(result, state_.collection.currentFileName);
  AfterCommandRefresh(false);
}

void MainWindow::SaveText() {
  if (!state_.fileOpen) return;
  const FileResult result = SaveSolutionText(state_.collection, SolutionPaneText());
  if (!result) ReportResult(result, state_.collection.currentFileName);
}

void MainWindow::ReloadText() {
  if (!state_.fileOpen) return;
  const FileResult result = ReloadSolutionText(state_.collection, state_.problem);
  if (!result) {
    ReportResult(result, state_.collection.currentFileName);
    return;
  }
  SetSolutionPaneText(state_.problem.solutionText);
}

void MainWindow::OpenRecentFile(int command, Qt::KeyboardModifiers modifiers) {
  const std::string& entry = state_.recentFiles[command - CmdRecentFirst];
  if (entry.empty()) return;
  if (AskToSave() == IdCancel) return;
  state_.collection.currentFileName = entry;
  OpenStartFile(modifiers & Qt::ControlModifier);
}

void MainWindow::OpenStartFile(bool ctrl) {
  state_.previousIndex = state_.collection.currentIndex;
  std::string path;
  int number = 0;
  SplitRecentFile(state_.collection.currentFileName, path, number);
  state_.collection.currentFileName = path;
  state_.collection.currentIndex = number > 0 ? number - 1 : 0;
  if (ctrl) {
    // Ctrl stores the problem shown into the chosen file at that number.
    state_.problem.infoModified = true;
    if (AskToSave() == IdCancel) return;
  }
  OpenByExtension();
}

void MainWindow::HandOver() {
  if (AskToSave() == IdCancel) return;
  // An ini file that cannot be read names no file to hand over.
  IniDocument document;
  static_cast<void>(ReadIniFile(IniFilePath(), document));
  const std::string file = LoadFileCmd(document);
  if (file.empty()) return;
  state_.collection.currentFileName = file;
  state_.previousIndex = state_.collection.currentIndex;
  state_.collection.currentIndex = 0;
  OpenByExtension();
}

// ---- The board.

void MainWindow::ClearBoard() {
  if (AskToSave() == IdCancel) return;
  BoardOperationCommand(OpClear);
}

void MainWindow::BoardOperationCommand(int operation) {
  if (!BoardOperation(state_.pos.board, state_.backup, operation)) return;
  state_.solutionStale = true;
  board_->update();
  solutionPane_->clear();
  if (operation == OpClear) ClearProblemInformation(state_.problem);
  RefreshInformation();
  RefreshProblemType();
  RefreshMenCount();
}

void MainWindow::ToggleEffects() {
  const bool show = effectsBar_->isHidden();
  Action(CmdSpecialEffects)->setChecked(show);
  effectsBar_->setVisible(show);
}

// ---- Solving.

void MainWindow::SolveCommand(int command) {
  if (command == CmdTestMove) {
    if (state_.problem.type.kind == KindHelp) return;
    savedTestOptions_ = BeginTestMove(state_.options);
    testingMove_ = true;
  }
  if (!CanSolve(state_.problem.type)) {
    Message(msg::UnableToSolve, "", MbIconExclamation);
    if (testingMove_) EndTestMove(state_.options, savedTestOptions_);
    testingMove_ = false;
    board_->ClearTestMoveOrigin();
    return;
  }
  auto job = std::make_unique<SolveJob>();
  job->pos = state_.pos;
  job->type = state_.problem.type;
  job->options = state_.options;
  job->twins = state_.problem.twins;
  job->language = state_.language;
  job->figurines = state_.output[OutputFigurineNotation] != 0;
  job->moves = command == CmdRefreshSolution ? SolveRefresh : state_.problem.type.moves;
  job->testMoveFilter = command == CmdTestMove ? board_->testMoveOrigin() : 0;
  board_->ClearTestMoveOrigin();
  solver_->solutionStale = state_.solutionStale;
  board_->SetLocked(true);
  solutionPane_->setReadOnly(true);
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  runner_->Start(std::move(job), *solver_);
  UpdateCommandStates();
}

void MainWindow::OnSolveFinished() {
  QGuiApplication::restoreOverrideCursor();
  SetSolutionPaneText(runner_->paneText());
  state_.solutionStale = solver_->solutionStale;
  if (testingMove_) EndTestMove(state_.options, savedTestOptions_);
  testingMove_ = false;
  board_->SetLocked(false);
  solutionPane_->setReadOnly(false);
  RefreshProblemType();
  UpdateCommandStates();
  solutionPane_->setFocus(Qt::OtherFocusReason);
  emit solveFinished();
}

bool MainWindow::FindInSolution(const std::string& text) {
  const QString needle = Q(text);
  QTextDocument* document = solutionPane_->document();
  int from = solutionPane_->textCursor().selectionEnd();
  for (;;) {
    const QTextCursor found = document->find(needle, from, QTextDocument::FindCaseSensitively);
    if (!found.isNull() && !needle.isEmpty()) {
      solutionPane_->setTextCursor(found);
      solutionPane_->ensureCursorVisible();
      solutionPane_->setFocus(Qt::OtherFocusReason);
      return true;
    }
    if (Message(msg::TextNotFoundRestart, text, MbYesNoCancel | MbIconQuestion) != IdYes)
      return false;
    QTextCursor start(document);
    solutionPane_->setTextCursor(start);
    from = 0;
    if (needle.isEmpty()) return false;
  }
}

void MainWindow::FindNext() {
  if (state_.findText.empty()) {
    Dispatch(CmdFindInText);
    return;
  }
  FindInSolution(state_.findText);
}

void MainWindow::SelectLanguageCommand(int command) {
  std::string path;
  int id = command;
  if (command == CmdLanguageOther) {
    if (!ChooseFileName(path, ChooseLanguageFile)) id = CmdLanguageFirst + 1;
  }
  UiCallbacks ui;
  ui.messageBox = [this](const std::string& text, const std::string& caption, int style) {
    return prompts_.messageBox ? prompts_.messageBox(Q(text), Q(caption), style) : IdOk;
  };
  state_.language = SelectLanguage((id - CmdLanguageFirst) * 256, path, ui);
  if (state_.language.base == LanguageCustom) state_.customMenu = path;
  RebuildMenus();
  ApplyLanguageTexts();
  RefreshInformation();
  RefreshProblemType();
}

// ---- Closing and events.

void MainWindow::closeEvent(QCloseEvent* event) {
  if (solving()) runner_->BreakAndWait();
  if (AskToSave() == IdCancel) {
    event->ignore();
    return;
  }
  if (onClose) onClose();
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == positionBox_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    int command = 0;
    if (key->key() == Qt::Key_Home) command = CmdFirst;
    if (key->key() == Qt::Key_End) command = CmdLast;
    if (key->key() == Qt::Key_Up || (keypad && key->key() == Qt::Key_Plus)) command = CmdNext;
    if (key->key() == Qt::Key_Down || (keypad && key->key() == Qt::Key_Minus))
      command = CmdPrevious;
    if (command != 0) {
      Dispatch(command);
      return true;
    }
    return false;
  }
  if (watched == statusParts_[2] && event->type() == QEvent::MouseButtonPress) {
    Dispatch(CmdSolvingOptions);
    return true;
  }
  // The accelerators reach the window whatever child has the focus: a text
  // field may not keep Ctrl+A or Ctrl+F for itself.
  if (event->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget() == nullptr &&
      QApplication::activeModalWidget() == nullptr) {
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (widget != nullptr && widget->window() == this) {
      for (const Accelerator& a : Accelerators) {
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == a.key && mods == Qt::KeyboardModifiers(a.modifier)) {
          event->ignore();
          return true;
        }
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Files, printing and display options.

bool MainWindow::ChooseFileName(std::string& name, int kind) {
  if (prompts_.chooseFile) return prompts_.chooseFile(state_.language, name, kind);
  // Recorders without a file choice answer through the plain prompts, asked
  // with the kind's title and filters.
  const FileChoiceKind choice = FileChoiceOf(kind);
  const QString title =
      choice.titleMessage != DefaultTitle ? MessageText(choice.titleMessage) : MenuText(CmdOpen);
  const QString filter = QString::fromStdString(NameFilterText(choice));
  const auto& ask = choice.save ? prompts_.saveFileName : prompts_.openFileName;
  const QString chosen = ask ? ask(title, filter) : QString();
  if (chosen.isEmpty()) return false;
  name = WithDefaultExtension(chosen.toStdString(), choice.defaultExtension);
  return true;
}

QPrinter& MainWindow::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool MainWindow::MakeDocument(print::DocumentKind kind, print::PrintDocument& document) {
  // Printing from the problem list prints the entries selected there.
  std::vector<ProblemListEntry> selection;
  if (auto* list = qobject_cast<ProblemListDialog*>(QApplication::activeModalWidget()))
    selection = SelectedEntries(state_.problemList, list->SelectedEntries());
  const FileResult result =
      MakePrintDocument(state_, kind, SolutionPaneText(), selection, document);
  if (!result) ReportResult(result, state_.collection.currentFileName);
  return static_cast<bool>(result);
}

void MainWindow::PrintCommand(print::DocumentKind kind) {
  printKind_ = kind;
  print::PrintDocument document;
  if (!MakeDocument(kind, document)) return;
  // From the problem list, the print dialog comes over the list.
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* owner = modal != nullptr ? modal : static_cast<QWidget*>(this);
  if (print::PrintWithDialog(document, Printer(), owner, lastPageCount_) ==
      print::PrintOutcome::Failed) {
    Message(msg::UnableToPrint, "", MbIconExclamation);
  }
  StatusText(4, QString());
}

void MainWindow::PreviewCommand(print::DocumentKind kind) {
  printKind_ = kind;
  print::PrintDocument document;
  if (!MakeDocument(kind, document)) return;
  const int result =
      print::RunPrintPreview(document, Printer(), zoomMemory_, this, &state_.language);
  if (result == print::PreviewPrintSetup) {
    PrintOptionsCommand();
  } else if (result == print::PreviewPrint) {
    PrintCommand(kind);
  } else {
    AfterCommandRefresh(true);
  }
}

void MainWindow::PrintOptionsCommand() {
  print::PrintOptionsDialog dialog(state_.output, Printer(), this);
  dialog.onHelp = [](int context) { ShowHelp(context); };
  dialog.Translate(state_.language, MenuText(CmdPrintOptions));
  dialog.ShowPageOf(printKind_);
  const int result = dialog.exec();
  if (result != QDialog::Accepted && result != print::OptionsOpenPreview) return;
  state_.output = dialog.Settings();
  if (result == print::OptionsOpenPreview) PreviewCommand(dialog.previewKind());
}

void MainWindow::DisplayOptionsCommand() {
  RunDisplayOptionsDialog(this, state_.output, state_.paneFont, state_.language,
                          MenuText(CmdDisplayOptions), [this](const DisplayEffects& effects) {
                            if (effects.board) {
                              ApplyBoardSettings();
                              board_->update();
                              box_->update();
                            }
                            if (effects.font) ApplyPaneFont();
                            if (effects.clearSolution) solutionPane_->clear();
                            update();
                          });
}

}  // namespace kv::app
