#include "document/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace vel {

void TLineIndex::Clear() {
  std::vector<int>().swap(Buf);
  Gap = GapLen = 0;
  StepFrom = Step = 0;
}

void TLineIndex::Assign(std::vector<int> Ends) {
  Buf = std::move(Ends);
  Gap = Buf.size();
  GapLen = 0;
  StepFrom = Step = 0;
}

int TLineIndex::CountBelow(int Row) const {
  int lo = 0, hi = Size();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (At(mid) < Row)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void TLineIndex::MoveGap(size_t Pos) {
  if (Pos < Gap)
    std::memmove(&Buf[Pos + GapLen], &Buf[Pos], (Gap - Pos) * sizeof(int));
  else if (Pos > Gap)
    std::memmove(&Buf[Gap], &Buf[Gap + GapLen], (Pos - Gap) * sizeof(int));
  Gap = Pos;
}

void TLineIndex::GrowGap(size_t N) {
  if (GapLen >= N) return;
  const size_t count = Buf.size() - GapLen;
  const size_t cap = std::max({count + N, Buf.size() * 2, size_t(64)});
  std::vector<int> nb(cap);
  if (Gap) std::memcpy(nb.data(), Buf.data(), Gap * sizeof(int));
  const size_t tail = count - Gap;
  if (tail) std::memcpy(nb.data() + cap - tail, Buf.data() + Gap + GapLen, tail * sizeof(int));
  Buf.swap(nb);
  GapLen = cap - count;
}

void TLineIndex::Settle(int Until) {
  if (Step == 0 || StepFrom >= Until) return;
  for (int k = StepFrom; k < Until; ++k) Stored(k) += Step;
  StepFrom = Until;
}

void TLineIndex::Shift(int From, int Delta) {
  if (Delta == 0 || From >= Size()) return;
  if (Step == 0 || StepFrom >= Size()) {
    StepFrom = From;
    Step = Delta;
    return;
  }
  if (From >= StepFrom) {
    Settle(From);
  } else {
    // The entries between hold true values; they take the combined step.
    for (int k = From; k < StepFrom; ++k) Stored(k) -= Step;
    StepFrom = From;
  }
  Step += Delta;
}

void TLineIndex::Replace(int Row, int OldRows, int NewRows, const std::vector<int>& NewEnds) {
  const int m = static_cast<int>(NewEnds.size());
  // The only allocation comes first: a failure leaves the index as it was.
  GrowGap(static_cast<size_t>(m));
  const int k0 = CountBelow(Row), k1 = CountBelow(Row + OldRows);
  Settle(k1);
  MoveGap(static_cast<size_t>(k1));
  Gap = static_cast<size_t>(k0);
  GapLen += static_cast<size_t>(k1 - k0);
  for (int i = 0; i < m; ++i) Buf[Gap + i] = Row + NewEnds[static_cast<size_t>(i)];
  Gap += static_cast<size_t>(m);
  GapLen -= static_cast<size_t>(m);
  if (Step != 0) StepFrom += m - (k1 - k0);
  Shift(k0 + m, NewRows - OldRows);
}

}  // namespace vel
