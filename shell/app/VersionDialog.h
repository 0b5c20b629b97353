#pragma once
// ヘルプ → バージョン情報: the program's name in a large brush-style face.
#include "platform/win32/Dialog.h"
#include "platform/win32/Handles.h"

namespace vel {

class TVersionDialog final : public win32::TModalDialog {
 public:
  TVersionDialog();

 protected:
  void InitDialog() override;

 private:
  win32::TFont TitleFont;
};

}  // namespace vel
