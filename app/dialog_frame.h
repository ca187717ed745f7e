// What every dialog of the program shares: controls named by their dialog
// ids, the standard buttons with their icons and the texts of the language,
// the translation of the French layout when the dialog opens, and the spin
// box that stands for an edit with its up-down control.
#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "strings/language.h"

class QAbstractButton;
class QDialog;
class QSpinBox;
class QWidget;

namespace kv::app {

QString FromCp1252(std::string_view text);
std::string ToCp1252(const QString& text);

// A message of the string table as a widget text.
QString MessageQ(const Language& language, int n);

// Controls keep the ids of the dialog as object names ("id140"), so that
// translation and tests find them.
void SetControlId(QWidget* control, int id);
QWidget* ControlById(const QWidget* dialog, int id);
template <class T>
T* Control(const QWidget* dialog, int id) {
  return qobject_cast<T*>(ControlById(dialog, id));
}
// The text of a label, button or group box, whichever the control is.
void SetControlText(QWidget* control, const QString& text);
QString WidgetText(const QWidget* control);

// OK (id 1), Cancel (id 2) and, when helpContext is not 0, Help (id 3),
// with the texts of the language and standard icons. OK is the default
// button (Enter) and Cancel answers Escape. Help calls the help handler.
QDialogButtonBox* StandardButtons(QDialog* dialog, const Language& language, int helpContext);

// Who shows a help page: the help window unless a handler is set (tests
// record the calls).
void SetHelpHandler(std::function<void(int context)> handler);
void ShowHelp(int context);

// Translation on opening: the title (when not empty), then the message of
// every (control, message) pair of the dialog's table, unless the language
// is French, in which the dialogs are laid out already.
void TranslateOnOpening(QDialog* dialog, const Language& language, int tableIndex,
                        const QString& title);

// An edit with its up-down control: a spin box with the range and value;
// id 0 gives the edit's id + 1000, as the up-down control would have.
QSpinBox* AttachUpDown(QWidget* parent, int upDownId, int editId, int value, int minimum,
                       int maximum);

}  // namespace kv::app
