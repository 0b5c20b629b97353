#include "shell/app/VersionDialog.h"

#include <string>

#include "platform/win32/Encoding.h"
#include "shell/app/Resource.h"

namespace vel {

TVersionDialog::TVersionDialog() : TModalDialog(IDD_VERINFO) {}

void TVersionDialog::InitDialog() {
  LOGFONTW lf{};
  lf.lfHeight = -24;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  win32::WideFromCp932("HG正楷書体-PRO").copy(lf.lfFaceName, LF_FACESIZE - 1);
  TitleFont.Reset(::CreateFontIndirectW(&lf));
  ::SendMessageW(Item(IDC_VER_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont.Get()), TRUE);
}

}  // namespace vel
