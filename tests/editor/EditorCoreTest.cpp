// The control's state: coordinates, caret placement, scrolling and selection.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/editor/EditorTestHost.h"

namespace vel::test {
namespace {

TEST(EditorCaret, ColumnMapOfTabRowMapsColumnsToIndices) {
  TEditorHost h;
  h.Load("a\tb");
  EXPECT_EQ(h.Editor.StrToAttributes("a\tb"), "12333333" "1");
  EXPECT_EQ(h.Editor.CharIndexOf(0, 4), 1);
  EXPECT_EQ(h.Editor.CharIndexOf(0, 8), 2);
  EXPECT_EQ(h.Editor.ExpandListStr(0), "a       b");
  EXPECT_EQ(h.Editor.ExpandListLength(0), 9);
}

struct TCaretCase {
  const char* Name;
  const char* Text;
  int Row, Col;  // where the caret was put
  int Direction;  // 0: SetRowCol; +1/-1: SetCol from the column before
  bool InTab;
  int WantRow, WantCol;
};

TEST(EditorCaret, PlacementRulesOnTheColumnMap) {
  const TCaretCase cases[] = {
      {"trail byte moves back with SetRowCol", "あい", 0, 1, 0, false, 0, 0},
      {"trail byte moves right when moving right", "あい", 0, 1, 1, false, 0, 2},
      {"trail byte moves left when moving left", "あい", 0, 3, -1, false, 0, 2},
      {"tab blanks move to the tab end when moving right", "a\tb", 0, 3, 1, false, 0, 8},
      {"tab blanks move to the tab byte when moving left", "a\tb", 0, 5, -1, false, 0, 1},
      {"tab blanks are a place with InTab", "a\tb", 0, 5, 0, true, 0, 5},
      {"free caret goes beyond the end", "abc", 0, 10, 0, false, 0, 10},
      {"row after the last without a final break is unreachable", "abc", 1, 0, 0, false, 0, 0},
      {"row after a final break is reachable", "abc\r\n", 1, 0, 0, false, 1, 0},
      {"rows are clamped", "a\r\nb", 7, 0, 0, false, 1, 0},
  };
  for (const auto& c : cases) {
    TEditorHost h;
    h.Editor.Caret().InTab = c.InTab;
    h.Load(c.Text);
    if (c.Direction == 0) {
      h.Editor.SetRowCol(c.Row, c.Col);
    } else {
      h.Editor.SetRowCol(c.Row, c.Direction > 0 ? 0 : 20);
      h.Editor.SetCol(c.Col);
    }
    EXPECT_EQ(h.Editor.Row(), c.WantRow) << c.Name;
    EXPECT_EQ(h.Editor.Col(), c.WantCol) << c.Name;
  }
}

TEST(EditorCaret, KeepCaretRestoresTheColumnOnALongerRow) {
  for (bool keep : {false, true}) {
    TEditorHost h;
    h.Editor.Caret().FreeCaret = false;
    h.Editor.Caret().KeepCaret = keep;
    h.Load(std::string(30, 'x') + "\r\n12345\r\n" + std::string(30, 'y'), 0, 20);
    h.Editor.SetRow(1);
    EXPECT_EQ(h.Editor.Col(), 5);
    h.Editor.SetRow(2);
    EXPECT_EQ(h.Editor.Col(), keep ? 20 : 5) << keep;
  }
}

TEST(EditorCaret, VerticalMoveKeepsAimingPastDoubleByteCharacters) {
  TEditorHost h;
  h.Load("abcdef\r\nあいう\r\nabcdef", 0, 3);
  h.Editor.SetRow(1);
  EXPECT_EQ(h.Editor.Col(), 2);
  h.Editor.SetRow(2);
  EXPECT_EQ(h.Editor.Col(), 3);
}

TEST(EditorCaret, LongRowColumnsAreAllReachable) {
  TEditorHost h;
  const std::string longRow(5000, 'u');
  h.Load("short\r\n" + longRow);
  EXPECT_EQ(h.Editor.MaxCol(), 5000);
  h.Editor.SetRowCol(1, 4999);
  EXPECT_EQ(h.Editor.Col(), 4999);
  EXPECT_EQ(h.Editor.CaretIndex(), 4999);
  h.Editor.SetCol(9000);
  EXPECT_EQ(h.Editor.Col(), 5000);
  // The view follows the caret out there.
  EXPECT_GT(h.Editor.TopCol(), 4000);
  EXPECT_LE(h.Editor.Col(), h.Editor.TopCol() + h.Editor.VisibleCols());
  // Short documents keep the classic limit.
  TEditorHost s;
  s.Load("abc");
  s.Editor.SetCol(5000);
  EXPECT_EQ(s.Editor.Col(), 1000);
}

TEST(EditorCaret, CaretExistsOnlyWithTheFocusAndSitsAtItsPixel) {
  TEditorHost h;
  h.Load("abc\r\ndef", 1, 2);
  ASSERT_TRUE(h.Window.Caret.Exists);
  EXPECT_TRUE(h.Window.Caret.Visible());
  EXPECT_EQ(h.Window.Caret.X, h.Editor.LeftMargin() + 2 * h.Editor.ColWidth());
  EXPECT_EQ(h.Window.Caret.Y, h.Editor.TopMargin() + 1 * h.Editor.RowHeight());
  EXPECT_EQ(h.Window.Caret.Width, 2);
  headless::THeadlessWindow other;
  other.SetFocus();
  h.Editor.FocusOut();
  EXPECT_FALSE(h.Window.Caret.Exists);
  h.Window.SetFocus();
  h.Editor.FocusIn();
  EXPECT_TRUE(h.Window.Caret.Visible());
}

TEST(EditorCaret, CaretShapes) {
  TEditorHost h;
  h.Load("aあ", 0, 1);
  h.Editor.SetOverWrite(true);
  EXPECT_EQ(h.Window.Caret.Width, 2 * headless::CharWidth);
  EXPECT_EQ(h.Window.Caret.Height, h.Editor.FontHeight());
  h.Editor.SetOverWrite(false);
  h.Editor.Caret().SetStyle(csBrief);
  EXPECT_EQ(h.Window.Caret.Width, 2 * headless::CharWidth);
  EXPECT_EQ(h.Window.Caret.Height, 2);
  EXPECT_EQ(h.Window.Caret.Y, h.Editor.TopMargin() + h.Editor.FontHeight() - 2);
}

TEST(EditorCaret, SuspensionsAreUndoneWhenAnExceptionPasses) {
  TEditorHost h;
  h.Load("abc", 0, 1);
  try {
    TCaretUpdate hold(h.Editor);
    TUnderlineUpdate underline(h.Editor);
    EXPECT_FALSE(h.Window.Caret.Visible());
    throw std::runtime_error("x");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(h.Window.Caret.Visible());
}

TEST(EditorCoords, PositionsAndOffsets) {
  TEditorHost h;
  h.Load("ab\r\nあいう\r\nx");
  const int w = h.Editor.ColWidth(), rh = h.Editor.RowHeight(), L = h.Editor.LeftMargin(), T = h.Editor.TopMargin();
  int col, row;
  h.Editor.PosToRowCol(L + w + 1, T + rh + 1, false, col, row);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
  h.Editor.PosToRowCol(L + w + w / 2 + 1, T, true, col, row);
  EXPECT_EQ(col, 2);
  // A point on the second half of い snaps back to the character.
  EXPECT_EQ(h.Editor.CharFromPos(L + 3 * w, T + rh + 1), 4 + 2);
  EXPECT_EQ(h.Editor.CharFromPos(L - 1, T), -1);
  EXPECT_EQ(h.Editor.CharFromPos(L, T + 5 * rh), -1);
  EXPECT_EQ(h.Editor.GetTextLen(), 2 + 2 + 6 + 2 + 1);
  EXPECT_EQ(h.Editor.TextOffset(2, 1), 13);
  int r, c;
  h.Editor.OffsetToRowCol(9, r, c);  // inside う: the caret steps back onto it
  EXPECT_EQ(r, 1);
  EXPECT_EQ(c, 5);
  EXPECT_EQ(h.Editor.ListStr(9), "");
  EXPECT_EQ(h.Editor.ListRows(9), raEof);
  EXPECT_EQ(h.Editor.ColToChar(1, 3), 2);
  EXPECT_EQ(h.Editor.ColToChar(-1, 0), -1);
}

TEST(EditorCoords, WrappedRowsCountTowardsLineIndices) {
  TEditorHost h;
  h.Editor.WrapOption().SetWrapByte(20);
  h.Editor.SetWordWrap(true);
  h.Load(std::string(30, 'a') + "\r\nbc");
  ASSERT_EQ(EditorRows(h.Editor), (std::vector<std::string>{std::string(20, 'a') + "|w", std::string(10, 'a') + "|c", "bc|e"}));
  EXPECT_EQ(h.Editor.RowToLines(2), 1);
  EXPECT_EQ(h.Editor.ColToChar(1, 3), 23);
  EXPECT_EQ(h.Editor.GetSelIndex(0, 2, 1), 30 + 2 + 1);
  h.Editor.SetSelIndex(0, 20);
  EXPECT_EQ(h.Editor.Row(), 1);
  EXPECT_EQ(h.Editor.Col(), 0);
}

TEST(EditorScroll, CaretIsKeptInViewAndEventsFireOnRealMoves) {
  TEditorHost h(400, 200);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  h.Load(text);
  int topRowChanges = 0;
  h.Editor.OnTopRowChange = [&](TEditor*) { ++topRowChanges; };
  h.Editor.SetRow(50);
  EXPECT_EQ(h.Editor.TopRow(), 50 - h.Editor.VisibleRows() + 1);
  EXPECT_EQ(topRowChanges, 1);
  h.Editor.SetTopRow(h.Editor.TopRow());
  EXPECT_EQ(topRowChanges, 1);
  ASSERT_FALSE(h.Window.Scrolls.empty());
  // A jump further than the view scrolls no more than the view's height.
  EXPECT_EQ(h.Window.Scrolls.back().Dy, -(h.Editor.VisibleRows() + 1) * h.Editor.RowHeight());
  h.Editor.SetRow(0);
  EXPECT_EQ(h.Editor.TopRow(), 0);
}

TEST(EditorScroll, TheRowListIsToldHowManyRowsTheControlShows) {
  TEditorHost h(400, 200);
  const int rows = h.Editor.ScreenStrings().ScreenRows();
  EXPECT_GE(rows, h.Editor.VisibleRows());
  EXPECT_LE(rows, 200 / h.Editor.RowHeight());
  h.Window.Resize({0, 0, 400, 400});
  EXPECT_GE(h.Editor.ScreenStrings().ScreenRows(), 2 * rows);
}

TEST(EditorScroll, ScrollRangesFollowTheLongestRow) {
  TEditorHost h(400, 200);
  h.Editor.SetScrollBars(ssBoth);
  h.Load("abc\r\n" + std::string(3000, 'z'));
  const TScrollInfo hbar = h.Window.GetScrollInfo(TScrollBarKind::Horizontal);
  EXPECT_EQ(hbar.Max, 3000 + h.Editor.VisibleCols() / 2);
  const TScrollInfo vbar = h.Window.GetScrollInfo(TScrollBarKind::Vertical);
  EXPECT_EQ(vbar.Page, h.Editor.VisibleRows());
  h.Editor.SetTopCol(99999);
  EXPECT_EQ(h.Editor.TopCol(), 3000 - h.Editor.VisibleCols() / 2);
}

TEST(EditorSelection, EmptyDocumentHasNoSelection) {
  TEditorHost h;
  h.Load("");
  EXPECT_EQ(h.Editor.SelStart(), 0);
  EXPECT_EQ(h.Editor.SelLength(), 0);
  h.Editor.InitSelection();
  h.Editor.SetSelection();
  EXPECT_FALSE(h.Editor.Selected());
  h.Editor.SetSelLength(5);
  EXPECT_FALSE(h.Editor.Selected());
}

struct TSelCase {
  const char* Name;
  const char* Text;
  int R1, C1, R2, C2;
  TEditorSelectionMode Mode;
  const char* SelText;
  int SelStart;
};

TEST(EditorSelection, TextStartAndLengthAgree) {
  const TSelCase cases[] = {
      {"one row", "abcdef", 0, 1, 0, 4, smLine, "bcd", 1},
      {"one row backwards", "abcdef", 0, 4, 0, 1, smLine, "bcd", 1},
      {"rows", "abc\r\ndef\r\nghi", 0, 1, 2, 2, smLine, "bc\r\ndef\r\ngh", 1},
      {"rows backwards", "abc\r\ndef\r\nghi", 2, 2, 0, 1, smLine, "bc\r\ndef\r\ngh", 1},
      {"to the row after a final break", "abc\r\n", 0, 0, 1, 0, smLine, "abc\r\n", 0},
      {"caret beyond the row end", "abc\r\ndef", 0, 1, 0, 9, smLine, "bc", 1},
      {"box", "abcdef\r\nghijkl\r\nmn", 0, 1, 2, 3, smBox, "bc\r\nhi\r\nn\r\n", 1},
      {"box past row ends", "ab\r\ncdefg", 0, 3, 1, 5, smBox, "\r\nfg\r\n", 2},
      {"box edges over double-byte characters", "aあbcいd\r\nxxxxxxxx", 0, 3, 1, 7, smBox,
       "bcい\r\nxxxx\r\n", 3},
      {"box edges over a tab", "a\tb\r\n0123456789", 1, 2, 0, 9, smBox, "b\r\n2345678\r\n", 3},
  };
  for (const auto& c : cases) {
    TEditorHost h;
    h.Load(c.Text);
    h.Select(c.R1, c.C1, c.R2, c.C2, c.Mode);
    ASSERT_TRUE(h.Editor.Selected()) << c.Name;
    EXPECT_EQ(h.Editor.SelText(), c.SelText) << c.Name;
    EXPECT_EQ(h.Editor.SelLength(), static_cast<int>(std::string(c.SelText).size())) << c.Name;
    EXPECT_EQ(h.Editor.SelStart(), c.SelStart) << c.Name;
  }
}

TEST(EditorSelection, WrappedRowsJoinWithoutABreak) {
  TEditorHost h;
  h.Editor.WrapOption().SetWrapByte(20);
  h.Editor.SetWordWrap(true);
  h.Load(std::string(25, 'a') + "\r\nb");
  h.Select(0, 18, 2, 1);
  EXPECT_EQ(h.Editor.SelText(), "aaaaaaa\r\nb");
}

TEST(EditorSelection, SelStartAndSelLengthSelectByOffsets) {
  TEditorHost h;
  h.Load("abc\r\nあい\r\nxyz");
  h.Editor.SetSelStart(4);
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 3);
  h.Editor.SetSelStart(5);
  h.Editor.SetSelLength(4);
  EXPECT_EQ(h.Editor.SelText(), "あい");
  h.Editor.SelectAll();
  EXPECT_EQ(h.Editor.SelText(), h.Text());
  EXPECT_EQ(h.Editor.SelStart(), 0);
  h.Editor.SetSelLength(0);
  EXPECT_FALSE(h.Editor.Selected());
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 0);
}

TEST(EditorSelection, EventsAndHitTest) {
  TEditorHost h;
  h.Load("abcdef\r\nghijkl");
  std::vector<bool> events;
  int modeChanges = 0;
  h.Editor.OnSelectionChange = [&](TEditor*, bool s) { events.push_back(s); };
  h.Editor.OnSelectionModeChange = [&](TEditor*) { ++modeChanges; };
  h.Select(0, 2, 1, 3);
  EXPECT_TRUE(h.Editor.IsSelectedArea(0, 2));
  EXPECT_FALSE(h.Editor.IsSelectedArea(0, 1));
  EXPECT_TRUE(h.Editor.IsSelectedArea(1, 2));
  EXPECT_FALSE(h.Editor.IsSelectedArea(1, 3));
  h.Editor.SetSelectionMode(smBox);
  EXPECT_EQ(modeChanges, 1);
  EXPECT_EQ(h.Editor.SelText(), "c\r\ni\r\n");
  h.Editor.CleanSelection();
  ASSERT_FALSE(events.empty());
  EXPECT_TRUE(events.front());
  EXPECT_FALSE(events.back());
}

TEST(EditorLifecycle, OwnedObjectsDefaultsAndSharedRows) {
  TEditor a;
  EXPECT_EQ(a.Font().Name, "FixedSys");
  EXPECT_TRUE(a.Delimiters()[0x09]);
  EXPECT_FALSE(a.Delimiters()['_']);
  EXPECT_FALSE(a.Delimiters()[0xB1]);
  a.SetUndoListMax(10);
  EXPECT_EQ(a.UndoListMax(), 64);
  a.Lines().SetText("one\r\ntwo");
  TEditor b;
  b.ExchangeList(a);
  EXPECT_EQ(b.Lines().GetText(), "one\r\ntwo\r\n");
  int changes = 0;
  b.OnChange = [&](TEditor*) { ++changes; };
  a.SetRowCol(0, 3);
  a.KeyChar("!");
  EXPECT_EQ(b.ListStr(0), "one!");
  std::ostringstream stream;
  b.ListToStream(stream);
  EXPECT_EQ(stream.str(), "one!\r\ntwo\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b.Modified());
  b.Loaded();
  EXPECT_FALSE(b.Modified());
}

TEST(EditorLifecycle, MarksUnderlineSetsTheUnderlineMargin) {
  TEditorHost h;
  const int before = h.Editor.RowHeight();
  h.Editor.Marks().Underline().SetVisible(true);
  EXPECT_EQ(h.Editor.Margin().UnderlineMargin(), 1);
  EXPECT_EQ(h.Editor.RowHeight(), before + 1);
}

TEST(EditorLifecycle, AnEditRepaintsItsRowsAndMovesTheCaretOnScreen) {
  TEditorHost h;
  h.Load("abc\r\ndef\r\nghi\r\njkl\r\nmno", 1, 1);
  int moved = 0;
  h.Editor.OnCaretMoved = [&](TEditor*) { ++moved; };
  h.Window.TakeInvalid();
  h.Window.SendChar("x");
  EXPECT_GT(moved, 0);
  const int rh = h.Editor.RowHeight(), T = h.Editor.TopMargin();
  TRect dirty = h.Window.TakeInvalid();
  EXPECT_LE(dirty.Top, T + rh);
  EXPECT_GE(dirty.Bottom, T + 2 * rh);
  EXPECT_LE(dirty.Bottom, T + 3 * rh);
  // A new row moves every row below it.
  h.Editor.KeyReturn();
  dirty = h.Window.TakeInvalid();
  EXPECT_GE(dirty.Bottom, T + 4 * rh);
}

TEST(EditorLifecycle, ASelectionSurvivesAnotherControlShorteningTheSharedRows) {
  TEditorHost a, b;
  a.Load("abc\r\ndef\r\nghijkl");
  b.Editor.ExchangeList(a.Editor);
  a.Select(2, 1, 2, 5);
  EXPECT_EQ(a.Editor.SelText(), "hijk");
  b.Editor.SetRowCol(0, 0);
  b.Editor.InitSelection();
  b.Editor.SetRowCol(2, 2);
  b.Editor.SetSelection();
  b.Editor.DeleteSelection();
  EXPECT_EQ(a.Text(), "ijkl");
  // The other control's selection now reads inside what is left.
  EXPECT_EQ(a.Editor.SelText().size(), static_cast<size_t>(a.Editor.SelLength()));
  a.Editor.DeleteSelection();
  EXPECT_EQ(a.Editor.ListCount(), a.Text().empty() ? 0 : 1);
  a.UndoAll();
  EXPECT_EQ(a.Text(), "abc\r\ndef\r\nghijkl");
}

TEST(EditorLifecycle, ASelectionCutByAnotherControlsEditTakesInTheWholeCharacter) {
  const struct {
    int From, To;  // a's selection on row 0
    const char* Insert;
    int At;  // where b inserts it
    const char* WantSel;
    const char* WantTyped;
  } cases[] = {
      {2, 4, "xあ", 0, "あa", "xZbcdef"},
      {0, 2, "あ", 1, "aあ", "Zbcdef"},
  };
  for (const auto& c : cases) {
    TEditorHost a, b;
    a.Load("abcdef");
    b.Editor.ExchangeList(a.Editor);
    a.Select(0, c.From, 0, c.To);
    b.Editor.SetRowCol(0, c.At);
    b.Editor.PutStringToLine(c.Insert);
    EXPECT_EQ(a.Editor.SelText(), c.WantSel) << c.Insert;
    a.Window.SendChar("Z");
    EXPECT_EQ(a.Text(), c.WantTyped) << c.Insert;
  }
}

}  // namespace
}  // namespace vel::test
