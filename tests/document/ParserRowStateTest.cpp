// The state each row starts in: as the parser's LastTokenBracket computes it
// over plain rows, and as the row list keeps it through edits, undo, redo
// and wrap, always what a walk from the top gives.
#include <gtest/gtest.h>

#include <random>

#include "syntax/EditorParser.h"
#include "syntax/EditorViewInfo.h"
#include "tests/document/TestClient.h"
#include "tests/syntax/ParserTestHost.h"

namespace vel::test {
namespace {

using TState = std::pair<int, int>;
constexpr TEditorRowAttribute C = raCrlf, W = raWrapped, E = raEof;

TTestRows Rows(std::vector<std::pair<std::string, TEditorRowAttribute>> r) {
  TTestRows rows;
  rows.Rows = std::move(r);
  return rows;
}

// The first token of a row painted in the given state.
TTok FirstToken(const std::string& text, const TTestHost& host, TState state) {
  TEditorParser p(text, &host, state.second, state.first);
  return {p.Token(), p.SourcePos(), p.TokenLength()};
}

struct TRowStateCase {
  const char* Name;
  TTestRows Rows;
  std::vector<TState> Expected;  // the start of every row, then the state after the last
};

TEST(ParserRowState, StatesAcrossRowsAndLogicalLines) {
  TTestHost host;
  host.AddBracket("/*", "*/");
  host.AddBracket("{", "}");
  host.AddBracket("((", "");
  host.View.SetCommenter("//");
  host.View.SetQuotation("'");
  host.View.SetUrl(true);
  const TState out{toEof, -1};
  const std::vector<TRowStateCase> cases = {
      {"pair opened on row 3 and closed on row 7",
       Rows({{"a", C}, {"b", C}, {"c", C}, {"x /* open", C}, {"in", C}, {"", C}, {"  ", C}, {"end */ y", C},
             {"z", C}, {"w", E}}),
       {out, out, out, out, {toBracket, 0}, {toBracket, 0}, {toBracket, 0}, {toBracket, 0}, out, out, out}},
      {"one pair closes and another opens on the same row",
       Rows({{"{ a", C}, {"b } /* c", C}, {"d */", E}}),
       {out, {toBracket, 1}, {toBracket, 0}, out}},
      {"wrap inside the pair",
       Rows({{"x /* ab", W}, {"c de", W}, {"f */ y", C}, {"z", E}}),
       {out, {toBracket, 0}, {toBracket, 0}, out, out}},
      {"wrap cuts the left bracket",
       Rows({{"x /", W}, {"* ab", W}, {"cd */", C}, {"e", E}}),
       {out, {toBracket, 0}, {toBracket, 0}, out, out}},
      {"wrap cuts the right bracket", Rows({{"x /* ab *", W}, {"/ y", C}, {"z", E}}), {out, out, out, out}},
      {"pair runs over a wrapped row of blanks",
       Rows({{"/* a", C}, {"   ", W}, {"*/ b", C}, {"c", E}}),
       {out, {toBracket, 0}, {toBracket, 0}, out, out}},
      {"pair with no right bracket never opens", Rows({{"a (( b", C}, {"c", E}}), {out, out, out}},
      {"string ends at the end of its logical line", Rows({{"a 'bc", C}, {"d", E}}), {out, out, out}},
      {"string goes on across a wrap", Rows({{"a 'bc", W}, {"d' e", C}, {"f", E}}),
       {out, {toQuotation, -1}, out, out}},
      {"string closed exactly at the wrap", Rows({{"'ab'", W}, {"c", C}}), {out, out, out}},
      {"comment runs through the wrapped rows of its line",
       Rows({{"a // b", W}, {"c", W}, {"d", C}, {"e", E}}),
       {out, {toComment, -1}, {toComment, -1}, out, out}},
      {"comment marker cut by the wrap", Rows({{"a /", W}, {"/ b", C}, {"c", E}}), {out, {toComment, -1}, out, out}},
      {"url wrapped over three rows", Rows({{"see http://a", W}, {"bc/def", W}, {"gh x", C}}),
       {out, {toUrl, -1}, {toUrl, -1}, out}},
      {"identifier cut by the wrap", Rows({{"x ab", W}, {"cd y", C}}), {out, {toAnk, -1}, out}},
      {"token ending exactly at the wrap", Rows({{"x ab", W}, {" cd", C}}), {out, out, out}},
      {"kanji run cut by the wrap", Rows({{"会議", W}, {"資料", C}}), {out, {toDBKanji, -1}, out}},
      {"last row wrapped has no next row", Rows({{"ab", W}}), {out, out}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(RowStates(c.Rows, &host), c.Expected);
  }
}

TEST(ParserRowState, RowsInsideAPairPaintAsTheBracketColour) {
  TTestHost host;
  host.AddBracket("/*", "*/");
  host.View.Brackets().BracketItems(0).ItemColor().SetColor(clGreen);
  TTestRows rows = Rows({{"a /* b", C}, {"c", C}, {"d */ e", E}});
  auto states = RowStates(rows, &host);
  for (int r = 1; r <= 2; ++r) {
    TEditorParser p(rows.RowText(r), &host, states[r].second, states[r].first);
    EXPECT_EQ(p.Token(), toBracket) << "row " << r;
    ASSERT_NE(p.TokenToEditorColor(), nullptr);
    EXPECT_EQ(p.TokenToEditorColor()->Color(), clGreen);
  }
  TEditorParser last(rows.RowText(2), &host, states[2].second, states[2].first);
  EXPECT_EQ(Drain(last), (std::vector<TTok>{{toBracket, 0, 4}, {toAnk, 5, 1}}));
}

TEST(ParserRowState, UrlContinuedInTheNextRow) {
  TTestHost host;
  host.View.SetUrl(true);
  TTestRows rows = Rows({{"see http://a", W}, {"bc/def", W}, {"gh x", C}});
  auto states = RowStates(rows, &host);
  EXPECT_EQ(FirstToken("gh x", host, states[2]), (TTok{toUrl, 0, 2}));
}

TEST(ParserRowState, NoBracketsWithoutAViewOrWithRecognitionOff) {
  TTestRows rows = Rows({{"/* a", C}, {"b */", C}, {"'c", W}, {"d", E}});
  // No quote either: the wrapped "'c" is an identifier cut by the wrap.
  const TState out{toEof, -1}, ank{toAnk, -1};
  EXPECT_EQ(RowStates(rows, nullptr), (std::vector<TState>{out, out, out, ank, out}));
  TTestHost noView;
  noView.HasView = false;
  EXPECT_EQ(RowStates(rows, &noView), (std::vector<TState>{out, out, out, ank, out}));
  TTestHost host;
  host.AddBracket("/*", "*/");
  const TState off{toEof, -2}, ankOff{toAnk, -2};
  EXPECT_EQ(RowStates(rows, &host, -2), (std::vector<TState>{off, off, off, ankOff, off}));
}

TEST(ParserRowState, RowOutsideTheListLeavesTheStateAlone) {
  TTestHost host;
  TTestRows rows = Rows({{"a", E}});
  TEditorParser p("", &host, -1);
  int token = toBracket, bracket = 3;
  p.LastTokenBracket(5, rows, token, bracket);
  p.LastTokenBracket(-1, rows, token, bracket);
  EXPECT_EQ(token, toBracket);
  EXPECT_EQ(bracket, 3);
}

// A control with a view: a block comment pair, a quote and a reserved word.
class TViewClient : public TTestClient {
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

// The state each row starts in by a fresh walk from the top: (token, bracket).
std::vector<std::pair<int, int>> WalkFromTheTop(TViewClient& c) {
  TEditorScreenStrings& l = *c.List;
  auto parser = EditorParserClass()("", &c, -1);
  int token = toEof, bracket = -1;
  std::vector<std::pair<int, int>> states;
  for (int r = 0; r < l.Count(); ++r) {
    states.push_back({token, bracket});
    parser->LastTokenBracket(r, l.Rows(), token, bracket);
  }
  return states;
}

// Every row whose state is computed holds the state a fresh walk gives.
void ExpectStatesOfAWalkFromTheTop(TViewClient& c, const std::vector<std::pair<int, int>>& walk,
                                   const std::string& ctx) {
  TEditorScreenStrings& l = *c.List;
  for (int r = 0; r < l.Count(); ++r) {
    if (l.Rows().GetBrackets(r) != -2) {
      ASSERT_EQ(l.Rows().GetBrackets(r), walk[static_cast<size_t>(r)].second) << ctx << " row " << r;
      ASSERT_EQ(l.Rows().GetTokens(r), walk[static_cast<size_t>(r)].first) << ctx << " row " << r;
    }
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
  ExpectStatesOfAWalkFromTheTop(c, WalkFromTheTop(c), "after the edit");
  l.Undo();
  EXPECT_EQ(l.Rows().GetBrackets(6), 0);
  ExpectStatesOfAWalkFromTheTop(c, WalkFromTheTop(c), "after undo");
}

TEST(RowStateWithParser, ReservedWordCutByWrapCarriesIntoTheNextRowAndColoursItsRest) {
  TViewClient c;
  c.List->WrapOption().SetWrapByte(20);
  c.List->SetWordWrap(true);
  c.Lines.SetText(std::string(18, ' ') + "Begin x\r\nBe\r\ngin");
  const TEditorStringList& rows = c.List->Rows();
  ASSERT_EQ(rows.Count(), 4);
  EXPECT_EQ(rows.Get(0).substr(18), "Be");
  EXPECT_EQ(rows.GetTokens(1), toReserve);
  EXPECT_EQ(rows.GetBrackets(1), -1);
  // A line break ends the word: the next line starts afresh.
  EXPECT_EQ(rows.GetTokens(3), toEof);
  TEditorParser p(rows.Get(1), &c, rows.GetBrackets(1), rows.GetTokens(1));
  EXPECT_EQ((TTok{p.Token(), p.SourcePos(), p.TokenLength()}), (TTok{toReserve, 0, 3}));
  EXPECT_EQ(p.TokenToEditorColor(), &c.View.Colors().Reserve());
  p.NextToken();
  EXPECT_EQ(p.TokenToEditorColor(), &c.View.Colors().Ank());
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
    if (seed % 3 == 0) {
      // Without pairs every line starts afresh, and rows are read from there.
      c.View.Brackets().Clear();
      c.BracketPairs = false;
    }
    c.List->SetScreenRows(1 + rng() % 6);
    TEditorScreenStrings& l = *c.List;
    l.WrapOption().SetWrapByte(20 + rng() % 20);
    l.SetWordWrap(rng() % 2);
    c.Lines.SetText(text(seed % 3 == 0 ? 200 : 30));
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
      // Rows still at "not computed" get their state when painted, in any
      // order: a view may show the end before anything above it.
      const std::string ctx = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      const auto walk = WalkFromTheTop(c);
      ASSERT_NO_FATAL_FAILURE(ExpectStatesOfAWalkFromTheTop(c, walk, ctx));
      const int from = l.Count() ? static_cast<int>(rng() % static_cast<uint32_t>(l.Count())) : 0;
      for (int k = 0; k < l.Count(); ++k) {
        const int r = (from + k) % l.Count();
        if (l.Rows().GetBrackets(r) != -2) continue;
        l.UpdateBrackets(r, false);
        ASSERT_NO_FATAL_FAILURE(ExpectStatesOfAWalkFromTheTop(c, walk, ctx + " painting row " + std::to_string(r)));
      }
    }
  }
}

}  // namespace
}  // namespace vel::test
