// Mouse, wheel, scroll bars and the input method as input sequences.
#include <gtest/gtest.h>

#include <functional>

#include "editor/EditorCursorNames.h"
#include "syntax/EditorParser.h"
#include "platform/headless/HeadlessPopupMenu.h"
#include "tests/editor/EditorViewTestHost.h"

namespace vel::test {
namespace {

constexpr int L = 19, T = 2, W = 6, H = 12;

// The client point inside column c of row r (left half, so rounding keeps c).
int X(int c) { return L + c * W + 1; }
int Y(int r) { return T + r * H + 1; }

struct EditorMouse : ::testing::Test {
  void SetUp() override {
    headless::Reset();
    headless::ResetPopupMenus();
    h.Window.SetFocus();
  }
  void Drag(int r1, int c1, int r2, int c2, TShiftState s = 0) {
    h.Window.SendMouseDown(mbLeft, X(c1), Y(r1), s);
    h.Window.SendMouseMove(X(c2), Y(r2), ssLeft | s);
    h.Window.SendMouseUp(mbLeft, X(c2), Y(r2), s);
  }
  TEditorHost h;
};

TEST_F(EditorMouse, ClickPlacesTheCaretAtTheNearestColumnBoundary) {
  h.Load("abcdef\r\nghijkl");
  h.Window.SendMouseDown(mbLeft, L + 2 * W + 4, Y(1));
  h.Window.SendMouseUp(mbLeft, L + 2 * W + 4, Y(1));
  EXPECT_EQ(h.Editor.Row(), 1);
  EXPECT_EQ(h.Editor.Col(), 3);
  EXPECT_FALSE(h.Editor.Selected());
}

TEST_F(EditorMouse, ShiftClickExtendsFromTheCaret) {
  h.Load("abcdef\r\nghijkl", 0, 1);
  h.Window.SendMouseDown(mbLeft, X(2), Y(1), ssShift);
  h.Window.SendMouseUp(mbLeft, X(2), Y(1), ssShift);
  EXPECT_EQ(h.Editor.SelText(), "bcdef\r\ngh");
}

TEST_F(EditorMouse, DraggingSelectsAndABareClickDoesNot) {
  h.Load("abcdef");
  Drag(0, 1, 0, 4);
  EXPECT_EQ(h.Editor.SelText(), "bcd");
  // Less than half a column of movement: a click, not a selection.
  h.Window.SendMouseDown(mbLeft, X(5), Y(0));
  h.Window.SendMouseMove(X(5) + 1, Y(0), ssLeft);
  h.Window.SendMouseUp(mbLeft, X(5) + 1, Y(0));
  EXPECT_FALSE(h.Editor.Selected());
  EXPECT_EQ(h.Editor.Col(), 5);
}

TEST_F(EditorMouse, DraggingBelowTheViewScrollsIt) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  h.Load(text);
  h.Window.SendMouseDown(mbLeft, X(1), Y(0));
  h.Window.SendMouseMove(X(1), 470, ssLeft);
  h.Window.SendMouseMove(X(1), 478, ssLeft);
  EXPECT_GT(h.Editor.TopRow(), 0);
  EXPECT_TRUE(h.Editor.Selected());
  // Above the text the row above is aimed at.
  h.Window.SendMouseMove(X(1), 0, ssLeft);
  EXPECT_EQ(h.Editor.Row(), h.Editor.TopRow());
  h.Window.SendMouseUp(mbLeft, X(1), 0);
}

TEST_F(EditorMouse, LeftMarginSelectsWholeRowsEitherWay) {
  h.Load("ab\r\ncd\r\nef\r\ngh");
  h.Window.SendMouseDown(mbLeft, 5, Y(1));
  EXPECT_EQ(h.Editor.SelText(), "cd\r\n");
  h.Window.SendMouseMove(5, Y(2), ssLeft);
  EXPECT_EQ(h.Editor.SelText(), "cd\r\nef\r\n");
  h.Window.SendMouseMove(5, Y(0), ssLeft);
  EXPECT_EQ(h.Editor.SelText(), "ab\r\ncd\r\n");
  h.Window.SendMouseMove(5, Y(3), ssLeft);
  EXPECT_EQ(h.Editor.SelText(), "cd\r\nef\r\ngh");
  h.Window.SendMouseUp(mbLeft, 5, Y(3));
  EXPECT_FALSE(h.Editor.RowSelecting());
}

TEST_F(EditorMouse, LeftMarginOnTheLastRowWithoutABreakSelectsItToItsEnd) {
  h.Load("ab\r\ncd");
  h.Window.SendMouseDown(mbLeft, 5, Y(1));
  h.Window.SendMouseUp(mbLeft, 5, Y(1));
  EXPECT_EQ(h.Editor.SelText(), "cd");
  h.Window.SendMouseDown(mbLeft, 5, Y(7));
  h.Window.SendMouseUp(mbLeft, 5, Y(7));
  EXPECT_EQ(h.Editor.SelText(), "cd");
}

struct TDragCase {
  const char* Name;
  int DropCol;
  TShiftState Shift;
  bool Escape;
  std::string WantText;
};

TEST_F(EditorMouse, SelectionDragMovesCopiesOrIsCancelled) {
  const TDragCase cases[] = {
      {"move", 7, 0, false, " defabc"},
      {"copy with ctrl", 7, ssCtrl, false, "abc defabc"},
      {"escape cancels", 7, 0, true, "abc def"},
      {"dropped on the selection only deselects", 2, 0, false, "abc def"},
  };
  for (const TDragCase& c : cases) {
    headless::Reset();
    TEditorHost h;
    h.Load("abc def");
    h.Select(0, 0, 0, 3);
    h.Window.SendMouseDown(mbLeft, X(1), Y(0));
    EXPECT_TRUE(h.Editor.SelDragPending()) << c.Name;
    h.Window.SendMouseMove(X(c.DropCol), Y(0), c.Shift);
    EXPECT_TRUE(h.Editor.SelDragging()) << c.Name;
    EXPECT_EQ(h.Editor.CursorState(), c.Shift & ssCtrl ? mcDraggingCopy : mcDragging) << c.Name;
    if (c.Escape) h.Window.SendKeyDown(vkEscape);
    h.Window.SendMouseUp(mbLeft, X(c.DropCol), Y(0), c.Shift);
    EXPECT_EQ(h.Text(), c.WantText) << c.Name;
    EXPECT_FALSE(h.Editor.SelDragging()) << c.Name;
    EXPECT_FALSE(h.Editor.Selected()) << c.Name;
  }
}

TEST_F(EditorMouse, ClickInsideTheSelectionDeselectsAndLeavesTheCaretThere) {
  h.Load("abc def");
  h.Select(0, 0, 0, 5);
  h.Window.SendMouseDown(mbLeft, X(2), Y(0));
  h.Window.SendMouseUp(mbLeft, X(2), Y(0));
  EXPECT_FALSE(h.Editor.Selected());
  EXPECT_EQ(h.Editor.Col(), 2);
  EXPECT_EQ(h.Text(), "abc def");
}

TEST_F(EditorMouse, DropOutsideTheWindowOnlyDeselects) {
  h.Load("abc def");
  h.Select(0, 0, 0, 3);
  h.Window.SendMouseDown(mbLeft, X(1), Y(0));
  h.Window.SendMouseMove(X(6), Y(0));
  h.Window.SendMouseUp(mbLeft, 900, 900);
  EXPECT_EQ(h.Text(), "abc def");
  EXPECT_FALSE(h.Editor.Selected());
}

TEST_F(EditorMouse, KeysAndCharactersWaitWhileTheButtonIsHeld) {
  h.Load("abc");
  h.Window.SendMouseDown(mbLeft, X(1), Y(0));
  h.Window.SendChar("x");
  h.Window.SendKeyDown(vkRight);
  EXPECT_EQ(h.Text(), "abc");
  EXPECT_EQ(h.Editor.Col(), 1);
  h.Window.SendMouseUp(mbLeft, X(1), Y(0));
  h.Window.SendChar("x");
  EXPECT_EQ(h.Text(), "axbc");
}

TEST_F(EditorMouse, PointerShapeFollowsWhatAPressWouldDo) {
  h.Load("abc def");
  const TEditorCursors& c = h.Editor.Caret().Cursors();
  h.Window.SendMouseMove(5, Y(0));
  EXPECT_EQ(h.Window.Cursor, c.LeftMarginCursor);
  h.Window.SendMouseMove(X(5), Y(0));
  EXPECT_EQ(h.Window.Cursor, c.DefaultCursor);
  h.Select(0, 0, 0, 3);
  h.Window.SendMouseMove(X(1), Y(0));
  EXPECT_EQ(h.Editor.CursorState(), mcInSel);
  EXPECT_EQ(h.Window.Cursor, c.InSelCursor);
}

TEST_F(EditorMouse, WheelScrollsBySystemLinesAndShiftScrollsColumns) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += std::string(300, 'a') + "\r\n";
  h.Load(text);
  h.Window.SendWheel(-120, X(1), Y(1));
  EXPECT_EQ(h.Editor.TopRow(), 3);
  headless::SetWheelScrollLines(5);
  h.Window.SendWheel(-240, X(1), Y(1));
  EXPECT_EQ(h.Editor.TopRow(), 13);
  h.Window.SendWheel(60, X(1), Y(1));
  EXPECT_EQ(h.Editor.TopRow(), 13);
  h.Window.SendWheel(60, X(1), Y(1));
  EXPECT_EQ(h.Editor.TopRow(), 8);
  h.Window.SendWheel(-120, X(1), Y(1), ssShift);
  EXPECT_EQ(h.Editor.TopCol(), 5);
  h.Window.SendWheel(120, X(1), Y(1), 0, true);
  EXPECT_EQ(h.Editor.TopCol(), 10);
  EXPECT_EQ(h.Editor.Row(), 0);
}

TEST_F(EditorMouse, ScrollBarsMoveTheViewAndTheThumbReachesPast16Bits) {
  std::string text;
  for (int i = 0; i < 70000; ++i) text += "x\r\n";
  h.Editor.SetScrollBars(ssBoth);
  h.Load(text);
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 69990);
  EXPECT_EQ(h.Editor.TopRow(), 69990);
  EXPECT_EQ(h.Window.GetScrollInfo(TScrollBarKind::Vertical).Pos, 69990);
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::PageUp);
  EXPECT_EQ(h.Editor.TopRow(), 69990 - h.Editor.VisibleRows());
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::Top);
  EXPECT_EQ(h.Editor.TopRow(), 0);
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::LineDown);
  EXPECT_EQ(h.Editor.TopRow(), 1);
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::Bottom);
  EXPECT_EQ(h.Editor.TopRow(), h.Editor.ListCount());
  EXPECT_EQ(h.Editor.Row(), 0);
  h.Window.SendScroll(TScrollBarKind::Horizontal, TScrollCode::LineDown);
  EXPECT_EQ(h.Editor.TopCol(), 1);
  // With LockScroll the caret rides along.
  h.Editor.Caret().LockScroll = true;
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::Top);
  EXPECT_EQ(h.Editor.TopRow(), 0);
  h.Window.SendScroll(TScrollBarKind::Vertical, TScrollCode::LineDown);
  EXPECT_EQ(h.Editor.Row(), 1);
}

TEST_F(EditorMouse, ImeResultIsInsertedOnceAndItsCharactersAreDropped) {
  h.Load("");
  h.Window.SendImeResult("あいう");
  EXPECT_EQ(h.Text(), "あいう");
  EXPECT_EQ(h.Editor.CharSkip(), 0);
  h.Window.SendChar("x");
  EXPECT_EQ(h.Text(), "あいうx");
  h.Editor.SetReadOnly(true);
  h.Window.SendImeResult("え");
  EXPECT_EQ(h.Text(), "あいうx");
}

TEST_F(EditorMouse, ImeResultDuringAPressGoesInAtTheRelease) {
  const struct {
    const char* Name;
    std::function<void(TEditorHost&)> Press, Release;
    const char* Want;
  } cases[] = {
      {"click",
       [](TEditorHost& h) { h.Window.SendMouseDown(mbLeft, X(1), Y(0)); },
       [](TEditorHost& h) { h.Window.SendMouseUp(mbLeft, X(1), Y(0)); }, "aあいbcdef"},
      {"drag that selects nothing away",
       [](TEditorHost& h) {
         h.Window.SendMouseDown(mbLeft, X(1), Y(0));
         h.Window.SendMouseMove(X(4), Y(0), ssLeft);
       },
       [](TEditorHost& h) { h.Window.SendMouseUp(mbLeft, X(4), Y(0)); }, "abcdあいef"},
      {"selection drag, dropped",
       [](TEditorHost& h) {
         h.Select(0, 0, 0, 2);
         h.Window.SendMouseDown(mbLeft, X(1), Y(0));
         h.Window.SendMouseMove(X(5), Y(0), ssLeft);
       },
       [](TEditorHost& h) { h.Window.SendMouseUp(mbLeft, X(5), Y(0)); }, "cdeabあいf"},
  };
  for (const auto& c : cases) {
    h.Load("abcdef");
    c.Press(h);
    h.Window.SendImeResult("あい");
    EXPECT_EQ(h.Text(), "abcdef") << c.Name;
    c.Release(h);
    EXPECT_EQ(h.Text(), c.Want) << c.Name;
    EXPECT_EQ(h.Editor.CharSkip(), 0) << c.Name;
  }
}

TEST_F(EditorMouse, CompositionWindowFollowsTheCaretButWaitsOutAKeyRepeat) {
  h.Load("abcdef\r\nghijkl");
  h.Window.SendImeStartComposition();
  EXPECT_TRUE(h.Window.ImeWindow.Placed);
  EXPECT_EQ(h.Window.ImeWindow.X, L);
  EXPECT_EQ(h.Window.ImeWindow.Y, T);
  EXPECT_EQ(h.Window.ImeWindow.Font, h.Editor.Font());
  h.Window.SendKeyDown(vkRight);
  EXPECT_EQ(h.Window.ImeWindow.X, L + W);
  // Repeated keys leave it behind until key-up.
  h.Window.SendKeyDown(vkRight, 0, true);
  h.Window.SendKeyDown(vkDown, 0, true);
  EXPECT_EQ(h.Window.ImeWindow.X, L + W);
  EXPECT_EQ(h.Window.ImeWindow.Y, T);
  h.Window.SendKeyUp(vkDown);
  EXPECT_EQ(h.Window.ImeWindow.X, L + 2 * W);
  EXPECT_EQ(h.Window.ImeWindow.Y, T + H);
}

TEST_F(EditorMouse, CandidateWindowHidesTheCaretUntilItCloses) {
  h.Load("abc");
  ASSERT_TRUE(h.Window.Caret.Visible());
  h.Window.SendImeCandidateWindow(true);
  EXPECT_FALSE(h.Window.Caret.Visible());
  h.Window.SendImeCandidateWindow(true);
  h.Window.SendImeCandidateWindow(false);
  EXPECT_TRUE(h.Window.Caret.Visible());
}

TEST_F(EditorMouse, TokenAndWordQueriesByPosition) {
  h.Editor.SetWordWrap(true);
  h.Editor.WrapOption().SetWrapByte(20);
  const std::string word = "abcdefghijklmnopqrstuvwxyz0123";
  h.Load("see " + word + " now");
  // The word crosses the wrap; it is found whole from either row.
  EXPECT_EQ(h.Editor.TokenStringFromPos(X(6), Y(0)), word);
  EXPECT_EQ(h.Editor.TokenStringFromPos(X(2), Y(1)), word);
  EXPECT_EQ(h.Editor.TokenFromPos(X(6), Y(0)), toAnk);
  EXPECT_EQ(h.Editor.WordFromPos(X(1), Y(0)), "see");
  EXPECT_EQ(h.Editor.TokenStringFromPos(X(1), Y(5)), "");
  h.Editor.SelectTokenFromPos(X(6), Y(0));
  EXPECT_EQ(h.Editor.SelText(), word);
  h.Editor.SelectWordFromPos(X(1), Y(0));
  EXPECT_EQ(h.Editor.SelText(), "see");
}

TEST_F(EditorMouse, BracketTokenQueriesAtTheCaretReadTheRowsBracketState) {
  TEditorBracketItem& item = h.Editor.View().Brackets().Add();
  item.SetLeftBracket("/*");
  item.SetRightBracket("*/");
  h.Load("x /*\r\nabc */ y", 1, 1);
  EXPECT_EQ(h.Editor.TokenFromCaret(), toAnk);
  EXPECT_EQ(h.Editor.TokenStringFromCaret(), "abc");
  EXPECT_EQ(h.Editor.TokenBracketFromCaret(), toBracket);
  EXPECT_EQ(h.Editor.TokenStringBracketFromCaret(), "abc */");
  h.Editor.SelectTokenBracketFromCaret();
  EXPECT_EQ(h.Editor.SelText(), "abc */");
}

TEST_F(EditorMouse, FocusComesWithAPressAndTheCaretWithTheFocus) {
  h.Load("abc");
  headless::ClearFocus();
  EXPECT_FALSE(h.Window.Caret.Visible());
  h.Window.SendMouseDown(mbRight, X(1), Y(0));
  EXPECT_TRUE(h.Window.Focused());
  EXPECT_TRUE(h.Window.Caret.Visible());
}

}  // namespace
}  // namespace vel::test
