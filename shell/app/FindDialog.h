#pragma once
// 検索・置換: collects a search request and keeps the histories; the memo
// window carries the request out on its own page.
#include "platform/win32/Dialog.h"
#include "shell/FindDialogState.h"

namespace vel {

class TFindDialog final : public win32::TModalDialog {
 public:
  explicit TFindDialog(TFindDialogState& State);

 protected:
  void InitDialog() override;
  bool Command(int Id, int Code) override;

 private:
  TFindFlags Checks() const;
  void SetChecks(const TFindFlags& Flags);
  TFindDialogState& State;
};

}  // namespace vel
