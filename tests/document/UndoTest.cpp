#include <gtest/gtest.h>

#include "tests/document/TestClient.h"

namespace vel {
namespace {

using test::RowsOf;
using test::TTestClient;
using Rows = std::vector<std::string>;

TEST(Undo, TypingIntoAnEmptyDocumentAndBack) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  l.UpdateList(0, 0, "abc");
  EXPECT_EQ(RowsOf(l), (Rows{"abc|e"}));
  l.Undo();
  EXPECT_EQ(l.Count(), 0);
  EXPECT_TRUE(l.UndoObj().CanRedo());
  l.Redo();
  EXPECT_EQ(RowsOf(l), (Rows{"abc|e"}));
  EXPECT_TRUE(l.UndoObj().CanUndo());
  EXPECT_FALSE(l.UndoObj().CanRedo());
}

TEST(Undo, InsertedRowIsRemovedAgain) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  client.Lines.SetText("a\r\nb\r\n");
  l.UpdateList(1, 0, "x\r\n");
  EXPECT_EQ(RowsOf(l), (Rows{"a|c", "x|c", "b|c"}));
  l.Undo();
  EXPECT_EQ(RowsOf(l), (Rows{"a|c", "b|c"}));
  l.Redo();
  EXPECT_EQ(RowsOf(l), (Rows{"a|c", "x|c", "b|c"}));
}

TEST(Undo, CaretStampsGoBackToWhereEachStepWasMade) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  client.Lines.SetText("abc\r\n");
  client.Row = 0;
  client.Col = 1;
  l.UpdateList(0, 1, "aXbc\r\n");
  client.Row = 0;
  client.Col = 2;
  l.Undo();
  EXPECT_EQ(client.Row, 0);
  EXPECT_EQ(client.Col, 1);
  client.Col = 3;
  l.Redo();
  EXPECT_EQ(client.Col, 2);
  EXPECT_EQ(client.CaretHold, 0);
  EXPECT_EQ(l.Text(), "aXbc\r\n");
}

TEST(Undo, LimitDropsTheOldestStep) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  for (int i = 0; i < 65; ++i) l.UpdateList(l.Count(), 0, std::to_string(i) + "\r\n");
  EXPECT_EQ(l.UndoObj().UndoCount(), 64);
  while (l.UndoObj().CanUndo()) l.Undo();
  EXPECT_EQ(l.Text(), "0\r\n");
  EXPECT_EQ(l.UndoObj().RedoCount(), 64);
}

TEST(Undo, NewEditForgetsRedoAndLimitIsAtLeast64) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  l.UpdateList(0, 0, "a\r\n");
  l.UpdateList(1, 0, "b\r\n");
  l.Undo();
  EXPECT_TRUE(l.UndoObj().CanRedo());
  l.UpdateList(0, 1, "c\r\n");
  EXPECT_FALSE(l.UndoObj().CanRedo());
  l.UndoObj().SetUndoListMax(10);
  EXPECT_EQ(l.UndoObj().GetUndoLimit(), 64);
  l.UndoObj().SetUndoListMax(200);
  for (int i = 0; i < 150; ++i) l.UpdateList(0, 0, "x\r\n");
  EXPECT_EQ(l.UndoObj().UndoCount(), 152);
}

TEST(Undo, WholeLineDeletionUndoesIntoPlace) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  client.Lines.SetText("a\r\nb\r\nc\r\n");
  l.UpdateList(1, 1, "");
  EXPECT_EQ(l.Text(), "a\r\nc\r\n");
  l.Undo();
  EXPECT_EQ(RowsOf(l), (Rows{"a|c", "b|c", "c|c"}));
  l.Redo();
  EXPECT_EQ(l.Text(), "a\r\nc\r\n");
}

TEST(Undo, WrappedEditsRestoreRowsAndAttributes) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  l.WrapOption().SetWrapByte(20);
  l.SetWordWrap(true);
  test::LoadRows(l, {{std::string(30, 'a'), raEof}});
  Rows before = RowsOf(l);
  l.UpdateList(1, 1, "bbbbbbbbbbbbbbbbbbbbbbbbb");
  EXPECT_EQ(l.Text(), std::string(20, 'a') + std::string(25, 'b'));
  l.Undo();
  EXPECT_EQ(RowsOf(l), before);
  l.Redo();
  EXPECT_EQ(l.Text(), std::string(20, 'a') + std::string(25, 'b'));
}

TEST(Undo, NothingToUndoAfterAWrapSwitch) {
  TTestClient client;
  client.List->UpdateList(0, 0, "abc\r\n");
  client.List->SetWordWrap(true);
  EXPECT_FALSE(client.List->UndoObj().CanUndo());
  client.List->Undo();
  EXPECT_EQ(client.List->Text(), "abc\r\n");
}

TEST(Undo, RecordsTheActiveClientsCaret) {
  auto list = std::make_shared<TEditorScreenStrings>();
  TTestClient first(list), second(list);
  first.Lines.SetText("abc\r\n");
  first.Col = 1;
  second.Col = 3;
  second.HasFocus = true;
  list->UpdateList(0, 1, "x\r\n");
  second.Col = 0;
  list->Undo();
  EXPECT_EQ(second.Col, 3);
  EXPECT_EQ(first.Col, 1);
}

}  // namespace
}  // namespace vel
