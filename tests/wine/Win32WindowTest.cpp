// IWindow, ICanvas and timers over the real API, checked for the behaviour the
// headless backend promises the portable code.
#include "platform/win32/Win32Window.h"

#include <imm.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/win32/Encoding.h"
#include "tests/wine/WineTestUtil.h"

namespace vel::win32 {
namespace {

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Wnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 10, 40, 200, 120, nullptr, nullptr,
                            ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(Wnd);
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

TEST_F(Win32WindowTest, CanvasClipsAndCopiesOffscreenBitmaps) {
  TWin32Window w(Wnd);
  {
    auto c = w.GetCanvas();
    c->FillRect({0, 0, 200, 100}, clWhite);
    auto bar = c->CreateOffscreen(20, 40);
    EXPECT_EQ(bar->Width(), 20);
    bar->FillRect({0, 0, 20, 40}, clBlue);
    bar->FillRect({0, 0, 20, 10}, clLime);
    c->IntersectClip({0, 0, 100, 100});
    c->ExcludeClip({0, 0, 10, 100});
    c->Draw(0, 50, *bar, {0, 0, 20, 40});  // left half excluded
    c->FillRect({90, 0, 200, 10}, clRed);   // clipped at 100
    c->ResetClip();
    c->FillRect({150, 20, 160, 30}, clRed);
  }
  HDC dc = ::GetDC(Wnd);
  EXPECT_EQ(::GetPixel(dc, 5, 55), RGB(255, 255, 255)) << "excluded";
  EXPECT_EQ(::GetPixel(dc, 15, 55), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(dc, 15, 75), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(dc, 95, 5), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(dc, 120, 5), RGB(255, 255, 255)) << "outside the clip";
  EXPECT_EQ(::GetPixel(dc, 155, 25), RGB(255, 0, 0)) << "after the reset";
  ::ReleaseDC(Wnd, dc);
}

TEST_F(Win32WindowTest, FontsAreMadeOncePerSpecificationAndOutliveTheCanvas) {
  TFontSpec a{"ＭＳ ゴシック", -12}, b{"ＭＳ ゴシック", -16};
  HGDIOBJ first;
  int h12;
  {
    TWin32Canvas c(Wnd);
    c.SetFont(a);
    first = ::GetCurrentObject(c.Handle(), OBJ_FONT);
    h12 = c.GetTextMetrics().Height;
  }
  TWin32Canvas c(Wnd);
  c.SetFont(b);
  EXPECT_NE(::GetCurrentObject(c.Handle(), OBJ_FONT), first);
  EXPECT_GT(c.GetTextMetrics().Height, h12) << "the cached fonts are the ones asked for";
  c.SetFont(a);
  EXPECT_EQ(::GetCurrentObject(c.Handle(), OBJ_FONT), first) << "the same font, not a new one";
  EXPECT_EQ(::GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(Win32WindowTest, ImeCompositionWindowGoesWhereTheCaretIs) {
  TWin32Window w(Wnd);
  w.SetImeCompositionWindow(36, 48, {"ＭＳ ゴシック", -16});
  HIMC imc = ::ImmGetContext(Wnd);
  ASSERT_TRUE(imc);
  COMPOSITIONFORM form{};
  ASSERT_TRUE(::ImmGetCompositionWindow(imc, &form));
  LOGFONTW lf{};
  ASSERT_TRUE(::ImmGetCompositionFontW(imc, &lf));
  ::ImmReleaseContext(Wnd, imc);
  EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_POINT));
  EXPECT_EQ(form.ptCurrentPos.x, 36);
  EXPECT_EQ(form.ptCurrentPos.y, 48);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(win32::Cp932FromWide(lf.lfFaceName), "ＭＳ ゴシック");
}

TEST(Win32Timer, FiresFromTheMessageLoopUntilDisabled) {
  int fired = 0;
  auto t = CreateTimer(10, [&] { ++fired; });
  EXPECT_TRUE(wine::PumpUntil([&] { return fired > 2; }));
  t->SetEnabled(false);
  int at = fired;
  wine::Pump(100);
  EXPECT_EQ(fired, at);
  EXPECT_FALSE(t->Enabled());
}

TEST(Win32Timer, ExceptionFromATimerHandlerReachesTheExceptionBox) {
  wine::TMessageBoxWatcher boxes("Velmorind");
  std::unique_ptr<ITimer> t;
  int fired = 0;
  t = CreateTimer(5, [&] {
    if (++fired == 1) throw std::runtime_error("Timer handler failed");
  });
  ASSERT_TRUE(wine::PumpUntil([&] { return fired >= 3; }, 10000)) << "the timer goes on after the box";
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Timer handler failed."}));
}

TEST(Win32Timer, HandlerMayDestroyItsOwnTimer) {
  std::unique_ptr<ITimer> t;
  int fired = 0;
  t = CreateTimer(5, [&] {
    ++fired;
    t.reset();
  });
  ASSERT_TRUE(wine::PumpUntil([&] { return !t; }));
  wine::Pump(50);
  EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace vel::win32
