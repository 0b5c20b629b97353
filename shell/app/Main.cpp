// Program entry: one instance per desktop. A second start hands its command
// line to the running strip and ends; the first creates its windows and runs
// the message loop.
#include <windows.h>

#include <memory>

#include "editor/EditorCursorNames.h"
#include "platform/win32/Handles.h"
#include "shell/HandOff.h"
#include "shell/StripLayout.h"
#include "shell/app/ExceptionBox.h"
#include "shell/app/Form1.h"
#include "shell/app/HandOffSender.h"

namespace vel {
namespace {

// Until the page store arrives, the strip's page operations only remember the
// names it was asked to open and bring the strip forward.
class TStartupPages final : public IPageStoreLink {
 public:
  void OpenPageFile(const std::string& FileName) override { Names.push_back(FileName); }
  void ShowLastPage() override {
    if (Strip) ::SetForegroundWindow(Strip);
  }
  std::vector<std::string> Names;
  HWND Strip = nullptr;
};

std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void RunApplication(const std::vector<std::string>& params) {
  InitEditorUnit();
  TStartupPages pages;
  TForm1 strip(pages, MainSettingsPath(ExePath()));
  strip.Create(params);
  pages.Strip = strip.Handle();
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace
}  // namespace vel

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace vel;
  win32::TKernelHandle mutex(::CreateMutexA(nullptr, TRUE, HandOffMutexName));
  DWORD lastError = ::GetLastError();
  std::vector<std::string> params = CommandLineParams();
  if (lastError != 0) {
    // Found: the running instance takes over. Not found (it may still be
    // starting): go on as a full instance.
    if (HWND strip = ::FindWindowA(nullptr, StripWindowTitle)) {
      SendHandOff(strip, params);
      return 1;
    }
  }
  try {
    RunApplication(params);
  } catch (const std::exception& e) {
    ShowStandardException(e);
  } catch (...) {
    ShowUnknownException();
  }
  if (mutex) ::ReleaseMutex(mutex.Get());
  return 0;
}
