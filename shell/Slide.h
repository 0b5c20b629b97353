#pragma once
// The slide animation's arithmetic: how far each step moves a memo window
// and its tab, and where both stand after every step.
#include <vector>

namespace vel {

enum class TStripPosition { Top = 1, Bottom = 2 };

struct TSlideSteps {
  int Step = 0;   // pixels per step
  int Count = 0;  // number of full steps
  int Rest = 0;   // the last, shorter step
};

// d = Speed x 0.01 as a double; step = Height x d truncated, the product
// taken in extended precision. So the step falls one short of
// Height x Speed / 100 whenever that division is exact. A height too small
// for a whole pixel per step moves one pixel per step.
TSlideSteps SlideSteps(int Height, int Speed);

struct TSlideFrame {
  int MemoTop, TabTop;
  bool operator==(const TSlideFrame&) const = default;
};

// The tops of memo window and tab after each move of a slide, starting from
// the hidden (SlideIn) or slid-in (SlideOut) place. Within a step the memo
// window moves first when sliding in and both together when sliding out, so
// a frame is taken once both have moved.
std::vector<TSlideFrame> SlideFrames(TStripPosition Position, bool In, int MemoTop, int TabTop, int Height,
                                     int Speed);

// Tops of a memo window and its tab, hidden and slid in.
struct TPagePlacement {
  int HiddenMemoTop, HiddenTabTop, ShownMemoTop, ShownTabTop;
};
TPagePlacement PagePlacement(TStripPosition Position, int WorkAreaBottom, int Height);

}  // namespace vel
