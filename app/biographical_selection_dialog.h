// The biographical selection: which authors of the author list were born,
// died or lived where the user asks. OK shows the authors kept and leaves the
// dialog open, so that one selection can follow another; with "&Update
// current author list" ticked the information dialogs then offer only the
// authors kept. The decisions are those of collections/biographical_filter.h.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "collections/author_list.h"
#include "collections/biographical_filter.h"
#include "strings/language.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kv::app {

inline constexpr int HelpContextBiographical = 134;
// A year field holds a year of at most four digits; 0 or empty is "not set".
inline constexpr int MaxYearFieldValue = 9999;

class BiographicalSelectionDialog : public QDialog {
  Q_OBJECT
 public:
  // `selection` gives the fields on opening and takes them on each OK;
  // `lists` holds the authors filtered (and marked) and the countries offered.
  BiographicalSelectionDialog(BiographicalSelection& selection, AuthorAndSourceLists& lists,
                              const Language& language, const QString& title,
                              QWidget* parent = nullptr);

  // "&List...": asks for another author list and reads it into the lists;
  // true when it did. The dialog then offers the new countries.
  std::function<bool(QWidget* owner)> chooseAuthorList;

  QLineEdit* bornFrom() const { return years_[0]; }
  QLineEdit* bornTo() const { return years_[1]; }
  QLineEdit* diedFrom() const { return years_[2]; }
  QLineEdit* diedTo() const { return years_[3]; }
  QComboBox* country() const { return country_; }
  QPlainTextEdit* result() const { return result_; }
  QLabel* total() const { return total_; }
  QCheckBox* updateList() const { return update_; }
  QPushButton* initializeButton() const { return initialize_; }
  QPushButton* listButton() const { return list_; }

  // The fields as they stand, read as the selection reads them.
  BiographicalSelection Fields() const;

  void accept() override;  // applies the selection; the dialog stays open

 private:
  void ShowFields(const BiographicalSelection& fields);
  void FillCountries();

  BiographicalSelection& selection_;
  AuthorAndSourceLists& lists_;
  QLineEdit* years_[4] = {};
  QComboBox* country_ = nullptr;
  QPlainTextEdit* result_ = nullptr;
  QLabel* total_ = nullptr;
  QCheckBox* update_ = nullptr;
  QPushButton* initialize_ = nullptr;
  QPushButton* list_ = nullptr;
};

// Names `path` as the author list: remembered in the state and in the
// configuration key "ListeAuteurs" at once, and the lists read again from it.
// The configuration is the file at `iniPath`; false when it could not be
// written (the list is read all the same).
bool ChangeAuthorList(AppState& state, const std::string& path, const std::string& iniPath);

// The dialog over the state's lists and kept selection; "&List..." asks for
// the file with the author-list file choice.
void RunBiographicalSelectionDialog(QWidget* parent, AppState& state, const QString& title,
                                    const std::function<void()>& listsReloaded = {});

}  // namespace kv::app
