#include "shell/FindDialogState.h"
#include "shell/MemoCommands.h"

#include <gtest/gtest.h>

namespace vel {
namespace {

TEST(QuoteMarkCopy, EveryLineStartsWithAMarkAndOnlyLineFeedsCount) {
  struct {
    std::string In, Out;
  } cases[] = {
      {"a\r\nb", ">a\r\n>b"}, {"a\r\n", ">a\r\n>"},     {"a", ">a"},
      {"\n\n", ">\n>\n>"},    {"a\rb", ">a\rb"},        {"表\n示", ">表\n>示"},
      {"x\n\ny", ">x\n>\n>y"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteMarkCopy(c.In), c.Out) << c.In;
}

TEST(DefaultSaveExt, TakesThePatternOfTheChosenFilter) {
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 1), ".txt");
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 2), ".html");
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 3), ".htm");
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 4), "");
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 5), "");
  EXPECT_EQ(DefaultSaveExt(SaveFilter, 0), "");
  EXPECT_EQ(DefaultSaveExt(OpenFilter, 1), ".txt");
}

TEST(AppendDefaultExt, AddsTheExtensionOnlyWhenTheFileNameHasNone) {
  struct {
    std::string Name, Out;
  } cases[] = {
      {"C:\\memo", "C:\\memo.txt"},        {"C:\\memo.log", "C:\\memo.log"},
      {"C:\\my.dir\\memo", "C:\\my.dir\\memo.txt"}, {"C:\\memo.", "C:\\memo.txt"},
      {"C:\\表\\memo", "C:\\表\\memo.txt"},     {"C:\\my.dir\\a.b.log", "C:\\my.dir\\a.b.log"},
      {"ソ\\memo", "ソ\\memo.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(AppendDefaultExt(c.Name, ".txt"), c.Out) << c.Name;
}

TEST(MemoCommands, PromptAndPanelTexts) {
  EXPECT_EQ(AskSaveText("a.txt"), "a.txtが変更されています。\nメモの内容を保存しますか？");
  EXPECT_EQ(CaretPanelText(0, 0), "  1:  1");
  EXPECT_EQ(CaretPanelText(9, 122), "  10:  123");
}

TEST(MemoCommands, EditMenuFollowsSelectionUndoAndClipboard) {
  EXPECT_EQ(EditMenuState(false, false, 0, false), (TEditMenuState{false, false, false, false, false, false}));
  EXPECT_EQ(EditMenuState(true, false, 3, true), (TEditMenuState{true, false, true, true, true, true}));
  EXPECT_EQ(EditMenuState(false, true, 0, true), (TEditMenuState{false, true, false, false, false, true}));
  EXPECT_FALSE(OpenEnabled(true));
  EXPECT_TRUE(OpenEnabled(false));
}

// The find dialog's memory: one history entry per string whatever its
// letters' case, the replacement remembered only by the replace buttons,
// and Cancel giving back the flags of the last accepted press.
TEST(FindDialogState, HistoriesFlagsAndResultTexts) {
  TFindDialogState d;
  d.Accept(frFind, "Memo", "unused", {true, false, true, false});
  d.Accept(frReplace, "メモ", "memo", {false, true, false, true});
  d.Accept(frFind, "MEMO", "", {false, false, false, false});
  d.Accept(frReplaceAll, "", "", {true, true, true, true});
  EXPECT_EQ(d.FindHistory, (std::vector<std::string>{"メモ", "Memo"}));
  EXPECT_EQ(d.ReplaceHistory, std::vector<std::string>{"memo"});
  EXPECT_EQ(d.Cancel(), (TFindFlags{true, true, true, true}));
  EXPECT_EQ(d.Options(), 0x0F);
  d.Accept(frFind, "a", "", {false, true, false, true});
  EXPECT_EQ(d.Options(), 0x0A);
  EXPECT_EQ(NotFoundText("abc"), "文字列　'abc'　は\r\n見つかりませんでした。");
  EXPECT_EQ(ReplacedCountText(2), "2個置換えました。");
}

}  // namespace
}  // namespace vel
