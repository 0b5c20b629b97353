#pragma once
// Move-only owners of Win32 handles: each closes or deletes exactly once.
#include <windows.h>

#include <utility>

namespace vel::win32 {

template <typename H, typename Traits>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H h) : Value(h) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& o) noexcept : Value(std::exchange(o.Value, Traits::Invalid())) {}
  TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.Value, Traits::Invalid()));
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  H Get() const { return Value; }
  explicit operator bool() const { return Value != Traits::Invalid(); }
  H Release() { return std::exchange(Value, Traits::Invalid()); }
  void Reset(H h = Traits::Invalid()) {
    if (Value != Traits::Invalid()) Traits::Close(Value);
    Value = h;
  }

 private:
  H Value = Traits::Invalid();
};

struct TKernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct TFileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
template <typename G>
struct TGdiTraits {
  static G Invalid() { return nullptr; }
  static void Close(G g) { ::DeleteObject(g); }
};
struct TWindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};

struct TMenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { ::DestroyMenu(h); }
};

using TKernelHandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;
using TFont = TUniqueHandle<HFONT, TGdiTraits<HFONT>>;
using TBrush = TUniqueHandle<HBRUSH, TGdiTraits<HBRUSH>>;
using TPen = TUniqueHandle<HPEN, TGdiTraits<HPEN>>;
using TBitmap = TUniqueHandle<HBITMAP, TGdiTraits<HBITMAP>>;
using TRegion = TUniqueHandle<HRGN, TGdiTraits<HRGN>>;
using TWindow = TUniqueHandle<HWND, TWindowTraits>;
using TMenu = TUniqueHandle<HMENU, TMenuTraits>;

// A window's DC, saved on attach and restored and released on scope exit.
class TWindowDC {
 public:
  explicit TWindowDC(HWND wnd) : Wnd(wnd), DC(::GetDC(wnd)), Saved(DC ? ::SaveDC(DC) : 0) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (DC) {
      ::RestoreDC(DC, Saved);
      ::ReleaseDC(Wnd, DC);
    }
  }
  HDC Get() const { return DC; }

 private:
  HWND Wnd;
  HDC DC;
  int Saved;
};

// BeginPaint/EndPaint as a pair.
class TPaintDC {
 public:
  explicit TPaintDC(HWND wnd) : Wnd(wnd), DC(::BeginPaint(wnd, &PS)) {}
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { ::EndPaint(Wnd, &PS); }
  HDC Get() const { return DC; }
  const RECT& PaintRect() const { return PS.rcPaint; }

 private:
  HWND Wnd;
  PAINTSTRUCT PS{};
  HDC DC;
};

// Selects an object into a DC for the scope.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ obj) : DC(dc), Old(::SelectObject(dc, obj)) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() { ::SelectObject(DC, Old); }

 private:
  HDC DC;
  HGDIOBJ Old;
};

// OpenClipboard/CloseClipboard as a pair. The clipboard can be held briefly by
// another process (or by X while ownership moves under Wine), so opening retries.
class TClipboardGuard {
 public:
  explicit TClipboardGuard(HWND owner, int attempts = 20) {
    for (int i = 0; i < attempts && !Open; ++i) {
      Open = ::OpenClipboard(owner) != FALSE;
      if (!Open) ::Sleep(10);
    }
  }
  TClipboardGuard(const TClipboardGuard&) = delete;
  TClipboardGuard& operator=(const TClipboardGuard&) = delete;
  ~TClipboardGuard() {
    if (Open) ::CloseClipboard();
  }
  explicit operator bool() const { return Open; }

 private:
  bool Open = false;
};

}  // namespace vel::win32
