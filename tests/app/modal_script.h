// Answers the modal dialogs that a command opens, from inside their own
// event loops, for the GUI tests.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace kv::app::test {

// Answers the modal dialogs that open next, in order, each from inside its
// own event loop: every step waits until a dialog of its type is the active
// modal one. A step that never sees its dialog fails the test.
class ModalScript {
 public:
  template <class T>
  ModalScript& then(std::function<void(T*)> act) {
    steps_.push_back([act](QWidget* w) {
      auto* dialog = dynamic_cast<T*>(w);
      if (dialog == nullptr) return false;
      act(dialog);
      return true;
    });
    return *this;
  }
  void start() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (steps_.empty()) return timer_.stop();
      if (++ticks_ > 500) {
        timer_.stop();
        missed_ = true;
        if (QWidget* w = ModalWidget()) w->close();
        return;
      }
      QWidget* modal = ModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      if (steps_.front()(modal)) {
        steps_.pop_front();
        ticks_ = 0;
      }
    });
    timer_.start();
  }
  bool done() const { return steps_.empty() && !missed_; }

  // The active modal widget; under load a modal dialog can be shown before
  // it becomes the active one, so a visible modal top-level widget counts.
  static QWidget* ModalWidget() {
    if (QWidget* active = QApplication::activeModalWidget()) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->isModal()) return w;
    return nullptr;
  }

 private:
  std::deque<std::function<bool(QWidget*)>> steps_;
  QTimer timer_;
  int ticks_ = 0;
  bool missed_ = false;
};

}  // namespace kv::app::test
