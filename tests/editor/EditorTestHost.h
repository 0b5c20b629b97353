#pragma once
// An editor control in a focused headless window, with helpers to state a
// document, a caret and a selection briefly and to read the rows back.
#include <memory>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "platform/headless/Headless.h"
#include "platform/headless/HeadlessWindow.h"

namespace vel::test {

// Rows as "text|attribute", attributes c (raCrlf), w (raWrapped), e (raEof).
inline std::vector<std::string> EditorRows(const TEditor& E) {
  std::vector<std::string> r;
  for (int i = 0; i < E.ListCount(); ++i) {
    static const char kAttr[] = "cwei";
    r.push_back(E.ListStr(i) + "|" + kAttr[E.ListRows(i)]);
  }
  return r;
}

struct TEditorHost {
  explicit TEditorHost(int width = 640, int height = 480) : Window(Editor, TRect{0, 0, width, height}) {
    Window.SetFocus();
  }

  // Sets the text (CR LF ends lines; without a final break the last row is
  // raEof) and puts the caret at (row, col) with an
  // empty undo list.
  void Load(const std::string& text, int row = 0, int col = 0) {
    Editor.Lines().Clear();
    if (!text.empty()) Editor.ScreenStrings().UpdateList(0, 0, text);
    Editor.UndoObj().Clear();
    Editor.SetModified(false);
    Editor.SetRowCol(row, col);
  }
  std::string Text() { return Editor.Lines().GetText(); }
  // Selects from (r1, c1) to (r2, c2) as a Shift-move would.
  void Select(int r1, int c1, int r2, int c2, TEditorSelectionMode mode = smLine) {
    Editor.CleanSelection();
    Editor.SetSelectionMode(mode);
    Editor.SetRowCol(r1, c1);
    Editor.InitSelection();
    Editor.SetRowCol(r2, c2);
    Editor.SetSelection();
  }
  void UndoAll() {
    while (Editor.CanUndo()) Editor.Undo();
  }

  TEditor Editor;
  headless::THeadlessWindow Window;
};

}  // namespace vel::test
