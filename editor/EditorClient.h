#pragma once
// What a row list needs of a control that shows it. The editor control
// implements this; the row list keeps a list of them and never reaches a
// control any other way.
#include <string>

#include "editor/ParserHost.h"

namespace vel {

class TEditorScreenStrings;

class IEditorClient {
 public:
  virtual ~IEditorClient() = default;

  // Repaint after a completed update, from the row list's draw information.
  virtual void DoChange() = 0;

  virtual int GetRow() const = 0;
  virtual int GetCol() const = 0;
  virtual int GetTopRow() const = 0;
  virtual void SetRow(int Value) = 0;
  virtual void SetCol(int Value) = 0;
  virtual void SetTopRow(int Value) = 0;
  // Places the caret Index bytes after the start of FromRow.
  virtual void SetSelIndex(int FromRow, int Index) = 0;

  virtual bool GetSelected() const = 0;
  virtual void CleanSelection() = 0;
  virtual bool Focused() const = 0;

  virtual void CaretBeginUpdate() = 0;
  virtual void CaretEndUpdate() = 0;
  // Update mode of the control's Lines: caret and underline updates held, no redraw.
  virtual void LinesBeginUpdate() = 0;
  virtual void LinesEndUpdate() = 0;

  // Scroll ranges and a full repaint.
  virtual void InitView() = 0;
  virtual void InitScroll() = 0;
  virtual void Invalidate() = 0;
  virtual void InvalidateLine(int Row) = 0;

  virtual int GetRowHeight() const = 0;
  // Client height in pixels.
  virtual int GetScreenHeight() const = 0;
  // True while the control is being read from its form data.
  virtual bool IsLoading() const = 0;
  // True when the view defines bracket pairs that may span rows.
  virtual bool HasBracketPairs() const = 0;
  virtual const IEditorParserHost* ParserHost() const = 0;

  virtual std::string StrToAttributes(const std::string& S) const = 0;
  virtual std::string ExpandTab(const std::string& S) const = 0;
  // The length of ExpandTab(S), which word wrap asks for every line.
  virtual int ExpandLength(const std::string& S) const = 0;

  // The row list this control shows.
  virtual TEditorScreenStrings& ScreenStrings() = 0;
};

}  // namespace vel
