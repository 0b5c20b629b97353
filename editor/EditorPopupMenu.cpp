#include "editor/EditorPopupMenu.h"

#include "editor/Editor.h"
#include "platform/Clipboard.h"

namespace vel {

TEditorPopupMenu::TEditorPopupMenu(TEditor* Editor) : FEditor(Editor) { CreateMenuItem(); }

void TEditorPopupMenu::CreateMenuItem() {
  using M = TEditorPopupMenu;
  auto item = [](const char* caption, const char* shortcut, TVirtualKey key, void (M::*click)()) {
    TItem i;
    i.Menu.Caption = caption;
    i.Menu.ShortCut = shortcut;
    i.Menu.Enabled = false;
    i.Key = key;
    i.Click = click;
    return i;
  };
  FItems = {
      item("元に戻す(&U)", "Ctrl+Z", 'Z', &M::UndoClick),
      // Redo answers Ctrl+A, and select all has no shortcut: the memo's users know them so.
      item("やり直し(&R)", "Ctrl+A", 'A', &M::RedoClick),
      item("-", "", 0, nullptr),
      item("切り取り(&T)", "Ctrl+X", 'X', &M::CutClick),
      item("コピー(&C)", "Ctrl+C", 'C', &M::CopyClick),
      item("貼り付け(&P)", "Ctrl+V", 'V', &M::PasteClick),
      item("Box貼り付け(&B)", "Ctrl+B", 'B', &M::BoxPasteClick),
      item("削除(&D)", "", 0, &M::DeleteClick),
      item("-", "", 0, nullptr),
      item("すべて選択(&A)", "", 0, &M::SelAllClick),
      item("-", "", 0, nullptr),
      item("Box選択モード(&K)", "Ctrl+K", 'K', &M::SelModeClick),
  };
  for (int i : {miSep1, miSep2, miSep3, miSelMode}) FItems[static_cast<size_t>(i)].Menu.Enabled = true;
}

void TEditorPopupMenu::SetMenu() {
  if (!FEditor) return;
  const int L = FEditor->SelLength();
  const bool R = FEditor->ReadOnly();
  const bool C = Clipboard().HasText();
  auto enable = [&](int i, bool on) { FItems[static_cast<size_t>(i)].Menu.Enabled = on; };
  enable(miUndo, FEditor->CanUndo() && !R);
  enable(miRedo, FEditor->CanRedo() && !R);
  enable(miCut, L >= 1 && !R);
  enable(miCopy, L > 0);
  enable(miPaste, C && !R);
  enable(miBoxPaste, C && !R);
  enable(miDelete, L >= 1 && !R);
  enable(miSelAll, FEditor->GetTextLen() > 0);
  FItems[miSelMode].Menu.Checked = FEditor->SelectionMode() == smBox;
}

void TEditorPopupMenu::Popup(IWindow& Window, int X, int Y) {
  SetMenu();
  std::vector<TPopupMenuItem> menu;
  for (const TItem& i : FItems) menu.push_back(i.Menu);
  const int chosen = TrackPopupMenu(Window, menu, X, Y);
  if (chosen >= 0 && chosen < static_cast<int>(FItems.size())) Click(chosen);
}

void TEditorPopupMenu::SetShortCut(int Index, TVirtualKey Key) {
  for (TItem& i : FItems) {
    if (Key != 0 && i.Key == Key) {
      i.Key = 0;
      i.Menu.ShortCut.clear();
    }
  }
  TItem& item = FItems[static_cast<size_t>(Index)];
  item.Key = Key;
  item.Menu.ShortCut = Key ? std::string("Ctrl+") + static_cast<char>(Key) : std::string();
}

bool TEditorPopupMenu::ShortCut(TVirtualKey Key, TShiftState Shift) {
  if ((Shift & (ssCtrl | ssShift | ssAlt)) != ssCtrl) return false;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i].Key != Key) continue;
    // Enabled for the state now, not for when the menu last showed.
    SetMenu();
    Click(static_cast<int>(i));
    return true;
  }
  return false;
}

void TEditorPopupMenu::Click(int Index) {
  const TItem& i = FItems[static_cast<size_t>(Index)];
  if (i.Click && i.Menu.Enabled) (this->*i.Click)();
}

void TEditorPopupMenu::UndoClick() { FEditor->Undo(); }
void TEditorPopupMenu::RedoClick() { FEditor->Redo(); }
void TEditorPopupMenu::CutClick() { FEditor->CutToClipboard(); }
void TEditorPopupMenu::CopyClick() { FEditor->CopyToClipboard(); }
void TEditorPopupMenu::PasteClick() { FEditor->PasteFromClipboard(); }

void TEditorPopupMenu::BoxPasteClick() {
  if (std::optional<std::string> text = Clipboard().GetText()) FEditor->SetSelTextBox(*text);
}

void TEditorPopupMenu::DeleteClick() { FEditor->ClearSelection(); }
void TEditorPopupMenu::SelAllClick() { FEditor->SelectAll(); }

void TEditorPopupMenu::SelModeClick() {
  TPopupMenuItem& m = FItems[miSelMode].Menu;
  m.Checked = !m.Checked;
  FEditor->SetSelectionMode(m.Checked ? smBox : smLine);
}

}  // namespace vel
