#pragma once
// The editor's context menu: undo, redo, the clipboard, delete, select all
// and the box-selection switch, enabled afresh each time it pops up. The
// model is portable; platform/PopupMenu.h shows it.
#include <functional>
#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/PopupMenu.h"

namespace vel {

class TEditor;

class TEditorPopupMenu {
 public:
  struct TItem {
    TPopupMenuItem Menu;
    TVirtualKey Key = 0;  // with Ctrl; 0 for none
    void (TEditorPopupMenu::*Click)() = nullptr;
  };
  enum TIndex { miUndo, miRedo, miSep1, miCut, miCopy, miPaste, miBoxPaste, miDelete, miSep2, miSelAll, miSep3,
                miSelMode, miCount };

  explicit TEditorPopupMenu(TEditor* Editor);
  virtual ~TEditorPopupMenu() = default;

  const std::vector<TItem>& Items() const { return FItems; }
  TItem& Items(int Index) { return FItems[static_cast<size_t>(Index)]; }
  // The pop-up handler: enables the items for the editor's state now.
  void SetMenu();
  // Enables the items, shows the menu at a client point and runs the chosen item.
  void Popup(IWindow& Window, int X, int Y);
  // Gives item Index the shortcut Ctrl+Key (0 for none), taken from any item
  // that had it: a host whose own shortcuts come first makes the menu tell
  // what the keys do in its window.
  void SetShortCut(int Index, TVirtualKey Key);
  // Runs the item whose shortcut is Ctrl+Key, when it is enabled; false when none.
  bool ShortCut(TVirtualKey Key, TShiftState Shift);
  void Click(int Index);

  void UndoClick();
  void RedoClick();
  void CutClick();
  void CopyClick();
  void PasteClick();
  void BoxPasteClick();
  void DeleteClick();
  void SelAllClick();
  void SelModeClick();

 private:
  void CreateMenuItem();
  TEditor* FEditor;
  std::vector<TItem> FItems;
};

}  // namespace vel
