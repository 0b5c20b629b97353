// The token parser plugged into the row list: the state each row starts in
// stays what a walk from the top gives, through edits, undo, redo and wrap.
#include <gtest/gtest.h>

#include <random>

#include "tests/document/TestClient.h"
#include "syntax/EditorParser.h"
#include "syntax/EditorViewInfo.h"

namespace vel {
namespace {

// A control with a view: a block comment pair, a quote and a reserved word.
class TViewClient : public test::TTestClient {
 public:
  TViewClient() {
    TEditorBracketItem& item = View.Brackets().Add();
    item.SetLeftBracket("/*");
    item.SetRightBracket("*/");
    TEditorBracketItem& jp = View.Brackets().Add();
    jp.SetLeftBracket("「");
    jp.SetRightBracket("」");
    View.SetQuotation("'");
    View.SetUrl(true);
    View.SetMail(true);
    Reserved = {"begin", "end"};
    List->SetParserClass(EditorParserClass());
  }
  const TEditorViewInfo* ParserView() const override { return &View; }
  TEditorViewInfo View;
};

// Every row whose state is computed holds the state a fresh walk gives.
void ExpectStatesOfAWalkFromTheTop(TViewClient& c, const std::string& ctx) {
  TEditorScreenStrings& l = *c.List;
  auto parser = EditorParserClass()("", &c, -1);
  int token = toEof, bracket = -1;
  for (int r = 0; r < l.Count(); ++r) {
    if (l.Rows().GetBrackets(r) != -2) {
      ASSERT_EQ(l.Rows().GetBrackets(r), bracket) << ctx << " row " << r;
      ASSERT_EQ(l.Rows().GetTokens(r), token) << ctx << " row " << r;
    }
    parser->LastTokenBracket(r, l.Rows(), token, bracket);
  }
}

TEST(RowStateWithParser, BlockCommentSpanningRowsGivesTheRowsInsideThePairsState) {
  TViewClient c;
  c.List->SetScreenRows(20);
  c.Lines.SetText("a\r\nb\r\nc\r\nd /* open\r\ne\r\nf\r\ng\r\nclose */ h\r\ni\r\n");
  TEditorScreenStrings& l = *c.List;
  EXPECT_EQ(l.Rows().GetBrackets(3), -1);
  for (int r = 4; r <= 7; ++r) {
    EXPECT_EQ(l.Rows().GetBrackets(r), 0) << r;
    EXPECT_EQ(l.Rows().GetTokens(r), toBracket) << r;
  }
  EXPECT_EQ(l.Rows().GetBrackets(8), -1);
  // Closing the comment earlier changes the rows below at once.
  l.UpdateList(5, 1, "f */");
  EXPECT_EQ(l.Rows().GetBrackets(5), 0);
  EXPECT_EQ(l.Rows().GetBrackets(6), -1);
  EXPECT_EQ(l.Rows().GetBrackets(7), -1);
  ExpectStatesOfAWalkFromTheTop(c, "after the edit");
  l.Undo();
  EXPECT_EQ(l.Rows().GetBrackets(6), 0);
  ExpectStatesOfAWalkFromTheTop(c, "after undo");
}

TEST(RowStateWithParser, ReservedWordCutByWrapCarriesIntoTheNextRow) {
  TViewClient c;
  c.List->WrapOption().SetWrapByte(20);
  c.List->SetWordWrap(true);
  c.Lines.SetText(std::string(18, ' ') + "begin x");
  TEditorScreenStrings& l = *c.List;
  ASSERT_GE(l.Count(), 2);
  EXPECT_EQ(l.Rows().Get(0).substr(18), "be");
  EXPECT_EQ(l.Rows().GetTokens(1), toReserve);
}

TEST(RowStateWithParser, RandomEditsKeepEveryRowsStateEqualToAWalkFromTheTop) {
  static const char* const kPieces[] = {"/*", "*/", "「", "」", "'", "begin", "x", "漢字", "ｶﾅ", " ", "\t",
                                        "\r\n", "http://a.jp/", "a@b.jp", "12.5", "#$0D", "、", "\x82"};
  for (uint32_t seed = 1; seed <= 120; ++seed) {
    std::mt19937 rng(seed);
    auto text = [&](int n) {
      std::string s;
      for (int i = 0; i < n; ++i) s += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
      return s;
    };
    TViewClient c;
    c.List->SetScreenRows(1 + rng() % 6);
    TEditorScreenStrings& l = *c.List;
    l.WrapOption().SetWrapByte(20 + rng() % 20);
    l.SetWordWrap(rng() % 2);
    c.Lines.SetText(text(30));
    for (int step = 0; step < 25; ++step) {
      int rows = l.Count();
      int index = static_cast<int>(rng() % (rows + 1));
      int count = static_cast<int>(rng() % (std::min(2, rows - index) + 1));
      switch (rng() % 6) {
        case 0:
          if (l.UndoObj().CanUndo()) l.Undo();
          break;
        case 1:
          if (l.UndoObj().CanRedo()) l.Redo();
          break;
        default:
          l.UpdateList(index, count, text(1 + rng() % 4));
      }
      // Rows still at "not computed" get their state when painted.
      for (int r = 0; r < l.Count(); ++r)
        if (l.Rows().GetBrackets(r) == -2) l.UpdateBrackets(r, false);
      ASSERT_NO_FATAL_FAILURE(
          ExpectStatesOfAWalkFromTheTop(c, "seed " + std::to_string(seed) + " step " + std::to_string(step)));
    }
  }
}

}  // namespace
}  // namespace vel
