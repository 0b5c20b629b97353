#pragma once
// Places to resume reading long rows at, kept between paints, so that a view
// scrolled far to the right does not read every row from its start on every
// paint. Most rows need none: the parser finds a place near the view from
// the bytes there (TEditorParser::SyncAround); these serve the rows where a
// comment, a quote or a bracket before the view, or a long run without a
// blank, leaves it none. A row's places hold while its text, the state it
// starts in and the view stay as they were; the row's text is kept to tell,
// so no edit, undo, rewrap or exchanged list can leave a place that no
// longer holds.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "syntax/EditorParser.h"

namespace vel {

class TParseResumeCache {
 public:
  using TPoint = TEditorParser::TResumePoint;
  // Shorter rows are read whole: keeping their text would cost more than reading it.
  static constexpr int kMinLength = 2048;
  // Bytes between kept places at least.
  static constexpr int kStep = 128;

  struct TEntry {
    std::string Text;
    int Bracket = -2, Token = 0;
    uint64_t View = 0;
    std::vector<TPoint> Points;  // ascending
    // The last place at or before Col; null when none is kept.
    const TPoint* Before(int Col) const;
    // Keeps P when it lies a step beyond the last place kept.
    void Offer(const TPoint& P) {
      if (P.Pos >= (Points.empty() ? 0 : Points.back().Pos) + kStep) Points.push_back(P);
    }
  };

  // Row's entry, emptied of its places when they no longer hold for S read
  // from Bracket and Token under the view of revision View; null for a row
  // too long to keep, which is read from its start.
  TEntry* Entry(int Row, const std::string& S, int Bracket, int Token, uint64_t View);
  void Clear();
  size_t Bytes() const { return FBytes; }

 private:
  // Enough for every row of several screens; beyond it all is dropped and
  // kept again as rows are painted.
  static constexpr size_t kMaxRows = 512;
  static constexpr size_t kMaxBytes = size_t{64} << 20;
  std::unordered_map<int, TEntry> FRows;
  size_t FBytes = 0;
};

}  // namespace vel
