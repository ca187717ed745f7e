#include "app/choose_file.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/choose_file_logic.h"
#include "app/design_text.h"

namespace kv::app {

QFileDialog* MakeFileDialog(QWidget* owner, const Language& language, int kind,
                            const std::string& name) {
  const FileChoiceKind choice = FileChoiceOf(kind);
  auto* dialog = new QFileDialog(owner);
  dialog->setObjectName(QStringLiteral("ChooseFile"));
  if (choice.titleMessage != DefaultTitle) {
    dialog->setWindowTitle(FromCp1252(MessageView(language, choice.titleMessage)));
  }
  dialog->setNameFilter(QString::fromStdString(NameFilterText(choice)));
  if (!choice.defaultExtension.empty()) {
    dialog->setDefaultSuffix(QString::fromUtf8(choice.defaultExtension.data(),
                                               static_cast<int>(choice.defaultExtension.size())));
  }
  if (choice.save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setOption(QFileDialog::ReadOnly, false);
  }
  if (!name.empty()) {
    const QFileInfo start(QString::fromStdString(name));
    if (start.isDir()) {
      dialog->setDirectory(start.absoluteFilePath());
    } else {
      dialog->setDirectory(start.absolutePath());
      dialog->selectFile(start.fileName());
    }
  }
  return dialog;
}

bool ChooseFile(QWidget* owner, const Language& language, std::string& name, int kind) {
  QFileDialog* dialog = MakeFileDialog(owner, language, kind, name);
  const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
  if (chosen) {
    const FileChoiceKind choice = FileChoiceOf(kind);
    name = WithDefaultExtension(dialog->selectedFiles().first().toStdString(),
                                choice.defaultExtension);
  }
  delete dialog;
  return chosen;
}

}  // namespace kv::app
