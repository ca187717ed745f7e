// The program's help: its own pages (resources/help, built into the
// program) shown in a help window at the page of a context number. F1 and
// "Help Index" open the index; F1 on a highlighted menu item and the Help
// buttons of the dialogs open the page of their context.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <array>
#include <string_view>

class QTextBrowser;

namespace kv::app {

// The index page.
inline constexpr int HelpIndexContext = 0;

// One context number and the page (and anchor) that explains it.
struct HelpTopic {
  int context;
  std::string_view page;
};

// Menu command ids (100 and more) and the dialogs' own context numbers.
inline constexpr std::array<HelpTopic, 46> HelpTopics = {{
    {HelpIndexContext, "index.html"},
    {10, "index.html#about"},
    {100, "collections.html#close"},
    {101, "collections.html#open"},
    {102, "collections.html#open"},
    {103, "collections.html#save"},
    {104, "collections.html#save"},
    {105, "printing.html#print"},
    {106, "index.html#quit"},
    {107, "search.html#criteria"},
    {108, "search.html#list"},
    {109, "collections.html#organize"},
    {110, "search.html#list"},
    {111, "collections.html#add"},
    {112, "position.html#information"},
    {113, "position.html#type"},
    {114, "collections.html#visualizer"},
    {116, "position.html#board"},
    {117, "position.html#effects"},
    {118, "position.html#clear"},
    {119, "position.html#clear"},
    {121, "solving.html#solve"},
    {122, "solving.html#solve"},
    {123, "solving.html#test"},
    {124, "solving.html#options"},
    {125, "solving.html#text"},
    {126, "solving.html#text"},
    {127, "solving.html#find"},
    {128, "solving.html#find"},
    {130, "index.html"},
    {131, "index.html#about"},
    {132, "printing.html#options"},
    {133, "position.html#display"},
    {134, "search.html#biographical"},
    {135, "printing.html#preview"},
    {136, "position.html#forsyth"},
    {137, "position.html#twins"},
    {138, "position.html#information"},
    {139, "printing.html#print"},
    {140, "printing.html#print"},
    {146, "solving.html#options"},
    {174, "solving.html#test"},
    {199, "search.html#duplicates"},
    {1000, "collections.html#recent"},
    {2000, "printing.html#preview"},
    {2001, "printing.html#preview"},
}};

// The page of a context number; the index for a number without one.
std::string_view HelpPageOf(int context);

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the page of the context, scrolled to its anchor.
  void ShowContext(int context);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// The program's one help window, made at first use as a window of `owner`
// (so that it closes with the main window): shown, raised and turned to the
// page of the context.
HelpWindow* OpenHelp(int context, QWidget* owner = nullptr);

// F1 on an open menu opens the page of its highlighted item. Installed on
// the application, so that it serves every menu whatever language built it.
class MenuHelpFilter : public QObject {
  Q_OBJECT
 public:
  // owner: the window the help window belongs to.
  explicit MenuHelpFilter(QWidget* owner) : QObject(owner), owner_(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* owner_;
};

}  // namespace kv::app
