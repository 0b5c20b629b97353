#include "platform/win32/WindowHost.h"

#include <imm.h>

#include <exception>
#include <set>
#include <stdexcept>

#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "text/Sjis.h"

namespace vel::win32 {

namespace {

struct TStart {
  IWindowClient* Client;
  THostedWindow* Owner;
  std::exception_ptr Error;  // what the client's creation threw, for Create to rethrow
};

constexpr int kHostSlot = 0;  // the window's extra bytes hold its host

TShiftState MouseShift(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TMouseEvent MouseEvent(TMouseButton button, WPARAM wp, LPARAM lp) {
  return {button, MouseShift(wp), static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

TScrollCode ScrollCode(WORD code) {
  switch (code) {
    case SB_LINEUP: return TScrollCode::LineUp;
    case SB_LINEDOWN: return TScrollCode::LineDown;
    case SB_PAGEUP: return TScrollCode::PageUp;
    case SB_PAGEDOWN: return TScrollCode::PageDown;
    case SB_THUMBPOSITION: return TScrollCode::ThumbPosition;
    case SB_THUMBTRACK: return TScrollCode::ThumbTrack;
    case SB_TOP: return TScrollCode::Top;
    case SB_BOTTOM: return TScrollCode::Bottom;
    default: return TScrollCode::EndScroll;
  }
}

std::string ImeResultString(HWND wnd) {
  std::string text;
  if (HIMC imc = ::ImmGetContext(wnd)) {
    LONG n = ::ImmGetCompositionStringA(imc, GCS_RESULTSTR, nullptr, 0);
    if (n > 0) {
      text.resize(static_cast<size_t>(n));
      n = ::ImmGetCompositionStringA(imc, GCS_RESULTSTR, text.data(), n);
      text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    }
    ::ImmReleaseContext(wnd, imc);
  }
  return text;
}

}  // namespace

// One per hosted window, from its first message to its last.
class THost {
 public:
  THost(HWND wnd, IWindowClient& client, THostedWindow* owner) : Window(wnd), Client(&client), Owner(owner) {
    if (Owner) Owner->Wnd = wnd, Owner->Host = this;
  }

  LRESULT Handle(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  // The window is going: the client hears of it unless it left first.
  void Destroyed();

  TWin32Window Window;
  IWindowClient* Client;
  THostedWindow* Owner;
  HACCEL Accelerators = nullptr;

 private:
  void Char(unsigned char b);
  bool Scroll(HWND wnd, TScrollBarKind bar, WPARAM wp, LPARAM lp);

  int PendingLead = -1;  // a lead byte waiting for its trail byte
  bool TrackingLeave = false;
};

void THost::Destroyed() {
  if (Owner) Owner->Wnd = nullptr, Owner->Host = nullptr;
  if (IWindowClient* c = std::exchange(Client, nullptr)) CallbackBarrier([c] { c->WindowDestroyed(); });
}

void THost::Char(unsigned char b) {
  if (PendingLead >= 0) {
    char lead = static_cast<char>(std::exchange(PendingLead, -1));
    // Trail bytes are never below 0x40; a lead byte without one is dropped
    // rather than inserted on its own, where it would take the next byte.
    if (b >= 0x40) {
      Client->KeyPress({std::string{lead, static_cast<char>(b)}});
      return;
    }
  }
  if (sjis::IsLeadByte(b)) {
    PendingLead = b;
    return;
  }
  Client->KeyPress({std::string(1, static_cast<char>(b))});
}

bool THost::Scroll(HWND wnd, TScrollBarKind bar, WPARAM wp, LPARAM lp) {
  // A scroll-bar control's messages belong to its parent form, not to this window's bar.
  if (lp != 0) return false;
  TScrollCode code = ScrollCode(LOWORD(wp));
  SCROLLINFO si{sizeof(si), SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(wnd, bar == TScrollBarKind::Vertical ? SB_VERT : SB_HORZ, &si);
  bool thumb = code == TScrollCode::ThumbPosition || code == TScrollCode::ThumbTrack;
  Client->Scrolled({bar, code, thumb ? si.nTrackPos : si.nPos});
  return true;
}

LRESULT THost::Handle(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  // The client has its window before it sees any message of its own.
  if (msg == WM_CREATE) Client->WindowCreated(Window);
  TMessage m{msg, wp, lp, 0};
  if (Client->HandleMessage(m)) return m.Result;
  switch (msg) {
    case WM_CREATE:
      return 0;
    case WM_PAINT: {
      TPaintDC dc(wnd);
      const RECT& r = dc.PaintRect();
      TWin32Canvas canvas(dc.Get());
      Client->Paint(canvas, {r.left, r.top, r.right, r.bottom});
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (Client->KeyDown({static_cast<TVirtualKey>(wp), KeyboardShiftState(), (lp & (1 << 30)) != 0})) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (Client->KeyUp({static_cast<TVirtualKey>(wp), KeyboardShiftState(), false})) return 0;
      break;
    case WM_CHAR:
      Char(static_cast<unsigned char>(wp));
      return 0;
    case WM_IME_CHAR:
      // Both bytes at once (lead byte high) for a double-byte character.
      if (wp > 0xFF && sjis::IsLeadByte(static_cast<unsigned char>(wp >> 8)))
        Client->KeyPress({std::string{static_cast<char>(wp >> 8), static_cast<char>(wp)}});
      else
        Char(static_cast<unsigned char>(wp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      TMouseButton b = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? mbLeft
                       : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                            : mbMiddle;
      TMouseEvent e = MouseEvent(b, wp, lp);
      if (dbl) e.Shift |= ssDouble;
      Client->MouseDown(e);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      TMouseButton b = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
      Client->MouseUp(MouseEvent(b, wp, lp));
      // The button-up ends a click; a context menu follows a right one.
      if (msg == WM_RBUTTONUP) break;
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!TrackingLeave) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, wnd, 0};
        TrackingLeave = ::TrackMouseEvent(&t) != FALSE;
      }
      Client->MouseMove(MouseEvent(mbLeft, wp, lp));
      return 0;
    case WM_MOUSELEAVE:
      TrackingLeave = false;
      Client->MouseLeave();
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ::ScreenToClient(wnd, &pt);
      TWheelEvent e{static_cast<short>(HIWORD(wp)), msg == WM_MOUSEHWHEEL, MouseShift(LOWORD(wp)), pt.x, pt.y};
      if (Client->MouseWheel(e)) return 0;
      break;
    }
    case WM_SETFOCUS:
      Client->FocusIn();
      return 0;
    case WM_KILLFOCUS:
      PendingLead = -1;
      Client->FocusOut();
      return 0;
    case WM_SIZE:
      Client->Resized(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_VSCROLL:
      if (Scroll(wnd, TScrollBarKind::Vertical, wp, lp)) return 0;
      break;
    case WM_HSCROLL:
      if (Scroll(wnd, TScrollBarKind::Horizontal, wp, lp)) return 0;
      break;
    case WM_IME_STARTCOMPOSITION:
      Client->ImeStartComposition();
      break;
    case WM_IME_COMPOSITION:
      // Taken here, the result must not come again through the default
      // handling as characters.
      if (lp & GCS_RESULTSTR) {
        std::string result = ImeResultString(wnd);
        if (!result.empty() && Client->ImeResult(result)) return 0;
      }
      break;
    case WM_IME_NOTIFY:
      if (wp == IMN_OPENCANDIDATE || wp == IMN_CLOSECANDIDATE) Client->ImeCandidateWindow(wp == IMN_OPENCANDIDATE);
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == wnd && LOWORD(lp) == HTCLIENT) {
        if (HCURSOR c = CursorHandle(Window.Cursor())) {
          ::SetCursor(c);
          return TRUE;
        }
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

namespace {

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* start = static_cast<TStart*>(cs->lpCreateParams);
    if (!start || !start->Client) return FALSE;
    auto* host = new (std::nothrow) THost(wnd, *start->Client, start->Owner);
    if (!host) return FALSE;
    ::SetWindowLongPtrA(wnd, kHostSlot, reinterpret_cast<LONG_PTR>(host));
  }
  auto* host = reinterpret_cast<THost*>(::GetWindowLongPtrA(wnd, kHostSlot));
  if (!host) return ::DefWindowProcA(wnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(wnd, kHostSlot, 0);
    host->Destroyed();
    delete host;
    return ::DefWindowProcA(wnd, msg, wp, lp);
  }
  if (!host->Client) return ::DefWindowProcA(wnd, msg, wp, lp);
  if (msg == WM_CREATE) {
    // The creator learns of a failed creation as the exception itself.
    auto* start = static_cast<TStart*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    try {
      return host->Handle(wnd, msg, wp, lp);
    } catch (...) {
      start->Error = std::current_exception();
      return -1;
    }
  }
  return CallbackBarrier([&] { return host->Handle(wnd, msg, wp, lp); }, LRESULT{0});
}

}  // namespace

void RegisterHostClass(const TWindowClass& cls) {
  static std::set<std::string> registered;
  if (!cls.Name || registered.count(cls.Name)) return;
  WNDCLASSA wc{};
  wc.style = cls.Style;
  wc.lpfnWndProc = &HostProc;
  wc.cbWndExtra = sizeof(THost*);
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = cls.Cursor ? ::LoadCursorA(nullptr, cls.Cursor) : nullptr;
  wc.hbrBackground = cls.Background;
  wc.hIcon = cls.Icon;
  wc.lpszClassName = cls.Name;
  if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error(std::string("Error registering window class ") + cls.Name);
  registered.insert(cls.Name);
}

THostedWindow::~THostedWindow() { Destroy(); }

void THostedWindow::Create(const char* className, const TWindowParams& p, IWindowClient& client) {
  Destroy();
  TStart start{&client, this, nullptr};
  HWND wnd = ::CreateWindowExW(p.ExStyle, WideFromCp932(className).c_str(), WideFromCp932(p.Caption).c_str(),
                               p.Style, p.Bounds.Left, p.Bounds.Top, p.Bounds.Width(), p.Bounds.Height(), p.Parent,
                               p.Menu, ::GetModuleHandleA(nullptr), &start);
  if (start.Error) std::rethrow_exception(start.Error);
  if (!wnd) throw std::runtime_error(std::string("Error creating window ") + className);
}

void THostedWindow::Destroy() {
  if (Wnd) ::DestroyWindow(Wnd);
}

IWindow* THostedWindow::Window() const { return Host ? &Host->Window : nullptr; }

void THostedWindow::SetAccelerators(HACCEL Table) {
  if (Host) Host->Accelerators = Table;
}

namespace {

THost* HostOf(HWND wnd) {
  if (!::IsWindow(wnd) || ::GetClassLongPtrA(wnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&HostProc))
    return nullptr;
  return reinterpret_cast<THost*>(::GetWindowLongPtrA(wnd, kHostSlot));
}

}  // namespace

bool PreTranslateMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND top = ::GetAncestor(msg.hwnd, GA_ROOT);
  THost* host = top ? HostOf(top) : nullptr;
  return host && host->Accelerators && ::TranslateAcceleratorA(top, host->Accelerators, &msg);
}

IWindowClient* HostedClient(HWND wnd) {
  THost* host = HostOf(wnd);
  return host ? host->Client : nullptr;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (::GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
  if (::GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
  if (::GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
  return s;
}

}  // namespace vel::win32
