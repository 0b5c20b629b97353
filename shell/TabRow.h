#pragma once
// The geometry of the tab row: where each tab stands, how wide it is seen,
// and how the row scrolls by whole tabs under the strip's two arrows.
//
// Tabs lie left to right from MemoLeft; the area ends at the first memo
// window's right edge. A tab is always as wide as its clipped width,
// min(FullWidth, area end - Left), which is zero or less beyond the end.
// Scrolling left collapses the tab at the area start (it stays at MemoLeft
// with its width reduced and CollapseCount raised) and moves the others
// left; scrolling right undoes the last collapse.
#include <vector>

namespace vel {

struct TTabGeometry {
  int PageId = 0;
  int Left = 0;
  int Width = 0;
  int FullWidth = 0;
  int CollapseCount = 0;
  bool Open = false;
};

struct TScrollArrows {
  bool LeftEnabled = true, RightEnabled = true;
  bool operator==(const TScrollArrows&) const = default;
};

class TTabRow {
 public:
  std::vector<TTabGeometry> Tabs;
  int MemoLeft = 0;
  int FirstMemoWidth = 640;  // the area ends at MemoLeft + FirstMemoWidth
  int TabRowEnd = 0;
  int FirstVisibleTab = -1;  // index, -1 for none
  bool TabsScrolled = false;

  int AreaEnd() const { return MemoLeft + FirstMemoWidth; }
  int IndexOf(int PageId) const;
  void Clip(TTabGeometry& Tab) const;

  // A new tab at the row end; the row end moves past it.
  TTabGeometry& Append(int PageId, int FullWidth);
  void ScrollTabsLeft();
  void ScrollTabsRight();
  // Scrolls until the tab is seen whole, or as whole as the area allows.
  void EnsureTabVisible(int Index);
  TScrollArrows UpdateScrollArrows() const;
  // The strip's scroll bar arrows: each scrolls only when there is
  // something to reveal on its side.
  void RightArrow();
  void LeftArrow();
  // Lays the row out again after tab Index, whose left edge was Left, closed.
  void Remove(int Index, int Left);
  // The tab got a new natural width; later tabs move by the difference.
  void Resize(int Index, int FullWidth);
  // New natural widths for every tab (options changed): the row is laid out
  // again from the area start, collapsed tabs staying where they are.
  void Relayout(const std::vector<int>& FullWidths);
  // The memo windows moved sideways by D: the row follows.
  void Shift(int D);

 private:
  bool IsCollapsedAtStart(const TTabGeometry& Tab) const { return Tab.Left == MemoLeft && Tab.Width <= 0; }
  void EndAfterLast();
};

}  // namespace vel
