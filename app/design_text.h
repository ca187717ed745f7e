// The dialogs are laid out with their French texts and translated when they
// open (app/dialog_frame.h).
#pragma once

#include "app/dialog_frame.h"

namespace kv::app {

inline QString DesignText(int n) {
  return MessageQ(Language{LanguageFrench, nullptr}, n);
}

}  // namespace kv::app
