#include "platform/win32/CommonDialogs.h"

#include <commdlg.h>

#include "platform/win32/Encoding.h"
#include "platform/win32/Win32Window.h"

namespace vel::win32 {

namespace {

// Zero separated, two zeros at the end, as the dialogs want it.
std::string DialogFilter(const std::string& f) {
  std::string s = f;
  for (char& c : s)
    if (c == '|') c = '\0';
  return s + std::string(2, '\0');
}

// Room for long CP932 paths, double-byte names included.
constexpr size_t kNameRoom = MAX_PATH * 4;

}  // namespace

std::optional<std::string> OpenFileDialog(HWND Owner, const std::string& Filter) {
  std::string filter = DialogFilter(Filter);
  std::string name(kNameRoom, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(name.c_str());
}

std::optional<TSaveFileChoice> SaveFileDialog(HWND Owner, const std::string& Filter, const std::string& InitialPath) {
  std::string filter = DialogFilter(Filter);
  std::string name(kNameRoom, '\0');
  InitialPath.copy(name.data(), name.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameA(&ofn)) return std::nullopt;
  return TSaveFileChoice{std::string(name.c_str()), static_cast<int>(ofn.nFilterIndex)};
}

std::optional<TFontChoice> FontDialog(HWND Owner, const TFontChoice& Initial) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(Initial.Size, dpi, 72);
  lf.lfCharSet = SHIFTJIS_CHARSET;
  WideFromCp932(Initial.Name).copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = Owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!::ChooseFontW(&cf)) return std::nullopt;
  return TFontChoice{Cp932FromWide(lf.lfFaceName), cf.iPointSize / 10};
}

std::optional<TColor> ColorDialog(HWND Owner, TColor Initial) {
  // The sixteen custom colours live as long as the program, as users expect.
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Owner;
  cc.rgbResult = ToColorRef(Initial);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!::ChooseColorW(&cc)) return std::nullopt;
  return static_cast<TColor>(cc.rgbResult);
}

}  // namespace vel::win32
