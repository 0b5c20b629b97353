// Starts the real velmorind.exe and checks the single-instance hand-off from
// the outside: what reaches a running strip, exit codes, the foreground.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Screen.h"
#include "platform/win32/Handles.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

struct TRawRecord {
  ULONG_PTR dwData;
  DWORD cbData;
  std::string Text;
};

// Stands in for a running instance: owns the mutex and a window with the
// strip's title that records every data-copy record exactly as it arrives.
class TFakeFirstInstance {
 public:
  TFakeFirstInstance() {
    Mutex.Reset(::CreateMutexA(nullptr, TRUE, "Velmorind3"));
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "FakeStrip";
    ::RegisterClassA(&wc);
    Wnd = ::CreateWindowExA(WS_EX_TOPMOST, "FakeStrip", "VelmorindVer3", WS_POPUP | WS_VISIBLE, 0, 0, 52, 20,
                            nullptr, nullptr, wc.hInstance, nullptr);
    Current = this;
  }
  ~TFakeFirstInstance() {
    ::DestroyWindow(Wnd);
    Current = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COPYDATA && Current) {
      auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lp);
      Current->Records.push_back({cds->dwData, cds->cbData, std::string(static_cast<char*>(cds->lpData), cds->cbData)});
      return TRUE;
    }
    return ::DefWindowProcA(w, m, wp, lp);
  }
  win32::TKernelHandle Mutex;
  HWND Wnd;
  std::vector<TRawRecord> Records;
  static TFakeFirstInstance* Current;
};
TFakeFirstInstance* TFakeFirstInstance::Current = nullptr;

HWND MakeOtherForegroundWindow() {
  HWND w = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetForegroundWindow(w);
  wine::PumpUntil([w] { return ::GetForegroundWindow() == w; });
  return w;
}

TEST(HandOffEndToEnd, SecondStartWithTwoFilesSendsThreeRecordsAndExitsWith1) {
  TFakeFirstInstance first;
  std::string dir = wine::MakeScratchDir("e2e");
  std::string jp = dir + "日本語のメモ.txt";
  wine::TProcess p;
  ASSERT_TRUE(wine::Start(p, wine::ProductExe(), {"a.txt", jp}, dir));
  EXPECT_EQ(wine::WaitPumping(p, 20000), 1);
  ASSERT_EQ(first.Records.size(), 3u);
  EXPECT_EQ(first.Records[0].dwData, 1u);
  // A relative name is made whole in the second start's own folder.
  EXPECT_EQ(first.Records[0].Text, dir + "a.txt");
  EXPECT_EQ(first.Records[0].cbData, (dir + "a.txt").size());
  EXPECT_EQ(first.Records[1].dwData, 2u);
  EXPECT_EQ(first.Records[1].Text, jp);
  EXPECT_EQ(first.Records[1].cbData, jp.size());
  EXPECT_EQ(first.Records[2].dwData, 3u);
  EXPECT_EQ(first.Records[2].Text, ":::END_PARAM:::");
  EXPECT_EQ(first.Records[2].cbData, 15u);
}

TEST(HandOffEndToEnd, ParameterOver4095BytesArrivesWhole) {
  TFakeFirstInstance first;
  std::string longName = "C:\\" + std::string(5000, 'n') + ".txt";
  wine::TProcess p;
  ASSERT_TRUE(wine::Start(p, wine::ProductExe(), {longName}, ""));
  EXPECT_EQ(wine::WaitPumping(p, 20000), 1);
  ASSERT_EQ(first.Records.size(), 2u);
  EXPECT_EQ(first.Records[0].Text, longName);
  EXPECT_EQ(first.Records[0].cbData, longName.size());
}

TEST(HandOffEndToEnd, SecondStartWithoutParametersSendsNothingAndRaisesTheStrip) {
  TFakeFirstInstance first;
  HWND other = MakeOtherForegroundWindow();
  ASSERT_NE(::GetForegroundWindow(), first.Wnd);
  wine::TProcess p;
  ASSERT_TRUE(wine::Start(p, wine::ProductExe(), {}, ""));
  EXPECT_EQ(wine::WaitPumping(p, 20000), 1);
  EXPECT_TRUE(first.Records.empty());
  wine::PumpUntil([&] { return ::GetForegroundWindow() == first.Wnd; });
  EXPECT_EQ(::GetForegroundWindow(), first.Wnd);
  ::DestroyWindow(other);
}

class RealInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = wine::MakeScratchDir("real");
    Exe = Dir + "velmorind.exe";
    ASSERT_TRUE(::CopyFileA(wine::ProductExe().c_str(), Exe.c_str(), FALSE));
    wine::WriteFileBytes(Dir + "velmorind.ini", "[Form]\r\nLeft=180\r\n");
    ASSERT_TRUE(wine::Start(First, Exe, {}, Dir));
    Strip = wine::WaitForWindow("VelmorindVer3", 20000);
    ASSERT_TRUE(Strip) << "the strip never appeared";
    // Findable from its creation, the strip is placed before it is shown.
    ASSERT_TRUE(wine::PumpUntil([&] { return ::IsWindowVisible(Strip) != FALSE; }, 20000));
  }
  void TearDown() override {
    if (Strip && ::IsWindow(Strip)) ::PostMessageA(Strip, WM_CLOSE, 0, 0);
    EXPECT_EQ(wine::WaitPumping(First, 20000), 0) << "a normal run ends with 0";
  }
  std::string Dir, Exe;
  wine::TProcess First;
  HWND Strip = nullptr;
};

TEST_F(RealInstanceTest, StripSitsAtTheWorkAreaTopAtTheSavedLeft) {
  RECT r;
  ::GetWindowRect(Strip, &r);
  EXPECT_EQ(r.left, 180);
  EXPECT_EQ(r.top, WorkArea().Top);
  EXPECT_EQ(r.right - r.left, 52);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_TRUE(::GetWindowLongA(Strip, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(RealInstanceTest, SecondStartsHandOffAndLeaveTheFirstRunning) {
  HWND other = MakeOtherForegroundWindow();
  wine::TProcess second;
  ASSERT_TRUE(wine::Start(second, Exe, {}, Dir));
  EXPECT_EQ(wine::WaitPumping(second, 20000), 1);
  wine::PumpUntil([&] { return ::GetForegroundWindow() == Strip; });
  EXPECT_EQ(::GetForegroundWindow(), Strip);

  wine::TProcess third;
  ASSERT_TRUE(wine::Start(third, Exe, {"one.txt", "二.txt"}, Dir));
  EXPECT_EQ(wine::WaitPumping(third, 20000), 1);
  EXPECT_EQ(::FindWindowA(nullptr, "VelmorindVer3"), Strip);
  ::DestroyWindow(other);
}

}  // namespace
}  // namespace vel
