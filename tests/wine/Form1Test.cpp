// The strip window as the platform sees it, and its side of the hand-off.
#include "shell/app/Form1.h"

#include "tests/shell/RecordingPages.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/Screen.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Ini = wine::MakeScratchDir("form1") + "velmorind.ini";
    wine::WriteFileBytes(Ini, "[Form]\r\nLeft=260\r\n");
  }
  std::unique_ptr<TForm1> MakeStrip(bool holdStartup, const std::vector<std::string>& params = {}) {
    auto f = std::make_unique<TForm1>(Pages, Ini);
    f->EndsMessageLoop = false;
    f->HoldStartup = holdStartup;
    f->Create(params);
    return f;
  }
  LRESULT Send(HWND w, ULONG_PTR dwData, const void* data, DWORD cb) {
    COPYDATASTRUCT cds{dwData, cb, const_cast<void*>(data)};
    return ::SendMessageA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
  }
  std::string Ini;
  TRecordingPages Pages;
};

TEST_F(Form1Test, WindowHasTheStripsCaptionStyleSizeAndPlace) {
  auto f = MakeStrip(false);
  HWND w = f->Handle();
  ASSERT_TRUE(w);
  EXPECT_EQ(::FindWindowA(nullptr, "VelmorindVer3"), w);
  char cls[64];
  ::GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "TForm1");
  LONG style = ::GetWindowLongA(w, GWL_STYLE), ex = ::GetWindowLongA(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(::IsWindowVisible(w));
  RECT r;
  ::GetWindowRect(w, &r);
  TRect work = WorkArea();
  EXPECT_EQ(r.left, 260);
  EXPECT_EQ(r.top, work.Top);
  EXPECT_EQ(r.right - r.left, 52);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_EQ(f->WindowData().MemoLeft, 312);
}

TEST_F(Form1Test, FailureInAMessageIsShownAndTheStripLivesOn) {
  auto f = MakeStrip(false);
  wine::TMessageBoxWatcher boxes("Velmorind");
  Pages.ThrowOn = WM_USER + 99;
  ::SendMessageA(f->Handle(), WM_USER + 99, 0, 0);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"帯の処理が失敗しました."});
  Pages.ThrowOn = 0;
  EXPECT_TRUE(::IsWindow(f->Handle()));
  Send(f->Handle(), 1, "a.txt", 5);
  EXPECT_EQ(Pages.Calls, std::vector<std::string>{"open:a.txt"}) << "the strip still answers";
}

TEST_F(Form1Test, ProgramsOwnParametersAreOpenedDuringCreation) {
  auto f = MakeStrip(false, {"a.txt", "メモ.txt"});
  EXPECT_EQ(Pages.Calls, (std::vector<std::string>{"open:a.txt", "open:メモ.txt"}));
}

TEST_F(Form1Test, CopyDataRecordsBecomePageOperations) {
  auto f = MakeStrip(false);
  std::string name = "C:\\メモ\\表.txt";
  Send(f->Handle(), 1, name.c_str(), static_cast<DWORD>(name.size()));
  Send(f->Handle(), 2, ":::END_PARAM:::", 15);
  EXPECT_EQ(Pages.Calls, (std::vector<std::string>{"open:" + name, "show"}));
}

TEST_F(Form1Test, HostileRecordsAreIgnoredWithoutReadingPastTheirData) {
  auto f = MakeStrip(false);
  HWND w = f->Handle();
  // Exactly the counted bytes, in a block with no zero after them: guarded
  // pages on both sides would catch a read past the end.
  SYSTEM_INFO si;
  ::GetSystemInfo(&si);
  char* block = static_cast<char*>(::VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_TRUE(block);
  DWORD old;
  ::VirtualProtect(block + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old);
  char* tail = block + si.dwPageSize - 5;
  memcpy(tail, "b.txt", 5);
  Send(w, 1, tail, 5);                       // no terminating zero: still whole
  Send(w, 1, nullptr, 40);                   // no data
  Send(w, 1, "x", 0);                        // no bytes
  Send(w, 1, "ab\0cd", 5);                   // zero inside the count
  ::SendMessageA(w, WM_COPYDATA, 0, 0);      // no record at all
  EXPECT_EQ(Pages.Calls, (std::vector<std::string>{"open:b.txt"}));
  ::VirtualFree(block, 0, MEM_RELEASE);
}

TEST_F(Form1Test, RecordsSentWhileStartingAreHandledWhenStartUpEnds) {
  auto f = MakeStrip(true);
  Send(f->Handle(), 1, "late.txt", 8);
  Send(f->Handle(), 2, ":::END_PARAM:::", 15);
  EXPECT_TRUE(Pages.Calls.empty());
  f->HandOff().SetReady();
  EXPECT_EQ(Pages.Calls, (std::vector<std::string>{"open:late.txt", "show"}));
}

}  // namespace
}  // namespace vel
