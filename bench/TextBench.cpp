// Text model figures on the memo corpus, each next to the baseline it is
// compared with, both measured in this process:
//   load_floor_ms  read in 8 KB blocks and split into a vector of strings
//   load_ms        Lines.LoadFromFile of the same file
//   wrap80_ms      word wrap on at 80 columns with kinsoku and hanging punctuation
//   lines_get_all_ms  every Lines.Get(i) of the document with word wrap on at
//                  80, against load_ms (each logical line found through the
//                  row list's line index)
//   keystroke_us   one character typed into the middle row (median), wrap off / on
//   offset_to_row_us, row_to_offset_us  a text offset to its row and byte
//                  index, and a row and index to its offset, at random places
//                  of the whole document (median of batches), against keystroke_us
//   vector_insert_us  inserting one std::string into the middle of a vector of
//                  all rows: what a row store of strings would pay per new row
//   enter_us       a line break typed into the middle row (median); undo_us, redo_us
//   enter_far_us   the same, alternating between the top and the bottom, so the
//                  row store's gap travels the whole document every time
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "document/EditorScreenStrings.h"
#include "document/EditorStrings.h"

namespace {

using namespace vel;
using bench::Median;
using bench::Print;
struct Clock {
  using time_point = double;
  static double now() { return bench::NowUs(); }
};

double Ms(double a, double b) { return (b - a) / 1000; }
double Us(double a, double b) { return b - a; }

class TBenchClient : public IEditorClient {
 public:
  TBenchClient() : List(*this, std::make_shared<TEditorScreenStrings>()), Lines(*this) { List->SetScreenRows(50); }
  void DoChange() override {}
  int GetRow() const override { return Row; }
  int GetCol() const override { return Col; }
  int GetTopRow() const override { return 0; }
  void SetRow(int v) override { Row = v; }
  void SetCol(int v) override { Col = v; }
  void SetTopRow(int) override {}
  void SetSelIndex(int FromRow, int Index) override {
    TRowCol rc = List->RowColAt(FromRow, Index);
    Row = rc.Row;
    Col = rc.Col;
  }
  void CleanSelection() override {}
  bool Focused() const override { return true; }
  void CaretBeginUpdate() override {}
  void CaretEndUpdate() override {}
  void LinesBeginUpdate() override {}
  void LinesEndUpdate() override {}
  void InitView() override {}
  void Invalidate() override {}
  void InvalidateLine(int) override {}
  bool IsLoading() const override { return false; }
  bool HasBracketPairs() const override { return false; }
  const IEditorParserHost* ParserHost() const override { return nullptr; }
  TEditorScreenStrings& ScreenStrings() override { return *List; }

  TEditorListLink List;
  TEditorStrings Lines;
  int Row = 0, Col = 0;
};

std::vector<std::string> LoadFloor(const char* path) {
  std::vector<std::string> lines;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return lines;
  std::vector<char> buf(8192);
  std::string pending;
  bool skipLF = false;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
    const char* b = buf.data();
    size_t i = 0;
    if (skipLF && b[0] == '\n') i = 1;
    skipLF = false;
    while (i < n) {
      size_t j = i;
      while (j < n && b[j] != '\r' && b[j] != '\n') ++j;
      if (j == n) {
        pending.append(b + i, n - i);
        break;
      }
      if (pending.empty()) {
        lines.emplace_back(b + i, j - i);
      } else {
        pending.append(b + i, j - i);
        lines.push_back(std::move(pending));
        pending.clear();
      }
      i = j + 1;
      if (b[j] == '\r') {
        if (i < n) {
          if (b[i] == '\n') ++i;
        } else {
          skipLF = true;
        }
      }
    }
  }
  if (!pending.empty()) lines.push_back(std::move(pending));
  std::fclose(f);
  return lines;
}


}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: TextBench CORPUS\n");
    return 2;
  }
  const char* path = argv[1];
  double floorMs = 1e30, loadMs = 1e30;
  size_t floorLines = 0;
  // Warm both once, then keep the best of three alternating runs.
  // Each timed part starts from a trimmed heap, so that neither pays for
  // consolidating the chunks the other one freed.
  for (int rep = 0; rep < 4; ++rep) {
    malloc_trim(0);
    auto t0 = Clock::now();
    auto lines = LoadFloor(path);
    auto t1 = Clock::now();
    floorLines = lines.size();
    if (rep) floorMs = std::min(floorMs, Ms(t0, t1));
    lines = {};
    malloc_trim(0);
    TBenchClient c;
    t0 = Clock::now();
    c.Lines.LoadFromFile(path);
    t1 = Clock::now();
    if (rep) loadMs = std::min(loadMs, Ms(t0, t1));
    if (static_cast<size_t>(c.List->Count()) != floorLines) {
      std::fprintf(stderr, "row count %d differs from %zu\n", c.List->Count(), floorLines);
      return 1;
    }
  }
  Print("load_floor_ms", floorMs, "ms");
  Print("load_ms", loadMs, "ms");
  Print("load_ratio", loadMs / floorMs, "x");

  TBenchClient c;
  c.Lines.LoadFromFile(path);
  TEditorScreenStrings& l = *c.List;
  l.WrapOption().SetWrapByte(80);
  l.WrapOption().SetLeading(true);
  l.WrapOption().SetFollowPunctuation(true);
  double wrapMs = 1e30;
  int wrappedRows = 0;
  for (int rep = 0; rep < 3; ++rep) {
    auto t0 = Clock::now();
    l.SetWordWrap(true);
    auto t1 = Clock::now();
    wrapMs = std::min(wrapMs, Ms(t0, t1));
    wrappedRows = l.Count();
    l.SetWordWrap(false);
  }
  {
    l.SetWordWrap(true);
    auto t0 = Clock::now();
    l.InitBrackets();
    auto t1 = Clock::now();
    Print("init_brackets_ms", Ms(t0, t1), "ms");
    l.SetWordWrap(false);
  }
  {
    // A document as it is once opened with word wrap on.
    TBenchClient fresh;
    fresh.List->WrapOption().SetWrapByte(80);
    fresh.List->SetWordWrap(true);
    fresh.Lines.LoadFromFile(path);
    const int lines = fresh.Lines.Count();
    if (lines != static_cast<int>(floorLines)) {
      std::fprintf(stderr, "line count %d differs from %zu\n", lines, floorLines);
      return 1;
    }
    // The best of three, as for load_ms.
    double getMs = 1e30;
    size_t bytes = 0;
    for (int rep = 0; rep < 3; ++rep) {
      auto t0 = Clock::now();
      for (int i = 0; i < lines; ++i) bytes += fresh.Lines.Get(i).size();
      auto t1 = Clock::now();
      getMs = std::min(getMs, Ms(t0, t1));
    }
    if (bytes == 0) return 1;
    Print("lines_get_all_ms", getMs, "ms");
    Print("lines_get_all_ratio", getMs / loadMs, "x_load");
  }
  Print("wrap80_ms", wrapMs, "ms");
  Print("wrap80_ratio", wrapMs / loadMs, "x_load");
  Print("wrap80_rows", wrappedRows, "rows");

  // Each keystroke goes to another row near the middle, so the median is
  // that of ordinary memo lines rather than of one line that keeps growing.
  auto keystrokes = [&](int n) {
    std::vector<double> t;
    for (int i = 0; i < n; ++i) {
      int at = l.RowStart(l.Count() / 2 - 500 + (i * 7919) % 1000);
      const std::string& row = l.Rows().Get(at);
      std::string text = row.substr(0, row.size() / 2) + "x" + row.substr(row.size() / 2);
      l.CheckCrlf(at, text);
      auto t0 = Clock::now();
      l.UpdateList(at, 1, text);
      auto t1 = Clock::now();
      t.push_back(Us(t0, t1));
    }
    return Median(t);
  };
  const double keystrokeUs = keystrokes(2001);
  Print("keystroke_us", keystrokeUs, "us");
  {
    // One conversion is too short to time: batches of 1000 at random places.
    const int64_t length = l.TextLength();
    const int rows = l.Count();
    uint64_t x = 88172645463325252ull;
    auto next = [&] {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      return x;
    };
    std::vector<double> toRow, toOffset;
    int64_t sink = 0;
    for (int b = 0; b < 101; ++b) {
      auto t0 = Clock::now();
      for (int i = 0; i < 1000; ++i) sink += l.OffsetToPos(static_cast<int64_t>(next() % (length + 1))).Row;
      auto t1 = Clock::now();
      for (int i = 0; i < 1000; ++i) sink += l.TextOffset(static_cast<int>(next() % rows), 3);
      auto t2 = Clock::now();
      toRow.push_back(Us(t0, t1) / 1000);
      toOffset.push_back(Us(t1, t2) / 1000);
    }
    if (sink == 0) return 1;
    Print("offset_to_row_us", Median(toRow), "us");
    Print("offset_to_row_ratio", Median(toRow) / keystrokeUs, "x_keystroke");
    Print("row_to_offset_us", Median(toOffset), "us");
    Print("row_to_offset_ratio", Median(toOffset) / keystrokeUs, "x_keystroke");
  }
  l.SetWordWrap(true);
  Print("keystroke_wrap_us", keystrokes(2001), "us");
  l.SetWordWrap(false);

  {
    std::vector<std::string> rows = LoadFloor(path);
    std::vector<double> t;
    for (int i = 0; i < 21; ++i) {
      auto t0 = Clock::now();
      rows.insert(rows.begin() + rows.size() / 2, std::string("new row of a memo"));
      auto t1 = Clock::now();
      t.push_back(Us(t0, t1));
    }
    Print("vector_insert_us", Median(t), "us");
  }

  std::vector<double> enter, undo, redo, far;
  for (int i = 0; i < 501; ++i) {
    int mid = l.Count() / 2;
    std::string row = l.Rows().Get(mid);
    std::string text = row.substr(0, row.size() / 2) + "\r\n" + row.substr(row.size() / 2) + "\r\n";
    auto t0 = Clock::now();
    l.UpdateList(mid, 1, text);
    auto t1 = Clock::now();
    l.Undo();
    auto t2 = Clock::now();
    l.Redo();
    auto t3 = Clock::now();
    enter.push_back(Us(t0, t1));
    undo.push_back(Us(t1, t2));
    redo.push_back(Us(t2, t3));
  }
  for (int i = 0; i < 101; ++i) {
    int at = (i % 2) ? 10 : l.Count() - 10;
    std::string row = l.Rows().Get(at);
    auto t0 = Clock::now();
    l.UpdateList(at, 1, row + "\r\n\r\n");
    auto t1 = Clock::now();
    far.push_back(Us(t0, t1));
  }
  Print("enter_us", Median(enter), "us");
  Print("undo_us", Median(undo), "us");
  Print("redo_us", Median(redo), "us");
  Print("enter_far_us", Median(far), "us");
  return 0;
}
