#pragma once
// The rows that end a logical line (every row that is not raWrapped), in
// ascending order, so that line numbers and rows convert by binary search.
// An edit replaces the entries of one range of rows and shifts every entry
// after it by the change in row count.
#include <vector>

#include "document/ShiftedArray.h"

namespace vel {

class TLineIndex {
 public:
  void Clear() { Ends.Clear(); }
  // Replaces every entry by Ends (ascending).
  void Assign(std::vector<int> Rows) { Ends.Assign(std::move(Rows)); }
  int Size() const { return Ends.Size(); }
  // The row of entry k (0 <= k < Size()).
  int At(int k) const { return Ends.At(k); }
  // The number of entries below Row.
  int CountBelow(int Row) const { return Ends.CountBelow(Row); }
  // Rows Row..Row+OldRows-1 became NewRows rows, of which those at Row +
  // NewEnds[i] (ascending offsets, made rows in place) end a line.
  void Replace(int Row, int OldRows, int NewRows, std::vector<int>& NewEnds);
  // Room for N more entries, so that a Replace adding at most N allocates nothing.
  void Reserve(int N) { Ends.Reserve(N); }

 private:
  TShiftedArray<int> Ends;
};

}  // namespace vel
