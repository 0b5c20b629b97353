// A page whose file holds bytes that plain text controls lose (a lead byte
// without its trail byte, NUL, Ctrl-Z inside the text) goes through the real
// program: loaded, edited by window messages, saved, and every byte not
// edited is still there.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "shell/app/Resource.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

using namespace std::string_literals;

// A status panel's text, read through a buffer in the program's memory: the
// system carries no status bar message's buffer across processes.
std::string StatusPanel(HANDLE process, HWND status, int i) {
  char buf[256] = {};
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof buf, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return "<no memory>";
  ::SendMessageA(status, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(remote));
  ::ReadProcessMemory(process, remote, buf, sizeof buf - 1, nullptr);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return buf;
}

// A tab of its own, 0x81 0x20 (a lead byte whose trail byte is a blank),
// NUL, Ctrl-Z and a lone lead byte before the break, and no break at the end.
const std::string Original = "一行目\x81 x\x00y\x1Az\r\n\x82\r\n終わり"s;

class MemoEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = wine::MakeScratchDir("memo");
    std::string exe = Dir + "velmorind.exe";
    ASSERT_TRUE(::CopyFileA(wine::ProductExe().c_str(), exe.c_str(), FALSE));
    File = Dir + "raw.txt";
    wine::WriteFileBytes(File, Original);
    ASSERT_TRUE(wine::Start(Proc, exe, {File}, Dir));
    Strip = wine::WaitForWindow("VelmorindVer3", 20000);
    ASSERT_TRUE(Strip) << "the strip never appeared";
    ASSERT_TRUE(wine::PumpUntil([&] { return (Memo = wine::FindWindowOf(Proc.Id, nullptr, "TForm2")) != nullptr; }, 20000));
    ASSERT_TRUE(wine::PumpUntil([&] { return (Editor = wine::FindWindowOf(Proc.Id, Memo, "TEditor")) != nullptr; }));
    ASSERT_TRUE(
        wine::PumpUntil([&] { return (Status = wine::FindWindowOf(Proc.Id, Memo, "msctls_statusbar32")) != nullptr; }));
  }
  void TearDown() override {
    if (Strip && ::IsWindow(Strip)) {
      ::SendMessageA(Editor, EM_SETMODIFY, FALSE, 0);
      ::PostMessageA(Strip, WM_CLOSE, 0, 0);
      wine::WaitPumping(Proc, 20000);
    }
  }
  std::string Panel(int i) { return StatusPanel(Proc.Process, Status, i); }
  void TypeAt(int offset, char c) {
    ::SendMessageA(Editor, EM_SETSEL, offset, offset);
    ::SendMessageA(Editor, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  std::string Dir, File;
  wine::TProcess Proc;
  HWND Strip = nullptr, Memo = nullptr, Editor = nullptr, Status = nullptr;
};

TEST_F(MemoEndToEndTest, EditedAndSavedPageKeepsEveryOtherByte) {
  EXPECT_EQ(::SendMessageA(Editor, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(Original.size()));
  EXPECT_EQ(::SendMessageA(Editor, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(Panel(1), "");

  const int afterNul = static_cast<int>(Original.find('\0')) + 1;
  TypeAt(afterNul, 'R');
  TypeAt(0, 'Q');
  EXPECT_EQ(::SendMessageA(Editor, EM_GETMODIFY, 0, 0), 1);
  EXPECT_EQ(Panel(1), "変更あり");
  EXPECT_NE(Panel(0).find("  2:  1"), std::string::npos) << Panel(0);

  ::SendMessageA(Memo, WM_COMMAND, CM_SAVE1, 0);
  std::string expected = "Q";
  expected.append(Original, 0, static_cast<size_t>(afterNul));
  expected += 'R';
  expected.append(Original, static_cast<size_t>(afterNul));
  EXPECT_EQ(wine::ReadFileBytes(File), expected);
  EXPECT_EQ(::SendMessageA(Editor, EM_GETMODIFY, 0, 0), 0);
  // A saved page looks saved.
  EXPECT_EQ(Panel(1), "");
  EXPECT_EQ(::GetFileAttributesA((File + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MemoEndToEndTest, UndoThroughTheMenuBringsBackTheFileAsItWas) {
  TypeAt(3, 'a');
  TypeAt(0, 'b');
  ::SendMessageA(Memo, WM_COMMAND, CM_UNDO1, 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_UNDO1, 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_REDO1, 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_UNDO1, 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_SAVE1, 0);
  EXPECT_EQ(wine::ReadFileBytes(File), Original);
}

TEST_F(MemoEndToEndTest, InsertKeySwitchesToOverwritingAndThePanelSaysSo) {
  EXPECT_EQ(Panel(2), "挿入");
  ::SendMessageA(Editor, WM_KEYDOWN, VK_INSERT, 0);
  EXPECT_EQ(Panel(2), "上書き");
  // "表" (its trail byte a backslash) takes the place of "一", both bytes.
  ::SendMessageA(Editor, EM_SETSEL, 0, 0);
  ::SendMessageA(Editor, WM_CHAR, 0x95, 0);
  ::SendMessageA(Editor, WM_CHAR, 0x5C, 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_SAVE1, 0);
  std::string expected = Original;
  expected.replace(0, 2, "表");
  EXPECT_EQ(wine::ReadFileBytes(File), expected);
  EXPECT_EQ(Panel(1), "") << "a saved page looks saved";
  ::SendMessageA(Editor, WM_KEYDOWN, VK_INSERT, 0);
  EXPECT_EQ(Panel(2), "挿入");
}

// A read-only page file is not replaced: the box says why, the file keeps
// its bytes and its attribute, and the page stays modified.
TEST_F(MemoEndToEndTest, ReadOnlyFileIsRefusedAndThePageStaysModified) {
  ASSERT_TRUE(::SetFileAttributesA(File.c_str(), FILE_ATTRIBUTE_READONLY));
  TypeAt(0, 'b');
  ::PostMessageA(Memo, WM_COMMAND, CM_SAVE1, 0);
  HWND box = nullptr;
  ASSERT_TRUE(wine::PumpUntil([&] { return (box = ::FindWindowA("#32770", "Velmorind")) != nullptr; }, 10000));
  char text[512] = {};
  wine::PumpUntil([&] { return ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0; }, 2000);
  EXPECT_NE(std::string(text).find("読み取り専用"), std::string::npos) << text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  wine::Pump(200);
  EXPECT_EQ(wine::ReadFileBytes(File), Original);
  EXPECT_TRUE(::GetFileAttributesA(File.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Panel(1), "変更あり");
  ::SetFileAttributesA(File.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// 検索・置換 through the real dialog: find selects the first match, F3 the
// next, a miss and a count are told in their boxes, and a pattern the
// engine cannot read is told in the engine's words with nothing changed.
TEST_F(MemoEndToEndTest, FindAndReplaceThroughTheDialog) {
  ::SendMessageA(Editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("メモ a メモ b\r\nメモ"));
  auto request = [&](const char* find, const char* replace, int button, bool regexp = false) {
    ::PostMessageA(Memo, WM_COMMAND, CM_FIND2, 0);
    HWND d = nullptr;
    ASSERT_TRUE(wine::PumpUntil([&] { return (d = ::FindWindowA("#32770", "検索・置換")) && ::IsWindowVisible(d); }));
    ::SendDlgItemMessageA(d, IDC_FIND_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(find));
    ::SendDlgItemMessageA(d, IDC_REPLACE_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(replace));
    ::SendDlgItemMessageA(d, IDC_FIND_REGEXP, BM_SETCHECK, regexp ? BST_CHECKED : BST_UNCHECKED, 0);
    ::PostMessageA(d, WM_COMMAND, button, 0);
    ASSERT_TRUE(wine::PumpUntil([&] { return !::IsWindow(d); }));
  };
  auto box = [&](const char* caption) {
    HWND b = nullptr;
    wine::PumpUntil([&] { return (b = ::FindWindowA("#32770", caption)) != nullptr; }, 5000);
    char text[256] = {};
    if (b) {
      wine::PumpUntil([&] { return ::GetDlgItemTextA(b, 0xFFFF, text, sizeof text) > 0; }, 2000);
      ::PostMessageA(b, WM_COMMAND, IDOK, 0);
      wine::PumpUntil([&] { return !::IsWindow(b); }, 2000);
    }
    return std::string(text);
  };
  auto selection = [&] { return static_cast<DWORD>(::SendMessageA(Editor, EM_GETSEL, 0, 0)); };
  request("メモ", "", IDC_FIND_FIND);
  EXPECT_EQ(selection(), MAKELONG(0, 4));
  ::SendMessageA(Memo, WM_COMMAND, CM_FINDNEXT, 0);
  EXPECT_EQ(selection(), MAKELONG(7, 11));
  request("xyz", "", IDC_FIND_FIND);
  EXPECT_EQ(box("検索結果"), "文字列　'xyz'　は\r\n見つかりませんでした。");
  request("メモ", "memo", IDC_FIND_REPLACEALL);
  EXPECT_EQ(box("置換結果"), "3個置換えました。");
  char buf[64] = {};
  ::SendMessageA(Editor, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "memo a memo b\r\nmemo");
  request("(a", "x", IDC_FIND_REPLACEALL, true);
  EXPECT_FALSE(box("置換結果").empty()) << "the engine's message";
  ::SendMessageA(Editor, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "memo a memo b\r\nmemo");
}

TEST_F(MemoEndToEndTest, SelectAllAndCutThroughTheMenuEmptyThePage) {
  ::SendMessageA(Memo, WM_COMMAND, CM_SELECTALL1, 0);
  LRESULT sel = ::SendMessageA(Editor, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(sel), 0);
  EXPECT_EQ(HIWORD(sel), Original.size());
  ::SendMessageA(Memo, WM_COMMAND, CM_CUT1, 0);
  EXPECT_EQ(::SendMessageA(Editor, WM_GETTEXTLENGTH, 0, 0), 0);
  ::SendMessageA(Memo, WM_COMMAND, CM_SAVE1, 0);
  EXPECT_EQ(wine::ReadFileBytes(File), "");
}

}  // namespace
}  // namespace vel
