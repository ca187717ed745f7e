#include "app/about_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "strings/dialog_translation.h"

namespace kv::app {

AboutDialog::AboutDialog(const Language& language, const QString& title, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  // A knight from the chess symbols of the board's font stands for the
  // program's emblem.
  auto* icon = new QLabel(QString(QChar(0x2658)), this);
  QFont emblem(QStringLiteral("DejaVu Sans"));
  emblem.setPixelSize(56);
  icon->setFont(emblem);
  auto* name = new QLabel(QStringLiteral("Kestrovale"), this);
  SetControlId(name, 101);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  name->setFont(big);
  auto* version = new QLabel(QString::fromLatin1(AboutVersionText), this);
  SetControlId(version, 102);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(StandardButtons(this, language, AboutHelpContext));
  TranslateOnOpening(this, language, DialogAbout, title);
}

int RunAboutDialog(QWidget* parent, const Language& language, const QString& title) {
  AboutDialog dialog(language, title, parent);
  dialog.adjustSize();
  // Centred on the screen rather than over the window.
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
  }
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace kv::app
