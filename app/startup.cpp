#include "app/startup.h"

#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSessionManager>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include "app/commands.h"
#include "app/desktop_integration.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "config/ini_location.h"
#include "config/settings.h"
#include "strings/custom_language.h"
#include "strings/encoding.h"

namespace kv::app {

void ApplySettings(const Settings& settings, AppState& state) {
  state.recentFiles = settings.recentFiles;
  for (int i = 0; i < StoredOptionCount; ++i) state.options.values[i] = settings.options[i];
  state.output = settings.output;
  state.paneFont = settings.paneFont;
  state.searchMemory = settings.search;
  for (int n = 0; n < PositionByteCount; ++n) {
    const auto code = static_cast<PieceCode>(settings.position.squares[n]);
    state.pos.board[StoredSquare(n)] = code;
    state.problem.storedBoard[n] = static_cast<std::uint8_t>(code + PositionByteBias);
  }
  const auto& t = settings.position.type;
  state.problem.type = ProblemType{t[0], t[1], t[2], t[3], t[4]};
  state.problem.authors = settings.authors;
  state.problem.source = settings.source;
  state.problem.award = settings.award;
  state.problem.comment = settings.comment;
  state.problem.twins = settings.twins;
}

Settings CollectSettings(const AppState& state) {
  Settings settings;
  settings.recentFiles = state.recentFiles;
  for (int i = 0; i < StoredOptionCount; ++i) settings.options[i] = state.options.values[i];
  settings.output = state.output;
  settings.paneFont = state.paneFont;
  settings.search = state.searchMemory;
  for (int n = 0; n < PositionByteCount; ++n)
    settings.position.squares[n] = static_cast<std::uint8_t>(state.pos.board[StoredSquare(n)]);
  const ProblemType& t = state.problem.type;
  settings.position.type = {t.moves, t.kind, t.flags, t.spare, t.directLetterFlag};
  settings.authors = state.problem.authors;
  settings.source = state.problem.source;
  settings.award = state.problem.award;
  settings.comment = state.problem.comment;
  settings.twins = state.problem.twins;
  return settings;
}

WindowRect LoadConfiguration(const std::string& path, AppState& state, std::string* message) {
  IniDocument document;
  const IniReadResult read = ReadIniFile(path, document);
  if (message != nullptr) *message = IniReadMessage(path, read);
  state.problem.extraStrings = LoadExtraStrings(document);
  state.customMenu = LoadCustomMenu(document);
  UiCallbacks ui;
  state.language = SelectLanguage(LoadLanguageValue(document), state.customMenu, ui);
  Settings settings;
  LoadSettings(document, settings);
  ApplySettings(settings, state);
  state.authorListFile = LoadAuthorListFile(document);
  return LoadWindowPos(document);
}

bool SaveConfiguration(const std::string& path, const AppState& state, const WindowRect& rect,
                       std::string* message) {
  const Settings settings = CollectSettings(state);
  return UpdateIniFile(
      path,
      [&](IniDocument& document) {
        SaveWindowPos(document, rect);
        SaveSettings(document, settings);
        SaveLanguageValue(document, state.language.base);
        if (state.language.base == LanguageCustom) SaveCustomMenu(document, state.customMenu);
        SaveExtraStrings(document, state.problem.extraStrings);
      },
      message);
}

Session::Session(std::string iniPath, Prompts prompts)
    : iniPath_(std::move(iniPath)), state_(std::make_unique<AppState>()) {
  rect_ = LoadConfiguration(iniPath_, *state_, &readMessage_);
  state_->startDirectory = QDir::currentPath().toStdString() + "/";
  messageBox_ = prompts.messageBox;
  window_ = std::make_unique<MainWindow>(*state_, std::move(prompts));
  window_->onClose = [this] {
    closed_ = true;
    const QRect outer = window_->frameGeometry();
    rect_ = WindowRect{outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1};
  };
}

Session::~Session() = default;

namespace {

// Sizes a window so that its outer rectangle, frame included, is the one
// stored. A window manager decorates the window only after it is shown and
// tells its frame later still, so the fitting waits for the first event
// that comes with the frame known; without a window manager (no frame at
// all) the outer rectangle is the window's own and nothing changes.
class FrameFitter : public QObject {
 public:
  FrameFitter(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer) {
    window_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                               event->type() == QEvent::Show)) {
      Fit();
    }
    return false;
  }

 private:
  void Fit() {
    const QWindow* handle = window_->windowHandle();
    if (handle == nullptr) return;
    const QMargins frame = handle->frameMargins();
    if (frame.isNull()) return;
    window_->removeEventFilter(this);
    const QSize client(outer_.width() - frame.left() - frame.right(),
                       outer_.height() - frame.top() - frame.bottom());
    if (client != window_->size()) window_->resize(client.expandedTo(window_->minimumSize()));
    deleteLater();
  }

  QWidget* window_;
  QSize outer_;
};

}  // namespace

void Session::Start(const QString& commandLine) {
  MainWindow& window = *window_;
  // The stored rectangle is the outer one, frame included: the window is
  // placed by its frame's corner and, once the window manager has told the
  // frame, sized so that the frame ends at the stored right and bottom.
  // Closing writes the same outer rectangle, so a run that changes nothing
  // leaves the rectangle as it found it.
  const QSize outer(rect_.right - rect_.left, rect_.bottom - rect_.top);
  window.move(rect_.left, rect_.top);
  window.resize(outer);
  new FrameFitter(&window, outer);
  window.show();

  // A configuration that could not be read (a folder, a pipe, a file too
  // large) left the defaults in force: the user learns why before going on.
  // The path is the file system's, so the message is UTF-8.
  if (!readMessage_.empty() && messageBox_)
    messageBox_(QString::fromStdString(readMessage_), QStringLiteral("Kestrovale"),
                MbIconExclamation);

  if (!commandLine.isEmpty()) {
    state_->collection.currentFileName = commandLine.toStdString();
    window.Dispatch(CmdStartFile, Qt::NoModifier);
  } else if (!state_->recentFiles[0].empty()) {
    window.Dispatch(CmdRecentFirst, Qt::NoModifier);
  }
}

bool Session::Finish(std::string* message) {
  if (!closed_) return true;
  // The most recent file reopens at the problem shown last.
  if (state_->fileOpen && state_->recentFiles[0].find(" n\xB0") != std::string::npos)
    SetRecentNumber(state_->recentFiles[0], state_->collection.currentIndex + 1);
  return SaveConfiguration(iniPath_, *state_, rect_, message);
}

int RunProgram(QApplication& application) {
  const std::string iniPath = IniFilePath();
  const QString commandLine =
      HandOverFileName(QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')));
  // KESTROVALE_SCREENSHOT=file.png: the window as started (with the solution
  // of the problem shown, if any) saved as an image for the documentation;
  // the program then ends without writing its configuration, and it neither
  // hands its file over nor takes one.
  const QString screenshot = qEnvironmentVariable("KESTROVALE_SCREENSHOT");
  const QString serverName = InstanceServerName(iniPath);

  // A file for a program that runs already goes to it: its name through
  // "FileCmd", the request through the socket; this run then ends. When the
  // key cannot be written or nobody answers, this run opens the file itself.
  if (!commandLine.isEmpty() && screenshot.isEmpty()) {
    const bool written = UpdateIniFile(
        iniPath, [&](IniDocument& document) { SaveFileCmd(document, commandLine.toStdString()); });
    if (written && HandOverToRunningInstance(serverName)) return 0;
  }

  // The desktop's menu entry, icon and file type, when a run finds them
  // missing; a failure only means that the file manager does not know
  // collections, so it is not reported.
  if (screenshot.isEmpty())
    InstallDesktopIntegration(QCoreApplication::applicationFilePath(), UserDataHome(),
                              SystemDataDirs(), nullptr);

  Session session(iniPath, DefaultPrompts(nullptr));
  MainWindow& window = session.window();
  AppState& state = session.state();
  // A log-off asks about a changed problem, and writes no configuration.
  bool loggingOff = false;
  QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                   [&](QSessionManager& manager) {
                     if (window.AskToSave() == IdCancel && manager.allowsInteraction())
                       manager.cancel();
                     else
                       loggingOff = true;
                   });

  // Files handed over by later runs; one that arrives during a solve opens
  // when the solve ends.
  InstanceServer server([&] {
    window.raise();
    window.activateWindow();
    if (window.solving())
      QObject::connect(
          &window, &MainWindow::solveFinished, &window,
          [&] { window.Dispatch(CmdHandOver, Qt::NoModifier); }, Qt::SingleShotConnection);
    else
      window.Dispatch(CmdHandOver, Qt::NoModifier);
  });
  if (screenshot.isEmpty()) server.Listen(serverName);
  application.installEventFilter(new MenuHelpFilter(&window));

  session.Start(commandLine);

  if (!screenshot.isEmpty()) {
    // KESTROVALE_SCREENSHOT_PART=toolbar: the toolbar bands alone, all three
    // of them, instead of the whole window.
    const bool toolbarOnly = qEnvironmentVariable("KESTROVALE_SCREENSHOT_PART") == "toolbar";
    auto grab = [&] {
      if (toolbarOnly) {
        if (window.effectsBar()->isHidden()) window.Dispatch(CmdSpecialEffects, Qt::NoModifier);
        QApplication::processEvents();
        window.toolBands()->grab().save(screenshot);
        application.exit(0);
        return;
      }
      // The key and its variations at the top of the solution pane, as a
      // publication prints them.
      QPlainTextEdit* pane = window.solutionPane();
      const QTextBlock key = pane->document()->find(QStringLiteral("Solution")).block();
      if (key.isValid()) pane->verticalScrollBar()->setValue(key.blockNumber());
      window.grab().save(screenshot);
      application.exit(0);
    };
    QObject::connect(&window, &MainWindow::solveFinished, &window,
                     [&] { QTimer::singleShot(200, &window, grab); });
    QTimer::singleShot(300, &window, [&] {
      if (state.fileOpen)
        window.Dispatch(CmdSearchSolution, Qt::NoModifier);
      else
        grab();
    });
    return application.exec();
  }

  const int code = application.exec();
  if (loggingOff) return code;
  std::string message;
  if (!session.Finish(&message))
    QMessageBox::warning(MessageOwner(nullptr), QStringLiteral("Kestrovale"),
                         QString::fromStdString(Cp1252ToUtf8(message)));
  return code;
}

}  // namespace kv::app
