// Logical lines answered from the row list's index, checked after every step
// of random edits, undo, redo, loading and wrap changes against a walk over
// the rows.
#include <gtest/gtest.h>

#include <random>

#include "tests/document/TestClient.h"

namespace vel {
namespace {

using test::TTestClient;

int RowStartPastEnd(const TEditorScreenStrings& l) {
  int r = l.Count();
  while (r > 0 && l.Rows().GetRows(r - 1) == raWrapped) --r;
  return r;
}

// What the index must answer, found by walking every row.
void ExpectLinesMatchAWalk(const TEditorScreenStrings& l, const std::string& context) {
  const TEditorStringList& rows = l.Rows();
  const int n = rows.Count();
  std::vector<int> firstRows;
  int crlfAbove = 0;
  for (int r = 0; r < n; ++r) {
    if (r == 0 || rows.GetRows(r - 1) != raWrapped) firstRows.push_back(r);
    // Without word wrap every row is a line, whatever its attribute.
    ASSERT_EQ(l.RowToLines(r), l.GetWordWrap() ? crlfAbove : r) << context << " row " << r;
    crlfAbove += rows.GetRows(r) == raCrlf;
    int start = r, end = r;
    while (start > 0 && rows.GetRows(start - 1) == raWrapped) --start;
    while (end < n - 1 && rows.GetRows(end) == raWrapped) ++end;
    ASSERT_EQ(l.RowStart(r), start) << context << " row " << r;
    ASSERT_EQ(l.RowEnd(r), end) << context << " row " << r;
  }
  if (!l.GetWordWrap()) {
    EXPECT_EQ(l.LineCount(), n) << context;
    return;
  }
  ASSERT_EQ(l.LineCount(), static_cast<int>(firstRows.size())) << context;
  for (size_t i = 0; i < firstRows.size(); ++i) ASSERT_EQ(l.LinesToRow(static_cast<int>(i)), firstRows[i]) << context;
  EXPECT_EQ(l.LinesToRow(l.LineCount()), n) << context;
  EXPECT_EQ(l.RowToLines(n), crlfAbove) << context;
  EXPECT_EQ(l.RowStart(n), RowStartPastEnd(l)) << context;
}

std::string RandomText(std::mt19937& rng) {
  static const char* const kPieces[] = {"a", "漢", "\r\n", "\n", "\r", " ", "\t", "。", "（"};
  std::string s;
  for (int k = static_cast<int>(rng() % 12); k > 0; --k) {
    if (rng() % 8 == 0)
      s += std::string(10 + rng() % 70, 'w');
    else
      s += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
  }
  return s;
}

TEST(LineIndex, AgreesWithAWalkThroughRandomEditsUndoRedoAndWrapChanges) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    TTestClient client;
    TEditorScreenStrings& l = *client.List;
    l.WrapOption().SetWrapByte(20);
    l.SetWordWrap(true);
    for (int step = 0; step < 250; ++step) {
      const int n = l.Count();
      const int op = static_cast<int>(rng() % 100);
      if (op < 55) {
        const int index = n ? static_cast<int>(rng() % (n + 1)) : 0;
        const int count = index < n ? static_cast<int>(rng() % std::min(4, n - index + 1)) : 0;
        l.UpdateList(index, count, RandomText(rng));
      } else if (op < 70) {
        l.Undo();
      } else if (op < 80) {
        l.Redo();
      } else if (op < 85) {
        l.WrapOption().SetWrapByte(20 + static_cast<int>(rng() % 30));
      } else if (op < 89) {
        l.SetWordWrap(!l.GetWordWrap());
      } else if (op < 92) {
        client.Lines.SetText(RandomText(rng) + RandomText(rng));
      } else if (op < 96 && client.Lines.Count() > 0) {
        client.Lines.Delete(static_cast<int>(rng() % client.Lines.Count()));
      } else {
        client.Lines.Insert(static_cast<int>(rng() % (client.Lines.Count() + 1)), RandomText(rng));
      }
      ExpectLinesMatchAWalk(l, "seed " + std::to_string(seed) + " step " + std::to_string(step));
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(LineIndex, EditsFarApartKeepEveryLineInPlace) {
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  l.WrapOption().SetWrapByte(20);
  l.SetWordWrap(true);
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(static_cast<size_t>(5 + i % 50), 'a') + "\r\n";
  client.Lines.SetText(text);
  // Alternating ends move the pending shift across the whole index.
  for (int i = 0; i < 40; ++i) {
    const int row = (i % 2) ? 1 : l.Count() - 2;
    l.UpdateList(row, 0, std::string(static_cast<size_t>(i), 'b') + "\r\nc\r\n");
    if (i % 3 == 0) l.UpdateList(l.RowStart(row / 2), 1, "");
  }
  ExpectLinesMatchAWalk(l, "far edits");
  while (l.UndoObj().CanUndo()) l.Undo();
  ExpectLinesMatchAWalk(l, "all undone");
  EXPECT_EQ(l.Text(), text);
}

}  // namespace
}  // namespace vel
