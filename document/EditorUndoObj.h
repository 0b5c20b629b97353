#pragma once
// Undo and redo at the level of the row list's single editing primitive: a
// record holds the old text of one replaced range of rows and how many rows
// replaced it; undoing swaps the two and turns the record round for redo.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "syntax/EditorRow.h"

namespace vel {

class TEditorScreenStrings;

struct TUndoData {
  int Row = 0;
  int Col = 0;
  int ListIndex = -1;
  int RowCount = 0;
  TEditorRowAttribute RowAttribute = raInvalid;
  std::string Str;
};
using PUndoData = TUndoData*;

class TEditorUndoObj {
 public:
  explicit TEditorUndoObj(TEditorScreenStrings& Owner) : FList(Owner) {}
  virtual ~TEditorUndoObj() = default;

  // A new record stamped with the active control's caret; drops the oldest
  // record beyond the limit and, outside a redo, forgets the redo list.
  PUndoData Add();
  void Undo();
  void Redo();
  bool CanUndo() const { return !FUndoList.empty(); }
  bool CanRedo() const { return !FRedoList.empty(); }
  void Clear();
  void UndoToRedo(const TUndoData& Record);

  int GetUndoLimit() const { return FUndoLimit; }
  // The control's UndoListMax: never below 64.
  void SetUndoListMax(int Value) { FUndoLimit = Value < 64 ? 64 : Value; }
  int UndoCount() const { return static_cast<int>(FUndoList.size()); }
  int RedoCount() const { return static_cast<int>(FRedoList.size()); }

 private:
  struct TSwapped {
    int K = 0, N = 0;
    TEditorRowAttribute A = raInvalid;
    std::string T;
  };
  // Steps shared by undo and redo: swaps R's text into the rows.
  TSwapped SwapIn(const TUndoData& R);
  void StampCaret(TUndoData& R) const;

  TEditorScreenStrings& FList;
  int FUndoLimit = 64;
  std::vector<std::unique_ptr<TUndoData>> FRedoList;
  std::deque<std::unique_ptr<TUndoData>> FUndoList;
  bool FInRedo = false;
};

}  // namespace vel
