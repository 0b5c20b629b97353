#pragma once
// Rows with their packed state in Item: bits 0-3 the row attribute, bits 4-7
// the bracket state + 2 (so a new row, Item 0, is "not yet computed"), bits
// 8-15 the token kind carried into the row.
#include "editor/ParserHost.h"
#include "editor/PointerStringList.h"

namespace vel {

class TEditorStringList : public TPointerStringList, public IEditorRows {
 public:
  TEditorRowAttribute GetRows(int i) const { return static_cast<TEditorRowAttribute>(GetItem(i) & 0x0F); }
  void SetRows(int i, TEditorRowAttribute a) { PutItem(i, (GetItem(i) & ~0x0Fu) | (a & 0x0Fu)); }
  int GetBrackets(int i) const { return static_cast<int>((GetItem(i) >> 4) & 0x0F) - 2; }
  void SetBrackets(int i, int b) { PutItem(i, (GetItem(i) & ~0xF0u) | ((static_cast<uint32_t>(b + 2) & 0x0F) << 4)); }
  int GetTokens(int i) const { return static_cast<int>((GetItem(i) >> 8) & 0xFF); }
  void SetTokens(int i, int t) { PutItem(i, (GetItem(i) & ~0xFF00u) | ((static_cast<uint32_t>(t) & 0xFF) << 8)); }

  // Appends one row with the given attribute.
  void AddRow(std::string S, TEditorRowAttribute a) { AppendRaw(std::move(S), a); }

  int RowCount() const override { return Count(); }
  const std::string& RowText(int row) const override { return Get(row); }
  TEditorRowAttribute RowAttribute(int row) const override {
    return row < 0 || row >= Count() ? raInvalid : GetRows(row);
  }
};

}  // namespace vel
