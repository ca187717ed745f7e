// The organise dialog: insert blank records at the current one, delete
// records from it, or compact the file. It only answers; the caller runs
// the answer (ApplyOrganiseAnswer) and reloads the current record.
#pragma once

#include <QDialog>
#include <string>

#include "app/app_state.h"
#include "collections/collection_dialogs.h"
#include "strings/language.h"

class QRadioButton;

namespace kv::app {

class UpDownBox;

inline constexpr int HelpContextOrganise = 109;

class OrganizeDialog : public QDialog {
  Q_OBJECT
 public:
  OrganizeDialog(const CollectionState& state, const Language& language,
                 const std::string& startFolder, QWidget* parent = nullptr);

  // +count (insert), -count (delete), OrganiseCompact or OrganiseCancel.
  int answer() const { return answer_; }

  QRadioButton* insertButton() const { return insert_; }
  QRadioButton* deleteButton() const { return delete_; }
  UpDownBox* insertCount() const { return insertCount_; }
  UpDownBox* deleteCount() const { return deleteCount_; }

  void accept() override;
  void reject() override;

 private:
  int answer_ = OrganiseCancel;
  QRadioButton* insert_ = nullptr;
  QRadioButton* delete_ = nullptr;
  UpDownBox* insertCount_ = nullptr;
  UpDownBox* deleteCount_ = nullptr;
};

// The organise dialog on the current file of `state`, and its answer run
// with the wait cursor: returns the answer (OrganiseCancel when nothing was
// done) and puts how the work went into result. An insertion or deletion
// empties the problem list, whose record numbers it would shift.
int RunOrganizeDialog(QWidget* parent, AppState& state, FileResult& result,
                      const QString& title = {});

}  // namespace kv::app
