#include "syntax/EditorViewInfo.h"

#include "text/UpdateGuard.h"

namespace vel {

namespace {

template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

TEditorViewInfo::TEditorViewInfo() {
  FBrackets.OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
  FColors.OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
}

void TEditorViewInfo::Changed() {
  FRevision = NextSettingsRevision();
  TNotifyPersistent::Changed();
}

void TEditorViewInfo::SetCommenter(const std::string& Value) {
  if (Store(FCommenter, Value)) Changed();
}

void TEditorViewInfo::SetControlCode(bool Value) {
  if (Store(FControlCode, Value)) Changed();
}

void TEditorViewInfo::SetHexPrefix(const std::string& Value) {
  if (Store(FHexPrefix, Value)) Changed();
}

void TEditorViewInfo::SetMail(bool Value) {
  if (Store(FMail, Value)) Changed();
}

void TEditorViewInfo::SetQuotation(const std::string& Value) {
  if (Store(FQuotation, Value.substr(0, 1))) Changed();
}

void TEditorViewInfo::SetUrl(bool Value) {
  if (Store(FUrl, Value)) Changed();
}

bool TEditorViewInfo::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorViewInfo*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  FBrackets.Assign(s->FBrackets);
  FColors.Assign(s->FColors);
  FCommenter = s->FCommenter;
  FControlCode = s->FControlCode;
  FHexPrefix = s->FHexPrefix;
  FMail = s->FMail;
  FQuotation = s->FQuotation;
  FUrl = s->FUrl;
  return true;
}

}  // namespace vel
