// The editor control in real windows: the system caret follows the focus
// and the caret's place, characters typed as window messages edit the text,
// and the clipboard carries plain and box copies between two controls and
// from other programs.
// The window host first: <windows.h> renames GetTextMetrics and TextOut, and
// every declaration of the canvas must see the same names.
#include "platform/win32/WindowHost.h"

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

struct TWineEditor {
  explicit TWineEditor(int x) {
    win32::RegisterHostClass({"VelTestEditor"});
    Host.Create("VelTestEditor", {0, WS_POPUP | WS_VISIBLE, "editor", {x, 40, x + 300, 240}}, Editor);
  }
  // The window goes first, telling the control, which then holds no window.
  ~TWineEditor() { Host.Destroy(); }
  HWND Wnd() const { return Host.Handle(); }
  void Load(const std::string& text) {
    Editor.Lines().Clear();
    Editor.ScreenStrings().UpdateList(0, 0, text);
    Editor.UndoObj().Clear();
  }
  TEditor Editor;
  THostedWindow Host;
};

HWND CaretWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) ? info.hwndCaret : nullptr;
}

bool PutPlainText(const std::string& text) {
  for (int i = 0; i < 50 && !::OpenClipboard(nullptr); ++i) ::Sleep(20);
  ::EmptyClipboard();
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!mem) return ::CloseClipboard(), false;
  char* p = static_cast<char*>(::GlobalLock(mem));
  memcpy(p, text.c_str(), text.size() + 1);
  ::GlobalUnlock(mem);
  const bool ok = ::SetClipboardData(CF_TEXT, mem) != nullptr;
  ::CloseClipboard();
  return ok;
}

TEST(EditorWine, CaretIsCreatedWithTheFocusAndFollowsTheCaretPlace) {
  InitEditorUnit();
  TWineEditor a(20), b(340);
  a.Load("abc\r\nあいう\r\n");
  ::SetFocus(a.Wnd());
  ASSERT_TRUE(wine::PumpUntil([&] { return CaretWindow() == a.Wnd(); }));
  a.Editor.SetRowCol(1, 4);
  POINT p{};
  ASSERT_TRUE(::GetCaretPos(&p));
  EXPECT_EQ(p.x, a.Editor.LeftMargin() + 4 * a.Editor.ColWidth());
  EXPECT_EQ(p.y, a.Editor.TopMargin() + a.Editor.RowHeight());
  ::SetFocus(b.Wnd());
  ASSERT_TRUE(wine::PumpUntil([&] { return CaretWindow() == b.Wnd(); }));
  b.Editor.SetRowCol(0, 0);
  ASSERT_TRUE(::GetCaretPos(&p));
  EXPECT_EQ(p.x, b.Editor.LeftMargin());
}

TEST(EditorWine, CharacterMessagesEditTheText) {
  InitEditorUnit();
  TWineEditor a(20);
  a.Load("");
  ::SetFocus(a.Wnd());
  ::PostMessageA(a.Wnd(), WM_CHAR, 0x95, 1);  // 表: its trail byte is a backslash
  ::PostMessageA(a.Wnd(), WM_CHAR, 0x5C, 1);
  ::PostMessageA(a.Wnd(), WM_CHAR, 'x', 1);
  ::PostMessageA(a.Wnd(), WM_CHAR, '\r', 1);
  ::PostMessageA(a.Wnd(), WM_KEYDOWN, VK_DELETE, 1);
  ASSERT_TRUE(wine::PumpUntil([&] { return a.Editor.Lines().GetText() == "表x\r\n"; }))
      << a.Editor.Lines().GetText();
  EXPECT_EQ(a.Editor.Row(), 1);
}

TEST(EditorWine, ClipboardRoundTripsBetweenTwoControlsAndFromOtherPrograms) {
  InitEditorUnit();
  TWineEditor a(20), b(340);
  a.Load("abcd\r\nefgh\r\nijkl\r\n");
  a.Editor.SetSelectionMode(smBox);
  a.Editor.SetRowCol(0, 1);
  a.Editor.InitSelection();
  a.Editor.SetRowCol(1, 3);
  a.Editor.SetSelection();
  ASSERT_TRUE(a.Editor.CopyToClipboard());
  EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("TEditor Box Type")));
  b.Load("1234\r\n5678\r\n");
  b.Editor.SetRowCol(0, 2);
  b.Editor.PasteFromClipboard();
  EXPECT_EQ(b.Editor.Lines().GetText(), "12bc34\r\n56fg78\r\n");

  // A line selection goes as plain text only and pastes as a stream.
  a.Editor.SetSelectionMode(smLine);
  a.Editor.SetSelStart(1);
  a.Editor.SetSelLength(5);
  ASSERT_TRUE(a.Editor.CopyToClipboard());
  EXPECT_FALSE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("TEditor Box Type")));
  b.Load("XY");
  b.Editor.SetRowCol(0, 1);
  b.Editor.PasteFromClipboard();
  EXPECT_EQ(b.Editor.Lines().GetText(), "Xbcd\r\nY");

  // Text put there by another program pastes as a stream, Japanese intact.
  ASSERT_TRUE(PutPlainText("表示\r\nok"));
  b.Load("");
  b.Editor.PasteFromClipboard();
  EXPECT_EQ(b.Editor.Lines().GetText(), "表示\r\nok");
}

}  // namespace
}  // namespace vel
