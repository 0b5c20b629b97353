// Token colours on screen: every token of a row keeps its colour, whatever
// is drawn after it on the same row.
#include <gtest/gtest.h>

#include "tests/wine/EditorViewHost.h"

namespace vel {
namespace {

TEST(EditorColoursWine, EveryTokenOfARowKeepsItsColour) {
  TViewHost h;
  TEditorColors& c = h.Editor.View().Colors();
  c.Int().SetColor(clRed);
  c.DBCS().SetColor(clBlue);
  c.Url().SetColor(clGreen);
  h.Editor.View().SetUrl(true);
  // Columns: 12 at 0, あい at 3, 34 at 8, the URL at 11, then the word "end".
  h.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12 あい 34 http://x.jp end"));
  ::InvalidateRect(h.Wnd(), nullptr, TRUE);
  const int W = h.Editor.ColWidth(), L = h.Editor.LeftMargin(), T = h.Editor.TopMargin();
  const int F = h.Editor.FontHeight();
  auto cells = [&](int from, int to) { return RECT{L + from * W, T, L + to * W, T + F}; };
  EXPECT_TRUE(h.Shows(cells(0, 2), RGB(255, 0, 0)));
  EXPECT_TRUE(h.Shows(cells(3, 7), RGB(0, 0, 255)));
  EXPECT_TRUE(h.Shows(cells(8, 10), RGB(255, 0, 0)));
  EXPECT_TRUE(h.Shows(cells(11, 22), RGB(0, 128, 0)));
  // The default-coloured word after them is drawn too, in the font colour.
  EXPECT_TRUE(h.Shows(cells(23, 26), ::GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_FALSE(h.Shows(cells(3, 7), RGB(255, 0, 0)));
}

}  // namespace
}  // namespace vel
