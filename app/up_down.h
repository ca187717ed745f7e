// Up-down controls: an edit with its arrows, as a spin box whose arrows may
// stop below the largest value that can be typed.
#pragma once

#include <QSpinBox>

namespace kv::app {

class UpDownBox : public QSpinBox {
 public:
  // Typed values run over minimum .. typedMaximum, the arrows over
  // minimum .. arrowMaximum.
  UpDownBox(int control, int value, int minimum, int arrowMaximum, int typedMaximum,
            QWidget* parent = nullptr);
  void stepBy(int steps) override;
  int arrowMaximum() const { return arrowMaximum_; }
  QLineEdit* edit() const { return lineEdit(); }

 protected:
  StepEnabled stepEnabled() const override;

 private:
  int arrowMaximum_;
};

}  // namespace kv::app
