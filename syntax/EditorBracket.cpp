#include "syntax/EditorBracket.h"

#include <atomic>

#include "text/UpdateGuard.h"

namespace vel {

uint64_t NextSettingsRevision() {
  static std::atomic<uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

TEditorBracketItem::TEditorBracketItem() {
  FItemColor.OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
}

void TEditorBracketItem::Changed() {
  if (FOwnerRevision) *FOwnerRevision = NextSettingsRevision();
  TNotifyPersistent::Changed();
}

void TEditorBracketItem::SetLeftBracket(const std::string& Value) {
  if (FLeftBracket == Value) return;
  FLeftBracket = Value;
  Changed();
}

void TEditorBracketItem::SetRightBracket(const std::string& Value) {
  if (FRightBracket == Value) return;
  FRightBracket = Value;
  Changed();
}

bool TEditorBracketItem::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorBracketItem*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  FItemColor.Assign(s->FItemColor);
  FLeftBracket = s->FLeftBracket;
  FRightBracket = s->FRightBracket;
  return true;
}

TEditorBracketItem& TEditorBracketCollection::Add() {
  if (Count() >= MaxCount)
    throw EBracketCollectionError("TEditorBracketCollection\r\nYou can not add item over " +
                                  std::to_string(MaxCount));
  FItems.push_back(std::make_unique<TEditorBracketItem>());
  TEditorBracketItem& item = *FItems.back();
  item.OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
  item.FOwnerRevision = &FRevision;
  Changed();
  return item;
}

void TEditorBracketCollection::Changed() {
  FRevision = NextSettingsRevision();
  TNotifyPersistent::Changed();
}

void TEditorBracketCollection::Delete(int Index) {
  BracketItems(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TEditorBracketCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

TEditorBracketItem& TEditorBracketCollection::BracketItems(int Index) {
  if (Index < 0 || Index >= Count()) throw std::out_of_range("TEditorBracketCollection: index out of bounds");
  return *FItems[Index];
}

const TEditorBracketItem& TEditorBracketCollection::BracketItems(int Index) const {
  if (Index < 0 || Index >= Count()) throw std::out_of_range("TEditorBracketCollection: index out of bounds");
  return *FItems[Index];
}

void TEditorBracketCollection::SameBkColor(TColor C) {
  TUpdateGuard g(*this);
  for (auto& item : FItems) item->ItemColor().SetBkColor(C);
}

void TEditorBracketCollection::SameColor(TColor C) {
  TUpdateGuard g(*this);
  for (auto& item : FItems) item->ItemColor().SetColor(C);
}

void TEditorBracketCollection::SameStyle(TFontStyles S) {
  TUpdateGuard g(*this);
  for (auto& item : FItems) item->ItemColor().SetStyle(S);
}

bool TEditorBracketCollection::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorBracketCollection*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  if (s == this) {
    Changed();
    return true;
  }
  TUpdateGuard g(*this);
  Clear();
  for (auto& item : s->FItems) Add().Assign(*item);
  return true;
}

}  // namespace vel
