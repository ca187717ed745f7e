#include "app/startup.h"

#include <QDir>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>

#include "app/commands.h"
#include "app/main_window.h"
#include "config/ini_location.h"
#include "strings/custom_language.h"
#include "strings/encoding.h"

namespace kv::app {

void ApplySettings(const Settings& settings, AppState& state) {
  state.recentFiles = settings.recentFiles;
  for (int i = 0; i < StoredOptionCount; ++i) state.options[i] = settings.options[i];
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
  for (int i = 0; i < StoredOptionCount; ++i) settings.options[i] = state.options[i];
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

int RunProgram(QApplication& application) {
  const std::string iniPath = IniFilePath();
  auto state = std::make_unique<AppState>();
  std::string message;
  WindowRect rect = LoadConfiguration(iniPath, *state, &message);
  state->startDirectory = QDir::currentPath().toStdString() + "/";

  MainWindow window(*state, DefaultPrompts(nullptr));
  if (!message.empty())
    QMessageBox::warning(nullptr, QStringLiteral("Kestrovale"),
                         QString::fromStdString(Cp1252ToUtf8(message)));

  // The stored rectangle is the outer one, frame included.
  window.move(rect.left, rect.top);
  window.resize(rect.right - rect.left, rect.bottom - rect.top);
  window.show();
  const QSize frame = window.frameGeometry().size() - window.size();
  if (frame.isValid() && !frame.isEmpty())
    window.resize(rect.right - rect.left - frame.width(), rect.bottom - rect.top - frame.height());

  bool closed = false;
  window.onClose = [&] {
    closed = true;
    const QRect outer = window.frameGeometry();
    rect = WindowRect{outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1};
  };
  // A log-off asks about a changed problem, and writes no configuration.
  bool loggingOff = false;
  QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                   [&](QSessionManager& manager) {
                     if (window.AskToSave() == IdCancel && manager.allowsInteraction())
                       manager.cancel();
                     else
                       loggingOff = true;
                   });

  const QStringList arguments = QCoreApplication::arguments();
  const QString commandLine = arguments.mid(1).join(QLatin1Char(' '));
  if (!commandLine.isEmpty()) {
    state->collection.currentFileName = commandLine.toStdString();
    window.Dispatch(CmdStartFile, Qt::NoModifier);
  } else if (!state->recentFiles[0].empty()) {
    window.Dispatch(CmdRecentFirst, Qt::NoModifier);
  }

  // KESTROVALE_SCREENSHOT=file.png: the window as started, saved as an image
  // once it has painted (for the documentation), then the program ends
  // without writing its configuration.
  const QString screenshot = qEnvironmentVariable("KESTROVALE_SCREENSHOT");
  if (!screenshot.isEmpty()) {
    auto grab = [&] {
      window.grab().save(screenshot);
      application.exit(0);
    };
    // With a problem shown, its solution is in the picture too.
    QObject::connect(&window, &MainWindow::solveFinished, &window,
                     [&] { QTimer::singleShot(200, &window, grab); });
    QTimer::singleShot(300, &window, [&] {
      if (state->fileOpen)
        window.Dispatch(CmdSearchSolution, Qt::NoModifier);
      else
        grab();
    });
    return application.exec();
  }

  const int code = application.exec();
  if (!closed || loggingOff) return code;
  // The most recent file reopens at the problem shown last.
  if (state->fileOpen && state->recentFiles[0].find(" n\xB0") != std::string::npos)
    SetRecentNumber(state->recentFiles[0], state->collection.currentIndex + 1);
  if (!SaveConfiguration(iniPath, *state, rect, &message))
    QMessageBox::warning(nullptr, QStringLiteral("Kestrovale"),
                         QString::fromStdString(Cp1252ToUtf8(message)));
  return code;
}

}  // namespace kv::app
