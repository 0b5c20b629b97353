// The editor control on screen in a real window, driven only by window
// messages: keys, mouse, characters (lead and trail bytes as two messages)
// and the edit-control messages, with pixels read back where colour matters.
#include <gtest/gtest.h>

#include "tests/wine/EditorViewHost.h"

namespace vel {
namespace {

TEST(EditorViewWine, CharactersKeysAndMouseThroughMessages) {
  TViewHost h;
  // 表 (0x95 0x5C): its trail byte is a backslash, and arrives as a message of its own.
  for (WPARAM ch : {WPARAM(0x95), WPARAM(0x5C), WPARAM('a'), WPARAM('b'), WPARAM('\r'), WPARAM('c')})
    ::PostMessageA(h.Wnd(), WM_CHAR, ch, 1);
  ASSERT_TRUE(wine::PumpUntil([&] { return h.Text() == "表ab\r\nc"; })) << h.Text();
  h.Send(WM_KEYDOWN, VK_UP, 1);
  h.Send(WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 4);
  h.Send(WM_KEYDOWN, VK_HOME, 1);
  h.Send(WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(h.Editor.Col(), 2);
  // A drag over "ab" selects it.
  h.Send(WM_LBUTTONDOWN, MK_LBUTTON, h.At(0, 2));
  h.Send(WM_MOUSEMOVE, MK_LBUTTON, h.At(0, 4));
  h.Send(WM_LBUTTONUP, 0, h.At(0, 4));
  DWORD start = 0, end = 0;
  h.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 4u);
  // A click elsewhere places the caret and drops the selection.
  h.Send(WM_LBUTTONDOWN, MK_LBUTTON, h.At(1, 1));
  h.Send(WM_LBUTTONUP, 0, h.At(1, 1));
  EXPECT_EQ(h.Editor.Row(), 1);
  EXPECT_EQ(h.Editor.Col(), 1);
  EXPECT_FALSE(h.Editor.Selected());
}

TEST(EditorViewWine, EditMessagesCountBytesOverDoubleByteText) {
  TViewHost h;
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("aあb\r\ncd"));
  EXPECT_EQ(h.Send(WM_GETTEXTLENGTH), 8);
  h.Send(EM_SETSEL, 1, 4);
  EXPECT_EQ(h.Send(EM_GETSEL), MAKELRESULT(1, 4));
  h.Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("い"));
  EXPECT_EQ(h.Text(), "aい\r\ncd");
  EXPECT_EQ(h.Send(EM_LINEINDEX, 1), 5);
  EXPECT_EQ(h.Send(EM_LINEFROMCHAR, 6), 1);
  EXPECT_EQ(h.Send(EM_LINELENGTH, 0), 3);
  EXPECT_EQ(h.Send(EM_GETMODIFY), 1);
  EXPECT_EQ(h.Send(EM_UNDO), 1);
  EXPECT_EQ(h.Send(WM_GETDLGCODE) & (DLGC_WANTARROWS | DLGC_WANTCHARS), DLGC_WANTARROWS | DLGC_WANTCHARS);
  h.Send(EM_SETSEL, 3, 3);
  DWORD start = 9, end = 9;
  h.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
}

TEST(EditorViewWine, SelectionEofMarkAndDoubleByteRowOnScreen) {
  TViewHost h;
  h.Editor.Marks().EofMark().SetVisible(true);
  h.Editor.Marks().EofMark().SetColor(clRed);
  h.Editor.View().Colors().DBCS().SetColor(clBlue);
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abcdef\r\nあいう"));
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  const int W = h.Editor.ColWidth(), R = h.Editor.RowHeight(), L = h.Editor.LeftMargin(), T = h.Editor.TopMargin();
  const int F = h.Editor.FontHeight();
  // The double-byte row in its token colour, "[EOF]" in its colour after it.
  EXPECT_TRUE(h.Shows({L, T + R, L + 6 * W, T + R + F}, RGB(0, 0, 255)));
  EXPECT_TRUE(h.Shows({L + 6 * W, T + R, L + 12 * W, T + R + F}, RGB(255, 0, 0)));
  EXPECT_FALSE(h.Shows({L, T, L + 6 * W, T + F}, RGB(0, 0, 128)));
  // Selected columns take the selection background.
  h.Send(EM_SETSEL, 1, 3);
  EXPECT_EQ(h.Pixel(L + W + 1, T + 1), RGB(0, 0, 128));
  EXPECT_EQ(h.Pixel(L + 4 * W + 1, T + 1), ::GetSysColor(COLOR_WINDOW));
}

TEST(EditorViewWine, LineBreakArrowAfterBrokenRowsOnly) {
  TViewHost h;
  h.Editor.Marks().RetMark().SetVisible(true);
  h.Editor.Marks().RetMark().SetColor(clRed);
  h.Editor.View().Colors().Select().SetColor(clYellow);
  h.Editor.WrapOption().SetWrapByte(20);
  h.Editor.SetWordWrap(true);
  // A row wrapped at 20 columns, the rest of its line, a short line, and a
  // last row without a line break.
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("aaaaaaaaaaaaaaaaaaaaaaaaa\r\nde\r\nfgh"));
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  ASSERT_EQ(h.Editor.ListCount(), 4);
  const int W = h.Editor.ColWidth(), R = h.Editor.RowHeight(), L = h.Editor.LeftMargin(), T = h.Editor.TopMargin();
  const int F = h.Editor.FontHeight();
  // The arrow's stroke down the middle of the column after the row's text,
  // and a pixel row across its head: the stroke between the two barbs.
  auto stroke = [&](int row, int col) {
    const int x = L + col * W + W / 2, y = T + row * R;
    return RECT{x, y + 6, x + 1, y + F - 4};
  };
  auto barbs = [&](int row, int col) {
    const int x = L + col * W + W / 2, y = T + row * R + F - 6;
    return RECT{x - 2, y, x + 3, y + 1};
  };
  auto cell = [&](int row, int col) { return RECT{L + col * W, T + row * R, L + (col + 1) * W, T + row * R + F}; };
  const COLORREF red = RGB(255, 0, 0), yellow = RGB(255, 255, 0);
  const std::string solid(static_cast<size_t>(F - 10), '#');
  EXPECT_EQ(h.Mask(stroke(1, 5), red), solid);
  EXPECT_EQ(h.Mask(barbs(1, 5), red), "#.#.#");
  EXPECT_EQ(h.Mask(stroke(2, 2), red), solid);
  EXPECT_FALSE(h.Shows(cell(0, 20), red)) << "a wrapped row has no line break";
  EXPECT_FALSE(h.Shows(cell(3, 3), red)) << "the last row has no line break";
  // Inside the selection the arrow takes the selected text's colour.
  h.Send(EM_SETSEL, 0, -1);
  EXPECT_EQ(h.Mask(stroke(1, 5), yellow), solid);
  EXPECT_EQ(h.Mask(stroke(2, 2), yellow), solid);
  EXPECT_FALSE(h.Shows(cell(1, 5), red));
}

TEST(EditorViewWine, LineNumbersInTheLeftBarMoveTheTextWhenTheyGainADigit) {
  TViewHost h;
  TEditorLeftbar& bar = h.Editor.Leftbar();
  bar.SetColumn(1);
  bar.SetColor(clGreen);
  bar.SetBkColor(clYellow);
  bar.SetVisible(true);
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("M\r\nM\r\nM\r\nM\r\nM\r\nM\r\nM\r\nM\r\nM"));
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  const int W = h.Editor.ColWidth(), R = h.Editor.RowHeight(), T = h.Editor.TopMargin();
  const int F = h.Editor.FontHeight(), x0 = bar.LeftMargin();
  ASSERT_GT(h.Editor.VisibleRows(), 10);
  const COLORREF green = RGB(0, 128, 0), black = RGB(0, 0, 0);
  // What the bar shows in green in the digit place d of row r.
  auto digit = [&](int r, int d) { return h.Mask({x0 + d * W, T + r * R, x0 + (d + 1) * W, T + r * R + F}, green); };
  const std::string blank(static_cast<size_t>(W * F), '.');
  const int before = h.Editor.LeftMargin();
  std::vector<std::string> glyphs;
  for (int r = 0; r < 9; ++r) {
    glyphs.push_back(digit(r, 0));
    EXPECT_NE(glyphs.back(), blank) << "row " << r;
    for (int q = 0; q < r; ++q) EXPECT_NE(glyphs[static_cast<size_t>(q)], glyphs.back()) << "rows " << q << " and " << r;
  }
  EXPECT_EQ(digit(9, 0), blank) << "no number below the last row";
  EXPECT_TRUE(h.Shows({before, T, before + W, T + F}, black));
  // The tenth line needs a second digit: the bar widens by a column.
  h.Send(EM_SETSEL, 100, 100);
  h.Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("\r\nM"));
  const int after = h.Editor.LeftMargin();
  ASSERT_EQ(after, before + W);
  // Numbers stand right-aligned: the 1 of row 0 one place further right,
  // beside a blank, and the same 1 before the 0 of row 9.
  EXPECT_EQ(digit(0, 0), blank);
  EXPECT_EQ(digit(0, 1), glyphs[0]);
  EXPECT_EQ(digit(8, 1), glyphs[8]);
  EXPECT_EQ(digit(9, 0), glyphs[0]);
  EXPECT_NE(digit(9, 1), blank);
  // The text moved right with the bar.
  EXPECT_FALSE(h.Shows({0, T, after, T + F}, black));
  EXPECT_TRUE(h.Shows({after, T, after + W, T + F}, black));
}

TEST(EditorViewWine, LineNumbersOfWrappedRowsByLineOrByRow) {
  TViewHost h;
  TEditorLeftbar& bar = h.Editor.Leftbar();
  bar.SetColor(clGreen);
  bar.SetVisible(true);
  h.Editor.WrapOption().SetWrapByte(20);
  h.Editor.SetWordWrap(true);
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("aaaaaaaaaaaaaaaaaaaaaaaaa\r\nb"));
  ASSERT_EQ(h.Editor.ListCount(), 3);
  const int R = h.Editor.RowHeight(), T = h.Editor.TopMargin(), F = h.Editor.FontHeight();
  const int barRight = h.Editor.LeftMargin() - h.Editor.Margin().Left() - 2;
  auto numbered = [&](int r) { return h.Shows({0, T + r * R, barRight, T + r * R + F}, RGB(0, 128, 0)); };
  bar.SetShowNumberMode(nmLine);
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  EXPECT_TRUE(numbered(0));
  EXPECT_FALSE(numbered(1)) << "a continuation row starts no line";
  EXPECT_TRUE(numbered(2));
  bar.SetShowNumberMode(nmRow);
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  EXPECT_TRUE(numbered(1));
}

}  // namespace
}  // namespace vel
