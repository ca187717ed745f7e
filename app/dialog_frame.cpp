#include "app/dialog_frame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

#include "app/help_window.h"
#include "strings/dialog_translation.h"
#include "strings/encoding.h"

namespace kv::app {
namespace {

std::function<void(int)>& HelpHandler() {
  static std::function<void(int)> handler;
  return handler;
}

QString IdName(int id) {
  return QStringLiteral("id%1").arg(id);
}

}  // namespace

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

QString MessageQ(const Language& language, int n) {
  return FromCp1252(MessageView(language, n));
}

void SetControlId(QWidget* control, int id) {
  control->setObjectName(IdName(id));
}

QWidget* ControlById(const QWidget* dialog, int id) {
  return dialog->findChild<QWidget*>(IdName(id));
}

void SetControlText(QWidget* control, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  }
}

QString WidgetText(const QWidget* control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  return {};
}

QDialogButtonBox* StandardButtons(QDialog* dialog, const Language& language, int helpContext) {
  auto* box = new QDialogButtonBox(dialog);
  QStyle* style = dialog->style();
  auto add = [&](int id, QDialogButtonBox::ButtonRole role, QStyle::StandardPixmap icon) {
    QPushButton* button = box->addButton(FromCp1252(ButtonText(language, id)), role);
    button->setIcon(style->standardIcon(icon));
    SetControlId(button, id);
    return button;
  };
  QPushButton* ok = add(1, QDialogButtonBox::AcceptRole, QStyle::SP_DialogOkButton);
  ok->setDefault(true);
  add(2, QDialogButtonBox::RejectRole, QStyle::SP_DialogCancelButton);
  if (helpContext != 0) {
    QPushButton* help = add(3, QDialogButtonBox::HelpRole, QStyle::SP_DialogHelpButton);
    help->setAutoDefault(false);
    QObject::connect(help, &QPushButton::clicked, dialog, [helpContext] { ShowHelp(helpContext); });
  }
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

void SetHelpHandler(std::function<void(int context)> handler) {
  HelpHandler() = std::move(handler);
}

void ShowHelp(int context) {
  if (HelpHandler()) {
    HelpHandler()(context);
  } else {
    OpenHelp(context, QApplication::activeWindow());
  }
}

void TranslateOnOpening(QDialog* dialog, const Language& language, int tableIndex,
                        const QString& title) {
  if (!title.isEmpty()) dialog->setWindowTitle(title);
  for (const kv::ControlText& pair : TranslateDialog(language, tableIndex)) {
    if (QWidget* control = ControlById(dialog, pair.control)) {
      SetControlText(control, FromCp1252(pair.text));
    }
  }
}

QSpinBox* AttachUpDown(QWidget* parent, int upDownId, int editId, int value, int minimum,
                       int maximum) {
  auto* spin = new QSpinBox(parent);
  SetControlId(spin, editId);
  spin->setProperty("upDownId", upDownId != 0 ? upDownId : editId + 1000);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

}  // namespace kv::app
