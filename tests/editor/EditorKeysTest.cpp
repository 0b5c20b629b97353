// The key map as input sequences: caret, selection and text after each key.
#include <gtest/gtest.h>

#include <functional>

#include "tests/editor/EditorViewTestHost.h"

namespace vel::test {
namespace {

std::string Rows(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "row" + std::to_string(i) + "\r\n";
  return s;
}

struct TKeyCase {
  const char* Name;
  std::string Text;
  int Row, Col;
  std::function<void(TEditorHost&)> Keys;
  int WantRow, WantCol;
  std::string WantSel = "";
  std::string WantText = "";  // empty: unchanged
};

void Key(TEditorHost& h, TVirtualKey k, TShiftState s = 0, bool repeat = false) { h.Window.SendKeyDown(k, s, repeat); }

TEST(EditorKeys, KeyMapMovesSelectsAndEdits) {
  const TKeyCase cases[] = {
      {"right", "abc", 0, 1, [](auto& h) { Key(h, vkRight); }, 0, 2},
      {"right past the end with a free caret", "abc", 0, 3, [](auto& h) { Key(h, vkRight); }, 0, 4},
      {"right at the end stays without NextLine",
       "abc\r\ndef", 0, 3, [](auto& h) { h.Editor.Caret().FreeCaret = false; Key(h, vkRight); }, 0, 3},
      {"right at the end goes on with NextLine", "abc\r\ndef", 0, 3,
       [](auto& h) { h.Editor.Caret().FreeCaret = false; h.Editor.Caret().NextLine = true; Key(h, vkRight); }, 1, 0},
      {"right over a double-byte character", "aあb", 0, 1, [](auto& h) { Key(h, vkRight); }, 0, 3},
      {"left at column 0 stays without NextLine", "abc\r\ndef", 1, 0, [](auto& h) { Key(h, vkLeft); }, 1, 0},
      {"left at column 0 goes up with NextLine", "abc\r\ndef", 1, 0,
       [](auto& h) { h.Editor.Caret().NextLine = true; Key(h, vkLeft); }, 0, 3},
      {"shift right three times selects three", "abcdefg", 0, 2,
       [](auto& h) { for (int i = 0; i < 3; ++i) Key(h, vkRight, ssShift); }, 0, 5, "cde"},
      {"left after a selection cleans it first", "abcdefg", 0, 2,
       [](auto& h) { for (int i = 0; i < 3; ++i) Key(h, vkRight, ssShift); Key(h, vkLeft); }, 0, 4},
      {"shift down selects to the next row", "abc\r\ndef", 0, 1, [](auto& h) { Key(h, vkDown, ssShift); }, 1, 1,
       "bc\r\nd"},
      {"home", "abc", 0, 2, [](auto& h) { Key(h, vkHome); }, 0, 0},
      {"ctrl home", "abc\r\ndef", 1, 2, [](auto& h) { Key(h, vkHome, ssCtrl); }, 0, 0},
      {"end", "abc", 0, 0, [](auto& h) { Key(h, vkEnd); }, 0, 3},
      {"ctrl end", "abc\r\nde", 0, 0, [](auto& h) { Key(h, vkEnd, ssCtrl); }, 1, 2},
      {"ctrl end after a final break", "abc\r\n", 0, 0, [](auto& h) { Key(h, vkEnd, ssCtrl); }, 1, 0},
      {"shift end selects the rest", "abcd", 0, 1, [](auto& h) { Key(h, vkEnd, ssShift); }, 0, 4, "bcd"},
      {"up at row 0 stays", "abc\r\ndef", 0, 1, [](auto& h) { Key(h, vkUp); }, 0, 1},
      {"down", "abc\r\ndef", 0, 1, [](auto& h) { Key(h, vkDown); }, 1, 1},
      {"down from the last row stays", "abc\r\ndef", 1, 1, [](auto& h) { Key(h, vkDown); }, 1, 1},
      {"held down on the last visible row moves two", Rows(100), 38, 0,
       [](auto& h) { Key(h, vkDown, 0, true); }, 40, 0},
      {"held down elsewhere moves one", Rows(100), 10, 0, [](auto& h) { Key(h, vkDown, 0, true); }, 11, 0},
      {"held up on the first visible row moves two", Rows(100), 50, 0,
       [](auto& h) { h.Editor.SetTopRow(50); Key(h, vkUp, 0, true); }, 48, 0},
      {"ctrl down scrolls and keeps the caret", Rows(100), 5, 0, [](auto& h) { Key(h, vkDown, ssCtrl); }, 5, 0},
      {"ctrl down drags a caret that left the view", Rows(100), 0, 0, [](auto& h) { Key(h, vkDown, ssCtrl); }, 1, 0},
      {"page down keeps the caret's place in the view", Rows(100), 2, 0, [](auto& h) { Key(h, vkNext); }, 40, 0},
      {"page up at the top goes to row 0", Rows(100), 7, 2, [](auto& h) { Key(h, vkPrior); }, 0, 2},
      {"ctrl right to the next word", "abc def", 0, 0, [](auto& h) { Key(h, vkRight, ssCtrl); }, 0, 4},
      {"ctrl right skips symbols", "ab, cd", 0, 0, [](auto& h) { Key(h, vkRight, ssCtrl); }, 0, 4},
      {"ctrl right from a row's end to the next row", "abc\r\ndef", 0, 3, [](auto& h) { Key(h, vkRight, ssCtrl); },
       1, 0},
      {"ctrl right after the last word to the row's end", "abc def", 0, 5, [](auto& h) { Key(h, vkRight, ssCtrl); },
       0, 7},
      {"ctrl left to the word start", "abc def", 0, 6, [](auto& h) { Key(h, vkLeft, ssCtrl); }, 0, 4},
      {"ctrl left at column 0 to the end of the line above", "abc\r\ndef", 1, 0,
       [](auto& h) { Key(h, vkLeft, ssCtrl); }, 0, 3},
      {"ctrl shift right selects a word", "abc def", 0, 0, [](auto& h) { Key(h, vkRight, ssCtrl | ssShift); }, 0, 4,
       "abc "},
      {"delete", "abc", 0, 1, [](auto& h) { Key(h, vkDelete); }, 0, 1, "", "ac"},
      {"delete takes a double-byte character whole", "aあb", 0, 1, [](auto& h) { Key(h, vkDelete); }, 0, 1, "",
       "ab"},
      {"typed characters, a double-byte one whole", "", 0, 0,
       [](auto& h) { h.Window.SendText("aあ"); }, 0, 3, "", "aあ"},
  };
  for (const TKeyCase& c : cases) {
    headless::Reset();
    TEditorHost h;
    h.Load(c.Text, c.Row, c.Col);
    c.Keys(h);
    EXPECT_EQ(h.Editor.Row(), c.WantRow) << c.Name;
    EXPECT_EQ(h.Editor.Col(), c.WantCol) << c.Name;
    EXPECT_EQ(h.Editor.SelText(), c.WantSel) << c.Name;
    EXPECT_EQ(h.Text(), c.WantText.empty() ? c.Text : c.WantText) << c.Name;
  }
}

TEST(EditorKeys, PageDownStopsWhenTheLastRowIsAtTheTop) {
  headless::Reset();
  TEditorHost h;
  h.Load(Rows(10) + "end", 0, 0);
  for (int i = 0; i < 5; ++i) h.Window.SendKeyDown(vkNext);
  EXPECT_EQ(h.Editor.TopRow(), 10);
  EXPECT_EQ(h.Editor.Row(), 10);
}

TEST(EditorKeys, RowCaretAndViewStayInsideAfterHeldKeysPastTheEnd) {
  headless::Reset();
  TEditorHost h;
  h.Load(Rows(50), 0, 0);
  for (int i = 0; i < 80; ++i) h.Window.SendKeyDown(vkDown, 0, true);
  EXPECT_EQ(h.Editor.Row(), 50);
  EXPECT_LE(h.Editor.TopRow(), 50);
  EXPECT_GE(h.Editor.Row(), h.Editor.TopRow());
  EXPECT_LT(h.Editor.Row(), h.Editor.TopRow() + h.Editor.VisibleRows());
}

}  // namespace
}  // namespace vel::test
