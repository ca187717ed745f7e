// The duplicate information dialog: which fields to write into every
// selected problem, their texts and the start of the numbering.
#pragma once

#include <QDialog>
#include <array>

#include "collections/duplicate_information.h"
#include "strings/language.h"

class QCheckBox;
class QLineEdit;

namespace kv::app {

class UpDownBox;

class DuplicateInfoDialog : public QDialog {
  Q_OBJECT
 public:
  explicit DuplicateInfoDialog(const Language& language, QWidget* parent = nullptr);

  // What OK took: the ticked fields, their texts (Windows-1252, at most
  // 127 characters) and the start number.
  DuplicateInformation Information() const;

  QCheckBox* box(int field) const { return boxes_[field]; }
  QLineEdit* text(int field) const { return texts_[field]; }
  UpDownBox* startNumber() const { return start_; }

 private:
  std::array<QCheckBox*, DuplicatedFieldCount> boxes_{};
  std::array<QLineEdit*, DuplicatedFieldCount> texts_{};
  UpDownBox* start_ = nullptr;
};

}  // namespace kv::app
