#pragma once
// The editor control alone in a real top-level window, for the tests that
// drive it on screen and read its pixels back.

// The system's headers first: they rename TextOut and GetTextMetrics, which
// the platform's canvas declarations must see renamed too.
#include "platform/win32/WindowHost.h"

#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {

struct TViewHost {
  TViewHost() {
    InitEditorUnit();
    win32::RegisterHostClass({"VelTestEditorView"});
    Host.Create("VelTestEditorView", {0, WS_POPUP | WS_VISIBLE, "editor view", {30, 30, 430, 330}}, Editor);
    ::SetFocus(Wnd());
    wine::Pump(50);
  }
  // The window goes first, telling the control, which then holds no window.
  ~TViewHost() { Host.Destroy(); }
  HWND Wnd() const { return Host.Handle(); }
  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(Wnd(), m, w, l); }
  std::string Text() {
    const int n = static_cast<int>(Send(WM_GETTEXTLENGTH));
    std::string s(static_cast<size_t>(n) + 1, '\0');
    Send(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
  }
  // The centre of column c of row r, in client coordinates.
  LPARAM At(int r, int c) {
    return MAKELPARAM(Editor.LeftMargin() + c * Editor.ColWidth() + 1, Editor.TopMargin() + r * Editor.RowHeight() + 2);
  }
  // The same point on the screen.
  POINT ScreenAt(int r, int c) {
    const LPARAM at = At(r, c);
    POINT p{LOWORD(at), HIWORD(at)};
    ::ClientToScreen(Wnd(), &p);
    return p;
  }
  COLORREF Pixel(int x, int y) {
    ::UpdateWindow(Wnd());
    HDC dc = ::GetDC(Wnd());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(Wnd(), dc);
    return c;
  }
  // Whether any pixel of the rectangle has the colour.
  bool Shows(const RECT& r, COLORREF colour) {
    ::UpdateWindow(Wnd());
    HDC dc = ::GetDC(Wnd());
    bool found = false;
    for (int y = r.top; y < r.bottom && !found; ++y)
      for (int x = r.left; x < r.right && !found; ++x) found = ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(Wnd(), dc);
    return found;
  }
  // The rectangle's pixels row by row: '#' where they have the colour, '.'
  // elsewhere; the shape of what is drawn in that colour.
  std::string Mask(const RECT& r, COLORREF colour) {
    ::UpdateWindow(Wnd());
    HDC dc = ::GetDC(Wnd());
    std::string mask;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) mask += ::GetPixel(dc, x, y) == colour ? '#' : '.';
    ::ReleaseDC(Wnd(), dc);
    return mask;
  }
  TEditor Editor;
  win32::THostedWindow Host;
};

}  // namespace vel
