#include "shell/Slide.h"

namespace vel {

TSlideSteps SlideSteps(int Height, int Speed) {
  TSlideSteps s;
  if (Height <= 0) return s;
  volatile double d = Speed * 0.01;  // rounded to a double before the product
  long double product = static_cast<long double>(Height) * static_cast<long double>(d);
  long long step = static_cast<long long>(product);
  s.Step = step < 1 ? 1 : step > Height ? Height : static_cast<int>(step);
  s.Count = Height / s.Step;
  s.Rest = Height % s.Step;
  return s;
}

std::vector<TSlideFrame> SlideFrames(TStripPosition Position, bool In, int MemoTop, int TabTop, int Height,
                                     int Speed) {
  TSlideSteps s = SlideSteps(Height, Speed);
  // Sliding in moves down at the top edge and up at the bottom edge.
  int sign = (Position == TStripPosition::Top) == In ? 1 : -1;
  std::vector<TSlideFrame> frames;
  auto move = [&](int by) {
    MemoTop += sign * by;
    TabTop += sign * by;
    frames.push_back({MemoTop, TabTop});
  };
  for (int i = 0; i < s.Count; ++i) move(s.Step);
  move(s.Rest);
  move(20);
  return frames;
}

TPagePlacement PagePlacement(TStripPosition Position, int WorkAreaBottom, int Height) {
  if (Position == TStripPosition::Top) return {-Height, 0, 20, Height + 20};
  int shown = WorkAreaBottom - Height - 20;
  return {WorkAreaBottom, WorkAreaBottom - 20, shown, shown - 20};
}

}  // namespace vel
