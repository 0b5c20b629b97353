#pragma once
// The memo editor's extra marks (an arrow for each tab, a box for each
// full-width space, quoted mail lines in their own colour) and its vertical
// guide lines at fixed display columns.
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorMarks.h"
#include "text/NotifyPersistent.h"

namespace vel {

class TEditorExMarks : public TNotifyPersistent {
 public:
  TEditorExMarks();
  TEditorMark& TabMark() { return FTabMark; }
  const TEditorMark& TabMark() const { return FTabMark; }
  TEditorMark& DBSpaceMark() { return FDBSpaceMark; }
  const TEditorMark& DBSpaceMark() const { return FDBSpaceMark; }
  TEditorMark& Quotation() { return FQuotation; }
  const TEditorMark& Quotation() const { return FQuotation; }
  // Rows whose text begins with it are quoted; empty: every row is.
  const std::string& QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(const std::string& Value) { SetValue(FQuoteChar, Value); }
  // The three marks in one change; QuoteChar stays.
  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TEditorMark FTabMark, FDBSpaceMark, FQuotation;
  std::string FQuoteChar;
};

class TVerticalLine : public TNotifyPersistent {
 public:
  int Position() const { return FPosition; }
  // A negative column is ignored.
  void SetPosition(int Value) {
    if (Value >= 0) SetValue(FPosition, Value);
  }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetValue(FColor, Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { SetValue(FVisible, Value); }
  bool Assign(const TNotifyPersistent& Source) override;

 private:
  int FPosition = 0;
  TColor FColor = clBlack;
  bool FVisible = true;
};

// Any change of a line is reported as a change of the collection.
class TVerticalLines : public TNotifyPersistent {
 public:
  TVerticalLine& Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TVerticalLine& Items(int Index) { return *FItems.at(static_cast<size_t>(Index)); }
  const TVerticalLine& Items(int Index) const { return *FItems.at(static_cast<size_t>(Index)); }
  void SetItems(int Index, const TVerticalLine& Value) { Items(Index).Assign(Value); }
  void Show() { SetAllVisible(true); }
  void Hide() { SetAllVisible(false); }
  bool Assign(const TNotifyPersistent& Source) override;

 private:
  void SetAllVisible(bool Value);
  std::vector<std::unique_ptr<TVerticalLine>> FItems;
};

}  // namespace vel
