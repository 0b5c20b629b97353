// IWindow, ICanvas and timers over the real API, checked for the behaviour the
// headless backend promises the portable code.
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include "tests/wine/WineTestUtil.h"

namespace vel::win32 {
namespace {

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Wnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 10, 40, 200, 120, nullptr, nullptr,
                            ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(Wnd);
    wine::Pump(50);
  }
  void TearDown() override { ::DestroyWindow(Wnd); }
  HWND Wnd = nullptr;
};

TEST_F(Win32WindowTest, ScrollInfoRoundTripsAndClampsLikeHeadless) {
  TWin32Window w(Wnd);
  w.SetScrollInfo(TScrollBarKind::Vertical, {0, 99, 10, 500});
  TScrollInfo got = w.GetScrollInfo(TScrollBarKind::Vertical);
  EXPECT_EQ(got.Max, 99);
  EXPECT_EQ(got.Page, 10);
  EXPECT_EQ(got.Pos, 90);
}

TEST_F(Win32WindowTest, CanvasDrawsTextInTheForegroundColourInsideTheClip) {
  TWin32Window w(Wnd);
  {
    auto c = w.GetCanvas();
    c->FillRect({0, 0, 200, 100}, clWhite);
    c->SetFont({"ＭＳ ゴシック", -16});
    EXPECT_GT(c->TextWidth("表示"), c->TextWidth("a"));
    c->TextOut(2, 2, {0, 0, 60, 20}, "■■■■■■■■", {}, clRed, clWhite);
  }
  HDC dc = ::GetDC(Wnd);
  int red = 0, outside = 0;
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 20; ++y) {
      COLORREF p = ::GetPixel(dc, x, y);
      if (p == RGB(255, 0, 0)) (x < 60 ? red : outside)++;
    }
  ::ReleaseDC(Wnd, dc);
  EXPECT_GT(red, 50);
  EXPECT_EQ(outside, 0) << "text must stay inside its clip";
}

TEST(Win32Timer, FiresFromTheMessageLoopUntilDisabled) {
  int fired = 0;
  auto t = CreateTimer(10, [&] { ++fired; });
  wine::Pump(200);
  EXPECT_GT(fired, 2);
  t->SetEnabled(false);
  int at = fired;
  wine::Pump(100);
  EXPECT_EQ(fired, at);
  EXPECT_FALSE(t->Enabled());
}

}  // namespace
}  // namespace vel::win32
