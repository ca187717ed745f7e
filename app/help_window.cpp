#include "app/help_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kv::app {

std::string_view HelpPageOf(int context) {
  for (const HelpTopic& topic : HelpTopics)
    if (topic.context == context) return topic.page;
  // The recent files share one page.
  if (context > 1000 && context <= 1003) return HelpPageOf(1000);
  return HelpPageOf(HelpIndexContext);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Kestrovale Help"));
  browser_ = new QTextBrowser(this);
  browser_->setSearchPaths({QStringLiteral(":/help")});
  browser_->setOpenExternalLinks(true);
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, this, [this] { ShowContext(HelpIndexContext); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addLayout(buttons);
  resize(560, 520);
}

void HelpWindow::ShowContext(int context) {
  const std::string_view page = HelpPageOf(context);
  browser_->setSource(QUrl(QStringLiteral("qrc:/help/") +
                           QString::fromLatin1(page.data(), static_cast<int>(page.size()))));
}

HelpWindow* OpenHelp(int context, QWidget* owner) {
  static QPointer<HelpWindow> window;
  if (window == nullptr) {
    window = new HelpWindow(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->ShowContext(context);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

bool MenuHelpFilter::eventFilter(QObject* watched, QEvent* event) {
  const bool f1 =
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
  if (f1 && qobject_cast<QMenu*>(watched) != nullptr && event->type() == QEvent::ShortcutOverride) {
    // Over an open menu F1 is the menu's, not the "Help Index" key.
    event->accept();
    return true;
  }
  if (f1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      const QAction* item = menu->activeAction();
      const int id = item != nullptr ? item->data().toInt() : 0;
      // Items without a command (sub-menus) lead to the index.
      // The menus close first: they hold the input while they are open.
      for (QWidget* open = menu; qobject_cast<QMenu*>(open) != nullptr; open = open->parentWidget())
        open->close();
      OpenHelp(id >= 100 ? id : HelpIndexContext, owner_);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kv::app
