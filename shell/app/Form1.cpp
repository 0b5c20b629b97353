#include "shell/app/Form1.h"

#include <stdexcept>

#include "platform/Ini.h"
#include "platform/Screen.h"
#include "platform/win32/Encoding.h"
#include "shell/app/ExceptionBox.h"

namespace vel {

const char* StripWindowClass() { return "TForm1"; }

namespace {

HICON ProgramIcon() {
  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON");
  return icon ? icon : ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

void RegisterStripClass(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = ProgramIcon();
  wc.lpszClassName = StripWindowClass();
  ::RegisterClassA(&wc);
  done = true;
}

}  // namespace

TForm1::TForm1(IPageStoreLink& Pages, std::string MainSettingsFile)
    : Pages(Pages), MainSettingsFile(std::move(MainSettingsFile)), Receiver(Pages) {}

TForm1::~TForm1() {
  if (Wnd) ::DestroyWindow(Wnd);
}

void TForm1::Create(const std::vector<std::string>& Params) {
  RegisterStripClass(&TForm1::WndProc);
  // No border, no border icons, always on top; shown once it is in place.
  // Made at its place already: it can be found by its title from now on.
  const TRect b = LoadStripWindowData(TIniFile(MainSettingsFile), WorkArea()).Bounds;
  Wnd = ::CreateWindowExA(WS_EX_TOPMOST, StripWindowClass(), StripWindowTitle, WS_POPUP | WS_CLIPCHILDREN, b.Left,
                          b.Top, b.Width(), b.Height(), nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
  if (!Wnd) throw std::runtime_error("Error creating window TForm1");
  FormCreate(Params);
  ::ShowWindow(Wnd, SW_SHOW);
  ::UpdateWindow(Wnd);
  ::SetForegroundWindow(Wnd);
}

void TForm1::Close() {
  if (Wnd) ::SendMessageA(Wnd, WM_CLOSE, 0, 0);
}

void TForm1::FormCreate(const std::vector<std::string>& Params) {
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  TIniFile settings(MainSettingsFile);
  Data = LoadStripWindowData(settings, WorkArea());
  ::SetWindowPos(Wnd, HWND_TOPMOST, Data.Bounds.Left, Data.Bounds.Top, Data.Bounds.Width(), Data.Bounds.Height(),
                 SWP_NOACTIVATE);
  LOGFONTW lf{};
  lf.lfHeight = Data.FontHeight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring face = win32::WideFromCp932(Data.FontName);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  Font.Reset(::CreateFontIndirectW(&lf));
  if (!ScrollBar1) {
    const TRect& sb = Data.ScrollBarBounds;
    ScrollBar1 = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, sb.Left, sb.Top,
                                   sb.Width(), sb.Height(), Wnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, 100000, 0, 0, 0};
    ::SetScrollInfo(ScrollBar1, SB_CTL, &si, FALSE);
  }
  Pages.StartUp(Data, reinterpret_cast<std::uintptr_t>(Wnd), Params);
  if (!HoldStartup) Receiver.SetReady();
  ::SetCursor(old);
}

LRESULT CALLBACK TForm1::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<TForm1*>(cs->lpCreateParams);
    self->Wnd = wnd;
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TForm1*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  // No exception may leave a window procedure.
  try {
    LRESULT r = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
      self->Wnd = nullptr;
      self->ScrollBar1 = nullptr;
    }
    return r;
  } catch (const std::exception& e) {
    ShowStandardException(e);
  } catch (...) {
    ShowUnknownException();
  }
  return 0;
}

LRESULT TForm1::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  std::intptr_t result = 0;
  if (Msg != WM_NCCREATE && Msg != WM_NCDESTROY && Pages.StripMessage(Msg, wParam, lParam, result)) return result;
  switch (Msg) {
    case WM_COPYDATA:
      WMCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(Wnd);
      return 0;
    case WM_DESTROY:
      if (EndsMessageLoop) ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(Wnd, Msg, wParam, lParam);
  }
}

void TForm1::WMCopyData(const COPYDATASTRUCT* cds) {
  if (!cds) return;
  if (auto text = DecodeHandOffRecord(cds->lpData, cds->cbData)) Receiver.Receive(*text);
}

void TForm1::Paint() {
  win32::TPaintDC dc(Wnd);
  const TRect& r = Data.ImageBounds;
  ::DrawIconEx(dc.Get(), r.Left, r.Top, ProgramIcon(), r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

}  // namespace vel
