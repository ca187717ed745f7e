// The about box: the program's name and version, OK, Cancel and Help.
#pragma once

#include <QDialog>

#include "strings/language.h"

namespace kv::app {

// The version line the box shows.
inline constexpr const char* AboutVersionText = "Version 2.20 32 bits";
inline constexpr int AboutHelpContext = 10;

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  // `title`: the text of the menu item that opened the box.
  AboutDialog(const Language& language, const QString& title, QWidget* parent = nullptr);
};

// Shows the box centred on the screen; 1 for OK, 0 for Cancel.
int RunAboutDialog(QWidget* parent, const Language& language, const QString& title);

}  // namespace kv::app
