#pragma once
// Rows with their packed state (editor/EditorRow.h) in Item. The row list of
// a document keeps one of these to itself; free-standing ones carry rows
// being built or moved (a cut line, an undo step, a file being read).
#include "syntax/EditorRow.h"
#include "document/PointerStringList.h"

namespace vel {

class TEditorStringList : public TPointerStringList, public IEditorRows {
 public:
  TEditorRowAttribute GetRows(int i) const { return rowstate::Attribute(GetItem(i)); }
  void SetRows(int i, TEditorRowAttribute a) { PutItem(i, rowstate::WithAttribute(GetItem(i), a)); }
  int GetBrackets(int i) const { return rowstate::Brackets(GetItem(i)); }
  void SetBrackets(int i, int b) { PutItem(i, rowstate::WithBrackets(GetItem(i), b)); }
  int GetTokens(int i) const { return rowstate::Tokens(GetItem(i)); }
  void SetTokens(int i, int t) { PutItem(i, rowstate::WithTokens(GetItem(i), t)); }

  // Appends one row with the given attribute.
  void AddRow(std::string S, TEditorRowAttribute a) { AppendRaw(std::move(S), a); }

  int RowCount() const override { return Count(); }
  const std::string& RowText(int row) const override { return Get(row); }
  TEditorRowAttribute RowAttribute(int row) const override {
    return row < 0 || row >= Count() ? raInvalid : GetRows(row);
  }
};

}  // namespace vel
