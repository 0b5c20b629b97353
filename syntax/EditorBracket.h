#pragma once
// Bracket pairs: a left string that opens a coloured span and a right string
// that closes it, possibly rows later. At most 14 pairs, so that a row's
// bracket state (-2 .. 13) fits its 4-bit field.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "syntax/EditorColor.h"
#include "text/NotifyPersistent.h"

namespace vel {

// A revision number never handed out before, in this process. Settings that
// carry one take a new one at each change, so that a reader which derived
// tables from them can tell, by one comparison, whether they are still these
// settings of the same object.
uint64_t NextSettingsRevision();

class TEditorBracketItem : public TNotifyPersistent {
 public:
  TEditorBracketItem();

  // Also renews the revision of the collection that holds the item, even
  // inside an update of the item (which keeps its change callback quiet).
  void Changed() override;

  TEditorColor& ItemColor() { return FItemColor; }
  const TEditorColor& ItemColor() const { return FItemColor; }
  void SetItemColor(const TEditorColor& Value) { FItemColor.Assign(Value); }
  const std::string& LeftBracket() const { return FLeftBracket; }
  void SetLeftBracket(const std::string& Value);
  const std::string& RightBracket() const { return FRightBracket; }
  void SetRightBracket(const std::string& Value);

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  friend class TEditorBracketCollection;
  TEditorColor FItemColor;
  std::string FLeftBracket, FRightBracket;
  uint64_t* FOwnerRevision = nullptr;
};

class EBracketCollectionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TEditorBracketCollection : public TNotifyPersistent {
 public:
  static constexpr int MaxCount = 14;

  TEditorBracketCollection() = default;

  // Renewed by every change of the collection or of one of its items.
  uint64_t Revision() const { return FRevision; }
  void Changed() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  // Throws EBracketCollectionError when the collection is full.
  TEditorBracketItem& Add();
  void Delete(int Index);
  void Clear();
  // Throw std::out_of_range for an index outside 0 .. Count - 1.
  TEditorBracketItem& BracketItems(int Index);
  const TEditorBracketItem& BracketItems(int Index) const;
  void SetBracketItems(int Index, const TEditorBracketItem& Value) { BracketItems(Index).Assign(Value); }

  void SameBkColor(TColor C);
  void SameColor(TColor C);
  void SameStyle(TFontStyles S);

  // Replaces the items by copies of the source's; stops with the Add error
  // after the fourteenth item of a longer source.
  bool Assign(const TNotifyPersistent& Source) override;

 private:
  std::vector<std::unique_ptr<TEditorBracketItem>> FItems;
  uint64_t FRevision = NextSettingsRevision();
};

}  // namespace vel
