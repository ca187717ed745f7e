// The information dialog: the authors as a list with an entry field, the
// source, the award with its ordinal, and the comment; "&>>" opens the
// additional-information dialog on the five extra strings. Both store into
// the problem only on OK.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "app/information_logic.h"
#include "collections/author_list.h"
#include "collections/current_problem.h"
#include "strings/language.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace kv::app {

class AdditionalInformationDialog : public QDialog {
  Q_OBJECT
 public:
  AdditionalInformationDialog(const std::array<std::string, ExtraStringCount>& extra,
                              const AuthorAndSourceLists& lists, const Language& language,
                              const QString& title, QWidget* parent = nullptr);
  // The five texts as typed (Windows-1252).
  std::array<std::string, ExtraStringCount> Texts() const;

 private:
  std::array<QComboBox*, ExtraStringCount> fields_{};
};

// Opens the additional-information dialog on the problem; true on OK, with
// the extra strings stored.
bool RunAdditionalInformationDialog(QWidget* parent, const Language& language, const QString& title,
                                    const AuthorAndSourceLists& lists, CurrentProblem& problem);

class InformationDialog : public QDialog {
  Q_OBJECT
 public:
  InformationDialog(const CurrentProblem& problem, const AuthorAndSourceLists& lists,
                    const Language& language, const QString& title, QWidget* parent = nullptr);

  // OK's work: the fields and the extra strings into the problem.
  void Store(CurrentProblem& problem) const;
  // Where "&Information" writes the author's dates (the status bar).
  std::function<void(const QString&)> statusText;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Add();
  void Remove();
  void EditLine();
  void Information();
  void MoreInformation();
  void ShowLines();
  void TakeSelection();

  const AuthorAndSourceLists& lists_;
  const Language& language_;
  InformationFields fields_;
  std::array<std::string, ExtraStringCount> extra_;
  bool entryPending_ = false;
  QListWidget* authors_ = nullptr;
  QComboBox* entry_ = nullptr;
  QComboBox* source_ = nullptr;
  QSpinBox* ordinal_ = nullptr;
  QComboBox* award_ = nullptr;
  QLineEdit* comment_ = nullptr;
};

// Opens the information dialog; true on OK, with the problem's texts stored.
bool RunInformationDialog(QWidget* parent, const Language& language, const QString& title,
                          const AuthorAndSourceLists& lists, CurrentProblem& problem,
                          std::function<void(const QString&)> statusText = {});

}  // namespace kv::app
