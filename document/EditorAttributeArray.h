#pragma once
// A cursor over a text and its column map, used by word wrap to walk a line
// column by column while knowing which byte owns the current column.
// Position and StrIndex are 1-based; the map gets the end code cmEnd.
#include <string>

#include "document/ColumnMap.h"

namespace vel {

class TEditorAttributeArray {
 public:
  TEditorAttributeArray(const std::string& S, std::string Attributes);

  char Code() const { return Map[static_cast<size_t>(Position - 1)]; }
  char CodeAt(int Col) const {
    return Col < 1 || Col > GetSize() ? cmEnd : Map[static_cast<size_t>(Col - 1)];
  }
  int GetPosition() const { return Position; }
  int GetStrIndex() const { return StrIndex; }
  int GetSize() const { return static_cast<int>(Map.size()) - 1; }

  void Next();
  void Prior();
  int SetPosition(int Col);
  std::string PositionString() const;
  std::string NextPositionString() const;

 private:
  std::string StringAt(char code, int index) const;

  const std::string& Text;
  std::string Map;
  int Position = 1;
  int StrIndex = 1;
  bool NoTabs = false;
};

}  // namespace vel
