#include "app_fixture.h"

#include "app/board_editing.h"
#include "collections/problem_file.h"
#include "core/fen.h"

namespace kv::app::test {

Prompts RecordingPrompts(PromptLog& log) {
  Prompts p;
  p.messageBox = [&log](const QString& text, const QString&, int style) {
    log.messages << text;
    if ((style & 0x0F) != MbYesNoCancel) return IdOk;
    if (log.answers.empty()) return IdCancel;
    const int answer = log.answers.front();
    log.answers.pop_front();
    return answer;
  };
  p.openFileName = [&log](const QString&, const QString&) { return log.openName; };
  p.saveFileName = [&log](const QString&, const QString&) { return log.saveName; };
  p.unhandledCommand = [&log](const QString& title) { log.unhandled << title; };
  p.chooseMove = [](const QString&, const QStringList&) { return 0; };
  return p;
}

Fixture::Fixture() {
  window = std::make_unique<MainWindow>(*state, RecordingPrompts(log));
}

Board BoardFromFen(const std::string& fen) {
  Board board = EmptyBoard();
  std::string error;
  ParseFenBoard(fen, board, &error);
  return board;
}

std::string MakeCollection(const QTemporaryDir& dir, const std::vector<std::string>& fens,
                           const std::string& name) {
  std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
  for (std::size_t i = 0; i < fens.size(); ++i) {
    CollectionState state{path, 0, -1};
    CurrentProblem problem;
    problem.authors = "Author " + std::to_string(i + 1);
    problem.type.moves = 2;
    const Board board = BoardFromFen(fens[i]);
    // A fixture that could not write its collection would let the tests
    // pass over an empty file: stop at once instead.
    if (!AppendProblem(state, problem, board))
      qFatal("cannot write the test collection %s", path.c_str());
  }
  return path;
}

}  // namespace kv::app::test
