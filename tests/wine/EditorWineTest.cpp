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

// The other side of a clipboard exchange, as a process of its own: this test
// program started again with one of these two disabled tests selected.
std::string EnvOr(const char* name) {
  char buf[MAX_PATH] = {};
  return ::GetEnvironmentVariableA(name, buf, sizeof buf) ? buf : "";
}

TEST(EditorWineOtherProcess, DISABLED_PutsTheFileOnTheClipboard) {
  ASSERT_TRUE(PutPlainText(wine::ReadFileBytes(EnvOr("VEL_CLIP_FILE"))));
}

TEST(EditorWineOtherProcess, DISABLED_WritesTheClipboardToTheFile) {
  for (int i = 0; i < 50 && !::OpenClipboard(nullptr); ++i) ::Sleep(20);
  std::string text;
  if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
      text = p;
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  wine::WriteFileBytes(EnvOr("VEL_CLIP_FILE"), text);
}

// Runs one of the disabled tests above in a new process and waits for it.
bool RunOtherProcess(const char* test, const std::string& file) {
  char exe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string cmd = std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=EditorWineOtherProcess." + test;
  ::SetEnvironmentVariableA("VEL_CLIP_FILE", file.c_str());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  ::WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return code == 0;
}

TEST(EditorWine, ClipboardCrossesToAndFromAnotherProcess) {
  InitEditorUnit();
  const std::string dir = wine::MakeScratchDir("clip");
  const std::string file = dir + "clip.txt";
  TWineEditor ed(20);

  // Another process's text pastes here, Japanese and a trail byte 0x5C intact.
  wine::WriteFileBytes(file, "表示ソフト\r\nend");
  ASSERT_TRUE(RunOtherProcess("DISABLED_PutsTheFileOnTheClipboard", file));
  ed.Load("");
  ed.Editor.PasteFromClipboard();
  EXPECT_EQ(ed.Editor.Lines().GetText(), "表示ソフト\r\nend");

  // A box copied here reaches the other process as plain text.
  ed.Load("abcd\r\nefgh\r\n");
  ed.Editor.SetSelectionMode(smBox);
  ed.Editor.SetRowCol(0, 1);
  ed.Editor.InitSelection();
  ed.Editor.SetRowCol(1, 3);
  ed.Editor.SetSelection();
  ASSERT_TRUE(ed.Editor.CopyToClipboard());
  ASSERT_TRUE(RunOtherProcess("DISABLED_WritesTheClipboardToTheFile", file));
  EXPECT_EQ(wine::ReadFileBytes(file), "bc\r\nfg\r\n");
}

}  // namespace
}  // namespace vel
