#pragma once
// Screen metrics the layout code needs.
namespace vel {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

// The desktop minus the task bar and other docked bars.
TRect WorkArea();
TRect ScreenRect();

}  // namespace vel
