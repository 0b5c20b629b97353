#include "syntax/EditorColor.h"

#include "text/UpdateGuard.h"

namespace vel {

void TEditorColor::SetBkColor(TColor Value) {
  if (FBkColor == Value) return;
  FBkColor = Value;
  Changed();
}

void TEditorColor::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TEditorColor::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

bool TEditorColor::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorColor*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  FBkColor = s->FBkColor;
  FColor = s->FColor;
  FStyle = s->FStyle;
  Changed();
  return true;
}

TEditorColors::TEditorColors()
    : FItems{&FAnk, &FComment, &FDBCS, &FInt, &FMail, &FReserve, &FSelect, &FStr, &FSymbol, &FUrl} {
  FSelect.SetBkColor(clNavy);
  FSelect.SetColor(clWhite);
  for (TEditorColor* c : FItems) c->OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
}

void TEditorColors::SameBkColor(TColor C) {
  TUpdateGuard g(*this);
  for (int i = 0; i < Count; ++i)
    if (i != ciSelect) FItems[i]->SetBkColor(C);
}

void TEditorColors::SameColor(TColor C) {
  TUpdateGuard g(*this);
  for (int i = 0; i < Count; ++i)
    if (i != ciSelect) FItems[i]->SetColor(C);
}

void TEditorColors::SameStyle(TFontStyles S) {
  TUpdateGuard g(*this);
  for (int i = 0; i < Count; ++i)
    if (i != ciSelect) FItems[i]->SetStyle(S);
}

bool TEditorColors::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorColors*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  for (int i = 0; i < Count; ++i) FItems[i]->Assign(*s->FItems[i]);
  return true;
}

}  // namespace vel
