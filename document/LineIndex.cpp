#include "document/LineIndex.h"

namespace vel {

void TLineIndex::Replace(int Row, int OldRows, int NewRows, std::vector<int>& NewEnds) {
  for (int& e : NewEnds) e += Row;
  const int k0 = CountBelow(Row), k1 = CountBelow(Row + OldRows);
  Ends.Replace(k0, k1, NewEnds.data(), static_cast<int>(NewEnds.size()), NewRows - OldRows);
}

}  // namespace vel
