#pragma once
// What a row list needs of the controls that show it, by role. The editor
// control implements all of them as one IEditorClient; the row list keeps a
// non-owning registry of its clients and never reaches a control any other
// way. Layout values (tab width, delimiters, word wrap and its width) are
// not asked of clients: the row list owns them, since its rows are cut by
// them and every client shows the same rows.
#include <string>

#include "syntax/ParserHost.h"
#include "text/UpdateGuard.h"

namespace vel {

class TEditorScreenStrings;

// Told what to repaint.
class IEditorChangeObserver {
 public:
  virtual ~IEditorChangeObserver() = default;
  // After a completed update, from the row list's draw information.
  virtual void DoChange() = 0;
  // Scroll ranges and a full repaint.
  virtual void InitView() = 0;
  virtual void Invalidate() = 0;
  virtual void InvalidateLine(int Row) = 0;
};

// The caret, the top row and the selection, which edits move and clamp.
class IEditorCaretClient {
 public:
  virtual ~IEditorCaretClient() = default;
  virtual int GetRow() const = 0;
  virtual int GetCol() const = 0;
  virtual int GetTopRow() const = 0;
  virtual void SetRow(int Value) = 0;
  virtual void SetCol(int Value) = 0;
  virtual void SetTopRow(int Value) = 0;
  // Places the caret Index bytes after the start of FromRow.
  virtual void SetSelIndex(int FromRow, int Index) = 0;
  virtual void CleanSelection() = 0;
  virtual bool Focused() const = 0;
  virtual void CaretBeginUpdate() = 0;
  virtual void CaretEndUpdate() = 0;
};

// Caret updates held for a scope.
using TCaretUpdate =
    TUpdateGuard<IEditorCaretClient, &IEditorCaretClient::CaretBeginUpdate, &IEditorCaretClient::CaretEndUpdate>;

// The view the row states are computed for. The row list asks its first
// client (the control that created it) whether it is still being read from
// its form, and what the parser reads. How far ahead to compute is handed
// in as a value (TEditorScreenStrings::SetScreenRows), never asked of a view.
class IEditorViewHost {
 public:
  virtual ~IEditorViewHost() = default;
  // True while the control is being read from its form data.
  virtual bool IsLoading() const = 0;
  // True when the view defines bracket pairs that may span rows.
  virtual bool HasBracketPairs() const = 0;
  virtual const IEditorParserHost* ParserHost() const = 0;
};

class IEditorClient : public IEditorChangeObserver, public IEditorCaretClient, public IEditorViewHost {
 public:
  // Update mode of the control's Lines: caret and underline updates held, no redraw.
  virtual void LinesBeginUpdate() = 0;
  virtual void LinesEndUpdate() = 0;
  // The row list this control shows.
  virtual TEditorScreenStrings& ScreenStrings() = 0;
};

}  // namespace vel
