#include <gtest/gtest.h>

#include "tests/document/TestClient.h"
#include "document/EditorAttributeArray.h"

namespace vel {
namespace {

using test::RowsOf;
using test::TTestClient;
using Rows = std::vector<std::string>;

std::vector<std::string> Cut(TTestClient& client, const std::string& line) {
  TEditorStringList out;
  client.List->StrToWrapList(line, out);
  std::vector<std::string> r;
  for (int i = 0; i < out.Count(); ++i) r.push_back(out.Get(i));
  return r;
}

struct TWrapFixture : ::testing::Test {
  TTestClient client;
  TEditorWrapOption& wo = client.List->WrapOption();
  void SetUp() override {
    wo.SetWrapByte(20);
    client.List->SetWordWrap(true);
  }
};

TEST(AttributeArray, WalksColumnsAndOwningBytes) {
  const std::string s = "a\tあ";
  TEditorAttributeArray a(s, "1233" "45");
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a.PositionString(), "a");
  EXPECT_EQ(a.NextPositionString(), "\t");
  a.Next();
  a.Next();
  EXPECT_EQ(a.Code(), '3');
  EXPECT_EQ(a.GetStrIndex(), 2);
  EXPECT_EQ(a.PositionString(), "\t");
  EXPECT_EQ(a.SetPosition(6), 6);
  EXPECT_EQ(a.GetStrIndex(), 4);
  EXPECT_EQ(a.PositionString(), "あ");
  a.Next();
  EXPECT_EQ(a.Code(), '0');
  EXPECT_EQ(a.GetStrIndex(), 5);
  EXPECT_EQ(a.PositionString(), "");
  a.Next();
  EXPECT_EQ(a.GetPosition(), 7);
  EXPECT_EQ(a.SetPosition(1), 1);
  EXPECT_EQ(a.GetStrIndex(), 1);
  a.Prior();
  EXPECT_EQ(a.GetPosition(), 1);
}

TEST_F(TWrapFixture, ExactWidthLineAndFollowRetMark) {
  const std::string line(20, 'a');
  EXPECT_EQ(Cut(client, line), (Rows{line, ""}));
  wo.SetFollowRetMark(true);
  EXPECT_EQ(Cut(client, line), (Rows{line}));
  EXPECT_EQ(client.List->WrapCount(line), 1);
  wo.SetFollowRetMark(false);
  EXPECT_EQ(client.List->WrapCount(line), 2);
  EXPECT_EQ(client.List->WrapCount(std::string(19, 'a')), 1);
}

TEST_F(TWrapFixture, DoubleByteCharactersAreNeverSplit) {
  const std::string line = std::string(19, 'a') + "漢";
  EXPECT_EQ(Cut(client, line), (Rows{std::string(19, 'a'), "漢"}));
}

TEST_F(TWrapFixture, WordBreakCutsAfterADelimiterOrAtAThird) {
  wo.SetWrapByte(30);
  wo.SetWordBreak(true);
  std::string words = "alpha beta gamma delta epsilon zeta eta";
  Rows rows = Cut(client, words);
  EXPECT_EQ(rows[0], "alpha beta gamma delta ");
  std::string word(40, 'w');
  EXPECT_EQ(Cut(client, word)[0], std::string(10, 'w'));
}

TEST_F(TWrapFixture, KinsokuMovesLeadCharactersAndCharactersBeforeFollowers) {
  wo.SetLeading(true);
  // "（" on columns 19-20 may not end a row.
  std::string a = std::string(18, 'a') + "（b）";
  EXPECT_EQ(Cut(client, a), (Rows{std::string(18, 'a'), "（b）"}));
  // "。" on columns 21-22 may not begin one: the character before goes with it.
  std::string b = std::string(18, 'a') + "漢。x";
  EXPECT_EQ(Cut(client, b), (Rows{std::string(18, 'a'), "漢。x"}));
  // The row gives up characters only while it is longer than 16 columns.
  std::string c = std::string(14, 'a') + "ーーー。";
  Rows rows = Cut(client, c);
  EXPECT_EQ(rows[0], std::string(14, 'a') + "ー");
}

TEST_F(TWrapFixture, HangingPunctuationGoesUpToTwoColumnsPast) {
  wo.SetFollowPunctuation(true);
  std::string a = std::string(20, 'a') + "。。b";
  EXPECT_EQ(Cut(client, a), (Rows{std::string(20, 'a') + "。", "。b"}));
  std::string b = std::string(19, 'a') + ",,,b";
  EXPECT_EQ(Cut(client, b), (Rows{std::string(19, 'a') + ",,,", "b"}));
}

TEST_F(TWrapFixture, TabBlanksEndTheRowAndAreNotCarried) {
  std::string line = std::string(16, 'a') + "\tbcd";
  EXPECT_EQ(Cut(client, line), (Rows{std::string(16, 'a') + "\t", "bcd"}));
}

TEST(WrapOption, DefaultsClampAndAssign) {
  TEditorWrapOption o;
  EXPECT_EQ(o.GetWrapByte(), 80);
  EXPECT_EQ(o.GetLeadStr(), "（［｛「『([{｢");
  EXPECT_EQ(o.GetPunctuationStr(), "、。，．,.｡､");
  EXPECT_TRUE(IsInclude("ー", o.GetFollowStr()));
  int changes = 0;
  o.OnChange = [&](TNotifyPersistent*) { ++changes; };
  o.SetWrapByte(10);
  EXPECT_EQ(o.GetWrapByte(), 20);
  o.SetWrapByte(1000);
  EXPECT_EQ(o.GetWrapByte(), 250);
  o.SetWrapByte(250);
  EXPECT_EQ(changes, 2);
  TEditorWrapOption p;
  p.SetLeading(true);
  EXPECT_TRUE(o.Assign(p));
  EXPECT_TRUE(o.GetLeading());
  EXPECT_EQ(o.GetWrapByte(), 80);
  EXPECT_EQ(changes, 3);
}

TEST(WordWrap, SwitchingOffAndOnRestoresRowsAndEmptiesUndo) {
  TTestClient client;
  client.List->WrapOption().SetWrapByte(20);
  test::LoadRows(*client.List, {{std::string(50, 'x'), raCrlf}, {"short", raCrlf}, {std::string(25, 'y'), raEof}});
  client.List->UpdateList(1, 1, "SHORT\r\n");
  ASSERT_TRUE(client.List->UndoObj().CanUndo());
  client.List->SetWordWrap(true);
  Rows wrapped = RowsOf(*client.List);
  EXPECT_EQ(wrapped.size(), 6u);
  EXPECT_EQ(wrapped.back(), std::string(5, 'y') + "|e");
  EXPECT_FALSE(client.List->UndoObj().CanUndo());
  client.List->SetWordWrap(false);
  EXPECT_EQ(RowsOf(*client.List), (Rows{std::string(50, 'x') + "|c", "SHORT|c", std::string(25, 'y') + "|e"}));
  client.List->SetWordWrap(true);
  EXPECT_EQ(RowsOf(*client.List), wrapped);
  client.List->Undo();
  EXPECT_EQ(client.List->Rows().Get(3), "SHORT");
}

TEST(WordWrap, OptionChangesRewrapOnlyWhileWrapIsOn) {
  TTestClient client;
  client.Lines.SetText(std::string(100, 'x'));
  client.List->WrapOption().SetWrapByte(20);
  EXPECT_EQ(client.List->Count(), 1);
  client.List->SetWordWrap(true);
  EXPECT_EQ(client.List->Count(), 6);  // 5 full rows and an empty one
  client.List->WrapOption().SetFollowRetMark(true);
  EXPECT_EQ(client.List->Count(), 5);
  client.List->WrapOption().SetWrapByte(50);
  EXPECT_EQ(client.List->Count(), 2);
  EXPECT_EQ(client.Col, 0);
}

TEST(WordWrap, NothingHappensWhileTheClientIsLoaded) {
  TTestClient client;
  client.Lines.SetText(std::string(100, 'x'));
  client.Loading = true;
  client.List->WrapOption().SetWrapByte(20);
  client.List->SetWordWrap(true);
  EXPECT_TRUE(client.List->GetWordWrap());
  EXPECT_EQ(client.List->Count(), 1);
  client.Loading = false;
  client.List->WrapLines();
  EXPECT_EQ(client.List->Count(), 6);
}

TEST(RowStates, InitBracketsComputesAboutTwoScreensThenLeavesRowsForPainting) {
  TTestClient client;
  client.List->SetScreenRows(2);
  std::string text;
  for (int i = 0; i < 20; ++i) text += (i == 1 ? "{" : i == 3 ? "}" : "x") + std::string("\r\n");
  client.Lines.SetText(text);
  client.List->SetParserClass(test::BraceParserClass());
  TEditorScreenStrings& l = *client.List;
  EXPECT_EQ(l.Rows().GetBrackets(0), -1);
  EXPECT_EQ(l.Rows().GetBrackets(2), 0);
  EXPECT_EQ(l.Rows().GetBrackets(3), 0);
  EXPECT_EQ(l.Rows().GetBrackets(4), -1);
  // Two screens of two rows below the top row: rows 0 to 4.
  EXPECT_EQ(l.Rows().GetBrackets(5), -2);
  EXPECT_EQ(l.UpdateBrackets(10, false), 0);
  EXPECT_EQ(l.Rows().GetBrackets(10), -1);
  // An edit that opens a bracket repaints the rows whose state changed.
  client.Dirty.clear();
  l.UpdateList(5, 1, "{\r\n");
  EXPECT_EQ(l.Rows().GetBrackets(6), 0);
  EXPECT_TRUE(client.Dirty.count(6));
}

TEST(RowStates, NoPairsAndNoWrapMeansNoStateCrossesARow) {
  TTestClient client;
  client.BracketPairs = false;
  client.Lines.SetText("{\r\nx\r\n");
  client.List->SetParserClass(test::BraceParserClass());
  EXPECT_EQ(client.List->Rows().GetBrackets(1), -1);
  client.BracketPairs = true;
  client.List->InitBrackets();
  EXPECT_EQ(client.List->Rows().GetBrackets(1), 0);
}

}  // namespace
}  // namespace vel

namespace vel {
namespace {

// A row list whose cutting of a joined line fails, as an allocation may.
class TFailingCutList : public TEditorScreenStrings {
 public:
  bool Fail = false;
  void StrToWrapList(const std::string& S, TEditorStringList& List) override {
    if (Fail) throw std::runtime_error("cut failed");
    TEditorScreenStrings::StrToWrapList(S, List);
  }
};

TEST(WordWrap, AFailedRewrapLeavesRowsUpdateModeAndNotificationAsTheyWere) {
  auto list = std::make_shared<TFailingCutList>();
  test::TTestClient client(list);
  list->WrapOption().SetWrapByte(20);
  list->SetWordWrap(true);
  test::LoadRows(*list, {{"short", raCrlf}, {std::string(45, 'x'), raCrlf}, {"end", raEof}});
  const std::vector<std::string> before = test::RowsOf(*list);
  ASSERT_EQ(before.size(), 5u);
  list->Fail = true;
  // The row before the cut line has been moved to the new rows by then.
  EXPECT_THROW(list->WrapOption().SetWrapByte(30), std::runtime_error);
  list->Fail = false;
  EXPECT_EQ(list->GetUpdateCount(), 0);
  EXPECT_EQ(test::RowsOf(*list), before);
  EXPECT_EQ(list->LineCount(), 3);
  EXPECT_EQ(list->LinesToRow(2), 4);
  client.ChangeCount = 0;
  list->UpdateList(0, 1, "SHORT\r\n");
  EXPECT_EQ(client.ChangeCount, 1);
  EXPECT_EQ(client.Lines.Get(0), "SHORT");
}

}  // namespace
}  // namespace vel
