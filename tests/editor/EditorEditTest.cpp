// Editing operations: each case states a document, a caret or selection and
// an operation, and checks the text, the caret, the selection afterwards and
// that one undo puts the document back byte for byte.
#include <gtest/gtest.h>

#include <functional>

#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"
#include "tests/editor/EditorTestHost.h"

namespace vel::test {
namespace {

struct TEditCase {
  const char* Name;
  const char* Text;
  int Row, Col;
  std::function<void(TEditorHost&)> Op;
  const char* Want;
  int WantRow, WantCol;
  std::function<void(TEditor&)> Setup = nullptr;
  int Undos = 1;  // undo steps the operation took
};

void Sel(TEditorHost& h, int r2, int c2, TEditorSelectionMode m = smLine) {
  h.Select(h.Editor.Row(), h.Editor.Col(), r2, c2, m);
}

void RunCases(const std::vector<TEditCase>& cases) {
  for (const TEditCase& c : cases) {
    TEditorHost h;
    if (c.Setup) c.Setup(h.Editor);
    h.Load(c.Text, c.Row, c.Col);
    const std::string before = h.Text();
    c.Op(h);
    EXPECT_EQ(h.Text(), c.Want) << c.Name;
    EXPECT_EQ(h.Editor.Row(), c.WantRow) << c.Name;
    EXPECT_EQ(h.Editor.Col(), c.WantCol) << c.Name;
    EXPECT_FALSE(h.Editor.Selected()) << c.Name;
    EXPECT_EQ(h.Editor.UndoObj().UndoCount(), c.Undos) << c.Name;
    h.UndoAll();
    EXPECT_EQ(h.Text(), before) << c.Name << " (undone)";
  }
}

auto Type(const std::string& s) {
  return [s](TEditorHost& h) { h.Window.SendText(s); };
}
auto Key(void (TEditor::*f)()) {
  return [f](TEditorHost& h) { (h.Editor.*f)(); };
}

TEST(EditorEdit, Typing) {
  RunCases({
      {"insert", "abc", 0, 1, Type("x"), "axbc", 0, 2},
      {"double-byte character", "abc", 0, 3, Type("あ"), "abcあ", 0, 5},
      {"beyond the end pads with spaces", "abc", 0, 10, Type("x"), "abc       x", 0, 11},
      {"into an empty document", "", 0, 0, Type("x"), "x", 0, 1},
      {"on the row after a final break", "ab\r\n", 1, 0, Type("x"), "ab\r\nx", 1, 1},
      {"half-width katakana", "", 0, 0, Type("\xB1"), "\xB1", 0, 1},
      {"control bytes are not typed", "ab", 0, 1, Type("\x01"), "ab", 0, 1, nullptr, 0},
      {"overwrite", "abcd", 0, 1, Type("xy"), "axyd", 0, 3, [](TEditor& e) { e.SetOverWrite(true); }, 2},
      {"overwrite half of a double-byte character", "あいう", 0, 0, Type("x"), "x いう", 0, 1,
       [](TEditor& e) { e.SetOverWrite(true); }},
      {"overwrite runs into the next wrapped row", "aaaaaaaaaaaaaaaaaaaabbbbb", 0, 19,
       [](TEditorHost& h) {
         h.Editor.SetOverWrite(true);
         h.Editor.PutStringToLine("XYZ");
       },
       "aaaaaaaaaaaaaaaaaaaXYZbbb", 1, 2,
       [](TEditor& e) {
         e.WrapOption().SetWrapByte(20);
         e.SetWordWrap(true);
       }},
      {"over a selection is one step", "abcdef", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 4);
         h.Window.SendChar("x");
       },
       "axef", 0, 2},
      {"read-only types nothing", "ab", 0, 1, Type("x"), "ab", 0, 1, [](TEditor& e) { e.SetReadOnly(true); }, 0},
  });
}

TEST(EditorEdit, TabKey) {
  auto soft = [](int t) {
    return [t](TEditor& e) {
      e.Caret().SoftTab = true;
      e.Caret().SetTabSpaceCount(t);
    };
  };
  RunCases({
      {"tab byte", "ab", 0, 1, Key(&TEditor::KeyTab), "a\tb", 0, 8},
      {"soft tab at column 3 of width 4", "abcd", 0, 3, Key(&TEditor::KeyTab), "abc d", 0, 4, soft(4)},
      {"soft tab at column 4 of width 4", "abcd", 0, 4, Key(&TEditor::KeyTab), "abcd    ", 0, 8, soft(4)},
      {"overwrite only moves", "abcdefghij", 0, 1, Key(&TEditor::KeyTab), "abcdefghij", 0, 8,
       [](TEditor& e) { e.SetOverWrite(true); }, 0},
      {"replaces a selection", "abcdef", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 3);
         h.Editor.KeyTab();
       },
       "a\tdef", 0, 8},
      {"not without WantTabs", "ab", 0, 1, Key(&TEditor::KeyTab), "ab", 0, 1, [](TEditor& e) { e.WantTabs = false; }, 0},
  });
}

TEST(EditorEdit, EnterKey) {
  auto prev = [](TEditor& e) { e.Caret().PrevSpaceIndent = true; };
  auto tabs = [](TEditor& e) {
    e.Caret().TabIndent = true;
    e.Caret().SetTabSpaceCount(4);
  };
  RunCases({
      {"split", "abcd", 0, 2, Key(&TEditor::KeyReturn), "ab\r\ncd", 1, 0},
      {"keeps the indent", "  ab", 0, 4, Key(&TEditor::KeyReturn), "  ab\r\n  ", 1, 2},
      {"inside the indent", "    abc", 0, 2, Key(&TEditor::KeyReturn), "  \r\n    abc", 1, 2},
      {"without auto-indent", "  ab", 0, 4, Key(&TEditor::KeyReturn), "  ab\r\n", 1, 0,
       [](TEditor& e) { e.Caret().AutoIndent = false; }},
      {"full-width space counts two", "　ab", 0, 4, Key(&TEditor::KeyReturn), "　ab\r\n  ", 1, 2},
      {"empty line takes the previous indent", "   x\r\n\r\nz", 1, 0, Key(&TEditor::KeyReturn),
       "   x\r\n\r\n   \r\nz", 2, 3, prev},
      {"indent as tabs and spaces", "      x", 0, 7, Key(&TEditor::KeyReturn), "      x\r\n\t  ", 1, 6, tabs},
      {"at the end of the document", "ab\r\n", 1, 0, Key(&TEditor::KeyReturn), "ab\r\n\r\n", 2, 0},
      {"in an empty document", "", 0, 0, Key(&TEditor::KeyReturn), "\r\n", 1, 0},
      {"caret beyond the end", "ab", 0, 5, Key(&TEditor::KeyReturn), "ab\r\n", 1, 0},
      {"overwrite only moves", "ab\r\ncd", 0, 1, Key(&TEditor::KeyReturn), "ab\r\ncd", 1, 0,
       [](TEditor& e) { e.SetOverWrite(true); }, 0},
      {"overwrite on the last line adds one", "memo line", 0, 9, Type("abc\rdef"), "memo lineabc\r\ndef", 1, 3,
       [](TEditor& e) { e.SetOverWrite(true); }, 7},
      {"overwrite on an empty page", "", 0, 0, Type("ab\rcd"), "ab\r\ncd", 1, 2,
       [](TEditor& e) { e.SetOverWrite(true); }, 5},
      {"overwrite on a wrapped last line", "aaaaaaaaaaaaaaaaaaaabb", 0, 5, Key(&TEditor::KeyReturn),
       "aaaaaaaaaaaaaaaaaaaabb", 1, 0,
       [](TEditor& e) {
         e.SetOverWrite(true);
         e.WrapOption().SetWrapByte(20);
         e.SetWordWrap(true);
       }, 0},
      {"over a selection deletes first", "abcd", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 3);
         h.Editor.KeyReturn();
       },
       "a\r\nd", 1, 0, nullptr, 2},
  });
}

TEST(EditorEdit, BackSpaceKey) {
  auto noUnindent = [](TEditor& e) { e.Caret().BackSpaceUnIndent = false; };
  RunCases({
      {"one byte", "abc", 0, 2, Key(&TEditor::KeyBackSpace), "ac", 0, 1},
      {"a double-byte character", "aあb", 0, 3, Key(&TEditor::KeyBackSpace), "ab", 0, 1},
      {"a tab from after its blanks", "a\tb", 0, 8, Key(&TEditor::KeyBackSpace), "ab", 0, 1},
      {"joins the previous line", "ab\r\ncd", 1, 0, Key(&TEditor::KeyBackSpace), "abcd", 0, 2},
      {"removes a final line break", "ab\r\n", 1, 0, Key(&TEditor::KeyBackSpace), "ab", 0, 2},
      {"nothing on the first row", "ab", 0, 0, Key(&TEditor::KeyBackSpace), "ab", 0, 0, nullptr, 0},
      {"beyond the end only moves", "ab", 0, 5, Key(&TEditor::KeyBackSpace), "ab", 0, 4, nullptr, 0},
      {"unindents to the previous level", "    a\r\n        x", 1, 8, Key(&TEditor::KeyBackSpace),
       "    a\r\n    x", 1, 4},
      {"one space without unindent", "    a\r\n        x", 1, 8, Key(&TEditor::KeyBackSpace),
       "    a\r\n       x", 1, 7, noUnindent},
      {"unindent to the tab byte of the previous level", "\tb\r\n  \t  x", 1, 10, Key(&TEditor::KeyBackSpace),
       "\tb\r\n  \tx", 1, 8},
      {"unindent into a tab's blanks turns them into spaces", "   b\r\n  \t  x", 1, 10,
       Key(&TEditor::KeyBackSpace), "   b\r\n   x", 1, 3},
      {"unindent through a full-width space", "ab\r\n　　x", 1, 4, Key(&TEditor::KeyBackSpace), "ab\r\nx", 1, 0},
      {"wrapped row loses the previous row's last character", "aaaaaaaaaaaaaaaaaaaabc", 1, 0,
       Key(&TEditor::KeyBackSpace), "aaaaaaaaaaaaaaaaaaabc", 0, 19,
       [](TEditor& e) {
         e.WrapOption().SetWrapByte(20);
         e.SetWordWrap(true);
       }},
      {"deletes a selection only", "abcd", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 3);
         h.Editor.KeyBackSpace();
       },
       "ad", 0, 1},
  });
}

TEST(EditorEdit, DeleteKey) {
  RunCases({
      {"one byte", "abc", 0, 1, [](TEditorHost& h) { h.Window.SendKeyDown(vkDelete); }, "ac", 0, 1},
      {"a double-byte character", "aあb", 0, 1, Key(&TEditor::KeyDelete), "ab", 0, 1},
      {"joins the next line", "ab\r\ncd", 0, 2, Key(&TEditor::KeyDelete), "abcd", 0, 2},
      {"joins with padding from beyond the end", "ab\r\ncd", 0, 4, Key(&TEditor::KeyDelete), "ab  cd", 0, 4},
      {"removes the final line break", "ab\r\n", 0, 2, Key(&TEditor::KeyDelete), "ab", 0, 2},
      {"nothing at the end of the text", "ab", 0, 2, Key(&TEditor::KeyDelete), "ab", 0, 2, nullptr, 0},
      {"nothing on the row after the last", "ab\r\n", 1, 0, Key(&TEditor::KeyDelete), "ab\r\n", 1, 0, nullptr, 0},
  });
}

TEST(EditorEdit, SelectionReplacementAndDeletion) {
  RunCases({
      {"line selection over rows", "abc\r\ndef\r\nghi", 0, 1, [](TEditorHost& h) {
         Sel(h, 2, 1);
         h.Editor.DeleteSelection();
       },
       "ahi", 0, 1},
      {"box deletion", "abcd\r\nefgh\r\nij", 0, 1, [](TEditorHost& h) {
         Sel(h, 2, 3, smBox);
         h.Editor.DeleteSelection();
       },
       "ad\r\neh\r\ni", 0, 1},
      {"box deletion leaves the caret at the box's corner past a short row", "ab\r\nabcdef", 0, 4,
       [](TEditorHost& h) {
         Sel(h, 1, 6, smBox);
         h.Editor.DeleteSelection();
       },
       "ab\r\nabcd", 0, 4},
      {"select all and delete", "abc\r\ndef\r\n", 0, 0, [](TEditorHost& h) {
         h.Editor.SelectAll();
         h.Editor.DeleteSelection();
       },
       "", 0, 0},
      {"text with breaks replaces a selection", "abcd", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 3);
         h.Editor.SetSelTextBuf("X\r\nY");
       },
       "aX\r\nYd", 1, 1},
      {"text with breaks at the caret", "abcd", 0, 2, [](TEditorHost& h) { h.Editor.SetSelText("1\r\n2\r\n"); },
       "ab1\r\n2\r\ncd", 2, 0},
      {"a string over a box goes into the first row", "abcd\r\nefgh", 0, 1, [](TEditorHost& h) {
         Sel(h, 1, 3, smBox);
         h.Editor.PutStringToLine("X");
       },
       "aXd\r\neh", 0, 2},
      {"empty text deletes the selection", "abcd", 0, 1, [](TEditorHost& h) {
         Sel(h, 0, 3);
         h.Editor.SetSelTextBuf("");
       },
       "ad", 0, 1},
  });
}

TEST(EditorEdit, RowsAndIndents) {
  auto tab4 = [](TEditor& e) { e.Caret().SetTabSpaceCount(4); };
  RunCases({
      {"delete a row", "a\r\nb\r\nc", 0, 0, [](TEditorHost& h) { h.Editor.DeleteRow(1); }, "a\r\nc", 1, 0},
      {"delete the last row", "a\r\nb", 0, 0, [](TEditorHost& h) { h.Editor.DeleteRow(1); }, "a\r\n", 1, 0},
      {"indent line rows", "ab\r\n cd\r\nef", 0, 1, [](TEditorHost& h) {
         Sel(h, 2, 0);
         h.Editor.SelIndent();
         EXPECT_EQ(h.Editor.SelText(), "b\r\n  cd\r\n");
         h.Editor.CleanSelection();
       },
       " ab\r\n  cd\r\nef", 2, 0},
      {"unindent line rows", " ab\r\n  cd\r\nef", 0, 0, [](TEditorHost& h) {
         Sel(h, 1, 3);
         h.Editor.SelUnIndent();
         h.Editor.CleanSelection();
       },
       "ab\r\n cd\r\nef", 1, 2},
      {"tab indent and unindent", "ab\r\ncd", 0, 0, [](TEditorHost& h) {
         Sel(h, 1, 2);
         h.Editor.SelTabIndent();
         h.Editor.SelTabUnIndent();
         h.Editor.CleanSelection();
       },
       "ab\r\ncd", 1, 2, nullptr, 2},
      {"box indent at the left edge", "abcd\r\nefgh\r\nij", 0, 2, [](TEditorHost& h) {
         Sel(h, 1, 3, smBox);
         h.Editor.SelIndent();
         h.Editor.CleanSelection();
       },
       "ab cd\r\nef gh\r\nij", 1, 3},
      {"unindent moves the selection by bytes where a tab absorbs the change", " a\tbあc\r\n xyz", 0, 7,
       [](TEditorHost& h) {
         Sel(h, 1, 2);
         h.Editor.SelUnIndent();
         EXPECT_EQ(h.Editor.SelText(), "c\r\nx");
         h.Editor.DeleteSelection();
       },
       "a\tbあyz", 0, 7, tab4, 2},
      {"indent keeps the selection's first character", " a\tbあc\r\n xyz", 0, 7,
       [](TEditorHost& h) {
         Sel(h, 1, 2);
         h.Editor.SelIndent();
         EXPECT_EQ(h.Editor.SelText(), "c\r\n  x");
         h.Editor.CleanSelection();
       },
       "  a\tbあc\r\n  xyz", 1, 3, tab4},
      {"box indent moves the caret off a character's second half", "abcあd\r\nefghij", 1, 1,
       [](TEditorHost& h) {
         Sel(h, 0, 5, smBox);
         h.Editor.SelIndent();
         h.Editor.CleanSelection();
       },
       "a bcあd\r\ne fghij", 0, 4},
      {"box tab unindent removes only tabs at the edge", "a\tb\r\ncd", 0, 1, [](TEditorHost& h) {
         Sel(h, 1, 2, smBox);
         h.Editor.SelTabUnIndent();
         h.Editor.CleanSelection();
       },
       "ab\r\ncd", 1, 2},
  });
}

TEST(EditorEdit, UndoRedoRestoreTextAndCaret) {
  TEditorHost h;
  h.Load("abc", 0, 3);
  h.Window.SendText("de");
  h.Editor.KeyReturn();
  EXPECT_EQ(h.Text(), "abcde\r\n");
  h.Editor.Undo();
  EXPECT_EQ(h.Text(), "abcde");
  EXPECT_TRUE(h.Editor.CanRedo());
  h.Editor.Redo();
  EXPECT_EQ(h.Text(), "abcde\r\n");
  h.UndoAll();
  EXPECT_EQ(h.Text(), "abc");
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 3);
}

TEST(EditorEdit, BytesPastColumnThousandAreEditable) {
  TEditorHost h;
  std::string row(1500, 'a');
  row[1200] = 'Z';
  h.Load(row + "\r\nnext", 0, 1200);
  EXPECT_EQ(h.Editor.Col(), 1200);
  h.Editor.KeyDelete();
  EXPECT_EQ(h.Editor.ListStr(0), std::string(1499, 'a'));
  h.Editor.SetRowCol(0, 1499);
  h.Editor.InitSelection();
  h.Editor.SetRowCol(0, 1300);
  h.Editor.SetSelection();
  EXPECT_EQ(h.Editor.SelLength(), 199);
  h.Window.SendChar("x");
  EXPECT_EQ(h.Editor.ListStr(0), std::string(1300, 'a') + "x");
  EXPECT_EQ(h.Editor.Col(), 1301);
}

TEST(EditorClipboardTest, BoxCopiedHerePastesAsABoxAndPlainTextAsAStream) {
  headless::Reset();
  InitEditorUnit();
  TEditorHost a, b;
  a.Load("abcd\r\nefgh\r\nijkl");
  a.Select(0, 1, 1, 3, smBox);
  ASSERT_TRUE(a.Editor.CopyToClipboard());
  EXPECT_TRUE(Clipboard().HasFormat(CF_BOXTEXT));
  b.Load("1234\r\n5678\r\n", 0, 2);
  b.Editor.PasteFromClipboard();
  EXPECT_EQ(b.Text(), "12bc34\r\n56fg78\r\n");
  EXPECT_EQ(b.Editor.Row(), 1);
  EXPECT_EQ(b.Editor.Col(), 4);
  // The same text put there by another program pastes as a stream.
  Clipboard().SetText("bc\r\nfg\r\n");
  b.Load("1234", 0, 2);
  b.Editor.PasteFromClipboard();
  EXPECT_EQ(b.Text(), "12bc\r\nfg\r\n34");
}

TEST(EditorClipboardTest, BoxPasteBelowTheLastRowAddsPaddedRows) {
  TEditorHost h;
  h.Load("ab\r\n", 1, 5);
  h.Editor.SetSelTextBox("x\r\nyy\r\nz");
  EXPECT_EQ(h.Text(), "ab\r\n     x\r\n     yy\r\n     z\r\n");
  EXPECT_EQ(h.Editor.Row(), 3);
  EXPECT_EQ(h.Editor.Col(), 6);
  h.Editor.Undo();
  EXPECT_EQ(h.Text(), "ab\r\n");
}

TEST(EditorClipboardTest, BoxPasteOverABoxAndAcrossDoubleByteCharacters) {
  TEditorHost h;
  h.Load("xyzuvw\r\naあbc\r\n");
  h.Editor.SetRowCol(0, 2);
  h.Editor.SetSelTextBox("1\r\n2");
  // Column 2 falls inside あ on the second row: the text goes after it.
  EXPECT_EQ(h.Text(), "xy1zuvw\r\naあ2bc\r\n");
  h.Load("abcd\r\nefgh\r\nijkl\r\n");
  h.Select(0, 1, 1, 3, smBox);
  h.Editor.SetSelTextBox("X\r\nY\r\nZ");
  EXPECT_EQ(h.Text(), "aXd\r\neYh\r\niZjkl\r\n");
}

TEST(EditorClipboardTest, BoxPasteKeepsTheLinesItPastesInto) {
  const struct {
    const char* Name;
    const char* Text;
    int Wrap;  // 0: off
    const char* Want;
  } cases[] = {
      {"wrapped rows stay one line", "0123456789abcdefghijKLMNOPQRST", 20, "01X23456789abcdefghijKLYMNOPQRST"},
      {"the last row gains a break only for rows below it", "abc", 0, "abXc\r\n  Y\r\n"},
      {"no break after the last row", "abc\r\ndef", 0, "abXc\r\ndeYf"},
  };
  for (const auto& c : cases) {
    TEditorHost h;
    if (c.Wrap) {
      h.Editor.WrapOption().SetWrapByte(c.Wrap);
      h.Editor.SetWordWrap(true);
    }
    h.Load(c.Text, 0, 2);
    h.Editor.SetSelTextBox("X\r\nY");
    EXPECT_EQ(h.Text(), c.Want) << c.Name;
    h.Editor.Undo();
    EXPECT_EQ(h.Text(), c.Text) << c.Name;
  }
}

TEST(EditorClipboardTest, CutKeepsTheTextWhenTheClipboardRefusesIt) {
  headless::Reset();
  TEditorHost h;
  h.Load("abcd");
  h.Select(0, 1, 0, 3);
  headless::SetClipboardBusy(true);
  h.Editor.CutToClipboard();
  headless::SetClipboardBusy(false);
  EXPECT_EQ(h.Text(), "abcd");
  h.Editor.CutToClipboard();
  EXPECT_EQ(h.Text(), "ad");
  EXPECT_EQ(Clipboard().GetText().value_or(""), "bc");
}

TEST(EditorClipboardTest, ReadOnlyBlocksPasteButNotCopy) {
  headless::Reset();
  TEditorHost h;
  h.Load("abcd");
  h.Editor.SetReadOnly(true);
  h.Select(0, 1, 0, 3);
  EXPECT_TRUE(h.Editor.CopyToClipboard());
  h.Editor.PasteFromClipboard();
  h.Editor.SetSelTextBox("zz");
  EXPECT_EQ(h.Text(), "abcd");
  EXPECT_FALSE(h.Editor.CanSelDrag());
}

TEST(EditorDrop, MoveIsOneStepAndRefusesItsOwnInside) {
  const struct {
    const char* Name;
    int R1, C1, R2, C2, DropRow, DropCol;
    const char* Want;
    int WantRow, WantCol;
  } cases[] = {
      {"earlier row", 1, 1, 1, 3, 0, 1, "afgbcd\r\neh\r\nijkl", 0, 3},
      {"earlier on the first row", 1, 2, 1, 4, 1, 0, "abcd\r\nghef\r\nijkl", 1, 2},
      {"later row", 0, 0, 0, 2, 2, 2, "cd\r\nefgh\r\nijabkl", 2, 4},
      {"later on the last row", 0, 0, 1, 1, 1, 3, "fgabcd\r\neh\r\nijkl", 1, 1},
      {"beyond a row end", 0, 0, 0, 1, 1, 6, "bcd\r\nefgh  a\r\nijkl", 1, 7},
  };
  for (const auto& c : cases) {
    TEditorHost h;
    h.Load("abcd\r\nefgh\r\nijkl");
    h.Select(c.R1, c.C1, c.R2, c.C2);
    h.Editor.MoveSelection(c.DropRow, c.DropCol);
    EXPECT_EQ(h.Text(), c.Want) << c.Name;
    EXPECT_EQ(h.Editor.Row(), c.WantRow) << c.Name;
    EXPECT_EQ(h.Editor.Col(), c.WantCol) << c.Name;
    EXPECT_EQ(h.Editor.UndoObj().UndoCount(), 1) << c.Name;
    h.Editor.Undo();
    EXPECT_EQ(h.Text(), "abcd\r\nefgh\r\nijkl") << c.Name;
  }
  TEditorHost h;
  h.Load("abcdef");
  h.Select(0, 1, 0, 4);
  h.Editor.MoveSelection(0, 2);
  EXPECT_EQ(h.Text(), "abcdef");
  EXPECT_FALSE(h.Editor.Selected());
  // At its own end: nothing moves, so nothing is recorded or modified.
  h.Select(0, 1, 0, 4);
  h.Editor.MoveSelection(0, 4);
  EXPECT_FALSE(h.Editor.Selected());
  EXPECT_FALSE(h.Editor.CanUndo());
  EXPECT_FALSE(h.Editor.Modified());
  h.Select(0, 1, 0, 3);
  h.Editor.CopySelection(0, 5);
  EXPECT_EQ(h.Text(), "abcdebcf");
}

}  // namespace
}  // namespace vel::test
