#pragma once
// The column ruler above the text.
#include "text/NotifyPersistent.h"
#include "platform/Color.h"

namespace vel {

class TEditorRuler : public TNotifyPersistent {
 public:
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { SetValue(FBkColor, Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetValue(FColor, Value); }
  bool Edge() const { return FEdge; }
  void SetEdge(bool Value) { SetValue(FEdge, Value); }
  // Spacing of the numbered ticks: clamped to 8..10 and rounded down to even.
  int GaugeRange() const { return FGaugeRange; }
  void SetGaugeRange(int Value);
  TColor MarkColor() const { return FMarkColor; }
  void SetMarkColor(TColor Value) { SetValue(FMarkColor, Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { SetValue(FVisible, Value); }

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TColor FBkColor = clBtnFace;
  TColor FColor = clBtnText;
  bool FEdge = true;
  int FGaugeRange = 10;
  TColor FMarkColor = clBtnText;
  bool FVisible = false;
};

}  // namespace vel
