#include "document/EditorUndoObj.h"

#include <algorithm>

#include "document/EditorScreenStrings.h"
#include "text/UpdateGuard.h"

namespace vel {

void TEditorUndoObj::StampCaret(TUndoData& R) const {
  if (IEditorClient* c = FList.GetActiveClient()) {
    R.Row = c->GetRow();
    R.Col = c->GetCol();
  }
}

PUndoData TEditorUndoObj::Add() {
  auto r = std::make_unique<TUndoData>();
  StampCaret(*r);
  PUndoData p = r.get();
  FUndoList.push_back(std::move(r));
  if (static_cast<int>(FUndoList.size()) > FUndoLimit) FUndoList.pop_front();
  if (!FInRedo) FRedoList.clear();
  return p;
}

void TEditorUndoObj::Clear() {
  FUndoList.clear();
  FRedoList.clear();
}

void TEditorUndoObj::UndoToRedo(const TUndoData& Record) {
  auto r = std::make_unique<TUndoData>();
  StampCaret(*r);
  r->ListIndex = Record.ListIndex;
  r->RowCount = Record.RowCount;
  r->RowAttribute = Record.RowAttribute;
  r->Str = Record.Str;
  FRedoList.push_back(std::move(r));
}

TEditorUndoObj::TSwapped TEditorUndoObj::SwapIn(const TUndoData& R) {
  TSwapped sw;
  // The rows to put back and the text to take out are made first, so that a
  // failed allocation changes nothing.
  TEditorStringList rows;
  if (R.RowAttribute != raInvalid) {
    FList.StrToWrapList(R.Str, rows);
    if (R.RowAttribute == raWrapped && rows.Count() > 0 && rows.Get(rows.Count() - 1).empty())
      rows.Delete(rows.Count() - 1);
    // A last row without text after a line break is a row of its own.
    if (R.RowAttribute == raEof && !R.Str.empty() && (R.Str.back() == '\n' || R.Str.back() == '\r'))
      rows.AddRow(std::string(), raEof);
    if (rows.Count() > 0) rows.SetRows(rows.Count() - 1, R.RowAttribute);
  }
  if (R.RowCount > 0) FList.ListInfo(R.ListIndex, R.RowCount, sw.A, sw.K, sw.T);
  FList.ReserveFor(sw.K, rows);
  sw.N = rows.Count();
  FList.ReplaceRows(std::min(R.ListIndex, FList.Count()), sw.K, rows);
  int bc = FList.UpdateBrackets(R.ListIndex, true);
  FList.UpdateDrawInfo(R.ListIndex, sw.K, bc, sw.N);
  return sw;
}

void TEditorUndoObj::Undo() {
  if (FUndoList.empty()) return;
  TUndoData& R = *FUndoList.back();
  IEditorClient* c = FList.GetActiveClient();
  {
    TCaretUpdate caret(c);
    {
      TUpdateGuard<TEditorScreenStrings> update(FList);
      TSwapped sw = SwapIn(R);
      R.RowCount = sw.N;
      R.RowAttribute = sw.A;
      R.Str = std::move(sw.T);
      UndoToRedo(R);
    }
    if (c) {
      c->SetRow(R.Row);
      c->SetCol(R.Col);
    }
  }
  FUndoList.pop_back();
}

void TEditorUndoObj::Redo() {
  if (FRedoList.empty()) return;
  TUndoData& R = *FRedoList.back();
  IEditorClient* c = FList.GetActiveClient();
  {
    TCaretUpdate caret(c);
    {
      TUpdateGuard<TEditorScreenStrings> update(FList);
      TSwapped sw = SwapIn(R);
      FInRedo = true;
      PUndoData u = Add();
      FInRedo = false;
      u->ListIndex = R.ListIndex;
      u->RowCount = sw.N;
      u->RowAttribute = sw.A;
      u->Str = std::move(sw.T);
    }
    if (c) {
      c->SetRow(R.Row);
      c->SetCol(R.Col);
    }
  }
  FRedoList.pop_back();
}

}  // namespace vel
