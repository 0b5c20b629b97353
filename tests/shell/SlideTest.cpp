#include "shell/Slide.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vel {
namespace {

// floor(Height x d) exactly, d being Speed x 0.01 rounded to a double.
int ExactStep(int Height, int Speed) {
  double d = Speed * 0.01;
  int exp = 0;
  double frac = std::frexp(d, &exp);  // d = frac x 2^exp, frac in [0.5, 1)
  auto mantissa = static_cast<__int128>(std::ldexp(frac, 53));
  __int128 product = mantissa * Height;  // d x Height x 2^(53 - exp)
  return static_cast<int>(product >> (53 - exp));
}

TEST(SlideSteps, EverySpeedAtSeveralHeightsFollowsTheDoubleArithmetic) {
  for (int h : {10, 50, 99, 100, 300, 480, 481, 600, 768, 1000, 1200, 2047}) {
    for (int speed = 10; speed <= 100; ++speed) {
      TSlideSteps s = SlideSteps(h, speed);
      int step = std::max(1, ExactStep(h, speed));
      ASSERT_EQ(s.Step, step) << "height " << h << " speed " << speed;
      ASSERT_EQ(s.Count, h / step);
      ASSERT_EQ(s.Rest, h % step);
      ASSERT_EQ(s.Count * s.Step + s.Rest, h);
      // One short of the exact division exactly when d lies below speed/100.
      if ((h * speed) % 100 == 0) {
        int exact = h * speed / 100;
        ASSERT_TRUE(s.Step == exact || s.Step == exact - 1) << h << " " << speed;
      }
    }
  }
}

TEST(SlideSteps, KnownCases) {
  struct {
    int Height, Speed, Step, Count, Rest;
  } cases[] = {
      {480, 30, 143, 3, 51}, {480, 15, 71, 6, 54}, {480, 10, 48, 10, 0}, {480, 100, 480, 1, 0},
      {480, 50, 240, 2, 0},  {5, 10, 1, 5, 0},     {1, 100, 1, 1, 0},
  };
  for (const auto& c : cases) {
    TSlideSteps s = SlideSteps(c.Height, c.Speed);
    EXPECT_EQ(s.Step, c.Step) << c.Height << " " << c.Speed;
    EXPECT_EQ(s.Count, c.Count) << c.Height << " " << c.Speed;
    EXPECT_EQ(s.Rest, c.Rest) << c.Height << " " << c.Speed;
  }
}

TEST(SlideFrames, TopLayoutSlidesInDownThenBackUp) {
  TPagePlacement p = PagePlacement(TStripPosition::Top, 740, 480);
  EXPECT_EQ(p.HiddenMemoTop, -480);
  EXPECT_EQ(p.HiddenTabTop, 0);
  auto in = SlideFrames(TStripPosition::Top, true, p.HiddenMemoTop, p.HiddenTabTop, 480, 30);
  std::vector<TSlideFrame> expected = {{-337, 143}, {-194, 286}, {-51, 429}, {0, 480}, {20, 500}};
  EXPECT_EQ(in, expected);
  EXPECT_EQ(in.back(), (TSlideFrame{p.ShownMemoTop, p.ShownTabTop}));
  auto out = SlideFrames(TStripPosition::Top, false, p.ShownMemoTop, p.ShownTabTop, 480, 30);
  EXPECT_EQ(out.back(), (TSlideFrame{p.HiddenMemoTop, p.HiddenTabTop}));
}

TEST(SlideFrames, BottomLayoutSlidesUpFromTheWorkAreaBottom) {
  TPagePlacement p = PagePlacement(TStripPosition::Bottom, 740, 300);
  EXPECT_EQ(p.HiddenMemoTop, 740);
  EXPECT_EQ(p.HiddenTabTop, 720);
  EXPECT_EQ(p.ShownMemoTop, 420);
  EXPECT_EQ(p.ShownTabTop, 400);
  auto in = SlideFrames(TStripPosition::Bottom, true, p.HiddenMemoTop, p.HiddenTabTop, 300, 100);
  EXPECT_EQ(in.back(), (TSlideFrame{420, 400}));
  auto out = SlideFrames(TStripPosition::Bottom, false, 420, 400, 300, 100);
  EXPECT_EQ(out.back(), (TSlideFrame{740, 720}));
}

}  // namespace
}  // namespace vel
