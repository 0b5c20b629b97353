#include "shell/StripLayout.h"

#include <gtest/gtest.h>

#include "platform/headless/Headless.h"
#include "shell/HandOff.h"

namespace vel {
namespace {

class StripLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  TIniFile Ini{"C:\\Velmorind\\velmorind.ini"};
};

TEST_F(StripLayoutTest, DefaultsPutTheStripAtLeft100OnTheWorkAreaTop) {
  auto d = LoadStripWindowData(Ini, {0, 30, 1024, 768});
  EXPECT_STREQ(StripWindowTitle, "VelmorindVer3");
  EXPECT_EQ(d.Bounds, (TRect{100, 30, 152, 50}));
  EXPECT_EQ(d.MemoLeft, 152);
  EXPECT_TRUE(d.Borderless && d.NoBorderIcons && d.TopMost && d.Visible);
  EXPECT_EQ(d.FontName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(d.FontHeight, -12);
  EXPECT_EQ(d.ImageBounds, (TRect{0, 0, 20, 20}));
  EXPECT_EQ(d.ScrollBarBounds, (TRect{20, 0, 52, 20}));
}

TEST_F(StripLayoutTest, LeftAndPositionComeFromTheMainSettingsFile) {
  headless::SetIniFileText(Ini.GetFileName(), "[Form]\r\nLeft=300\r\n[Option]\r\nPosition=1\r\n");
  auto d = LoadStripWindowData(Ini, {0, 0, 1024, 740});
  EXPECT_EQ(d.Position, TStripPosition::Bottom);
  EXPECT_EQ(d.Bounds, (TRect{300, 720, 352, 740}));
}

TEST_F(StripLayoutTest, BrokenValuesFallBackToDefaults) {
  headless::SetIniFileText(Ini.GetFileName(), "[Form]\r\nLeft=abc\r\n[Option]\r\nPosition=7\r\n");
  auto d = LoadStripWindowData(Ini, {0, 0, 800, 600});
  EXPECT_EQ(d.Bounds.Left, 100);
  EXPECT_EQ(d.Position, TStripPosition::Top);
}

TEST(MainSettingsPath, ReplacesOnlyTheFileNamesExtension) {
  struct {
    std::string Exe, Ini;
  } cases[] = {
      {"C:\\Tools\\velmorind.exe", "C:\\Tools\\velmorind.ini"},
      {"C:\\my.tools\\velmorind", "C:\\my.tools\\velmorind.ini"},
      {"C:\\表\\velmorind.exe", "C:\\表\\velmorind.ini"},
      {"velmorind.exe", "velmorind.ini"},
  };
  for (const auto& c : cases) EXPECT_EQ(MainSettingsPath(c.Exe), c.Ini) << c.Exe;
}

}  // namespace
}  // namespace vel

namespace vel {
namespace {

TEST(SnapStripMove, KeepsTheStripOnItsScreenEdge) {
  struct {
    TRect In;
    TStripPosition Position;
    TRect Out;
  } cases[] = {
      {{-30, 5, 22, 25}, TStripPosition::Top, {0, 0, 52, 20}},
      {{300, 400, 352, 420}, TStripPosition::Top, {300, 0, 352, 20}},
      {{1100, 0, 1152, 20}, TStripPosition::Top, {972, 0, 1024, 20}},
      {{1000, 0, 1052, 20}, TStripPosition::Top, {972, 0, 1024, 20}},
      {{50, 3, 102, 23}, TStripPosition::Bottom, {50, 720, 102, 740}},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapStripMove(c.In, c.Position, 1024, 740), c.Out) << c.In.Left;
}

TEST(SizingRefused, OnlyTheEdgeAtTheScreenSideStaysPut) {
  for (int e = seLeft; e <= seBottomRight; ++e) {
    bool top = e == seTop || e == seTopLeft || e == seTopRight;
    bool bottom = e == seBottom || e == seBottomLeft || e == seBottomRight;
    EXPECT_EQ(SizingRefused(TStripPosition::Top, e), top) << e;
    EXPECT_EQ(SizingRefused(TStripPosition::Bottom, e), bottom) << e;
  }
}

TEST_F(StripLayoutTest, ALeftOffTheWorkAreaIsPulledBackOntoIt) {
  headless::SetIniFileText(Ini.GetFileName(), "[Form]\r\nLeft=2000000000\r\n");
  EXPECT_EQ(LoadStripWindowData(Ini, {0, 0, 800, 600}).Bounds.Left, 748);
  headless::SetIniFileText(Ini.GetFileName(), "[Form]\r\nLeft=-500\r\n");
  EXPECT_EQ(LoadStripWindowData(Ini, {0, 0, 800, 600}).Bounds.Left, 0);
}

}  // namespace
}  // namespace vel
