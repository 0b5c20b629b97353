#pragma once
// The end-of-text, line-break and caret-row underline marks.
#include "text/NotifyPersistent.h"
#include "platform/Color.h"

namespace vel {

class TEditorMark : public TNotifyPersistent {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TColor FColor = clGray;
  bool FVisible = false;
};

// A change of any of its marks is reported as a change of the whole set.
class TEditorMarks : public TNotifyPersistent {
 public:
  TEditorMarks();

  TEditorMark& EofMark() { return FEofMark; }
  const TEditorMark& EofMark() const { return FEofMark; }
  void SetEofMark(const TEditorMark& Value) { FEofMark.Assign(Value); }
  TEditorMark& RetMark() { return FRetMark; }
  const TEditorMark& RetMark() const { return FRetMark; }
  void SetRetMark(const TEditorMark& Value) { FRetMark.Assign(Value); }
  TEditorMark& Underline() { return FUnderline; }
  const TEditorMark& Underline() const { return FUnderline; }
  void SetUnderline(const TEditorMark& Value) { FUnderline.Assign(Value); }

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TEditorMark FEofMark, FRetMark, FUnderline;
};

}  // namespace vel
