// The editor control on screen in a real window, driven only by window
// messages: keys, mouse, characters (lead and trail bytes as two messages)
// and the edit-control messages, with pixels read back where colour matters.
#include <gtest/gtest.h>

// The system's headers first: they rename TextOut and GetTextMetrics, which
// the platform's canvas declarations must see renamed too.
#include "platform/win32/WindowHost.h"

#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

using win32::THostedWindow;

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
  TEditor Editor;
  THostedWindow Host;
};

TEST(EditorViewWine, CharactersKeysAndMouseThroughMessages) {
  TViewHost h;
  // 表 (0x95 0x5C): its trail byte is a backslash, and arrives as a message of its own.
  for (WPARAM ch : {WPARAM(0x95), WPARAM(0x5C), WPARAM('a'), WPARAM('b'), WPARAM('\r'), WPARAM('c')})
    ::PostMessageA(h.Wnd(), WM_CHAR, ch, 1);
  ASSERT_TRUE(wine::PumpUntil([&] { return h.Text() == "表ab\r\nc"; })) << h.Text();
  h.Send(WM_KEYDOWN, VK_UP, 1);
  h.Send(WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 4);
  h.Send(WM_KEYDOWN, VK_HOME, 1);
  h.Send(WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(h.Editor.Col(), 2);
  // A drag over "ab" selects it.
  h.Send(WM_LBUTTONDOWN, MK_LBUTTON, h.At(0, 2));
  h.Send(WM_MOUSEMOVE, MK_LBUTTON, h.At(0, 4));
  h.Send(WM_LBUTTONUP, 0, h.At(0, 4));
  DWORD start = 0, end = 0;
  h.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 4u);
  // A click elsewhere places the caret and drops the selection.
  h.Send(WM_LBUTTONDOWN, MK_LBUTTON, h.At(1, 1));
  h.Send(WM_LBUTTONUP, 0, h.At(1, 1));
  EXPECT_EQ(h.Editor.Row(), 1);
  EXPECT_EQ(h.Editor.Col(), 1);
  EXPECT_FALSE(h.Editor.Selected());
}

TEST(EditorViewWine, EditMessagesCountBytesOverDoubleByteText) {
  TViewHost h;
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("aあb\r\ncd"));
  EXPECT_EQ(h.Send(WM_GETTEXTLENGTH), 8);
  h.Send(EM_SETSEL, 1, 4);
  EXPECT_EQ(h.Send(EM_GETSEL), MAKELRESULT(1, 4));
  h.Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("い"));
  EXPECT_EQ(h.Text(), "aい\r\ncd");
  EXPECT_EQ(h.Send(EM_LINEINDEX, 1), 5);
  EXPECT_EQ(h.Send(EM_LINEFROMCHAR, 6), 1);
  EXPECT_EQ(h.Send(EM_LINELENGTH, 0), 3);
  EXPECT_EQ(h.Send(EM_GETMODIFY), 1);
  EXPECT_EQ(h.Send(EM_UNDO), 1);
  EXPECT_EQ(h.Send(WM_GETDLGCODE) & (DLGC_WANTARROWS | DLGC_WANTCHARS), DLGC_WANTARROWS | DLGC_WANTCHARS);
  h.Send(EM_SETSEL, 3, 3);
  DWORD start = 9, end = 9;
  h.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
}

TEST(EditorViewWine, SelectionEofMarkAndDoubleByteRowOnScreen) {
  TViewHost h;
  h.Editor.Marks().EofMark().SetVisible(true);
  h.Editor.Marks().EofMark().SetColor(clRed);
  h.Editor.View().Colors().DBCS().SetColor(clBlue);
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abcdef\r\nあいう"));
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  const int W = h.Editor.ColWidth(), R = h.Editor.RowHeight(), L = h.Editor.LeftMargin(), T = h.Editor.TopMargin();
  const int F = h.Editor.FontHeight();
  // The double-byte row in its token colour, "[EOF]" in its colour after it.
  EXPECT_TRUE(h.Shows({L, T + R, L + 6 * W, T + R + F}, RGB(0, 0, 255)));
  EXPECT_TRUE(h.Shows({L + 6 * W, T + R, L + 12 * W, T + R + F}, RGB(255, 0, 0)));
  EXPECT_FALSE(h.Shows({L, T, L + 6 * W, T + F}, RGB(0, 0, 128)));
  // Selected columns take the selection background.
  h.Send(EM_SETSEL, 1, 3);
  EXPECT_EQ(h.Pixel(L + W + 1, T + 1), RGB(0, 0, 128));
  EXPECT_EQ(h.Pixel(L + 4 * W + 1, T + 1), ::GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace vel
