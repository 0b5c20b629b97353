#include "shell/TabRow.h"

#include <gtest/gtest.h>

namespace vel {
namespace {

struct TSeen {
  int Left, Width, CollapseCount;
  bool operator==(const TSeen&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TSeen& s) {
  return os << "{" << s.Left << "," << s.Width << "," << s.CollapseCount << "}";
}

std::vector<TSeen> Seen(const TTabRow& row) {
  std::vector<TSeen> v;
  for (const auto& t : row.Tabs) v.push_back({t.Left, t.Width, t.CollapseCount});
  return v;
}

// Area from 152 to 352; three tabs of 80 pixels, the third cut to 40.
TTabRow ThreeTabs() {
  TTabRow row;
  row.MemoLeft = row.TabRowEnd = 152;
  row.FirstMemoWidth = 200;
  for (int id = 1; id <= 3; ++id) row.Append(id, 80);
  return row;
}

TEST(TabRow, TabsLieFromTheStripAndAreClippedAtTheAreaEnd) {
  TTabRow row = ThreeTabs();
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}, {232, 80, 0}, {312, 40, 0}}));
  EXPECT_EQ(row.TabRowEnd, 392);
  EXPECT_EQ(row.FirstVisibleTab, 0);
  EXPECT_EQ(row.UpdateScrollArrows(), (TScrollArrows{false, true}));
}

TEST(TabRow, ArrowsScrollByWholeTabsAndBack) {
  TTabRow row = ThreeTabs();
  row.RightArrow();
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 0, 1}, {152, 80, 0}, {232, 80, 0}}));
  EXPECT_EQ(row.FirstVisibleTab, 1);
  EXPECT_EQ(row.TabRowEnd, 312);
  EXPECT_EQ(row.UpdateScrollArrows(), (TScrollArrows{true, false}));
  row.RightArrow();  // everything on the right is seen: nothing moves
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 0, 1}, {152, 80, 0}, {232, 80, 0}}));
  row.LeftArrow();
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}, {232, 80, 0}, {312, 40, 0}}));
  EXPECT_EQ(row.FirstVisibleTab, 0);
  row.LeftArrow();  // nothing collapsed: nothing moves
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}, {232, 80, 0}, {312, 40, 0}}));
}

TEST(TabRow, RightArrowWithEveryTabSeenDoesNothing) {
  TTabRow row;
  row.MemoLeft = row.TabRowEnd = 100;
  row.FirstMemoWidth = 640;
  row.Append(1, 76);
  row.Append(2, 76);
  row.RightArrow();
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{100, 76, 0}, {176, 76, 0}}));
  EXPECT_EQ(row.UpdateScrollArrows(), (TScrollArrows{false, false}));
}

TEST(TabRow, EnsureTabVisibleScrollsEitherWay) {
  TTabRow row = ThreeTabs();
  row.EnsureTabVisible(2);
  EXPECT_TRUE(row.TabsScrolled);
  EXPECT_EQ(row.Tabs[2].Width, 80);
  row.EnsureTabVisible(0);
  EXPECT_TRUE(row.TabsScrolled);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}, {232, 80, 0}, {312, 40, 0}}));
  row.EnsureTabVisible(1);
  EXPECT_FALSE(row.TabsScrolled);
}

TEST(TabRow, ATabWiderThanTheAreaEndsTheWalk) {
  TTabRow row;
  row.MemoLeft = row.TabRowEnd = 0;
  row.FirstMemoWidth = 100;
  row.Append(1, 60);
  row.Append(2, 300);
  row.EnsureTabVisible(1);
  EXPECT_EQ(row.Tabs[1].Left, 0);
  EXPECT_EQ(row.Tabs[1].Width, 100);
  row.EnsureTabVisible(0);
  EXPECT_EQ(row.Tabs[0].Width, 60);
}

TEST(TabRow, RemovingATabClosesTheGap) {
  TTabRow row = ThreeTabs();
  row.Remove(1, 232);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}, {232, 80, 0}}));
  EXPECT_EQ(row.TabRowEnd, 312);
  EXPECT_EQ(row.FirstVisibleTab, 0);
}

TEST(TabRow, RemovingTheFirstVisibleTabMakesTheNextOneFirst) {
  TTabRow row = ThreeTabs();
  row.RightArrow();
  row.Remove(1, 152);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 0, 1}, {152, 80, 0}}));
  EXPECT_EQ(row.FirstVisibleTab, 1);
}

TEST(TabRow, RemovingTheLastSeenTabBringsBackTheCollapsedOne) {
  TTabRow row;
  row.MemoLeft = row.TabRowEnd = 152;
  row.FirstMemoWidth = 100;
  row.Append(1, 80);
  row.Append(2, 80);
  row.RightArrow();
  row.Tabs[0].Open = true;
  row.Remove(1, 152);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 80, 0}}));
  EXPECT_EQ(row.FirstVisibleTab, 0);
  EXPECT_FALSE(row.Tabs[0].Open);
  EXPECT_EQ(row.TabRowEnd, 232);
}

TEST(TabRow, AWiderCaptionPushesLaterTabsRight) {
  TTabRow row = ThreeTabs();
  row.Resize(0, 100);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 100, 0}, {252, 80, 0}, {332, 20, 0}}));
  EXPECT_EQ(row.TabRowEnd, 412);
}

TEST(TabRow, RelayoutAndShiftKeepCollapsedTabsAtTheStart) {
  TTabRow row = ThreeTabs();
  row.RightArrow();
  row.Relayout({40, 40, 40});
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{152, 0, 1}, {152, 40, 0}, {192, 40, 0}}));
  EXPECT_EQ(row.TabRowEnd, 232);
  row.Shift(10);
  EXPECT_EQ(Seen(row), (std::vector<TSeen>{{162, 0, 1}, {162, 40, 0}, {202, 40, 0}}));
  EXPECT_EQ(row.MemoLeft, 162);
}

}  // namespace
}  // namespace vel
