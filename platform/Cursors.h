#pragma once
// The application's screen cursor table: indices to cursors, as the toolkit
// numbers them. An index under which nothing was installed shows the default.
#include <string>

namespace vel {

using TCursor = short;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// True when the entry at index shows the default cursor (nothing installed there).
bool CursorIsDefault(int index);
// Loads the named cursor resource of the program and installs it at index.
// Returns false (and leaves the entry alone) when the resource is missing.
bool InstallCursorResource(int index, const std::string& resourceName);

}  // namespace vel
