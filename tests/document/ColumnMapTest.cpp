#include "document/ColumnMap.h"

#include <gtest/gtest.h>

#include "tests/document/TestClient.h"

namespace vel {
namespace {

TEST(ColumnMap, CodesPerDisplayColumn) {
  TColumnMapOptions o;
  o.TabSpaceCount = 4;
  struct {
    std::string text, map;
  } cases[] = {
      {"ab_1", "1111"},       {"a b", "121"},        {"あx", "451"},     {"\tb", "23331"},
      {"ab\tc", "11231"},     {"ｱ-", "12"},          {"x\x82", "14"},    {"\x82\t", "45"},
      {std::string("\0a", 2), "21"},
  };
  for (auto& c : cases) EXPECT_EQ(StrToAttributes(c.text, o), c.map) << c.text;
  EXPECT_EQ(ExpandTab("ab\tc", o), "ab  c");
  EXPECT_EQ(ExpandLength("ab\tc\t", o), 8);
}

TEST(ColumnMap, WrappedTabsStopAtTheWrapWidth) {
  TColumnMapOptions o;
  o.TabSpaceCount = 8;
  o.WordWrap = true;
  o.WrapByte = 20;
  std::string s = std::string(18, 'a') + "\tb";
  // Column 18: the next tab stop is 24, but the wrap width ends at 20.
  EXPECT_EQ(StrToAttributes(s, o), std::string(18, '1') + "23" + "1");
}

TEST(ColumnMap, DefaultDelimiters) {
  TCharSet d = CreateDelimiters();
  for (int c : {0x00, 0x09, 0x20, 0x2F, 0x3A, 0x40, 0x5B, 0x5E, 0x60, 0x7B, 0x80, 0xA0, 0xA5, 0xFD, 0xFF})
    EXPECT_TRUE(d.test(c)) << c;
  for (int c : {int('0'), int('9'), int('A'), int('Z'), int('_'), int('a'), int('z'), 0xA6, 0xDF, 0x81, 0xFC}) EXPECT_FALSE(d.test(c)) << c;
}

TEST(ColumnMap, ColumnsAndIndicesConvertBothWays) {
  TColumnMapOptions o;
  o.TabSpaceCount = 4;
  const std::string s = "a\tあb";  // columns: a 0, tab 1-3, あ 4-5, b 6
  struct {
    int col, index;
  } toIndex[] = {{0, 0}, {1, 1}, {3, 1}, {4, 2}, {5, 3}, {6, 4}, {7, 5}, {50, 5}};
  for (auto& c : toIndex) EXPECT_EQ(ColumnToIndex(s, c.col, o), c.index) << c.col;
  struct {
    int index, col;
  } toCol[] = {{0, 0}, {1, 1}, {2, 4}, {4, 6}, {5, 7}, {9, 7}};
  for (auto& c : toCol) EXPECT_EQ(IndexToColumn(s, c.index, o), c.col) << c.index;
}

TEST(ColumnMap, CoordinatesOverWrappedRows) {
  test::TTestClient client;
  TEditorScreenStrings& l = *client.List;
  test::LoadRows(l, {{"abcde", raWrapped}, {"fあg", raCrlf}, {"xyz", raEof}});
  TColumnMapOptions o = client.Options();
  EXPECT_EQ(RowToLines(l.Rows(), 2, true), 1);
  EXPECT_EQ(RowToLines(l.Rows(), 2, false), 2);
  EXPECT_EQ(ColToChar(l.Rows(), 1, 2, o), 6);  // off the trail byte of あ
  EXPECT_EQ(ColToChar(l.Rows(), 1, 0, o), 5);
  EXPECT_EQ(ColToChar(l.Rows(), 3, 0, o), -1);
  EXPECT_EQ(ColToChar(l.Rows(), 0, -1, o), -1);
  EXPECT_EQ(l.TextOffset(2, 1), 5 + 4 + 2 + 1);
  struct {
    int index, row, col;
  } cases[] = {{0, 0, 0}, {4, 0, 4}, {5, 1, 0}, {9, 1, 4}, {10, 1, 4}, {11, 2, 0}, {14, 2, 3}, {99, 2, 3}};
  for (auto& c : cases) {
    TRowCol rc = l.RowColAt(0, c.index);
    EXPECT_EQ(rc.Row, c.row) << c.index;
    EXPECT_EQ(rc.Col, c.col) << c.index;
  }
  for (int col = 0; col <= 4; ++col) {
    TRowCol rc = l.RowColAt(0, l.TextOffset(1, ColumnToIndex(l.Rows().Get(1), col, o)));
    EXPECT_EQ(rc.Row, 1);
    EXPECT_EQ(rc.Col, col);
  }
}

}  // namespace
}  // namespace vel
