// What the control paints, read back from the headless canvas: rows in token
// colours, the selection in both modes, the marks, the left bar, the ruler,
// and which pieces a change repaints.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/editor/EditorViewTestHost.h"

namespace vel::test {
namespace {

// The headless font: 6 x 12 pixels; default margins put column 0 at x 19, row 0 at y 2.
constexpr int L = 19, T = 2, W = 6, H = 12;

struct EditorPaint : ::testing::Test {
  void SetUp() override {
    headless::Reset();
    h.Window.SetFocus();
  }
  TEditorHost h;
};

TEST_F(EditorPaint, DefaultColouredRowIsOneOpaqueOutputAtItsColumns) {
  h.Load("abc\r\nde");
  const auto t = Texts(PaintAll(h));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].Text, "abc");
  EXPECT_EQ(t[0].X, L);
  EXPECT_EQ(t[0].Y, T);
  EXPECT_EQ(t[0].Fg, clWindowText);
  EXPECT_EQ(t[0].Bg, clWindow);
  EXPECT_EQ(t[0].Advances, (std::vector<int>{W, W, W}));
  EXPECT_EQ(t[1].Text, "de");
  EXPECT_EQ(t[1].Y, T + H);
}

TEST_F(EditorPaint, TheMarginBesideTheTextIsPaintedInTheControlColour) {
  h.Load("abc");
  // Every pixel of the strip left of column 0, below the top margin, is filled.
  std::vector<bool> row(H * 4, false);
  for (const TDrawCall& c : PaintAll(h))
    if (c.What == TDrawCall::kFill && c.Bg == clWindow && c.Rect.Left <= 0 && c.Rect.Right >= L)
      for (int y = std::max(c.Rect.Top, T); y < std::min(c.Rect.Bottom, T + H * 4); ++y) row[y - T] = true;
  EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](bool b) { return b; }));
}

TEST_F(EditorPaint, TokensOfOtherColoursAreDrawnOverTheRowOnePerToken) {
  h.Editor.View().Colors().Int().SetColor(clRed);
  h.Editor.View().Colors().DBCS().SetColor(clBlue);
  h.Load("ab 12 あい");
  const auto t = Texts(PaintAll(h));
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].Text, "ab 12 あい");
  EXPECT_EQ(t[1].Text, "12");
  EXPECT_EQ(t[1].X, L + 3 * W);
  EXPECT_EQ(t[1].Fg, clRed);
  EXPECT_EQ(t[1].Bg, clWindow);
  EXPECT_EQ(t[2].Text, "あい");
  EXPECT_EQ(t[2].X, L + 6 * W);
  EXPECT_EQ(t[2].Fg, clBlue);
  // Each token's background fills its own columns only, never its neighbours'.
  EXPECT_EQ(t[1].Rect, (TRect{L + 3 * W, T, L + 5 * W, T + H}));
  EXPECT_EQ(t[2].Rect, (TRect{L + 6 * W, T, L + 10 * W, T + H}));
  // A double-byte character advances by its two columns at the lead byte.
  EXPECT_EQ(t[2].Advances, (std::vector<int>{2 * W, 0, 2 * W, 0}));
}

TEST_F(EditorPaint, ItalicColourClearsTheRowAndDrawsEveryTokenTransparently) {
  h.Editor.View().Colors().Ank().SetStyle({fsItalic});
  h.Load("ab 12");
  const auto all = PaintAll(h);
  const auto t = Texts(all);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].Text, "ab");
  EXPECT_TRUE(t[0].Font.Italic);
  EXPECT_EQ(t[0].Bg, clNone);
  EXPECT_EQ(t[1].Text, "12");
  EXPECT_FALSE(t[1].Font.Italic);
  EXPECT_EQ(t[1].Bg, clNone);
  EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const TDrawCall& c) {
    return c.What == TDrawCall::kFill && c.Rect.Top == T && c.Rect.Left == L && c.Bg == clWindow;
  }));
}

// The selected pieces: clip rectangles of the outputs in the selection colours.
std::vector<TRect> SelectedPieces(const std::vector<TDrawCall>& drawn) {
  std::vector<TRect> r;
  for (const TDrawCall& c : Texts(drawn))
    if (c.Bg == clNavy && c.Fg == clWhite) r.push_back({c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Bottom});
  return r;
}

TEST_F(EditorPaint, LineSelectionRunsFromItsStartToTheEdgeAndOnToItsEnd) {
  h.Load("abcdef\r\nghij\r\nklm");
  h.Select(0, 2, 2, 1);
  const auto p = SelectedPieces(PaintAll(h));
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0], (TRect{L + 2 * W, T, 640, T + H}));
  EXPECT_EQ(p[1], (TRect{L, T + H, 640, T + 2 * H}));
  EXPECT_EQ(p[2], (TRect{L, T + 2 * H, L + W, T + 3 * H}));
}

TEST_F(EditorPaint, BoxSelectionLeavesOutACharacterOnItsLeftEdgeAndTakesInOneOnItsRight) {
  h.Load("abcdef\r\naあいb\r\nabcdef");
  h.Select(0, 2, 2, 4, smBox);
  const auto p = SelectedPieces(PaintAll(h));
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0], (TRect{L + 2 * W, T, L + 4 * W, T + H}));
  EXPECT_EQ(p[1], (TRect{L + 3 * W, T + H, L + 5 * W, T + 2 * H}));
  EXPECT_EQ(p[2], (TRect{L + 2 * W, T + 2 * H, L + 4 * W, T + 3 * H}));
}

TEST_F(EditorPaint, EofMarkFollowsTheTextOrStandsOnTheRowAfterAFinalBreak) {
  h.Editor.Marks().EofMark().SetVisible(true);
  struct {
    const char* text;
    int x, y;
  } cases[] = {{"abc", L + 3 * W, T}, {"abc\r\n", L, T + H}, {"", L, T}};
  for (const auto& c : cases) {
    h.Load(c.text);
    const auto t = Texts(PaintAll(h));
    auto eof = std::find_if(t.begin(), t.end(), [](const TDrawCall& d) { return d.Text == "[EOF]"; });
    ASSERT_NE(eof, t.end()) << c.text;
    EXPECT_EQ(eof->X, c.x) << c.text;
    EXPECT_EQ(eof->Y, c.y) << c.text;
    EXPECT_EQ(eof->Fg, h.Editor.Marks().EofMark().Color());
  }
}

TEST_F(EditorPaint, LineBreakArrowFollowsEachLineEndButNotAWrap) {
  h.Editor.Marks().RetMark().SetVisible(true);
  h.Editor.Marks().RetMark().SetColor(clRed);
  h.Editor.SetWordWrap(true);
  h.Editor.WrapOption().SetWrapByte(20);
  h.Load(std::string(30, 'x') + "\r\nab");
  ASSERT_EQ(h.Editor.ListCount(), 3);
  const auto l = Lines(PaintAll(h));
  std::vector<TDrawCall> red;
  for (const auto& c : l)
    if (c.Fg == clRed) red.push_back(c);
  // One arrow, after the 10 bytes left on the second row.
  ASSERT_EQ(red.size(), 3u);
  const int x = L + 10 * W + W / 2, y = T + H;
  EXPECT_EQ(red[0].Rect, (TRect{x, y + 6, x, y + H - 4}));
  EXPECT_EQ(red[1].Rect, (TRect{x, y + H - 4, x + 3, y + H - 7}));
  EXPECT_EQ(red[2].Rect, (TRect{x, y + H - 4, x - 3, y + H - 7}));
}

// The numbers written in the left bar, top down ("" for a blank cell).
std::vector<std::string> BarNumbers(TEditorHost& h, int rows) {
  std::vector<std::string> r(static_cast<size_t>(rows));
  for (const TDrawCall& c : PaintAll(h)) {
    const int row = (c.Y - T) / H;
    if (c.What == TDrawCall::kText && c.X < h.Editor.LeftMargin() && row >= 0 && row < rows)
      r[static_cast<size_t>(row)] = c.Text;
  }
  return r;
}

TEST_F(EditorPaint, LeftBarNumbersRowsOrLinesWithZeroBaseAndZeroLead) {
  h.Editor.Leftbar().SetVisible(true);
  h.Editor.SetWordWrap(true);
  h.Editor.WrapOption().SetWrapByte(20);
  h.Load(std::string(30, 'x') + "\r\nab\r\n");
  EXPECT_EQ(BarNumbers(h, 5), (std::vector<std::string>{"   1", "   2", "   3", "   4", ""}));
  h.Editor.Leftbar().SetShowNumberMode(nmLine);
  EXPECT_EQ(BarNumbers(h, 5), (std::vector<std::string>{"   1", "", "   2", "   3", ""}));
  h.Editor.Leftbar().SetZeroBase(true);
  h.Editor.Leftbar().SetZeroLead(true);
  EXPECT_EQ(BarNumbers(h, 5), (std::vector<std::string>{"0000", "", "0001", "0002", ""}));
}

TEST_F(EditorPaint, AGrowingLastNumberWidensTheBarAndShiftsTheText) {
  h.Editor.Leftbar().SetVisible(true);
  h.Editor.Leftbar().SetColumn(1);
  h.Load("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9");
  const int before = h.Editor.LeftMargin();
  EXPECT_EQ(before, 19 + 8 + W + 4 + 2);
  Settle(h);
  h.Editor.SetRowCol(8, 1);
  h.Window.SendChar("\r");
  EXPECT_EQ(h.Editor.LeftMargin(), before + W);
  ASSERT_FALSE(h.Window.Scrolls.empty());
  EXPECT_EQ(h.Window.Scrolls[0].Dx, W);
  EXPECT_EQ(BarNumbers(h, 11)[9], "10");
}

// The column numbers on the ruler as (x, digit) in the order drawn.
std::vector<std::pair<int, int>> RulerDigits(const std::vector<TDrawCall>& drawn, int& sourceX) {
  std::vector<std::pair<int, int>> r;
  for (const TDrawCall& c : drawn) {
    if (c.What != TDrawCall::kBitmap || c.Y != 0 || c.X != L) continue;
    sourceX = c.Rect.Left;
    for (const TDrawCall& d : c.Bitmap)
      if (d.What == TDrawCall::kBitmap && d.Rect.Bottom == 9) r.push_back({d.X, d.Rect.Left / 5});
    break;
  }
  return r;
}

TEST_F(EditorPaint, RulerNumbersEveryGaugePeriodFromThePeriodInView) {
  h.Editor.Ruler().SetVisible(true);
  h.Load(std::string(200, 'a'));
  int sx = -1;
  auto d = RulerDigits(PaintAll(h), sx);
  ASSERT_GE(d.size(), 5u);
  EXPECT_EQ(sx, 0);
  // "0" at the first long tick, then "10" (a narrow 1) and "20" a period on.
  EXPECT_EQ(d[0], std::make_pair(1, 0));
  EXPECT_EQ(d[1], std::make_pair(1 + 10 * W, 1));
  EXPECT_EQ(d[2], std::make_pair(1 + 10 * W + 4, 0));
  EXPECT_EQ(d[3], std::make_pair(1 + 20 * W, 2));
  h.Editor.SetTopCol(23);
  d = RulerDigits(PaintAll(h), sx);
  ASSERT_GE(d.size(), 2u);
  EXPECT_EQ(d[0], std::make_pair(1, 2));
  EXPECT_EQ(sx, 3 * W);
}

TEST_F(EditorPaint, RulerMarkFollowsACaretMovedByCode) {
  h.Editor.Ruler().SetVisible(true);
  h.Load("abcdefgh\r\nijkl");
  PaintAll(h);
  auto markedAt = [&](int col) {
    const auto& d = h.Window.Drawn;
    return std::any_of(d.begin(), d.end(), [&](const TDrawCall& c) {
      return c.What == TDrawCall::kBitmap && c.Y == 0 && c.X == L + col * W + 1;
    });
  };
  Settle(h);
  h.Editor.SetRowCol(0, 5);
  EXPECT_TRUE(markedAt(0));  // the old mark taken away
  EXPECT_TRUE(markedAt(5));
  Settle(h);
  h.Editor.SetRowCol(1, 2);
  EXPECT_TRUE(markedAt(2));
}

TEST_F(EditorPaint, TypingRepaintsOnlyItsRowsAndABreakScrollsTheRowsBelow) {
  h.Load("aaa\r\nbbb\r\nccc\r\nddd\r\neee\r\nfff\r\nggg", 2, 1);
  Settle(h);
  h.Window.SendChar("x");
  h.Window.PaintInvalid();
  // The edited row, and at most the row whose state the edit could change.
  ASSERT_FALSE(Texts(h.Window.Drawn).empty());
  for (const auto& t : Texts(h.Window.Drawn)) EXPECT_TRUE(t.Y == T + 2 * H || t.Y == T + 3 * H) << t.Text;
  EXPECT_TRUE(h.Window.Scrolls.empty());
  Settle(h);
  h.Window.SendChar("\r");
  h.Window.PaintInvalid();
  // The rows below move down one row instead of being painted again.
  ASSERT_EQ(h.Window.Scrolls.size(), 1u);
  EXPECT_EQ(h.Window.Scrolls[0].Dy, H);
  const int from = (h.Window.Scrolls[0].Area.Top - T) / H;
  EXPECT_GE(from, 4);
  std::vector<std::string> drawn;
  for (const auto& t : Texts(h.Window.Drawn)) drawn.push_back(t.Text);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0], "cx");
  EXPECT_EQ(drawn[1], "cc");
  EXPECT_LE(drawn.size(), static_cast<size_t>(from - 2 + 1));
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "ggg"), 0);
}

TEST_F(EditorPaint, ExtendingASelectionPaintsOnlyTheNewColumnsAtOnce) {
  h.Load("abcdef", 0, 1);
  Settle(h);
  h.Window.SendKeyDown(vkRight, ssShift);
  EXPECT_EQ(SelectedPieces(h.Window.Drawn), (std::vector<TRect>{{L + W, T, L + 2 * W, T + H}}));
  h.Window.Drawn.clear();
  h.Window.SendKeyDown(vkRight, ssShift);
  EXPECT_EQ(SelectedPieces(h.Window.Drawn), (std::vector<TRect>{{L + 2 * W, T, L + 3 * W, T + H}}));
  h.Window.Drawn.clear();
  // Shrinking paints the freed column in the normal colours only.
  h.Window.SendKeyDown(vkLeft, ssShift);
  EXPECT_TRUE(SelectedPieces(h.Window.Drawn).empty());
  const auto t = Texts(h.Window.Drawn);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].Rect.Left, L + 2 * W);
  EXPECT_EQ(t[0].Rect.Right, L + 3 * W);
  EXPECT_EQ(t[0].Bg, clWindow);
}

TEST_F(EditorPaint, CaretRowUnderlineShowsOnlyWithoutASelection) {
  h.Editor.Marks().Underline().SetVisible(true);
  h.Editor.Marks().Underline().SetColor(clRed);
  h.Load("abc\r\ndef", 1, 0);
  auto underline = [&](const std::vector<TDrawCall>& d) {
    return std::count_if(d.begin(), d.end(), [](const TDrawCall& c) {
      return c.What == TDrawCall::kLine && c.Fg == clRed && c.Rect.Top == T + 13 + H;
    });
  };
  EXPECT_GE(underline(PaintAll(h)), 1);
  // Leaving the row takes the line away in the control's own colour.
  h.Editor.SetColor(clYellow);
  Settle(h);
  h.Editor.SetRow(0);
  const auto lines = Lines(h.Window.Drawn);
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const TDrawCall& c) {
    return c.Fg == clYellow && c.Rect.Top == T + 13 + H;
  }));
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const TDrawCall& c) { return c.Fg == clWindow; }));
  h.Editor.SetRow(1);
  h.Select(1, 0, 1, 2);
  EXPECT_EQ(underline(PaintAll(h)), 0);
}

TEST_F(EditorPaint, LongRowScrolledFarRightDrawsOnlyWhatIsInViewWithAMatchingAdvanceTable) {
  std::string row;
  for (int i = 0; i < 2500; ++i) row += "abあ";
  h.Load(row);
  h.Editor.SetTopCol(5003);
  ASSERT_EQ(h.Editor.TopCol(), 5003);
  const auto t = Texts(PaintAll(h));
  ASSERT_EQ(t.size(), 1u);
  EXPECT_LE(t[0].Text.size(), static_cast<size_t>(h.Editor.VisibleCols() + 4));
  EXPECT_EQ(t[0].Advances.size(), t[0].Text.size());
  // Column 5003 is the trail half of a character: it starts one column left, off the view.
  EXPECT_EQ(t[0].X, L - W);
  EXPECT_EQ(t[0].Text.substr(0, 4), "あab");
  EXPECT_GE(t[0].X + static_cast<int>(t[0].Text.size()) * W, 640);
}

// A long row scrolled far right is read from a place found near the view
// or kept from an earlier paint. Whatever changes what the row's tokens are
// (its text, the state it starts in, the view) must paint exactly as reading
// every row from its start does.
struct LongRowResume : EditorPaint {
  static void Style(TEditorHost& e) {
    e.Editor.View().Colors().Int().SetColor(clRed);
    e.Editor.View().Colors().Str().SetColor(clGreen);
    e.Editor.View().Colors().Url().SetColor(clBlue);
    e.Editor.View().Colors().Ank().SetColor(clMaroon);
    e.Editor.View().Colors().DBCS().SetColor(clNavy);
    e.Editor.View().SetQuotation("'");
  }
  static std::string Repeat(const std::string& piece) {
    std::string row;
    while (row.size() < 6000) row += piece;
    return row;
  }
  static std::string Row() { return Repeat("memo 123 http://x.jp/a あい "); }
  // Rows without blanks: prose whose places are at its stops, and one word.
  static std::string Rows() { return Row() + "\r\n" + Repeat("日本語のテキスト、ですメ。") + "\r\n" + Repeat("x1"); }
  // What a control that reads every row from its start draws for h's text and view.
  class TFromStartParser : public TEditorParser {
   public:
    using TEditorParser::TEditorParser;
  };
  std::vector<TDrawCall> Fresh() {
    TEditorHost f;
    f.Editor.SetParserClass([](const std::string& S, const IEditorParserHost* E, int B) {
      return std::unique_ptr<IEditorRowParser>(std::make_unique<TFromStartParser>(S, E, B));
    });
    Style(f);
    f.Editor.View().SetUrl(h.Editor.View().Url());
    f.Editor.View().SetQuotation(h.Editor.View().Quotation());
    f.Load(h.Editor.Lines().GetText());
    f.Editor.SetTopCol(h.Editor.TopCol());
    return Texts(PaintAll(f));
  }
  static void ExpectSame(const std::vector<TDrawCall>& a, const std::vector<TDrawCall>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].Text, b[i].Text) << i;
      EXPECT_EQ(a[i].X, b[i].X) << i;
      EXPECT_EQ(a[i].Y, b[i].Y) << i;
      EXPECT_EQ(a[i].Fg, b[i].Fg) << i;
    }
  }
};

TEST_F(LongRowResume, RepaintsMatchAFreshControlAfterEditsUndoAndViewChanges) {
  Style(h);
  h.Load(Rows());
  h.Editor.SetTopCol(4000);
  const auto first = Texts(PaintAll(h));
  ASSERT_GT(first.size(), 3u);
  ExpectSame(first, Fresh());
  // Read from kept places now: the same picture.
  ExpectSame(Texts(PaintAll(h)), first);
  // A quote early in the row turns all after it into one string.
  h.Editor.SetRowCol(0, 2);
  h.Editor.SetSelText("'");
  h.Editor.SetTopCol(4000);
  const auto quoted = Texts(PaintAll(h));
  ExpectSame(quoted, Fresh());
  EXPECT_TRUE(std::any_of(quoted.begin(), quoted.end(), [](const TDrawCall& c) { return c.Fg == clGreen; }));
  h.Editor.Undo();
  h.Editor.SetTopCol(4000);
  ExpectSame(Texts(PaintAll(h)), first);
  // URLs no longer recognised: the view's change alone must tell.
  h.Editor.View().SetUrl(false);
  ExpectSame(Texts(PaintAll(h)), Fresh());
  // Scrolling back left reads from places before the view.
  h.Editor.SetTopCol(1000);
  ExpectSame(Texts(PaintAll(h)), Fresh());
  // A quote kept while quotes are not recognised, then recognised: places
  // kept inside what is now one string must not be read from.
  h.Editor.View().SetQuotation("");
  h.Editor.SetRowCol(0, 2);
  h.Editor.SetSelText("'");
  h.Editor.SetTopCol(4000);
  ExpectSame(Texts(PaintAll(h)), Fresh());
  h.Editor.View().SetQuotation("'");
  ExpectSame(Texts(PaintAll(h)), Fresh());
}

}  // namespace
}  // namespace vel::test
