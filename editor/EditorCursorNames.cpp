#include "editor/EditorCursorNames.h"

#include <cstdlib>
#include <utility>

#include "platform/Clipboard.h"
#include "platform/Reset.h"
#include "text/Sjis.h"

namespace vel {

TCursor crRightArrow = crDefault;
TCursor crDragSelCopy = crDefault;
unsigned CF_BOXTEXT = 0;

namespace {

const std::pair<TCursor, const char*> kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"}};

// The names are ASCII, so a byte-wise fold cannot join two double-byte characters.
bool SameText(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (sjis::AsciiLower(static_cast<unsigned char>(a[i])) != sjis::AsciiLower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && b[i] == 0;
}

}  // namespace

void InitEditorUnit() {
  static bool done = false;
  if (done) return;
  done = true;
  static const bool forgets = (AtPlatformReset([] {
                                 done = false;
                                 crRightArrow = crDragSelCopy = crDefault;
                                 CF_BOXTEXT = 0;
                               }),
                               true);
  (void)forgets;
  CF_BOXTEXT = Clipboard().RegisterFormat("TEditor Box Type");
  int index = GetUnUsedCursorIndex();
  if (index > 0 && InstallCursorResource(index, "RightArrow")) crRightArrow = static_cast<TCursor>(index);
  index = GetUnUsedCursorIndex();
  if (index > 0 && InstallCursorResource(index, "DragSelCopy")) crDragSelCopy = static_cast<TCursor>(index);
}

int GetUnUsedCursorIndex() {
  for (int i = 1; i <= 32767; ++i)
    if (CursorIsDefault(i)) return i;
  return -1;
}

std::string HCursorToString(TCursor Cursor) {
  if (Cursor == crRightArrow && Cursor != crDefault) return "crRightArrow";
  if (Cursor == crDragSelCopy && Cursor != crDefault) return "crDragSelCopy";
  for (auto& [value, name] : kCursorNames)
    if (value == Cursor) return name;
  return std::to_string(Cursor);
}

TCursor HStringToCursor(const std::string& Name) {
  if (SameText(Name, "crRightArrow")) return crRightArrow;
  if (SameText(Name, "crDragSelCopy")) return crDragSelCopy;
  for (auto& [value, name] : kCursorNames)
    if (SameText(Name, name)) return value;
  char* end = nullptr;
  long v = std::strtol(Name.c_str(), &end, 10);
  if (!Name.empty() && end && *end == 0 && v >= -32768 && v <= 32767) return static_cast<TCursor>(v);
  return crDefault;
}

void HGetCursorValues(const std::function<void(const std::string&)>& Proc) {
  for (auto& entry : kCursorNames) Proc(entry.second);
  Proc("crRightArrow");
  Proc("crDragSelCopy");
}

}  // namespace vel
