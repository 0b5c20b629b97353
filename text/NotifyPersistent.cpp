#include "text/NotifyPersistent.h"

namespace vel {

void TNotifyPersistent::Changed() {
  if (UpdateCount == 0 && OnChange) OnChange(this);
}

void TNotifyPersistent::EndUpdate() {
  if (UpdateCount > 0) --UpdateCount;
  Changed();
}

void TNotifyPersistent::ChangedProc(TNotifyPersistent* Sender) {
  if (Sender != this) Changed();
}

bool TNotifyPersistent::Assign(const TNotifyPersistent&) { return false; }

}  // namespace vel
