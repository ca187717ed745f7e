#include "app/up_down.h"

#include <algorithm>

#include "app/design_text.h"

namespace kv::app {

UpDownBox::UpDownBox(int control, int value, int minimum, int arrowMaximum, int typedMaximum,
                     QWidget* parent)
    : QSpinBox(parent), arrowMaximum_(std::max(minimum, arrowMaximum)) {
  SetControlId(this, control);
  setRange(minimum, std::max(minimum, typedMaximum));
  setValue(value);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void UpDownBox::stepBy(int steps) {
  const int target = std::clamp(value() + steps * singleStep(), minimum(), arrowMaximum_);
  // A typed value above the arrows' range may still step down.
  if (steps > 0 && value() >= arrowMaximum_) return;
  setValue(target);
}

QAbstractSpinBox::StepEnabled UpDownBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() > minimum()) enabled |= StepDownEnabled;
  if (value() < arrowMaximum_) enabled |= StepUpEnabled;
  return enabled;
}

}  // namespace kv::app
