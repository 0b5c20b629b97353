#pragma once
// Colours are 32-bit values in the toolkit's convention: 0x00BBGGRR for a plain
// colour, or the high bit set with the system colour index in the low byte.
// They are stored in INI files as signed decimal, hence the signed type.
#include <cstdint>

namespace vel {

using TColor = int32_t;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index & 0xFF));
}
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0x80000000u) != 0; }

// System colour indices, as the platform numbers them.
enum TSystemColorIndex : int {
  COLORINDEX_SCROLLBAR = 0, COLORINDEX_BACKGROUND = 1, COLORINDEX_ACTIVECAPTION = 2,
  COLORINDEX_INACTIVECAPTION = 3, COLORINDEX_MENU = 4, COLORINDEX_WINDOW = 5,
  COLORINDEX_WINDOWFRAME = 6, COLORINDEX_MENUTEXT = 7, COLORINDEX_WINDOWTEXT = 8,
  COLORINDEX_CAPTIONTEXT = 9, COLORINDEX_ACTIVEBORDER = 10, COLORINDEX_INACTIVEBORDER = 11,
  COLORINDEX_APPWORKSPACE = 12, COLORINDEX_HIGHLIGHT = 13, COLORINDEX_HIGHLIGHTTEXT = 14,
  COLORINDEX_BTNFACE = 15, COLORINDEX_BTNSHADOW = 16, COLORINDEX_GRAYTEXT = 17,
  COLORINDEX_BTNTEXT = 18, COLORINDEX_INACTIVECAPTIONTEXT = 19, COLORINDEX_BTNHIGHLIGHT = 20,
  COLORINDEX_3DDKSHADOW = 21, COLORINDEX_3DLIGHT = 22, COLORINDEX_INFOTEXT = 23,
  COLORINDEX_INFOBK = 24,
};

constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clMaroon = RGBColor(128, 0, 0);
constexpr TColor clGreen = RGBColor(0, 128, 0);
constexpr TColor clOlive = RGBColor(128, 128, 0);
constexpr TColor clNavy = RGBColor(0, 0, 128);
constexpr TColor clPurple = RGBColor(128, 0, 128);
constexpr TColor clTeal = RGBColor(0, 128, 128);
constexpr TColor clGray = RGBColor(128, 128, 128);
constexpr TColor clSilver = RGBColor(192, 192, 192);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clLime = RGBColor(0, 255, 0);
constexpr TColor clYellow = RGBColor(255, 255, 0);
constexpr TColor clBlue = RGBColor(0, 0, 255);
constexpr TColor clFuchsia = RGBColor(255, 0, 255);
constexpr TColor clAqua = RGBColor(0, 255, 255);
constexpr TColor clWhite = RGBColor(255, 255, 255);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(COLORINDEX_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLORINDEX_BACKGROUND);
constexpr TColor clMenu = SystemColor(COLORINDEX_MENU);
constexpr TColor clWindow = SystemColor(COLORINDEX_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLORINDEX_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLORINDEX_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLORINDEX_WINDOWTEXT);
constexpr TColor clHighlight = SystemColor(COLORINDEX_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLORINDEX_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLORINDEX_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLORINDEX_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLORINDEX_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLORINDEX_BTNTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLORINDEX_BTNHIGHLIGHT);
constexpr TColor clInfoText = SystemColor(COLORINDEX_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLORINDEX_INFOBK);

// A plain 0x00BBGGRR value; system colours are looked up in the platform's scheme.
TColor ColorToRGB(TColor c);

}  // namespace vel
