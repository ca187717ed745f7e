#include "app/description_commands.h"

#include <QFile>
#include <QPlainTextEdit>
#include <filesystem>
#include <string>

#include "app/commands.h"
#include "app/forsyth_dialog.h"
#include "app/information_dialog.h"
#include "app/main_window.h"
#include "app/problem_type_dialog.h"
#include "app/solving_options_dialog.h"
#include "app/twins_dialog.h"
#include "collections/author_list.h"
#include "strings/encoding.h"
#include "strings/menu.h"

namespace kv::app {
namespace {

QString Title(const MainWindow& window, int command) {
  const MenuItem* item = FindMenuItem(window.menuData(), command);
  return item != nullptr ? QString::fromStdString(Cp1252ToUtf8(MenuTitle(item->text)))
                         : QStringLiteral("Kestrovale");
}

void InformationChanged(MainWindow& window) {
  window.state().problem.infoModified = true;
  window.RefreshInformation();
  window.RefreshProblemType();
}

}  // namespace

AuthorAndSourceLists& DialogLists(AppState& state) {
  if (!state.dialogListsLoaded || state.dialogListsFrom != state.authorListFile) {
    ReloadDialogLists(state);
  }
  return state.dialogLists;
}

void ReloadDialogLists(AppState& state) {
  const std::filesystem::path authors(state.authorListFile);
  const std::filesystem::path sources = authors.parent_path() / std::string(SourcesFileName);
  state.dialogLists = {};
  AuthorListStop stop;
  LoadAuthorAndSourceLists(authors.string(), sources.string(), state.dialogLists, &stop);
  std::error_code error;
  if (state.authorListFile == DefaultAuthorListFile && !std::filesystem::exists(authors, error)) {
    state.dialogLists.authors = ParseAuthorList(ShippedListText(DefaultAuthorListFile), &stop);
  }
  if (!std::filesystem::exists(sources, error)) {
    ParseSourcesFile(ShippedListText(SourcesFileName), state.dialogLists.sources,
                     state.dialogLists.countries);
  }
  state.dialogListsProblem = AuthorListStopMessage(Utf8ToCp1252(state.authorListFile), stop);
  state.dialogListsFrom = state.authorListFile;
  state.dialogListsLoaded = true;
}

std::string ShippedListText(std::string_view name) {
  QFile file(QStringLiteral(":/lists/") + QString::fromLatin1(name.data(), name.size()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool RunDescriptionCommand(MainWindow& window, int command) {
  AppState& state = window.state();
  CurrentProblem& problem = state.problem;
  switch (command) {
    case CmdInformation:
      if (RunInformationDialog(&window, state.language, Title(window, command), DialogLists(state),
                               problem,
                               [&window](const QString& text) { window.StatusText(4, text); })) {
        InformationChanged(window);
      }
      return true;
    case CmdAdditionalInfo:
      if (RunAdditionalInformationDialog(&window, state.language, Title(window, command),
                                         DialogLists(state), problem)) {
        InformationChanged(window);
      }
      return true;
    case CmdProblemType:
      if (RunProblemTypeDialog(&window, state.language, Title(window, command), TypeModeProblem,
                               problem.type)) {
        InformationChanged(window);
      }
      return true;
    case CmdSolvingOptions:
      if (RunSolvingOptionsDialog(&window, state.language, Title(window, command), state.options,
                                  problem.type.kind, OptionGroup::Play, state.solutionStale)) {
        window.Dispatch(CmdRefreshSolution);
      }
      window.RefreshProblemType();
      return true;
    case CmdCopyBoard:
      RunForsythDialog(&window, state.language, Title(window, command), state.pos.board,
                       state.output[OutputDiagramBorder], [&window] {
                         window.board()->update();
                         window.RefreshMenCount();
                       });
      return true;
    case CmdTwins:
      if (RunTwinsDialog(&window, state.language, Title(window, command), state.pos.board,
                         problem.twins)) {
        InformationChanged(window);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace kv::app
