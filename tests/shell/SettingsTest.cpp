#include <gtest/gtest.h>

#include "platform/headless/Headless.h"
#include "shell/MainSettings.h"
#include "shell/PageSettings.h"
#include "ShellFakes.h"

namespace vel {
namespace {

const std::string MainPath = "C:\\Velmorind\\velmorind.ini";
const std::string PagePath = "C:\\Velmorind\\PageSetting.ini";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void SetFile(const std::string& path, const std::string& text) {
    headless::SetIniFileText(path, text);
    Files.Present.insert(path);
  }
  TFakeSettingsFiles Files;
};

TEST_F(SettingsTest, MainSettingsDefaultsWhenTheFileIsMissing) {
  TMainSettings s = ReadMainSettings(TIniFile(MainPath));
  EXPECT_EQ(s.Left, 100);
  EXPECT_EQ(s.Top, 0);
  EXPECT_EQ(s.MemoSpeed, 10);
  EXPECT_EQ(s.Position, 0);
  EXPECT_FALSE(s.TabSizeCheck);
  EXPECT_EQ(s.TabSize, 20);
  EXPECT_TRUE(s.Accounts.empty());
}

TEST_F(SettingsTest, MainSettingsValuesAreClampedOrDefaultedIntoAWorkingLayout) {
  struct {
    const char* Text;
    int MemoSpeed, Position, TabSize;
  } cases[] = {
      {"[Option]\nMemoSpeed=30\nPosition=1\nTabSize=50", 30, 1, 50},
      {"[Option]\nMemoSpeed=0\nPosition=2\nTabSize=5", 10, 0, 20},
      {"[Option]\nMemoSpeed=-5\nPosition=-1\nTabSize=-9", 10, 0, 20},
      {"[Option]\nMemoSpeed=2000000000\nPosition=2000000000\nTabSize=101", 100, 0, 100},
      {"[Option]\nMemoSpeed=99999999999999999999\nPosition=x\nTabSize=", 10, 0, 20},
      {"garbage\n\x81\n[Option\nMemoSpeed=50", 10, 0, 20},
  };
  for (const auto& c : cases) {
    SetFile(MainPath, c.Text);
    TMainSettings s = ReadMainSettings(TIniFile(MainPath));
    EXPECT_EQ(s.MemoSpeed, c.MemoSpeed) << c.Text;
    EXPECT_EQ(s.Position, c.Position) << c.Text;
    EXPECT_EQ(s.TabSize, c.TabSize) << c.Text;
  }
}

TEST_F(SettingsTest, AccountsReadAtStartAreWrittenBackUnchanged) {
  SetFile(MainPath,
          "[Form]\r\nLeft=300\r\nTop=7\r\n[Option]\r\nMemoSpeed=25\r\nPosition=1\r\nTabSizeCheck=1\r\nTabSize=33\r\n"
          "[WebMail]\r\nTotal=2\r\nAddress0=a@example.com\r\nLoginName0=あいう\r\nLoginPass0=p w\r\n"
          "Address1=b@example.jp\r\nLoginName1=b\r\nLoginPass1=\r\nAddress2=stale@old\r\n[Other]\r\nKeep=1\r\n");
  TMainSettings s = ReadMainSettings(TIniFile(MainPath));
  ASSERT_EQ(s.Accounts.size(), 2u);
  EXPECT_EQ(s.Accounts[0], (TWebMailAccount{"a@example.com", "あいう", "p w"}));
  ASSERT_TRUE(SaveMainSettingsFile(Files, MainPath, s));
  TIniFile ini(MainPath);
  TMainSettings again = ReadMainSettings(ini);
  EXPECT_EQ(again.Accounts, s.Accounts);
  EXPECT_EQ(again.Left, 300);
  EXPECT_EQ(again.Top, 7);
  EXPECT_EQ(again.MemoSpeed, 25);
  EXPECT_EQ(again.Position, 1);
  EXPECT_TRUE(again.TabSizeCheck);
  EXPECT_EQ(again.TabSize, 33);
  EXPECT_EQ(ini.ReadString("Option", "TabSizeCheck", ""), "1");
  // Keys nobody writes stay, the larger account set's too; Total bounds it.
  EXPECT_EQ(ini.ReadString("Other", "Keep", ""), "1");
  EXPECT_EQ(ini.ReadString("WebMail", "Address2", ""), "stale@old");
  EXPECT_FALSE(Files.Exists(SettingsScratchPath(MainPath)));
}

TEST_F(SettingsTest, AHugeAccountTotalReadsOnlyTheAccountsThatHaveKeys) {
  SetFile(MainPath, "[WebMail]\nTotal=2000000000\nAddress0=a\nLoginPass3=z\nAddress100000=zz\n");
  TMainSettings s = ReadMainSettings(TIniFile(MainPath));
  ASSERT_EQ(s.Accounts.size(), 3u);
  EXPECT_EQ(s.Accounts[1].LoginPass, "z");
  EXPECT_EQ(s.Accounts[2].Address, "zz");
  std::string many = "[WebMail]\nTotal=500\n";
  for (int i = 0; i < 300; ++i) many += "Address" + std::to_string(i) + "=a" + std::to_string(i) + "\n";
  SetFile(MainPath, many);
  EXPECT_EQ(ReadMainSettings(TIniFile(MainPath)).Accounts.size(), MaxWebMailAccounts) << "every menu lists them all";
}

TEST_F(SettingsTest, AccountsAreNumberedByMenuPosition) {
  std::vector<TMailMenuItem> menu = {{"&a@x", 1}, {"b&@y", 2}, {"c@z", 3}, {"-", 0}, {"メールの設定", 0}};
  auto accounts = AccountsFromMenu(menu, {"na", "nb", "nc"}, {"pa", "pb", "pc"});
  ASSERT_EQ(accounts.size(), 3u);
  EXPECT_EQ(accounts[0], (TWebMailAccount{"a@x", "na", "pa"}));
  EXPECT_EQ(accounts[1], (TWebMailAccount{"b@y", "nb", "pb"}));
  EXPECT_EQ(accounts[2], (TWebMailAccount{"c@z", "nc", "pc"}));
  TMainSettings s;
  s.Accounts = accounts;
  TIniFile ini(MainPath);
  ASSERT_TRUE(WriteMainSettings(ini, s));
  EXPECT_EQ(ini.ReadString("WebMail", "Address2", ""), "c@z");
  EXPECT_EQ(ini.ReadString("WebMail", "LoginPass2", ""), "pc");
  EXPECT_EQ(ini.ReadInteger("WebMail", "Total", 0), 3);
}

TEST_F(SettingsTest, EveryPageKeyRoundTripsWithColoursAsSignedDecimal) {
  TPageSettingsEntry e;
  e.FilePath = "C:\\メモ\\a.txt";
  e.View.TabBColor = static_cast<int32_t>(0x8000000D);
  e.View.TabCColor = 0x00FF8040;
  e.View.FontName = "ＭＳ ゴシック";
  e.View.FontSize = 12;
  e.View.MemoFormHeight = 300;
  e.View.MemoFormWidth = 500;
  e.View.MemoFormCRMark = e.View.MemoFormEOFMark = e.View.MemoFormLineNum = true;
  e.View.MemoFormNumMode = 1;
  e.View.MemoFormLineNumTopZero = e.View.MemoFormWordWrap = true;
  e.View.MemoFormWrapByte = 60;
  ASSERT_TRUE(SavePageSettingsFile(Files, PagePath, {e, TPageSettingsEntry{"C:\\b.txt", {}}}));
  TIniFile ini(PagePath);
  EXPECT_EQ(ini.ReadString("Page1", "TabBColor", ""), "-2147483635");
  EXPECT_EQ(ini.ReadString("Page1", "MemoFormCRMark", ""), "1");
  EXPECT_EQ(ini.ReadString("Page2", "MemoFormCRMark", ""), "0");
  EXPECT_EQ(ini.ReadString("OpenPage", "PageTotal", ""), "2");
  auto back = ReadPageSettings(ini);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], e);
  TPageSettingsEntry d{"C:\\b.txt", {}};
  d.View.MemoFormNumMode = 0;
  EXPECT_EQ(back[1], d);
}

TEST_F(SettingsTest, BrokenPageSettingsKeepEveryUsablePageAndDefaultTheRest) {
  std::string longPath(10000, 'a');
  struct {
    std::string Text;
    std::vector<std::string> Paths;
  } cases[] = {
      {"[OpenPage]\nPageTotal=2000000000\n[Page1]\nFilePath=a\n[Page7]\nFilePath=b\n", {"a", "b"}},
      {"[OpenPage]\nPageTotal=-4\n[Page2]\nFilePath=b\n[Page1]\nFilePath=a\n", {"a", "b"}},
      {"[OpenPage]\nPageTotal=zz\n[page1]\nFilePath=a\n[Page01]\nFilePath=x\n[PageX]\nFilePath=y\n", {"a"}},
      {"[Page3]\nFilePath=c\n[Page1]\nFilePath=a\n", {"a", "c"}},
      {"[OpenPage]\nPageTotal=1\n[Page1]\nFilePath=a\n[Page2]\nFilePath=b\n", {"a"}},
      {"[OpenPage]\nPageTotal=3\n[Page1]\nFilePath=\n[Page2]\nFilePath=" + longPath + "\n", {longPath}},
      {"\x81\x81\x81\n=\n[\n]]\n[OpenPage]\nPageTotal=99999999999\n[Page1]\nFilePath=\x82\n", {"\x82"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SetFile(PagePath, c.Text);
    std::vector<std::string> paths;
    for (const auto& e : ReadPageSettings(TIniFile(PagePath))) paths.push_back(e.FilePath);
    EXPECT_EQ(paths, c.Paths) << c.Text.substr(0, 80);
  }
}

TEST_F(SettingsTest, UnusablePageValuesFallBackToTheirDefaults) {
  SetFile(PagePath,
          "[OpenPage]\nPageTotal=1\n[Page1]\nFilePath=a\nFontName=\x82\nFontSize=-3\nMemoFormHeight=0\n"
          "MemoFormWidth=2000000000\nMemoFormNumMode=5\nMemoFormWrapByte=-1\nTabBColor=x\nMemoFormCRMark=7\n");
  auto pages = ReadPageSettings(TIniFile(PagePath));
  ASSERT_EQ(pages.size(), 1u);
  const TPageViewSettings& v = pages[0].View;
  EXPECT_EQ(v.FontName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(v.FontSize, 9);
  EXPECT_EQ(v.MemoFormHeight, 480);
  EXPECT_EQ(v.MemoFormWidth, 640);
  EXPECT_FALSE(v.MemoFormNumMode.has_value());
  EXPECT_EQ(v.MemoFormWrapByte, 80);
  EXPECT_EQ(v.TabBColor, static_cast<int32_t>(0x8000000D));
  EXPECT_TRUE(v.MemoFormCRMark);
}

TEST_F(SettingsTest, AFailedWriteKeepsTheOldFileWhole) {
  const std::string old = "[OpenPage]\r\nPageTotal=1\r\n[Page1]\r\nFilePath=C:\\old.txt\r\n";
  SetFile(PagePath, old);
  Files.FailReplace = true;
  EXPECT_FALSE(SavePageSettingsFile(Files, PagePath, {TPageSettingsEntry{"C:\\new.txt", {}}}));
  EXPECT_EQ(headless::IniFileText(PagePath), old);
  EXPECT_FALSE(Files.Exists(SettingsScratchPath(PagePath)));

  Files.FailReplace = false;
  headless::SetIniFileReadOnly(SettingsScratchPath(PagePath), true);
  EXPECT_FALSE(SavePageSettingsFile(Files, PagePath, {TPageSettingsEntry{"C:\\new.txt", {}}}));
  EXPECT_FALSE(SaveMainSettingsFile(Files, PagePath, TMainSettings{}));
  EXPECT_EQ(headless::IniFileText(PagePath), old);
}

TEST_F(SettingsTest, PageSettingsAreRewrittenFromScratchAndAStaleScratchFileIsIgnored) {
  SetFile(PagePath, "[OpenPage]\nPageTotal=3\n[Page3]\nFilePath=C:\\gone.txt\n");
  SetFile(SettingsScratchPath(PagePath), "[Page9]\nFilePath=C:\\junk.txt\n");
  ASSERT_TRUE(SavePageSettingsFile(Files, PagePath, {TPageSettingsEntry{"C:\\a.txt", {}}}));
  auto pages = ReadPageSettings(TIniFile(PagePath));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].FilePath, "C:\\a.txt");
}

TEST(PageSettingsPath, IsBesideTheExecutable) {
  EXPECT_EQ(PageSettingsPath("C:\\Tools\\velmorind.exe"), "C:\\Tools\\PageSetting.ini");
  EXPECT_EQ(PageSettingsPath("C:\\表\\velmorind.exe"), "C:\\表\\PageSetting.ini");
}

}  // namespace
}  // namespace vel
