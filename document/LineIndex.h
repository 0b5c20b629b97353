#pragma once
// The rows that end a logical line (every row that is not raWrapped), in
// ascending order, so that line numbers and rows convert by binary search.
// An edit replaces the entries of one range of rows and shifts every entry
// after it by the change in row count. The entries sit in a gap buffer, and
// the shift is kept pending for all entries from a step point on and only
// applied to the entries between the old and the new step point; so an edit
// costs time in proportion to its distance from the previous edit, as the
// row store's own gap does.
#include <cstddef>
#include <vector>

namespace vel {

class TLineIndex {
 public:
  void Clear();
  // Replaces every entry by Ends (ascending).
  void Assign(std::vector<int> Ends);
  int Size() const { return static_cast<int>(Buf.size() - GapLen); }
  // The row of entry k (0 <= k < Size()).
  int At(int k) const { return Stored(k) + (k >= StepFrom ? Step : 0); }
  // The number of entries below Row.
  int CountBelow(int Row) const;
  // Rows Row..Row+OldRows-1 became NewRows rows, of which those at Row +
  // NewEnds[i] (ascending offsets) end a line.
  void Replace(int Row, int OldRows, int NewRows, const std::vector<int>& NewEnds);
  // Room for N more entries, so that a Replace adding at most N allocates nothing.
  void Reserve(int N) { GrowGap(static_cast<size_t>(N)); }

 private:
  int Stored(int k) const { return Buf[static_cast<size_t>(k) < Gap ? k : k + GapLen]; }
  int& Stored(int k) { return Buf[static_cast<size_t>(k) < Gap ? k : k + GapLen]; }
  void MoveGap(size_t Pos);
  void GrowGap(size_t N);
  // Adds Delta to every entry from From on.
  void Shift(int From, int Delta);
  // Makes the stored values of the entries below Until their true values.
  void Settle(int Until);

  std::vector<int> Buf;
  size_t Gap = 0, GapLen = 0;
  // Entries from StepFrom on are stored without Step.
  int StepFrom = 0;
  int Step = 0;
};

}  // namespace vel
