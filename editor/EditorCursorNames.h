#pragma once
// The editor unit's start-up work: two cursors of its own in the program's
// cursor table, the private clipboard format of box copies, and the names
// under which cursor properties are read and written.
#include <functional>
#include <string>

#include "platform/Cursors.h"

namespace vel {

extern TCursor crRightArrow;
extern TCursor crDragSelCopy;
extern unsigned CF_BOXTEXT;

// Registers "TEditor Box Type" and installs the two cursors. Runs once; later
// calls do nothing.
void InitEditorUnit();

// The first index 1..32767 that shows the default cursor, or -1.
int GetUnUsedCursorIndex();

std::string HCursorToString(TCursor Cursor);
// Case-insensitive; an unknown name gives crDefault.
TCursor HStringToCursor(const std::string& Name);
void HGetCursorValues(const std::function<void(const std::string&)>& Proc);

}  // namespace vel
