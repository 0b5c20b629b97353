#pragma once
// An ascending array that one range at a time is replaced in, every entry
// after the range moving by the same amount: row numbers of line ends when
// rows come and go, text offsets of row starts when bytes do. The entries
// sit in a gap buffer, and the move is kept pending for all entries from a
// step point on and only applied to the entries between the old and the new
// step point; so a replacement costs time in proportion to its distance from
// the previous one, as the row store's own gap does, and a read costs O(1).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace vel {

template <class T>
class TShiftedArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  void Clear() {
    std::vector<T>().swap(Buf);
    Gap = GapLen = 0;
    StepFrom = 0;
    Step = T{};
  }
  // Replaces every entry by Values (ascending).
  void Assign(std::vector<T> Values) {
    Buf = std::move(Values);
    Gap = Buf.size();
    GapLen = 0;
    StepFrom = 0;
    Step = T{};
  }
  int Size() const { return static_cast<int>(Buf.size() - GapLen); }
  // Entry k (0 <= k < Size()).
  T At(int k) const { return Stored(k) + (k >= StepFrom ? Step : T{}); }
  // The number of entries below Value.
  int CountBelow(T Value) const { return Search([&](T v) { return v < Value; }); }
  // The number of entries not above Value.
  int CountNotAbove(T Value) const { return Search([&](T v) { return v <= Value; }); }
  // Entries k0..k1-1 become the m values New, and every entry after them
  // moves by Delta. Allocates nothing when Reserve(m) was done.
  void Replace(int k0, int k1, const T* New, int m, T Delta) {
    // The only allocation comes first: a failure leaves the array as it was.
    GrowGap(static_cast<size_t>(m));
    Settle(k1);
    MoveGap(static_cast<size_t>(k1));
    Gap = static_cast<size_t>(k0);
    GapLen += static_cast<size_t>(k1 - k0);
    for (int i = 0; i < m; ++i) Buf[Gap + static_cast<size_t>(i)] = New[i];
    Gap += static_cast<size_t>(m);
    GapLen -= static_cast<size_t>(m);
    if (Step != T{}) StepFrom += m - (k1 - k0);
    Shift(k0 + m, Delta);
  }
  // Room for N more entries.
  void Reserve(int N) { GrowGap(static_cast<size_t>(N)); }

 private:
  template <class Below>
  int Search(Below below) const {
    int lo = 0, hi = Size();
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      if (below(At(mid)))
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  }
  T Stored(int k) const { return Buf[static_cast<size_t>(k) < Gap ? k : k + GapLen]; }
  T& Stored(int k) { return Buf[static_cast<size_t>(k) < Gap ? k : k + GapLen]; }
  void MoveGap(size_t Pos) {
    if (Pos < Gap)
      std::memmove(&Buf[Pos + GapLen], &Buf[Pos], (Gap - Pos) * sizeof(T));
    else if (Pos > Gap)
      std::memmove(&Buf[Gap], &Buf[Gap + GapLen], (Pos - Gap) * sizeof(T));
    Gap = Pos;
  }
  void GrowGap(size_t N) {
    if (GapLen >= N) return;
    const size_t count = Buf.size() - GapLen;
    const size_t cap = std::max({count + N, Buf.size() * 2, size_t(64)});
    std::vector<T> nb(cap);
    if (Gap) std::memcpy(nb.data(), Buf.data(), Gap * sizeof(T));
    const size_t tail = count - Gap;
    if (tail) std::memcpy(nb.data() + cap - tail, Buf.data() + Gap + GapLen, tail * sizeof(T));
    Buf.swap(nb);
    GapLen = cap - count;
  }
  // Makes the stored values of the entries below Until their true values.
  void Settle(int Until) {
    if (Step == T{} || StepFrom >= Until) return;
    for (int k = StepFrom; k < Until; ++k) Stored(k) += Step;
    StepFrom = Until;
  }
  // Adds Delta to every entry from From on.
  void Shift(int From, T Delta) {
    if (Delta == T{} || From >= Size()) return;
    if (Step == T{} || StepFrom >= Size()) {
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

  std::vector<T> Buf;
  size_t Gap = 0, GapLen = 0;
  // Entries from StepFrom on are stored without Step.
  int StepFrom = 0;
  T Step{};
};

}  // namespace vel
