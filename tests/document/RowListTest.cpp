#include <gtest/gtest.h>

#include "tests/document/TestClient.h"

namespace vel {
namespace {

using test::RowsOf;
using test::TTestClient;
using Rows = std::vector<std::string>;

TEST(PointerStringList, DataAndItemMoveWithTheirString) {
  TPointerStringList l;
  for (int i = 0; i < 100; ++i) {
    l.Add(std::to_string(i));
    l.PutData(i, 1000 + i);
    l.PutItem(i, 2000 + i);
  }
  l.Insert(50, "new");
  l.Delete(10);
  l.Insert(0, "first");
  ASSERT_EQ(l.Count(), 101);
  EXPECT_EQ(l.Get(0), "first");
  EXPECT_EQ(l.GetData(0), 0u);
  for (int i = 1; i < l.Count(); ++i) {
    if (l.Get(i) == "new") {
      EXPECT_EQ(l.GetItem(i), 0u);
      continue;
    }
    int v = std::stoi(l.Get(i));
    EXPECT_EQ(l.GetData(i), 1000u + v);
    EXPECT_EQ(l.GetItem(i), 2000u + v);
  }
}

TEST(EditorStringList, PackedFieldsAreIndependent) {
  TEditorStringList l;
  l.AddRow("x", raCrlf);
  EXPECT_EQ(l.GetBrackets(0), -2);
  EXPECT_EQ(l.GetTokens(0), 0);
  l.SetRows(0, raEof);
  l.SetBrackets(0, 13);
  l.SetTokens(0, 26);
  EXPECT_EQ(l.GetRows(0), raEof);
  EXPECT_EQ(l.GetBrackets(0), 13);
  EXPECT_EQ(l.GetTokens(0), 26);
  l.SetBrackets(0, -1);
  EXPECT_EQ(l.GetRows(0), raEof);
  EXPECT_EQ(l.GetTokens(0), 26);
  EXPECT_EQ(l.GetItem(0) >> 16, 0u);
  EXPECT_EQ(l.RowAttribute(5), raInvalid);
}

struct TUpdateCase {
  const char* name;
  std::string text;
  int index, count;
  std::string s;
  std::string result;
  Rows rows;
};

TEST(UpdateList, ReplacesRowsByText) {
  const TUpdateCase cases[] = {
      {"insert row", "a\r\nb\r\n", 1, 0, "x\r\n", "a\r\nx\r\nb\r\n", {"a|c", "x|c", "b|c"}},
      {"replace row", "a\r\nb\r\n", 0, 1, "z\r\n", "z\r\nb\r\n", {"z|c", "b|c"}},
      {"join next line", "a\r\nb\r\n", 0, 1, "z", "zb\r\n", {"zb|c"}},
      {"delete lines", "a\r\nb\r\nc", 0, 2, "", "c", {"c|e"}},
      {"delete last", "a\r\nb", 1, 1, "", "a\r\n", {"a|c"}},
      {"append at end", "a\r\n", 1, 0, "q", "a\r\nq", {"a|c", "q|e"}},
      {"after eof row", "a\r\nb", 2, 0, "c\r\n", "a\r\nbc\r\n", {"a|c", "bc|c"}},
      {"into empty", "", 0, 0, "a\rb", "a\r\nb", {"a|c", "b|e"}},
      {"lone CR at end", "a", 0, 1, "x\r", "x\r\n", {"x|c"}},
      {"split line", "ab\r\n", 0, 1, "a\r\nb\r\n", "a\r\nb\r\n", {"a|c", "b|c"}},
      {"keeps NUL", "a\r\n", 0, 1, std::string("n\0l\r\n", 5), std::string("n\0l\r\n", 5), {std::string("n\0l|c", 5)}},
      {"index past end", "a\r\n", 2, 0, "x", "a\r\n", {"a|c"}},
      {"range past end", "a\r\n", 0, 2, "x", "a\r\n", {"a|c"}},
      {"nothing to do", "a\r\n", 0, 0, "", "a\r\n", {"a|c"}},
      {"negative index", "a\r\n", -1, 1, "x", "a\r\n", {"a|c"}},
  };
  for (const TUpdateCase& c : cases) {
    TTestClient client;
    client.Lines.SetText("");
    if (!c.text.empty()) {
      client.List->UpdateList(0, 0, c.text);
      client.List->UndoObj().Clear();
    }
    client.List->UpdateList(c.index, c.count, c.s);
    EXPECT_EQ(client.List->Text(), c.result) << c.name;
    EXPECT_EQ(RowsOf(*client.List), c.rows) << c.name;
  }
}

TEST(UpdateList, SetsDrawInformationAndNotifiesEveryClientOnce) {
  auto list = std::make_shared<TEditorScreenStrings>();
  TTestClient first(list), second(list);
  list->UpdateList(0, 0, "a\r\nb\r\nc\r\n");
  first.ChangeCount = second.ChangeCount = 0;
  list->UpdateList(1, 1, "x\r\ny\r\n");
  for (TTestClient* c : {&first, &second}) {
    EXPECT_EQ(c->ChangeCount, 1);
    EXPECT_EQ(c->LastDrawInfo.Start, 1);
    // The range reaches to the end of the following line, which is re-split.
    EXPECT_EQ(c->LastDrawInfo.OldCount, 2);
    EXPECT_EQ(c->LastDrawInfo.NewCount, 3);
    EXPECT_TRUE(c->LastDrawInfo.NeedUpdate);
  }
  EXPECT_FALSE(list->DrawInfo().NeedUpdate);
  EXPECT_EQ(list->GetClient(), &first);
  second.HasFocus = true;
  EXPECT_EQ(list->GetActiveClient(), &second);
}

TEST(UpdateList, CaretsBeyondTheTextArePulledBack) {
  TTestClient client;
  client.List->UpdateList(0, 0, "a\r\nb\r\nc\r\nd");
  client.Row = 3;
  client.TopRow = 3;
  client.List->UpdateList(2, 2, "");
  // The last row now ends with a line break: the place after it is valid.
  EXPECT_EQ(client.Row, 2);
  client.List->UpdateList(1, 1, "b");
  EXPECT_EQ(client.Row, 1);
  EXPECT_EQ(client.TopRow, 1);
}

TEST(RowList, ListInfoRowStartRowEndCheckCrlf) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  test::LoadRows(l, {{"ab", raWrapped}, {"cd", raWrapped}, {"e", raCrlf}, {"f", raEof}});
  TEditorRowAttribute a;
  int n;
  std::string s;
  l.ListInfo(1, -1, a, n, s);
  EXPECT_EQ(s, "cde\r\n");
  EXPECT_EQ(n, 2);
  EXPECT_EQ(a, raCrlf);
  l.ListInfo(0, 4, a, n, s);
  EXPECT_EQ(s, "abcde\r\nf");
  EXPECT_EQ(a, raEof);
  l.ListInfo(4, 1, a, n, s);
  EXPECT_EQ(s, "");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(a, raInvalid);
  EXPECT_EQ(l.RowStart(2), 0);
  EXPECT_EQ(l.RowEnd(0), 2);
  EXPECT_EQ(l.RowEnd(3), 3);
  EXPECT_EQ(l.RowStart(3), 3);
  std::string t = "x";
  l.CheckCrlf(2, t);
  l.CheckCrlf(3, t);
  l.CheckCrlf(9, t);
  EXPECT_EQ(t, "x\r\n");
}

TEST(RowList, ClearEmptiesRowsUndoAndCarets) {
  TTestClient client;
  client.List->UpdateList(0, 0, "a\r\nb\r\n");
  client.Row = 2;
  client.Col = 5;
  client.Selected = true;
  client.ChangeCount = 0;
  client.List->Clear();
  EXPECT_EQ(client.List->Count(), 0);
  EXPECT_FALSE(client.List->UndoObj().CanUndo());
  EXPECT_FALSE(client.Selected);
  EXPECT_EQ(client.Row, 0);
  EXPECT_EQ(client.Col, 0);
  EXPECT_EQ(client.ChangeCount, 1);
  EXPECT_EQ(client.LastDrawInfo.OldCount, 2);
}

TEST(RowList, RangeOperationsMoveRowState) {
  TEditorStringList l, other;
  other.AddRow("p", raCrlf);
  other.SetBrackets(0, 3);
  other.PutData(0, 77);
  l.AddRow("a", raCrlf);
  l.CopyRows(0, other);
  EXPECT_EQ(other.Count(), 1);
  EXPECT_EQ(l.Get(0), "p");
  EXPECT_EQ(l.GetBrackets(0), 3);
  EXPECT_EQ(l.GetData(0), 77u);
  l.DeleteRange(1, 1);
  l.TakeRows(1, other);
  EXPECT_EQ(RowsOf(l), (Rows{"p|c", "p|c"}));
  l.DeleteRange(0, 1);
  EXPECT_EQ(l.Count(), 1);
  // Loading moves the rows in whole and records nothing to undo.
  TEditorScreenStrings screen;
  screen.LoadRows(l);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(RowsOf(screen), (Rows{"p|c"}));
  EXPECT_EQ(screen.Rows().GetData(0), 77u);
  EXPECT_FALSE(screen.UndoObj().CanUndo());
}

TEST(Lines, LogicalLineOperations) {
  TTestClient client;
  TEditorStrings& lines = client.Lines;
  lines.Add("one");
  lines.Add("two");
  EXPECT_EQ(client.List->Text(), "one\r\ntwo\r\n");
  lines.Insert(1, "mid");
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Get(1), "mid");
  EXPECT_EQ(client.Row, 2);  // after the inserted line break
  lines.Put(0, "ONE");
  EXPECT_EQ(lines.GetText(), "ONE\r\nmid\r\ntwo\r\n");
  lines.Delete(1);
  EXPECT_EQ(lines.GetText(), "ONE\r\ntwo\r\n");
  EXPECT_EQ(client.Row, 1);
  EXPECT_EQ(client.Col, 0);
  EXPECT_EQ(client.CaretHold, 0);
}

TEST(Lines, AddToATextWithoutFinalBreakKeepsItWithout) {
  TTestClient client;
  test::LoadRows(*client.List, {{"a", raEof}});
  int previous = client.Lines.Add("b");
  EXPECT_EQ(previous, 1);
  EXPECT_EQ(client.Lines.GetText(), "a\r\nb");
  EXPECT_EQ(RowsOf(*client.List), (Rows{"a|c", "b|e"}));
}

TEST(Lines, WordWrapCountsLogicalLines) {
  TTestClient client;
  client.List->WrapOption().SetWrapByte(20);
  client.List->SetWordWrap(true);
  std::string longLine(45, 'x');
  client.Lines.SetText(longLine + "\r\nshort\r\n");
  EXPECT_EQ(client.List->Count(), 4);
  EXPECT_EQ(client.Lines.Count(), 2);
  EXPECT_EQ(client.Lines.Get(0), longLine);
  EXPECT_EQ(client.Lines.Get(1), "short");
  EXPECT_EQ(client.Lines.LinesToRow(1), 3);
  client.Lines.Put(0, "tiny");
  EXPECT_EQ(client.Lines.GetText(), "tiny\r\nshort\r\n");
  EXPECT_EQ(client.List->Count(), 2);
}

TEST(Lines, SetTextAndAssignAreNotUndoable) {
  TTestClient client, other;
  client.Lines.Add("x");
  client.Lines.SetText("a\nb");
  EXPECT_EQ(RowsOf(*client.List), (Rows{"a|c", "b|c"}));
  EXPECT_FALSE(client.List->UndoObj().CanUndo());
  EXPECT_EQ(client.LinesHold, 0);
  EXPECT_GT(client.ViewInits, 0);
  other.Lines.Assign(client.Lines);
  EXPECT_EQ(other.Lines.GetText(), "a\r\nb\r\n");
  EXPECT_EQ(other.Row, 2);
  other.Lines.Assign(std::vector<std::string>{"p", "q"});
  EXPECT_EQ(other.Lines.GetText(), "p\r\nq\r\n");
}

TEST(RowList, SharedListOutlivesItsFirstClient) {
  auto list = std::make_shared<TEditorScreenStrings>();
  auto first = std::make_unique<TTestClient>(list);
  TTestClient second(list);
  list.reset();
  first->Lines.Add("kept");
  first.reset();
  EXPECT_EQ(second.List->Clients().size(), 1u);
  EXPECT_EQ(second.Lines.GetText(), "kept\r\n");
}

TEST(RowList, LinkRegistersItsClientForItsLifeAndMovesBetweenLists) {
  auto a = std::make_shared<TEditorScreenStrings>(), b = std::make_shared<TEditorScreenStrings>();
  std::weak_ptr<TEditorScreenStrings> watch = a;
  {
    TTestClient client(a);
    EXPECT_EQ(a->GetClient(), &client);
    client.List.Reset(b);
    EXPECT_TRUE(a->Clients().empty());
    EXPECT_EQ(b->GetClient(), &client);
    client.List.Reset(a);
    a.reset();
    EXPECT_FALSE(watch.expired());
  }
  EXPECT_TRUE(watch.expired());
  EXPECT_TRUE(b->Clients().empty());
}

TEST(RowList, LayoutValuesAreTheListsAndCutTheRowsOfEveryClient) {
  auto list = std::make_shared<TEditorScreenStrings>();
  TTestClient first(list), second(list);
  list->WrapOption().SetWrapByte(20);
  list->SetWordWrap(true);
  list->UpdateList(0, 0, "a\tb\tc\td\te\r\n");
  EXPECT_EQ(RowsOf(*list), (Rows{"a\tb\tc\t|w", "d\te|c"}));
  ASSERT_TRUE(list->UndoObj().CanUndo());
  list->SetTabSpaceCount(4);
  EXPECT_EQ(RowsOf(*list), (Rows{"a\tb\tc\td\te|c"}));
  EXPECT_FALSE(list->UndoObj().CanUndo());
  EXPECT_EQ(first.Options().TabSpaceCount, 4);
  EXPECT_EQ(second.Options().TabSpaceCount, 4);
  TCharSet none;
  list->SetDelimiters(none);
  EXPECT_EQ(StrToAttributes("a b", second.Options()), "111");
}

}  // namespace
}  // namespace vel

namespace vel {
namespace {

TEST(PointerStringList, ListHelpersChangeTheTargetInOneUpdate) {
  TPointerStringList source, dest;
  source.Add("s1");
  source.Add("s2");
  source.PutData(1, 9);
  for (const char* s : {"a", "b", "c"}) dest.Add(s);
  int changes = 0;
  dest.OnChange = [&](TPointerStringList*) { ++changes; };
  InsertStrings(source, dest, 1);
  ChangeStrings(source, dest, 0, 2);
  DeleteStrings(dest, 10, 1);
  DeleteStrings(dest, 4, 5);
  std::vector<std::string> texts;
  for (int i = 0; i < dest.Count(); ++i) texts.push_back(dest.Get(i));
  EXPECT_EQ(texts, (std::vector<std::string>{"s1", "s2", "s2", "b"}));
  EXPECT_EQ(dest.GetData(1), 9u);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(source.Count(), 2);
}

TEST(UpdateList, MalformedDoubleByteTextIsKeptAndNeverSplitDifferently) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  l.WrapOption().SetWrapByte(20);
  l.SetWordWrap(true);
  // A lead byte before a line break, at the end of the text, and one that
  // swallows a tab as its trail byte.
  const std::string text = std::string(19, 'a') + "\x82\r\n" + "\x82\t" + std::string(30, 'b') + "\r\n\x82";
  l.UpdateList(0, 0, text);
  EXPECT_EQ(l.Text(), text);
  // The lone lead byte takes the twentieth column, so the row is full.
  EXPECT_EQ(RowsOf(l), (Rows{std::string(19, 'a') + "|w", "\x82|c", "\x82\t" + std::string(18, 'b') + "|w",
                             std::string(12, 'b') + "|c", "\x82|e"}));
  TColumnMapOptions o = client.Options();
  EXPECT_EQ(StrToAttributes(l.Rows().Get(4), o), "4");
  EXPECT_EQ(StrToAttributes(l.Rows().Get(2), o).substr(0, 3), "451");
  EXPECT_EQ(ColToChar(l.Rows(), 0, 19, o), 19);
  EXPECT_EQ(ColToChar(l.Rows(), 0, 25, o), 19);
  l.UpdateList(4, 1, "\x82\x82");
  EXPECT_EQ(l.Rows().Get(4), "\x82\x82");
  l.Undo();
  EXPECT_EQ(l.Text(), text);
}

}  // namespace
}  // namespace vel
