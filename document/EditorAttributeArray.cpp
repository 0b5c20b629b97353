#include "document/EditorAttributeArray.h"

namespace vel {

TEditorAttributeArray::TEditorAttributeArray(const std::string& S, std::string Attributes)
    : Text(S), Map(std::move(Attributes)) {
  NoTabs = Map.find(cmTabBlank) == std::string::npos;
  Map += cmEnd;
}

void TEditorAttributeArray::Next() {
  if (Code() == cmEnd) return;
  ++Position;
  if (Code() != cmTabBlank) ++StrIndex;
}

void TEditorAttributeArray::Prior() {
  if (Position == 1) return;
  char left = Code();
  --Position;
  if (left != cmTabBlank) --StrIndex;
}

int TEditorAttributeArray::SetPosition(int Col) {
  if (NoTabs) {
    // Without tab blanks every column is one byte.
    Position = StrIndex = Col < 1 ? 1 : Col > GetSize() + 1 ? GetSize() + 1 : Col;
    return Position;
  }
  while (Position < Col && Code() != cmEnd) Next();
  while (Position > Col && Position > 1) Prior();
  return Position;
}

std::string TEditorAttributeArray::StringAt(char code, int index) const {
  const int n = static_cast<int>(Text.size());
  auto at = [&](int from, int len) {
    if (from < 1 || from > n) return std::string();
    return Text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(len));
  };
  switch (code) {
    case cmEnd: return std::string();
    case cmLead: return at(index, 2);
    case cmTrail: return at(index - 1, 2);
    default: return at(index, 1);
  }
}

std::string TEditorAttributeArray::PositionString() const { return StringAt(Code(), StrIndex); }

std::string TEditorAttributeArray::NextPositionString() const {
  if (Code() == cmEnd) return std::string();
  char next = Map[static_cast<size_t>(Position)];
  return StringAt(next, next == cmTabBlank ? StrIndex : StrIndex + 1);
}

}  // namespace vel
