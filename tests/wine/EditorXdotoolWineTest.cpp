// The editor control driven the way a person drives it: keys, clicks, drags
// and the wheel go through the X server (xdotool), and Wine's own input path
// turns them into the messages the control sees.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "tests/wine/EditorViewHost.h"

namespace vel {
namespace {

class EditorXdotoolWine : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = wine::XdotoolMissing();
    if (!missing.empty()) GTEST_SKIP() << "no real input: " << missing;
    H = std::make_unique<TViewHost>();
    std::string out;
    ASSERT_TRUE(wine::Xdotool("search --name '^editor view$'", &out)) << "the window is not on the X screen";
    XWindow = std::strtoul(out.c_str(), nullptr, 10);
  }

  // The xdotool words that put the pointer on column c of row r. The point is
  // given within the window's own X window: Wine's screen is the X screen
  // only while Wine keeps no desktop window of its own.
  std::string MoveTo(int r, int c) {
    POINT p = H->ScreenAt(r, c);
    RECT w{};
    ::GetWindowRect(H->Wnd(), &w);
    return MoveToWindowPoint(p.x - w.left, p.y - w.top);
  }
  // The same for a point relative to the window's top left, outside it too.
  std::string MoveToWindowPoint(int x, int y) {
    return "mousemove --window " + std::to_string(XWindow) + " -- " + std::to_string(x) + " " + std::to_string(y) + " ";
  }
  bool Do(const std::string& args) { return wine::Xdotool(args); }
  DWORD SelStart() {
    DWORD s = 0;
    H->Send(EM_GETSEL, reinterpret_cast<WPARAM>(&s), 0);
    return s;
  }
  DWORD SelEnd() {
    DWORD e = 0;
    H->Send(EM_GETSEL, 0, reinterpret_cast<LPARAM>(&e));
    return e;
  }
  // Clicks column c of row r and waits until the caret is there.
  void ClickAt(int r, int c) {
    ASSERT_TRUE(Do(MoveTo(r, c) + "click 1"));
    ASSERT_TRUE(wine::PumpUntil([&] { return H->Editor.Row() == r && H->Editor.Col() == c; }))
        << "caret at " << H->Editor.Row() << "," << H->Editor.Col();
  }

  std::unique_ptr<TViewHost> H;
  unsigned long XWindow = 0;
};

// "aあいうb" then "xyz": row 1 starts at byte 10.
constexpr const char* kText = "aあいうb\r\nxyz";

TEST_F(EditorXdotoolWine, ClickPlacesTheCaretOnCharacterBoundaries) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText));
  // Each lands elsewhere than the one before, so an ignored click fails.
  struct {
    bool FreeCaret;
    int Row, Col, WantCol;
  } const cases[] = {
      {false, 1, 20, 3},  // past the end of the row: to its end
      {false, 0, 0, 0},
      {true, 0, 3, 3},    // a double-byte character's first column
      {true, 1, 2, 2},    // plain characters
      {true, 0, 4, 3},    // a double-byte character's second column: back to its first
      {true, 1, 20, 20},  // past the end, where a free caret may go
  };
  for (const auto& c : cases) {
    H->Editor.Caret().FreeCaret = c.FreeCaret;
    ASSERT_TRUE(Do(MoveTo(c.Row, c.Col) + "click 1"));
    EXPECT_TRUE(wine::PumpUntil([&] { return H->Editor.Row() == c.Row && H->Editor.Col() == c.WantCol; }))
        << "clicked " << c.Row << "," << c.Col << ", caret at " << H->Editor.Row() << "," << H->Editor.Col();
  }
  EXPECT_EQ(::GetFocus(), H->Wnd());
}

TEST_F(EditorXdotoolWine, DragSelectsWholeCharactersByByteOffsets) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText));
  struct {
    int FromRow, FromCol, ToRow, ToCol;
    DWORD Start, End;
  } const cases[] = {
      {0, 1, 0, 7, 1, 7},   // あいう
      {0, 7, 0, 1, 1, 7},   // the same, dragged leftwards
      {0, 0, 0, 4, 0, 3},   // ending on a second column stops before the character
      {0, 3, 1, 2, 3, 12},  // across the line break
  };
  for (const auto& c : cases) {
    H->Send(EM_SETSEL, WPARAM(-1), 0);
    ASSERT_FALSE(H->Editor.Selected());
    ASSERT_TRUE(Do(MoveTo(c.FromRow, c.FromCol) + "mousedown 1 " + MoveTo(c.ToRow, c.ToCol) + "mouseup 1"));
    EXPECT_TRUE(wine::PumpUntil([&] { return SelStart() == c.Start && SelEnd() == c.End; }))
        << "dragged " << c.FromRow << "," << c.FromCol << " to " << c.ToRow << "," << c.ToCol << ": selection "
        << SelStart() << ".." << SelEnd();
  }
  // A click drops the selection.
  ASSERT_TRUE(Do(MoveTo(1, 1) + "click 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return !H->Editor.Selected() && H->Editor.Col() == 1; }));
}

TEST_F(EditorXdotoolWine, TypedKeysEditTheText) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText));
  ASSERT_NO_FATAL_FAILURE(ClickAt(1, 3));
  ASSERT_TRUE(Do("type 'Hi, 42!'"));
  ASSERT_TRUE(wine::PumpUntil([&] { return H->Text() == "aあいうb\r\nxyzHi, 42!"; })) << H->Text();
  ASSERT_TRUE(Do("key BackSpace Home Return Up End"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Text() == "aあいうb\r\n\r\nxyzHi, 42"; })) << H->Text();
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Editor.Row() == 1 && H->Editor.Col() == 0; }));
}

TEST_F(EditorXdotoolWine, ShiftArrowsSelectAndAPlainArrowDropsTheSelection) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText));
  ASSERT_NO_FATAL_FAILURE(ClickAt(0, 1));
  ASSERT_TRUE(Do("key shift+Right shift+Right"));
  EXPECT_TRUE(wine::PumpUntil([&] { return SelStart() == 1 && SelEnd() == 5; }))
      << "selection " << SelStart() << ".." << SelEnd();
  ASSERT_TRUE(Do("key Left"));
  EXPECT_TRUE(wine::PumpUntil([&] { return !H->Editor.Selected() && H->Editor.Col() == 3; }))
      << "caret at " << H->Editor.Row() << "," << H->Editor.Col();
  ASSERT_TRUE(Do("key shift+Down"));
  EXPECT_TRUE(wine::PumpUntil([&] { return SelStart() == 3 && SelEnd() == 13; }))
      << "selection " << SelStart() << ".." << SelEnd();
}

// Waits on a thread of its own for a popup menu of this process to show,
// reads it and closes it with Escape through X: the menu holds the test's
// thread in a message loop of its own meanwhile.
class TMenuCloser {
 public:
  TMenuCloser() : Thread([this] { Run(); }) {}
  ~TMenuCloser() {
    Stop = true;
    Thread.join();
  }
  TMenuCloser(const TMenuCloser&) = delete;
  TMenuCloser& operator=(const TMenuCloser&) = delete;
  bool Closed() const { return Done; }
  // Read once Closed().
  int Items() const { return FItems; }
  const std::string& First() const { return FFirst; }

 private:
  static HWND VisibleMenu() {
    HWND w = nullptr;
    while ((w = ::FindWindowExA(nullptr, w, "#32768", nullptr)) != nullptr) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  void Run() {
    const DWORD start = ::GetTickCount();
    while (!Stop && ::GetTickCount() - start < 10000) {
      if (HWND w = VisibleMenu()) {
        HMENU m = reinterpret_cast<HMENU>(::SendMessageA(w, MN_GETHMENU, 0, 0));
        FItems = ::GetMenuItemCount(m);
        char text[64] = {};
        ::GetMenuStringA(m, 0, text, sizeof text, MF_BYPOSITION);
        FFirst = text;
        Done = wine::Xdotool("key Escape") && wine::PumpUntil([] { return !VisibleMenu(); });
        return;
      }
      ::Sleep(10);
    }
  }
  int FItems = -1;
  std::string FFirst;
  std::atomic<bool> Done{false}, Stop{false};
  std::thread Thread;
};

TEST_F(EditorXdotoolWine, RightClickOpensThePopupMenu) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText));
  ASSERT_NO_FATAL_FAILURE(ClickAt(0, 1));
  {
    TMenuCloser closer;
    ASSERT_TRUE(Do(MoveTo(0, 3) + "click 3"));
    ASSERT_TRUE(wine::PumpUntil([&] { return closer.Closed(); })) << "no popup menu came and went";
    EXPECT_EQ(closer.Items(), 12);
    EXPECT_EQ(closer.First(), "元に戻す(&U)\tCtrl+Z");
  }
  // Escape chose nothing: the text and the caret stay.
  EXPECT_EQ(H->Text(), kText);
  EXPECT_EQ(H->Editor.Col(), 1);
}

TEST_F(EditorXdotoolWine, WheelScrollsTheView) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_NO_FATAL_FAILURE(ClickAt(0, 0));
  UINT lines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_GT(lines, 0u);
  auto top = [&] { return static_cast<UINT>(H->Send(EM_GETFIRSTVISIBLELINE)); };
  ASSERT_TRUE(Do(MoveTo(2, 2) + "click 5 click 5"));
  EXPECT_TRUE(wine::PumpUntil([&] { return top() == 2 * lines; })) << "first row " << top();
  EXPECT_EQ(H->Editor.TopRow(), static_cast<int>(2 * lines));
  ASSERT_TRUE(Do("click 4"));
  EXPECT_TRUE(wine::PumpUntil([&] { return top() == lines; })) << "first row " << top();
}

TEST_F(EditorXdotoolWine, SelectionDraggedAwayMovesAndWithCtrlCopies) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc def"));
  // A click inside the selection, without a move, only drops it.
  H->Send(EM_SETSEL, 0, 3);
  ASSERT_TRUE(Do(MoveTo(0, 2) + "click 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return !H->Editor.Selected() && H->Editor.Col() == 2; }));
  // Dragged to the end: moved there.
  H->Send(EM_SETSEL, 0, 3);
  ASSERT_TRUE(Do(MoveTo(0, 1) + "mousedown 1 " + MoveTo(0, 4) + MoveTo(0, 7) + "mouseup 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Text() == " defabc"; })) << H->Text();
  // With Ctrl held: copied, the original stays.
  H->Send(EM_SETSEL, 1, 4);
  ASSERT_TRUE(Do("keydown ctrl " + MoveTo(0, 2) + "mousedown 1 " + MoveTo(0, 1) + MoveTo(0, 0) +
                 "mouseup 1 keyup ctrl"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Text() == "def defabc"; })) << H->Text();
  // Dropped outside the window: nothing moves, the selection goes.
  H->Send(EM_SETSEL, 0, 3);
  RECT w{};
  ::GetWindowRect(H->Wnd(), &w);
  ASSERT_TRUE(Do(MoveTo(0, 1) + "mousedown 1 " + MoveTo(0, 4) + MoveToWindowPoint(w.right - w.left + 20, 10) +
                 "mouseup 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return !H->Editor.Selected(); }));
  EXPECT_EQ(H->Text(), "def defabc");
}

TEST_F(EditorXdotoolWine, PressInTheLeftBarSelectsWholeRows) {
  H->Editor.Leftbar().SetVisible(true);
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab\r\ncd\r\nef"));
  const int barX = H->Editor.LeftMargin() / 2;
  auto rowY = [&](int r) { return H->Editor.TopMargin() + r * H->Editor.RowHeight() + 2; };
  // Pressed on row 0, released on row 1: both rows with their line breaks.
  ASSERT_TRUE(Do(MoveToWindowPoint(barX, rowY(0)) + "mousedown 1 " + MoveToWindowPoint(barX, rowY(1)) + "mouseup 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return SelStart() == 0 && SelEnd() == 8; }))
      << "selection " << SelStart() << ".." << SelEnd();
  // Upwards from the last row, which has no line break: it is taken to its end.
  ASSERT_TRUE(Do(MoveToWindowPoint(barX, rowY(2)) + "mousedown 1 " + MoveToWindowPoint(barX, rowY(1)) + "mouseup 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return SelStart() == 4 && SelEnd() == 10; }))
      << "selection " << SelStart() << ".." << SelEnd();
}

TEST_F(EditorXdotoolWine, DragAboveTheWindowScrollsUp) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  H->Editor.SetTopRow(10);
  ASSERT_EQ(H->Editor.TopRow(), 10);
  // The button is held and the pointer leaves the window upwards: the
  // window keeps hearing the pointer and each move reaches a row higher.
  ASSERT_TRUE(Do(MoveTo(2, 0) + "mousedown 1 " + MoveTo(0, 0) + MoveToWindowPoint(20, -8) + MoveToWindowPoint(21, -8) +
                 MoveToWindowPoint(22, -8) + "mouseup 1"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Editor.TopRow() < 10; })) << "first row " << H->Editor.TopRow();
  EXPECT_EQ(H->Editor.Row(), H->Editor.TopRow());
  EXPECT_TRUE(H->Editor.Selected());
  EXPECT_EQ(SelEnd(), static_cast<DWORD>(H->Send(EM_LINEINDEX, 12)));
}

TEST_F(EditorXdotoolWine, ScrollBarClicksScrollTheView) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  H->Editor.SetScrollBars(ssVertical);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(::GetScrollBarInfo(H->Wnd(), OBJID_VSCROLL, &bar));
  ASSERT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "no vertical scroll bar";
  RECT w{};
  ::GetWindowRect(H->Wnd(), &w);
  const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - w.left;
  // The arrow buttons are square (Wine's dxyLineButton is not their size).
  const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  const int downArrow = bar.rcScrollBar.bottom - arrow / 2 - w.top;
  const int belowThumb = bar.rcScrollBar.top + bar.xyThumbBottom + 4 - w.top;
  ASSERT_LT(belowThumb, downArrow - arrow / 2);
  const int page = H->Editor.VisibleRows();
  auto scrolled = [&](const std::function<bool(int)>& to) {
    return wine::PumpUntil([&] {
      const int top = H->Editor.TopRow();
      return top > 0 && to(top) && ::GetScrollPos(H->Wnd(), SB_VERT) == top;
    });
  };
  // A press held long enough repeats, as a slow release on a busy machine
  // may: so a line or two, then whole pages.
  ASSERT_TRUE(Do(MoveToWindowPoint(x, downArrow) + "click 1"));
  EXPECT_TRUE(scrolled([&](int top) { return top <= 2; })) << "first row " << H->Editor.TopRow();
  const int lineTop = H->Editor.TopRow();
  ASSERT_TRUE(Do(MoveToWindowPoint(x, belowThumb) + "click 1"));
  EXPECT_TRUE(scrolled([&](int top) { return top > lineTop && (top - lineTop) % page == 0; }))
      << "first row " << H->Editor.TopRow() << ", a page is " << page;
  // The wheel moves the bar's thumb along.
  const int pageTop = H->Editor.TopRow();
  UINT lines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_TRUE(Do(MoveTo(1, 1) + "click 4"));
  EXPECT_TRUE(scrolled([&](int top) { return top == pageTop - static_cast<int>(lines); }))
      << "first row " << H->Editor.TopRow();
}

// Ctrl with a letter is a key for the popup menu's shortcuts and, through
// the system, a control character as well: only the shortcut may act.
TEST_F(EditorXdotoolWine, CtrlShortcutsFromTheKeyboard) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
  ASSERT_NO_FATAL_FAILURE(ClickAt(0, 1));
  ASSERT_TRUE(Do("type abc"));
  ASSERT_TRUE(wine::PumpUntil([&] { return H->Text() == "xabc"; })) << H->Text();
  const struct {
    const char* Keys;
    const char* Text;
  } steps[] = {
      {"ctrl+z", "xab"},                              // undo
      {"ctrl+a", "xabc"},                             // redo, on this menu's key
      {"shift+Home ctrl+c End ctrl+v", "xabcxabc"},   // copy, paste
      {"shift+Left shift+Left ctrl+x", "xabcxa"},     // cut
      {"Home ctrl+v", "bcxabcxa"},
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(Do(std::string("key ") + s.Keys));
    EXPECT_TRUE(wine::PumpUntil([&] { return H->Text() == s.Text; })) << s.Keys << ": " << H->Text();
  }
  ASSERT_TRUE(Do("key ctrl+k"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Editor.SelectionMode() == smBox; }));
}

// Characters that no key of the keyboard layout makes come through the
// system as Unicode characters and reach the control as Shift-JIS bytes:
// lead and trail (表's trail byte is a backslash), or a half-width kana byte.
TEST_F(EditorXdotoolWine, TypedDoubleByteAndHalfWidthCharactersArriveWhole) {
  H->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
  ASSERT_NO_FATAL_FAILURE(ClickAt(0, 1));
  // xdotool lends such a character a spare key for a moment. Wine reads the
  // key's meaning when it gets to the key press; had the key been taken back
  // by then, the character would be lost (never garbled). So xdotool holds
  // each key lent a while, and a character lost all the same on a starved
  // machine is typed again. A process's very first key, lent or not, has
  // been seen lost that way: a plain key goes first.
  ASSERT_TRUE(Do("type a"));
  ASSERT_TRUE(wine::PumpUntil([&] { return H->Text() == "xa"; })) << H->Text();
  std::string want = H->Text();
  for (const char* ch : {"あ", "表", "ｱ"}) {
    const std::string before = want;
    want += ch;
    for (int attempt = 0; attempt < 4 && H->Text() == before; ++attempt) {
      ASSERT_TRUE(Do(std::string("type --delay 400 '") + ch + "'"));
      wine::PumpUntil([&] { return H->Text() != before; }, 2000);
    }
    ASSERT_EQ(H->Text(), want);
  }
  EXPECT_EQ(H->Editor.Col(), 7);
  ASSERT_TRUE(Do("key BackSpace BackSpace"));
  EXPECT_TRUE(wine::PumpUntil([&] { return H->Text() == "xaあ"; })) << H->Text();
}

}  // namespace
}  // namespace vel
