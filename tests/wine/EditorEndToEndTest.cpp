// The editor control driven from another process through window messages
// only, the way another program drives an edit control: once in veleditor
// (the control alone in a window) and once in the memo window of the real
// program, with the same checks. Offsets are bytes over double-byte text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

enum TTarget { tgHost, tgMemo };

class EditorEndToEnd : public ::testing::TestWithParam<TTarget> {
 protected:
  void SetUp() override {
    const std::string dir = wine::MakeScratchDir("e2e");
    if (GetParam() == tgHost) {
      ASSERT_TRUE(wine::Start(Proc, wine::TestExeDir() + "veleditor.exe", {}, dir));
      ASSERT_TRUE(wine::PumpUntil([&] { return (Top = wine::FindWindowOf(Proc.Id, nullptr, "VelEditorHost")) != nullptr; }, 20000))
          << "the editor window never appeared";
    } else {
      const std::string exe = dir + "velmorind.exe";
      ASSERT_TRUE(::CopyFileA(wine::ProductExe().c_str(), exe.c_str(), FALSE));
      wine::WriteFileBytes(dir + "page.txt", "");
      ASSERT_TRUE(wine::Start(Proc, exe, {dir + "page.txt"}, dir));
      Strip = wine::WaitForWindow("VelmorindVer3", 20000);
      ASSERT_TRUE(Strip) << "the strip never appeared";
      ASSERT_TRUE(wine::PumpUntil([&] { return (Top = wine::FindWindowOf(Proc.Id, nullptr, "TForm2")) != nullptr; }, 20000));
    }
    ASSERT_TRUE(wine::PumpUntil([&] { return (Editor = wine::FindWindowOf(Proc.Id, Top, "TEditor")) != nullptr; }));
    // The program answers sent messages while it is still starting: wait
    // until the page is loaded and placed, so nothing it does at start
    // undoes what a test does.
    ::WaitForInputIdle(Proc.Process, 10000);
    RECT last{};
    DWORD steady = ::GetTickCount();
    ASSERT_TRUE(wine::PumpUntil([&] {
      RECT r{};
      ::GetWindowRect(Editor, &r);
      if (!::EqualRect(&r, &last)) last = r, steady = ::GetTickCount();
      return r.bottom > r.top && ::GetTickCount() - steady > 300;
    }, 10000)) << "the window never stood still";
  }
  void TearDown() override {
    if (!Editor || !::IsWindow(Editor)) return;
    Send(EM_SETMODIFY, FALSE);
    ::PostMessageA(GetParam() == tgHost ? Top : Strip, WM_CLOSE, 0, 0);
    EXPECT_EQ(wine::WaitPumping(Proc, 20000), 0);
  }

  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(Editor, m, w, l); }
  void SetText(const char* s) { ASSERT_TRUE(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s))); }
  std::string Text() {
    const LRESULT n = Send(WM_GETTEXTLENGTH);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got = Send(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(got));
    return s;
  }
  // The selection as (start, end) offsets.
  std::pair<int, int> Sel() {
    const LRESULT r = Send(EM_GETSEL);
    return {LOWORD(r), HIWORD(r)};
  }
  // The client point of the character at an offset, a pixel inside it.
  LPARAM At(int offset) {
    const LRESULT p = Send(EM_POSFROMCHAR, offset);
    return MAKELPARAM(LOWORD(p) + 1, HIWORD(p) + 2);
  }
  void Char(unsigned char c) { Send(WM_CHAR, c); }
  void Key(WPARAM vk) {
    Send(WM_KEYDOWN, vk, 1);
    Send(WM_KEYUP, vk, 0xC0000001);
  }
  std::string ClipboardText() {
    std::string s;
    if (!wine::PumpUntil([] { return ::OpenClipboard(nullptr) != FALSE; })) return "<clipboard busy>";
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
        s = p;
        ::GlobalUnlock(h);
      }
    }
    ::CloseClipboard();
    return s;
  }

  wine::TProcess Proc;
  HWND Top = nullptr, Strip = nullptr, Editor = nullptr;
};

// 漢字 (4 bytes), abc, a break, then 表 (trail byte 0x5C) and 示.
const char* const Sample = "漢字abc\r\n表示";

TEST_P(EditorEndToEnd, TextAndLineMessagesCountBytes) {
  SetText(Sample);
  EXPECT_EQ(Text(), Sample);
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 13);
  EXPECT_EQ(Send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(Send(EM_LINEINDEX, 1), 9);
  EXPECT_EQ(Send(EM_LINEINDEX, 2), -1);
  EXPECT_EQ(Send(EM_LINELENGTH, 10), 4);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, 10), 1);
  // A short buffer takes what fits, with its terminating zero.
  char small[6] = {'?', '?', '?', '?', '?', '?'};
  EXPECT_EQ(Send(WM_GETTEXT, 6, reinterpret_cast<LPARAM>(small)), 5);
  EXPECT_EQ(std::string(small), "漢字a");
}

TEST_P(EditorEndToEnd, CharactersAndKeysNeverSplitADoubleByteCharacter) {
  SetText(Sample);
  Send(EM_SETSEL, 9, 9);
  Char(0x95);  // 表: its trail byte is a backslash
  Char(0x5C);
  EXPECT_EQ(Text(), "漢字abc\r\n表表示");
  EXPECT_EQ(Sel(), std::make_pair(11, 11));
  Key(VK_LEFT);
  EXPECT_EQ(Sel(), std::make_pair(9, 9));
  Key(VK_END);
  EXPECT_EQ(Sel(), std::make_pair(15, 15));
  Key(VK_UP);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), 0);
  Key(VK_HOME);
  EXPECT_EQ(Sel(), std::make_pair(0, 0));
  Key(VK_RIGHT);
  EXPECT_EQ(Sel(), std::make_pair(2, 2));
  Key(VK_DELETE);
  EXPECT_EQ(Text(), "漢abc\r\n表表示");
  Char(0x08);  // Backspace comes as a character, as the system translates it
  EXPECT_EQ(Text(), "abc\r\n表表示");
  // Undo by message, step by step, back to the text as it was set.
  EXPECT_EQ(Send(EM_CANUNDO), 1);
  while (Send(EM_CANUNDO) && Text() != Sample) ASSERT_EQ(Send(EM_UNDO), 1);
  EXPECT_EQ(Text(), Sample);
}

TEST_P(EditorEndToEnd, MouseClickAndDragSelectByPosition) {
  SetText(Sample);
  // A click on the trail half of 字 puts the caret before it.
  const LRESULT p = Send(EM_POSFROMCHAR, 3);
  const LPARAM trail = MAKELPARAM(LOWORD(p) + 1, HIWORD(p) + 2);
  EXPECT_EQ(LOWORD(Send(EM_CHARFROMPOS, 0, trail)), 2);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, trail);
  Send(WM_LBUTTONUP, 0, trail);
  EXPECT_EQ(Sel(), std::make_pair(2, 2));
  // A drag from a to the second row's 示 selects across the break.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(4));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(11));
  Send(WM_LBUTTONUP, 0, At(11));
  EXPECT_EQ(Sel(), std::make_pair(4, 11));
  // Shift-click moves the selection's free end, the anchor staying.
  Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(9));
  Send(WM_LBUTTONUP, MK_SHIFT, At(9));
  EXPECT_EQ(Sel(), std::make_pair(4, 9));
}

TEST_P(EditorEndToEnd, ClipboardAndReplaceSelection) {
  SetText(Sample);
  Send(EM_SETSEL, 0, 4);
  Send(WM_COPY);
  EXPECT_EQ(ClipboardText(), "漢字");
  Send(EM_SETSEL, 13, 13);
  Send(WM_PASTE);
  EXPECT_EQ(Text(), "漢字abc\r\n表示漢字");
  Send(EM_SETSEL, 4, 7);
  Send(WM_CUT);
  EXPECT_EQ(ClipboardText(), "abc");
  EXPECT_EQ(Text(), "漢字\r\n表示漢字");
  Send(EM_SETSEL, 0, 2);
  Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("真"));
  EXPECT_EQ(Text(), "真字\r\n表示漢字");
  EXPECT_EQ(Sel(), std::make_pair(2, 2));
  // Read-only: typing, pasting and replacing change nothing.
  Send(EM_SETREADONLY, TRUE);
  Char('x');
  Send(WM_PASTE);
  Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("y"));
  EXPECT_EQ(Text(), "真字\r\n表示漢字");
  Send(EM_SETREADONLY, FALSE);
  Char('x');
  EXPECT_EQ(Text(), "真x字\r\n表示漢字");
}

TEST_P(EditorEndToEnd, ScrollBarsWheelAndScrollCaretMoveTheView) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "行" + std::to_string(i) + "\r\n";
  SetText(text.c_str());
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
  Send(WM_VSCROLL, SB_PAGEDOWN);
  const LRESULT page = Send(EM_GETFIRSTVISIBLELINE);
  EXPECT_GT(page, 3);
  Send(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), page - 1);
  Send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_GT(Send(EM_GETFIRSTVISIBLELINE), 250);
  Send(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
  // The wheel turns by the system's lines per notch, downwards for a negative turn.
  POINT screen{10, 10};
  ::ClientToScreen(Editor, &screen);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
  EXPECT_GT(Send(EM_GETFIRSTVISIBLELINE), 0);
  // The caret sent far down, then scrolled into view.
  const int down = static_cast<int>(Send(EM_LINEINDEX, 200));
  Send(EM_SETSEL, down, down);
  Send(EM_SCROLLCARET);
  const LRESULT top = Send(EM_GETFIRSTVISIBLELINE);
  EXPECT_LE(top, 200);
  EXPECT_GT(top, 150);
}

TEST_P(EditorEndToEnd, RightClickOpensThePopupMenuAndEscapeClosesIt) {
  SetText(Sample);
  Send(EM_SETSEL, 0, 4);
  const LPARAM at = At(6);
  // The menu runs its own loop in the program: posted, so this test goes on.
  ::PostMessageA(Editor, WM_RBUTTONDOWN, MK_RBUTTON, at);
  ::PostMessageA(Editor, WM_RBUTTONUP, 0, at);
  HWND menu = nullptr;
  EXPECT_TRUE(wine::PumpUntil([&] { return (menu = wine::FindWindowOf(Proc.Id, nullptr, "#32768")) && ::IsWindowVisible(menu); }));
  ::PostMessageA(Editor, WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageA(Editor, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_TRUE(wine::PumpUntil([&] {
    HWND m = wine::FindWindowOf(Proc.Id, nullptr, "#32768");
    return !m || !::IsWindowVisible(m);
  }));
  // The control answers again and kept its text and selection.
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutA(Editor, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_EQ(result, 13u);
  EXPECT_EQ(Sel(), std::make_pair(0, 4));
}

INSTANTIATE_TEST_SUITE_P(Targets, EditorEndToEnd, ::testing::Values(tgHost, tgMemo),
                         [](const ::testing::TestParamInfo<TTarget>& i) {
                           return std::string(i.param == tgHost ? "Host" : "MemoWindow");
                         });

}  // namespace
}  // namespace vel
