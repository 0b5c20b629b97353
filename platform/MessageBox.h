#pragma once
// Message boxes with the platform's flags and answers.
#include <cstdint>
#include <string>

namespace vel {

using TWindowHandle = std::uintptr_t;

enum : unsigned {
  mbOK = 0x0, mbOKCancel = 0x1, mbYesNoCancel = 0x3, mbYesNo = 0x4,
  mbIconStop = 0x10, mbIconQuestion = 0x20, mbIconWarning = 0x30, mbIconInformation = 0x40,
};
enum : int { idOK = 1, idCancel = 2, idYes = 6, idNo = 7 };

// Text and caption are CP932 bytes; shown correctly whatever the system locale.
int ShowMessageBox(TWindowHandle owner, const std::string& text, const std::string& caption,
                   unsigned flags);

}  // namespace vel
