#pragma once
// The line-number bar at the left of the text.
#include <cstdint>

#include "text/NotifyPersistent.h"
#include "platform/Color.h"

namespace vel {

enum TEditorShowNumberMode : uint8_t { nmRow, nmLine };

class TEditorLeftbar : public TNotifyPersistent {
 public:
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { SetValue(FBkColor, Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetValue(FColor, Value); }
  // Digits of the line number, clamped to 1..8.
  int Column() const { return FColumn; }
  void SetColumn(int Value);
  bool Edge() const { return FEdge; }
  void SetEdge(bool Value) { SetValue(FEdge, Value); }
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value) { SetValue(FLeftMargin, Value); }
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value) { SetValue(FRightMargin, Value); }
  bool ShowNumber() const { return FShowNumber; }
  void SetShowNumber(bool Value) { SetValue(FShowNumber, Value); }
  TEditorShowNumberMode ShowNumberMode() const { return FShowNumberMode; }
  void SetShowNumberMode(TEditorShowNumberMode Value) { SetValue(FShowNumberMode, Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { SetValue(FVisible, Value); }
  bool ZeroBase() const { return FZeroBase; }
  void SetZeroBase(bool Value) { SetValue(FZeroBase, Value); }
  bool ZeroLead() const { return FZeroLead; }
  void SetZeroLead(bool Value) { SetValue(FZeroLead, Value); }

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TColor FBkColor = clBtnFace;
  TColor FColor = clWindowText;
  int FColumn = 4;
  bool FEdge = true;
  int FLeftMargin = 8;
  int FRightMargin = 4;
  bool FShowNumber = true;
  TEditorShowNumberMode FShowNumberMode = nmRow;
  bool FVisible = false;
  bool FZeroBase = false;
  bool FZeroLead = false;
};

}  // namespace vel
