#pragma once
// The colours of one token class, and the set of them that the view keeps.
#include <cstdint>
#include <initializer_list>

#include "text/NotifyPersistent.h"
#include "platform/Color.h"

namespace vel {

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles in one byte.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
    for (TFontStyle s : Styles) FBits |= Bit(s);
  }
  constexpr bool Contains(TFontStyle s) const { return (FBits & Bit(s)) != 0; }
  constexpr TFontStyles& Include(TFontStyle s) { FBits |= Bit(s); return *this; }
  constexpr TFontStyles& Exclude(TFontStyle s) { FBits &= static_cast<uint8_t>(~Bit(s)); return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint8_t Bits() const { return FBits; }
  constexpr bool operator==(const TFontStyles&) const = default;

 private:
  static constexpr uint8_t Bit(TFontStyle s) { return static_cast<uint8_t>(1u << s); }
  uint8_t FBits = 0;
};

class TEditorColor : public TNotifyPersistent {
 public:
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TColor FBkColor = clWindow;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
};

// Ten token colours. Select is the selection's colour and is left alone by
// the Same* operations, which recolour every token class at once.
class TEditorColors : public TNotifyPersistent {
 public:
  // The ten colours in published order.
  enum TEditorColorIndex : uint8_t { ciAnk, ciComment, ciDBCS, ciInt, ciMail, ciReserve, ciSelect, ciStr, ciSymbol, ciUrl };
  static constexpr int Count = 10;

  TEditorColors();

  TEditorColor& Items(int Index) { return *FItems[Index]; }
  const TEditorColor& Items(int Index) const { return *FItems[Index]; }

#define VEL_EDITOR_COLOR(Name)                                    \
  TEditorColor& Name() { return F##Name; }                        \
  const TEditorColor& Name() const { return F##Name; }            \
  void Set##Name(const TEditorColor& Value) { F##Name.Assign(Value); }
  VEL_EDITOR_COLOR(Ank)
  VEL_EDITOR_COLOR(Comment)
  VEL_EDITOR_COLOR(DBCS)
  VEL_EDITOR_COLOR(Int)
  VEL_EDITOR_COLOR(Mail)
  VEL_EDITOR_COLOR(Reserve)
  VEL_EDITOR_COLOR(Select)
  VEL_EDITOR_COLOR(Str)
  VEL_EDITOR_COLOR(Symbol)
  VEL_EDITOR_COLOR(Url)
#undef VEL_EDITOR_COLOR

  void SameBkColor(TColor C);
  void SameColor(TColor C);
  void SameStyle(TFontStyles S);

  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TEditorColor FAnk, FComment, FDBCS, FInt, FMail, FReserve, FSelect, FStr, FSymbol, FUrl;
  TEditorColor* const FItems[Count];
};

}  // namespace vel
