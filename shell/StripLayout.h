#pragma once
// The launcher strip's window data: style, size, font and the place
// at the screen edge that the main settings file and the work area give it.
#include <string>

#include "platform/Ini.h"
#include "platform/Screen.h"
#include "shell/Slide.h"

namespace vel {

struct TStripWindowData {
  bool Borderless = true, NoBorderIcons = true, TopMost = true, Visible = true;
  std::string FontName;
  int FontHeight = 0;
  TStripPosition Position = TStripPosition::Top;
  TRect Bounds;                  // in screen coordinates
  TRect ImageBounds, ScrollBarBounds;  // client coordinates of Image1 and ScrollBar1
  int MemoLeft = 0;              // where memo windows and the tab row start
};

inline constexpr int StripWidth = 52;
inline constexpr int StripHeight = 20;

// The main settings file: the executable's path with its extension replaced by ".ini".
std::string MainSettingsPath(const std::string& ExePath);

// Reads Form Left and Option Position (0 top, 1 bottom; anything else is
// taken as top, the only other layouts being unsupported by tabs and slides).
// A Left that would put the strip off the work area is pulled back onto it,
// as dragging it there would.
TStripWindowData LoadStripWindowData(const TIniFile& MainSettings, const TRect& WorkArea);

}  // namespace vel

namespace vel {

// Where a dragged strip comes to rest: never left of the screen, never past
// its right edge, and always on its screen edge (Top 0, or the work area's
// bottom row).
TRect SnapStripMove(const TRect& Bounds, TStripPosition Position, int FullScreenWidth, int WorkAreaBottom);

// Edges of a memo window being sized, with the platform's numbers.
enum TSizingEdge { seLeft = 1, seRight, seTop, seTopLeft, seTopRight, seBottom, seBottomLeft, seBottomRight };

// A memo window keeps the edge at the screen side: in the top layout its top
// edge and top corners cannot be dragged, in the bottom layout its bottom ones.
bool SizingRefused(TStripPosition Position, int Edge);

}  // namespace vel
