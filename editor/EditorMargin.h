#pragma once
// Pixel margins around the text. Every value is clamped to 0..100.
#include "text/NotifyPersistent.h"

namespace vel {

class TEditorMargin : public TNotifyPersistent {
 public:
  int Character() const { return FCharacter; }
  void SetCharacter(int Value) { Set(FCharacter, Value); }
  int Left() const { return FLeft; }
  void SetLeft(int Value) { Set(FLeft, Value); }
  int Line() const { return FLine; }
  void SetLine(int Value) { Set(FLine, Value); }
  int Top() const { return FTop; }
  void SetTop(int Value) { Set(FTop, Value); }
  // Not published: the control keeps it at 1 while the caret-row underline is
  // visible, so that the underline has a pixel row of its own.
  int UnderlineMargin() const { return FUnderline; }
  void SetUnderlineMargin(int Value) { Set(FUnderline, Value); }

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  void Set(int& Field, int Value);

  int FCharacter = 0;
  int FLeft = 19;
  int FLine = 0;
  int FTop = 2;
  int FUnderline = 0;
};

}  // namespace vel
