#pragma once
// Controls of the headless backend, for tests: what Win32 would get from the
// system (screen, answers of message boxes, files of the INI functions) is
// set here, and what the program showed is recorded here.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Screen.h"

namespace vel::headless {

struct TShownMessage {
  TWindowHandle Owner;
  std::string Text, Caption;
  unsigned Flags;
};

// Restores every piece of headless state to its initial value.
// What OpenWithDesktop was given, in order.
const std::vector<std::string>& OpenedWithDesktop();
void Reset();

void SetWorkArea(const TRect& r);
void SetScreenRect(const TRect& r);

// Message boxes answer from this queue (front first), then idOK / idYes.
void QueueMessageBoxAnswer(int answer);
const std::vector<TShownMessage>& ShownMessages();

// The INI files, by file name, as the texts they would have on disk.
std::string IniFileText(const std::string& file);
void SetIniFileText(const std::string& file, const std::string& text);
// Makes every write to file fail, as for a read-only or missing folder.
void SetIniFileReadOnly(const std::string& file, bool readOnly);

// Called by ProcessMessages, so a test can act "while messages are pumped".
void SetProcessMessagesHook(std::function<void()> hook);

// Clipboard inspection and fault injection.
void SetClipboardBusy(bool busy);
std::map<unsigned, std::string> ClipboardContents();

// Cursor resources the headless program "has".
void SetCursorResourceAvailable(const std::string& name, bool available);

}  // namespace vel::headless
