#include "shell/app/Form1.h"

#include "platform/Ini.h"
#include "platform/Screen.h"
#include "platform/win32/CommonDialogs.h"

namespace vel {

const char* StripWindowClass() { return "TForm1"; }

namespace {

HICON ProgramIcon() {
  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON");
  return icon ? icon : ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

}  // namespace

TForm1::TForm1(IPageStoreLink& Pages, std::string MainSettingsFile)
    : Pages(Pages), MainSettingsFile(std::move(MainSettingsFile)), Receiver(Pages) {}

// Gone with its members still alive, so the pages hear of it as in a close.
TForm1::~TForm1() { Window.Destroy(); }

void TForm1::Create(const std::vector<std::string>& Params) {
  win32::RegisterHostClass({StripWindowClass(), 0, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                            ProgramIcon()});
  // No border, no border icons, always on top; shown once it is in place.
  // Made at its place already: it can be found by its title from now on.
  win32::TWindowParams p;
  p.ExStyle = WS_EX_TOPMOST;
  p.Style = WS_POPUP | WS_CLIPCHILDREN;
  p.Caption = StripWindowTitle;
  p.Bounds = LoadStripWindowData(TIniFile(MainSettingsFile), WorkArea()).Bounds;
  Window.Create(StripWindowClass(), p, *this);
  FormCreate(Params);
  ::ShowWindow(Handle(), SW_SHOW);
  ::UpdateWindow(Handle());
  ::SetForegroundWindow(Handle());
}

void TForm1::Close() {
  if (Handle()) ::SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::FormCreate(const std::vector<std::string>& Params) {
  win32::TWaitCursor wait;
  TIniFile settings(MainSettingsFile);
  Data = LoadStripWindowData(settings, WorkArea());
  ::SetWindowPos(Handle(), HWND_TOPMOST, Data.Bounds.Left, Data.Bounds.Top, Data.Bounds.Width(),
                 Data.Bounds.Height(), SWP_NOACTIVATE);
  if (!ScrollBar1) {
    const TRect& sb = Data.ScrollBarBounds;
    ScrollBar1 = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, sb.Left, sb.Top,
                                   sb.Width(), sb.Height(), Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, 100000, 0, 0, 0};
    ::SetScrollInfo(ScrollBar1, SB_CTL, &si, FALSE);
  }
  Pages.StartUp(Data, reinterpret_cast<std::uintptr_t>(Handle()), Params);
  if (!HoldStartup) Receiver.SetReady();
}

bool TForm1::HandleMessage(TMessage& m) {
  if (Pages.StripMessage(m.Msg, m.WParam, m.LParam, m.Result)) return true;
  switch (m.Msg) {
    case WM_COPYDATA:
      WMCopyData(reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
      m.Result = TRUE;
      return true;
    case WM_CLOSE:
      Window.Destroy();
      return true;
    case WM_DESTROY:
      ScrollBar1 = nullptr;
      if (EndsMessageLoop) ::PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}

void TForm1::WMCopyData(const COPYDATASTRUCT* cds) {
  if (!cds) return;
  if (auto text = DecodeHandOffRecord(cds->lpData, cds->cbData)) Receiver.Receive(*text);
}

void TForm1::Paint(ICanvas& Canvas, const TRect&) {
  const TRect& r = Data.ImageBounds;
  if (auto* gdi = dynamic_cast<win32::TWin32Canvas*>(&Canvas))
    ::DrawIconEx(gdi->Handle(), r.Left, r.Top, ProgramIcon(), r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

}  // namespace vel
