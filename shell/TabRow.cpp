#include "shell/TabRow.h"

#include <algorithm>

namespace vel {

int TTabRow::IndexOf(int PageId) const {
  for (size_t i = 0; i < Tabs.size(); ++i)
    if (Tabs[i].PageId == PageId) return static_cast<int>(i);
  return -1;
}

void TTabRow::Clip(TTabGeometry& t) const { t.Width = std::min(t.FullWidth, AreaEnd() - t.Left); }

void TTabRow::EndAfterLast() {
  if (Tabs.empty()) {
    TabRowEnd = MemoLeft;
    return;
  }
  TabRowEnd = Tabs.back().Left + Tabs.back().FullWidth;
}

TTabGeometry& TTabRow::Append(int PageId, int FullWidth) {
  TTabGeometry t;
  t.PageId = PageId;
  t.Left = TabRowEnd;
  t.FullWidth = FullWidth;
  Clip(t);
  Tabs.push_back(t);
  if (FirstVisibleTab < 0) FirstVisibleTab = static_cast<int>(Tabs.size()) - 1;
  EndAfterLast();
  return Tabs.back();
}

void TTabRow::ScrollTabsLeft() {
  if (Tabs.empty()) return;
  int first = FirstVisibleTab >= 0 ? FirstVisibleTab : 0;
  int a = Tabs[first].FullWidth;
  for (size_t i = 0; i < Tabs.size(); ++i) {
    TTabGeometry& t = Tabs[i];
    if (t.Left == MemoLeft) {
      t.Width -= a;
      ++t.CollapseCount;
    } else {
      t.Left -= a;
      Clip(t);
      if (t.Left == MemoLeft) first = static_cast<int>(i);
    }
  }
  FirstVisibleTab = first;
  EndAfterLast();
}

void TTabRow::ScrollTabsRight() {
  if (Tabs.empty()) return;
  auto q = std::find_if(Tabs.begin(), Tabs.end(), [](const TTabGeometry& t) { return t.CollapseCount == 1; });
  int a = (q != Tabs.end() ? *q : Tabs.back()).FullWidth;
  for (size_t i = 0; i < Tabs.size(); ++i) {
    TTabGeometry& t = Tabs[i];
    if (t.CollapseCount <= 0) {
      t.Left += a;
      Clip(t);
    } else if (--t.CollapseCount == 0) {
      Clip(t);
      FirstVisibleTab = static_cast<int>(i);
    }
  }
  EndAfterLast();
}

void TTabRow::EnsureTabVisible(int Index) {
  TabsScrolled = false;
  if (Index < 0 || Index >= static_cast<int>(Tabs.size())) return;
  // Each step reveals or restores one whole tab, so twice the tab count
  // bounds the walk even for a tab wider than the whole area.
  for (size_t guard = 0; guard < 2 * Tabs.size() + 2; ++guard) {
    const TTabGeometry& t = Tabs[Index];
    if (t.Width >= t.FullWidth) break;
    // At the area start without a collapse to undo, it is as wide as it gets.
    if (t.Left == MemoLeft && t.CollapseCount == 0) break;
    int before = t.Width;
    if (t.Left == MemoLeft)
      ScrollTabsRight();
    else
      ScrollTabsLeft();
    TabsScrolled = true;
    if (Tabs[Index].Width == before) break;
  }
}

TScrollArrows TTabRow::UpdateScrollArrows() const {
  TScrollArrows a;
  if (Tabs.empty()) return {false, false};
  if (Tabs.front().Width == Tabs.front().FullWidth) a.LeftEnabled = false;
  if (Tabs.back().Width == Tabs.back().FullWidth) a.RightEnabled = false;
  return a;
}

void TTabRow::RightArrow() {
  if (Tabs.size() < 2) return;
  const TTabGeometry& last = Tabs.back();
  if (last.Width < FirstMemoWidth && last.Width < last.FullWidth) ScrollTabsLeft();
}

void TTabRow::LeftArrow() {
  if (!Tabs.empty() && Tabs.front().CollapseCount > 0) ScrollTabsRight();
}

void TTabRow::Remove(int Index, int Left) {
  if (Index < 0 || Index >= static_cast<int>(Tabs.size())) return;
  Tabs.erase(Tabs.begin() + Index);
  if (Tabs.empty()) {
    FirstVisibleTab = -1;
    TabRowEnd = MemoLeft;
    return;
  }
  if (Left == MemoLeft || FirstVisibleTab == Index)
    FirstVisibleTab = -1;
  else if (FirstVisibleTab > Index)
    --FirstVisibleTab;
  int x = Left;
  for (size_t i = Index; i < Tabs.size(); ++i) {
    TTabGeometry& t = Tabs[i];
    t.Left = x;
    Clip(t);
    if (t.Left == MemoLeft) FirstVisibleTab = static_cast<int>(i);
    x += t.FullWidth;
  }
  if (FirstVisibleTab < 0) {
    TTabGeometry& last = Tabs.back();
    last.Width = std::min(last.FullWidth, FirstMemoWidth);
    FirstVisibleTab = static_cast<int>(Tabs.size()) - 1;
    for (TTabGeometry& t : Tabs) --t.CollapseCount;
    last.Open = false;
  }
  EndAfterLast();
}

void TTabRow::Resize(int Index, int FullWidth) {
  if (Index < 0 || Index >= static_cast<int>(Tabs.size())) return;
  int d = FullWidth - Tabs[Index].FullWidth;
  Tabs[Index].FullWidth = FullWidth;
  Clip(Tabs[Index]);
  for (size_t i = Index + 1; i < Tabs.size(); ++i) {
    Tabs[i].Left += d;
    Clip(Tabs[i]);
  }
  TabRowEnd += d;
}

void TTabRow::Relayout(const std::vector<int>& FullWidths) {
  int x = MemoLeft;
  for (size_t i = 0; i < Tabs.size() && i < FullWidths.size(); ++i) {
    TTabGeometry& t = Tabs[i];
    bool collapsed = IsCollapsedAtStart(t) && t.CollapseCount > 0;
    t.FullWidth = FullWidths[i];
    if (collapsed) continue;
    t.Left = x;
    Clip(t);
    x += t.FullWidth;
  }
  TabRowEnd = Tabs.empty() ? MemoLeft : Tabs.back().Left + Tabs.back().Width;
}

void TTabRow::Shift(int D) {
  MemoLeft += D;
  for (TTabGeometry& t : Tabs) {
    t.Left += D;
    if (!(t.Left == MemoLeft && t.Width <= 0)) Clip(t);
  }
  TabRowEnd += D;
}

}  // namespace vel
