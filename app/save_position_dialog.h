// The save dialog: the number at which the current problem goes into the
// current file (an existing number overwrites, the one past the end appends).
#pragma once

#include <QDialog>
#include <string>

#include "app/app_state.h"
#include "collections/collection_dialogs.h"
#include "strings/language.h"

class QLabel;

namespace kv::app {

class UpDownBox;

inline constexpr int HelpContextSave = 104;

class SavePositionDialog : public QDialog {
  Q_OBJECT
 public:
  // Opens (or creates) the file of `state`; openResult() tells whether that
  // worked: a dialog whose file failed must not be shown.
  SavePositionDialog(CollectionState& state, CurrentProblem& problem, const Board& board,
                     const Language& language, const std::string& startFolder,
                     QWidget* parent = nullptr);

  const FileResult& openResult() const { return openResult_; }
  // How the save went after OK.
  const FileResult& saveResult() const { return saveResult_; }
  UpDownBox* numberBox() const { return number_; }
  QLabel* sizeLabel() const { return size_; }

  // OK saves at the number typed, or stays open when it is out of range.
  void accept() override;
  // Cancel is refused while the file holds no record.
  void reject() override;

 private:
  CollectionState& state_;
  CurrentProblem& problem_;
  const Board& board_;
  SaveDialog dialog_;
  FileResult openResult_;
  FileResult saveResult_;
  UpDownBox* number_ = nullptr;
  QLabel* size_ = nullptr;
};

// The save dialog on the current file of `state`: the failure to open the
// file or to save, else success (also after Cancel).
// title: the text of the menu item that opened it (the French design title
// when empty).
FileResult RunSavePositionDialog(QWidget* parent, AppState& state, const QString& title = {});

}  // namespace kv::app
