#include "shell/app/ExceptionBox.h"

#include <windows.h>

#include <string>

#include "platform/MessageBox.h"

namespace vel {

namespace {
constexpr char ApplicationTitle[] = "Velmorind";
}

void ShowStandardException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && text.back() != '.' && text.back() != '\n') text += '.';
  ShowMessageBox(0, text, ApplicationTitle, mbOK | mbIconStop);
}

void ShowUnknownException() { ShowMessageBox(0, "Unknown exception.", ApplicationTitle, mbOK | mbIconStop); }

}  // namespace vel
