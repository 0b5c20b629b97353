// Logical lines and text offsets answered from the row list's indexes,
// checked after every step of random edits, undo, redo, loading and wrap
// changes against a walk over the rows.
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

// Every offset of the text, and a few outside it, against the place a walk
// over the rows finds.
void ExpectOffsetsMatchAWalk(const TEditorScreenStrings& l, const std::string& context) {
  const TEditorStringList& rows = l.Rows();
  const int n = rows.Count();
  int offset = 0;
  for (int r = 0; r < n; ++r) {
    const int len = static_cast<int>(rows.Get(r).size());
    const TEditorRowAttribute a = rows.GetRows(r);
    ASSERT_EQ(l.TextOffset(r), offset) << context << " row " << r;
    ASSERT_EQ(l.TextOffset(r, len + 5), offset + len) << context << " row " << r;
    // A wrapped row's end is the next row's start; the end of the last row
    // is that row's unless a line break follows it.
    const int places = a == raWrapped || (r == n - 1 && a == raCrlf) ? len : len + 1;
    for (int i = 0; i < places; ++i) {
      const TTextPos p = l.OffsetToPos(offset + i);
      ASSERT_EQ(p.Row, r) << context << " offset " << offset + i;
      ASSERT_EQ(p.Index, i) << context << " offset " << offset + i;
    }
    offset += len;
    if (a == raCrlf) {
      // Inside the line break: the end of the line.
      const TTextPos p = l.OffsetToPos(offset + 1);
      ASSERT_EQ(p.Row, r) << context << " offset " << offset + 1;
      ASSERT_EQ(p.Index, len) << context << " offset " << offset + 1;
      offset += 2;
    }
  }
  ASSERT_EQ(l.TextLength(), offset) << context;
  ASSERT_EQ(l.TextOffset(n + 3), offset) << context;
  ASSERT_EQ(l.TextOffset(-7, 3), 0) << context;
  const bool openEnd = n == 0 || rows.GetRows(n - 1) == raCrlf;
  const TTextPos end = openEnd ? TTextPos{n, 0} : TTextPos{n - 1, static_cast<int>(rows.Get(n - 1).size())};
  for (int64_t past : {int64_t{offset}, int64_t{offset} + 1, int64_t{1} << 40}) {
    ASSERT_EQ(l.OffsetToPos(past).Row, end.Row) << context << " past " << past;
    ASSERT_EQ(l.OffsetToPos(past).Index, end.Index) << context << " past " << past;
  }
  ASSERT_EQ(l.OffsetToPos(-5).Row, 0) << context;
  ASSERT_EQ(l.OffsetToPos(-5).Index, 0) << context;
}

// What the indexes must answer, found by walking every row.
void ExpectLinesMatchAWalk(const TEditorScreenStrings& l, const std::string& context) {
  ExpectOffsetsMatchAWalk(l, context);
  if (testing::Test::HasFatalFailure()) return;
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
    // Odd seeds begin with word wrap on, even ones without it.
    l.SetWordWrap(seed % 2 == 1);
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

// The array under both indexes against a plain vector: runs of insertions
// near one end use up the gap, so that moves to the other end overlap.
TEST(LineIndex, ShiftedArrayAgreesWithAVectorThroughRandomReplacements) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    std::vector<int64_t> model;
    for (int i = 0; i < 300; ++i) model.push_back(i * 3);
    TShiftedArray<int64_t> a;
    a.Assign(model);
    for (int step = 0; step < 400; ++step) {
      const int n = static_cast<int>(model.size());
      const bool nearTop = (step / 50) % 2 == 0;
      int k0 = static_cast<int>(rng() % std::min(n + 1, 8));
      if (!nearTop) k0 = n - k0;
      const int k1 = k0 + static_cast<int>(rng() % (std::min(n - k0, 2) + 1));
      const int m = static_cast<int>(rng() % 6);
      const int64_t base = k0 > 0 ? model[static_cast<size_t>(k0 - 1)] : 0;
      std::vector<int64_t> fresh;
      for (int i = 0; i < m; ++i) fresh.push_back(base + i);
      const int64_t delta = static_cast<int64_t>(rng() % 7) - 3 + m;
      a.Replace(k0, k1, fresh.data(), m, delta);
      for (size_t i = static_cast<size_t>(k1); i < model.size(); ++i) model[i] += delta;
      model.erase(model.begin() + k0, model.begin() + k1);
      model.insert(model.begin() + k0, fresh.begin(), fresh.end());
      ASSERT_EQ(a.Size(), static_cast<int>(model.size())) << "seed " << seed << " step " << step;
      for (int k = 0; k < a.Size(); ++k)
        ASSERT_EQ(a.At(k), model[static_cast<size_t>(k)]) << "seed " << seed << " step " << step << " entry " << k;
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
