#include "editor/EditorExMarks.h"

#include "text/UpdateGuard.h"

namespace vel {

TEditorExMarks::TEditorExMarks() {
  for (TEditorMark* m : {&FTabMark, &FDBSpaceMark, &FQuotation})
    m->OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
}

bool TEditorExMarks::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorExMarks*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  FTabMark.Assign(s->FTabMark);
  FDBSpaceMark.Assign(s->FDBSpaceMark);
  FQuotation.Assign(s->FQuotation);
  return true;
}

bool TVerticalLine::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TVerticalLine*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  SetPosition(s->FPosition);
  SetColor(s->FColor);
  SetVisible(s->FVisible);
  return true;
}

TVerticalLine& TVerticalLines::Add() {
  FItems.push_back(std::make_unique<TVerticalLine>());
  FItems.back()->OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
  Changed();
  return *FItems.back();
}

void TVerticalLines::SetAllVisible(bool Value) {
  TUpdateGuard g(*this);
  for (auto& l : FItems) l->SetVisible(Value);
}

bool TVerticalLines::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TVerticalLines*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  while (Count() > s->Count()) FItems.pop_back();
  while (Count() < s->Count()) Add();
  for (int i = 0; i < Count(); ++i) Items(i).Assign(s->Items(i));
  Changed();
  return true;
}

}  // namespace vel
