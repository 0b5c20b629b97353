#include "shell/StripLayout.h"

#include "text/DBCS.h"

namespace vel {

std::string MainSettingsPath(const std::string& ExePath) {
  // Walk by characters: a trail byte can look like a backslash or a dot.
  size_t lastDot = std::string::npos;
  for (size_t i = 0; i < ExePath.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(ExePath[i]);
    if (LeadBytes().test(c)) {
      ++i;
    } else if (c == '\\' || c == '/') {
      lastDot = std::string::npos;
    } else if (c == '.') {
      lastDot = i;
    }
  }
  return (lastDot != std::string::npos ? ExePath.substr(0, lastDot) : ExePath) + ".ini";
}

TStripWindowData LoadStripWindowData(const TIniFile& MainSettings, const TRect& WorkArea) {
  TStripWindowData d;
  d.FontName = "ＭＳ Ｐゴシック";
  d.FontHeight = -12;
  int left = MainSettings.ReadInteger("Form", "Left", 100);
  if (left > WorkArea.Right - StripWidth) left = WorkArea.Right - StripWidth;
  if (left < WorkArea.Left) left = WorkArea.Left;
  int pos = MainSettings.ReadInteger("Option", "Position", 0);
  d.Position = pos == 1 ? TStripPosition::Bottom : TStripPosition::Top;
  int top = d.Position == TStripPosition::Top ? WorkArea.Top : WorkArea.Bottom - StripHeight;
  d.Bounds = {left, top, left + StripWidth, top + StripHeight};
  d.ImageBounds = {0, 0, 20, 20};
  d.ScrollBarBounds = {20, 0, 52, 20};
  d.MemoLeft = left + StripWidth;
  return d;
}

}  // namespace vel

namespace vel {

TRect SnapStripMove(const TRect& b, TStripPosition Position, int FullScreenWidth, int WorkAreaBottom) {
  int w = b.Width(), h = b.Height();
  int left = b.Left;
  if (left < 0) left = 0;
  // Past the right edge by any part, not only by its left edge: it stays whole on screen.
  if (left > FullScreenWidth - w) left = FullScreenWidth - w;
  int top = Position == TStripPosition::Top ? 0 : WorkAreaBottom - StripHeight;
  return {left, top, left + w, top + h};
}

bool SizingRefused(TStripPosition Position, int Edge) {
  if (Position == TStripPosition::Top) return Edge == seTop || Edge == seTopLeft || Edge == seTopRight;
  return Edge == seBottom || Edge == seBottomLeft || Edge == seBottomRight;
}

}  // namespace vel
