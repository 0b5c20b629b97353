#pragma once
// Drawing surface with a fixed-pitch text model: every byte column of text is
// drawn at an explicit advance, so painting decisions stay in portable code.
// Fonts, pens and brushes are made once per distinct value and kept, so
// switching fonts and colours while painting costs no system objects.
#include <memory>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Screen.h"

namespace vel {

struct TFontSpec {
  std::string Name;   // CP932 face name, e.g. "ＭＳ ゴシック"
  int Height = -12;   // negative: character height in pixels, as the platform takes it
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  int CharSet = 128;  // Shift-JIS
  TColor Color = clWindowText;
  bool operator==(const TFontSpec&) const = default;
};

struct TTextMetrics {
  int Height = 0, Ascent = 0, Descent = 0, ExternalLeading = 0;
  int AveCharWidth = 0, MaxCharWidth = 0;
};

class IOffscreen;

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  virtual void SetFont(const TFontSpec& font) = 0;
  virtual TTextMetrics GetTextMetrics() = 0;
  // Width in pixels of text in the current font (double-byte characters whole).
  virtual int TextWidth(const std::string& text) = 0;
  virtual void FillRect(const TRect& r, TColor color) = 0;
  // Draws text at (x, y) with the background filled inside clip; advances has
  // one entry per byte (0 for a trail byte) or is empty for natural spacing.
  virtual void TextOut(int x, int y, const TRect& clip, const std::string& text,
                       const std::vector<int>& advances, TColor fg, TColor bg) = 0;
  virtual void Line(int x1, int y1, int x2, int y2, TColor color) = 0;

  // Clipping narrows what later calls may touch; ResetClip returns to the
  // clip the canvas was made with (a paint pass keeps its invalid area).
  virtual void IntersectClip(const TRect& r) = 0;
  virtual void ExcludeClip(const TRect& r) = 0;
  virtual void ResetClip() = 0;

  // A bitmap of width x height compatible with this canvas, to draw into once
  // and copy out often (a margin or a ruler).
  virtual std::unique_ptr<IOffscreen> CreateOffscreen(int width, int height) = 0;
  // Copies src (in the bitmap's coordinates) of the bitmap to (x, y).
  virtual void Draw(int x, int y, IOffscreen& bitmap, const TRect& src) = 0;
};

// An off-screen bitmap; drawing on it draws into the bitmap.
class IOffscreen : public ICanvas {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

}  // namespace vel
