#include "platform/win32/ExceptionBox.h"

#include <string>

#include "platform/MessageBox.h"

namespace vel {

namespace {

constexpr char ApplicationTitle[] = "Velmorind";
bool gShowing = false;

void Show(const char* message) noexcept {
  if (gShowing) return;
  gShowing = true;
  try {
    std::string text = message;
    // The toolkit's English texts end with a full stop; a Japanese one has its own.
    bool ends = !text.empty() && (text.back() == '.' || text.back() == '\n');
    if (!ends && !(text.size() >= 2 && text.compare(text.size() - 2, 2, "。") == 0)) text += '.';
    ShowMessageBox(0, text, ApplicationTitle, mbOK | mbIconStop);
  } catch (...) {
    // Out of memory for the text: nothing better can be shown.
  }
  gShowing = false;
}

}  // namespace

void ShowStandardException(const std::exception& e) noexcept { Show(e.what()); }

void ShowUnknownException() noexcept { Show("Unknown exception"); }

}  // namespace vel
