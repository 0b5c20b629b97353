#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

namespace vel::headless {
namespace {

TEST(HeadlessWindow, CaretIsHiddenUntilShownAndHideShowNest) {
  THeadlessWindow w;
  w.CreateCaret(2, 12);
  EXPECT_FALSE(w.Caret.Visible());
  w.ShowCaret();
  EXPECT_TRUE(w.Caret.Visible());
  w.HideCaret();
  w.HideCaret();
  w.ShowCaret();
  EXPECT_FALSE(w.Caret.Visible());
  w.ShowCaret();
  w.ShowCaret();  // showing a shown caret does not bank a count
  w.HideCaret();
  EXPECT_FALSE(w.Caret.Visible());
  w.DestroyCaret();
  w.ShowCaret();
  EXPECT_FALSE(w.Caret.Visible());
}

TEST(HeadlessWindow, ScrollInvalidatesOnlyTheUncoveredStrip) {
  THeadlessWindow w({0, 0, 100, 120});
  w.Scroll(0, -24, {0, 0, 100, 120});
  EXPECT_EQ(w.TakeInvalid(), (TRect{0, 96, 100, 120}));
  w.Scroll(0, 36, {0, 10, 100, 120});
  EXPECT_EQ(w.TakeInvalid(), (TRect{0, 10, 100, 46}));
  EXPECT_EQ(w.TakeInvalid(), TRect{});
}

TEST(HeadlessWindow, ScrollPositionStaysInsideTheRange) {
  THeadlessWindow w;
  w.SetScrollInfo(TScrollBarKind::Vertical, {0, 99, 10, 500});
  EXPECT_EQ(w.GetScrollInfo(TScrollBarKind::Vertical).Pos, 90);
  w.SetScrollInfo(TScrollBarKind::Vertical, {0, 99, 10, -3});
  EXPECT_EQ(w.GetScrollInfo(TScrollBarKind::Vertical).Pos, 0);
  EXPECT_EQ(w.GetScrollInfo(TScrollBarKind::Horizontal), TScrollInfo{});
}

TEST(HeadlessWindow, FocusIsOneWindowAtATime) {
  THeadlessWindow a, b;
  a.SetFocus();
  EXPECT_TRUE(a.Focused());
  b.SetFocus();
  EXPECT_FALSE(a.Focused());
  EXPECT_TRUE(b.Focused());
  EXPECT_NE(a.Handle(), b.Handle());
}

TEST(HeadlessWindow, CanvasRecordsIntoItsWindow) {
  THeadlessWindow w;
  auto c = w.GetCanvas();
  c->SetFont({"ＭＳ ゴシック", -12});
  EXPECT_EQ(c->TextWidth("aあ"), 3 * CharWidth);
  c->TextOut(4, 2, {0, 0, 50, 14}, "aあ", {6, 12, 0}, clRed, clWhite);
  ASSERT_EQ(w.Drawn.size(), 1u);
  EXPECT_EQ(w.Drawn[0].What, TDrawCall::kText);
  EXPECT_EQ(w.Drawn[0].Text, "aあ");
  EXPECT_EQ(w.Drawn[0].Fg, clRed);
  EXPECT_EQ(w.Drawn[0].Font.Name, "ＭＳ ゴシック");
}

TEST(HeadlessTimer, FiresPerIntervalWhileEnabledAndNeverAfterDestruction) {
  int fired = 0;
  auto t = CreateTimer(10, [&] { ++fired; });
  AdvanceTime(35);
  EXPECT_EQ(fired, 3);
  t->SetEnabled(false);
  AdvanceTime(50);
  EXPECT_EQ(fired, 3);
  t->SetEnabled(true);
  t->SetInterval(1);
  AdvanceTime(5);
  EXPECT_EQ(fired, 8);
  t.reset();
  AdvanceTime(5);
  EXPECT_EQ(fired, 8);
}

TEST(HeadlessTimer, HandlerMayDestroyAnotherTimer) {
  std::unique_ptr<ITimer> second;
  int secondFired = 0;
  auto first = CreateTimer(1, [&] { second.reset(); });
  second = CreateTimer(1, [&] { ++secondFired; });
  AdvanceTime(3);
  EXPECT_EQ(secondFired, 0);
}

}  // namespace
}  // namespace vel::headless
