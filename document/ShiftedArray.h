#pragma once
// An ascending array that one range at a time is replaced in, every entry
// after the range moving by the same amount: row numbers of line ends when
// rows come and go, text offsets of row starts when bytes do. The entries
// sit in a gap buffer; those before the gap hold their values, those after
// it their distance below a reference End, so that moving every entry after
// an edit is one change of End. A replacement costs time in proportion to
// its distance from the previous one (the entries in between cross the gap
// and change form on the way, in the one pass that moves them), as the row
// store's own gap does; a read costs O(1).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace vel {

template <class T>
class TShiftedArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_signed_v<T>);

 public:
  void Clear() {
    std::vector<T>().swap(Buf);
    Gap = GapLen = 0;
    End = T{};
  }
  // Replaces every entry by Values (ascending).
  void Assign(std::vector<T> Values) {
    Buf = std::move(Values);
    Gap = Buf.size();
    GapLen = 0;
    End = T{};
  }
  int Size() const { return static_cast<int>(Buf.size() - GapLen); }
  // Entry k (0 <= k < Size()).
  T At(int k) const {
    const size_t i = static_cast<size_t>(k);
    return i < Gap ? Buf[i] : End - Buf[i + GapLen];
  }
  // The number of entries below Value.
  int CountBelow(T Value) const { return Search([&](T v) { return v < Value; }); }
  // The number of entries not above Value.
  int CountNotAbove(T Value) const { return Search([&](T v) { return v <= Value; }); }
  // Entries k0..k1-1 become the m values New, and every entry after them
  // moves by Delta. Allocates nothing when Reserve(m) was done.
  void Replace(int k0, int k1, const T* New, int m, T Delta) {
    // The only allocation comes first: a failure leaves the array as it was.
    GrowGap(static_cast<size_t>(m));
    MoveGap(static_cast<size_t>(k1));
    Gap = static_cast<size_t>(k0);
    GapLen += static_cast<size_t>(k1 - k0);
    for (int i = 0; i < m; ++i) Buf[Gap + static_cast<size_t>(i)] = New[i];
    Gap += static_cast<size_t>(m);
    GapLen -= static_cast<size_t>(m);
    End += Delta;
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
  // Entries crossing the gap change form, value <-> End - value, in the one
  // pass that moves them. Each group of four is read before it is written,
  // and the groups go the way a memmove would, so an overlap is harmless;
  // the compiler turns a group into vector code.
  void MoveGap(size_t Pos) {
    T* b = Buf.data();
    const T e = End;
    auto group = [e](T* d, const T* s) {
      const T a0 = s[0], a1 = s[1], a2 = s[2], a3 = s[3];
      d[0] = e - a0;
      d[1] = e - a1;
      d[2] = e - a2;
      d[3] = e - a3;
    };
    if (Pos < Gap) {
      T* d = b + Pos + GapLen;
      const T* s = b + Pos;
      size_t i = Gap - Pos;
      for (; i >= 4; i -= 4) group(d + i - 4, s + i - 4);
      while (i-- > 0) d[i] = e - s[i];
    } else if (Pos > Gap) {
      T* d = b + Gap;
      const T* s = b + Gap + GapLen;
      const size_t n = Pos - Gap;
      size_t i = 0;
      for (; i + 4 <= n; i += 4) group(d + i, s + i);
      for (; i < n; ++i) d[i] = e - s[i];
    }
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

  std::vector<T> Buf;
  size_t Gap = 0, GapLen = 0;
  // Entry k at or after the gap is End minus its stored value.
  T End{};
};

}  // namespace vel
