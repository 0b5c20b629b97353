#pragma once
// What the token parser recognises and how each kind of token is painted.
#include <algorithm>
#include <cstdint>
#include <string>

#include "syntax/EditorBracket.h"
#include "syntax/EditorColor.h"
#include "text/NotifyPersistent.h"

namespace vel {

class TEditorViewInfo : public TNotifyPersistent {
 public:
  TEditorViewInfo();

  TEditorBracketCollection& Brackets() { return FBrackets; }
  const TEditorBracketCollection& Brackets() const { return FBrackets; }
  void SetBrackets(const TEditorBracketCollection& Value) { FBrackets.Assign(Value); }
  TEditorColors& Colors() { return FColors; }
  const TEditorColors& Colors() const { return FColors; }
  void SetColors(const TEditorColors& Value) { FColors.Assign(Value); }
  const std::string& Commenter() const { return FCommenter; }
  void SetCommenter(const std::string& Value);
  bool ControlCode() const { return FControlCode; }
  void SetControlCode(bool Value);
  const std::string& HexPrefix() const { return FHexPrefix; }
  void SetHexPrefix(const std::string& Value);
  bool Mail() const { return FMail; }
  void SetMail(bool Value);
  // Empty, or the one quote byte.
  const std::string& Quotation() const { return FQuotation; }
  // Keeps only the first byte of Value; an empty Value clears the quote.
  void SetQuotation(const std::string& Value);
  bool Url() const { return FUrl; }
  void SetUrl(bool Value);

  bool Assign(const TNotifyPersistent& Source) override;
  // Renews the revision, also inside an update.
  void Changed() override;
  // Changes at every change of the view, its colours, its bracket pairs or
  // their items, also inside an update; never the value of another view, so
  // that (view, revision) names these settings for good.
  uint64_t Revision() const { return std::max(FRevision, FBrackets.Revision()); }

 private:
  TEditorBracketCollection FBrackets;
  TEditorColors FColors;
  std::string FCommenter;
  bool FControlCode = false;
  std::string FHexPrefix;
  bool FMail = false;
  std::string FQuotation;
  bool FUrl = false;
  uint64_t FRevision = NextSettingsRevision();
};

}  // namespace vel
