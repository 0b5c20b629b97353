#pragma once
// Counts the change notices a settings object sends.
#include "text/NotifyPersistent.h"

namespace vel::test {

struct TChanges {
  int Count = 0;
  explicit TChanges(TNotifyPersistent& o) {
    o.OnChange = [this](TNotifyPersistent*) { ++Count; };
  }
};

}  // namespace vel::test
