#include "platform/Ini.h"

#include <gtest/gtest.h>

#include "platform/IniText.h"
#include "platform/headless/Headless.h"

namespace vel {
namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  TIniFile Ini{"C:\\v\\PageSetting.ini"};
};

TEST_F(IniTest, ReadsLikeThePrivateProfileFunctions) {
  headless::SetIniFileText(Ini.GetFileName(),
                           "; comment\r\n[Form]\r\n  left = 42  \r\nName=\"quoted value\"\r\n"
                           "Color=-2147483635\r\nBig=4294967295\r\nHex=0x10\r\nBad=12abc\r\n[Other]\r\nLeft=7\r\n");
  EXPECT_EQ(Ini.ReadInteger("FORM", "Left", 0), 42);
  EXPECT_EQ(Ini.ReadString("Form", "Name", ""), "quoted value");
  EXPECT_EQ(Ini.ReadInteger("Form", "Color", 0), -2147483635);
  EXPECT_EQ(Ini.ReadInteger("Form", "Big", 0), -1);
  EXPECT_EQ(Ini.ReadInteger("Form", "Hex", 0), 16);
  EXPECT_EQ(Ini.ReadInteger("Form", "Bad", 5), 5);
  EXPECT_EQ(Ini.ReadInteger("Form", "Missing", 9), 9);
  EXPECT_EQ(Ini.ReadInteger("Other", "Left", 0), 7);
  EXPECT_EQ(Ini.ReadSection("Form"), (std::vector<std::string>{"left", "Name", "Color", "Big", "Hex", "Bad"}));
  EXPECT_EQ(Ini.ReadSections(), (std::vector<std::string>{"Form", "Other"}));
}

TEST_F(IniTest, WritesReplaceInPlaceAndAppendNewKeysToTheirSection) {
  headless::SetIniFileText(Ini.GetFileName(), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_TRUE(Ini.WriteInteger("a", "X", 5));
  EXPECT_TRUE(Ini.WriteString("A", "z", "日本語"));
  EXPECT_TRUE(Ini.WriteBool("C", "flag", true));
  EXPECT_EQ(headless::IniFileText(Ini.GetFileName()), "[A]\r\nx=5\r\nz=日本語\r\n\r\n[B]\r\ny=2\r\n[C]\r\nflag=1\r\n");
  EXPECT_TRUE(Ini.DeleteKey("B", "y"));
  EXPECT_TRUE(Ini.EraseSection("A"));
  EXPECT_EQ(headless::IniFileText(Ini.GetFileName()), "[B]\r\n[C]\r\nflag=1\r\n");
}

TEST_F(IniTest, FailedWriteIsReported) {
  headless::SetIniFileReadOnly(Ini.GetFileName(), true);
  EXPECT_FALSE(Ini.WriteString("A", "b", "c"));
  EXPECT_EQ(Ini.ReadString("A", "b", "def"), "def");
}

TEST(IniText, BrokenLinesAreKeptAndIgnored) {
  TIniText t("garbage line\r\n[Sec\r\n=novalue\r\n[Good]\r\nk=v\r\n\x81\r\n");
  EXPECT_EQ(t.Get("Good", "k").value_or(""), "v");
  EXPECT_FALSE(t.Get("Sec", "").has_value());
  EXPECT_EQ(t.Sections(), (std::vector<std::string>{"Good"}));
  t.Set("Good", "k", "w");
  EXPECT_EQ(t.Text(), "garbage line\r\n[Sec\r\n=novalue\r\n[Good]\r\nk=w\r\n\x81\r\n");
}

TEST(IniText, NamesFoldAsciiCaseButNeverATrailByte) {
  EXPECT_TRUE(SameIniName("PageTotal", "pagetotal"));
  EXPECT_TRUE(SameIniName("ページ1", "ページ1"));
  EXPECT_FALSE(SameIniName("ア", "\x83\x61"));  // ア is 83 41; 83 61 is another katakana
  EXPECT_FALSE(SameIniName("アa", "a\x83\x41"));
  TIniText t("[ア]\r\nk=1\r\n[\x83\x61]\r\nk=2\r\n");
  EXPECT_EQ(t.Get("\x83\x61", "k").value_or(""), "2");
}

}  // namespace
}  // namespace vel
