// Program entry: one instance per desktop. A second start hands its command
// line to the running strip and ends; the first creates its windows and runs
// the message loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "editor/EditorCursorNames.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemServices.h"
#include "platform/win32/WindowHost.h"
#include "shell/HandOff.h"
#include "shell/StripLayout.h"
#include "shell/app/ExceptionBox.h"
#include "shell/app/Form1.h"
#include "shell/app/HandOffSender.h"
#include "shell/app/ShellApp.h"
#include "shell/PageSettings.h"

namespace vel {
namespace {

void RunApplication(const std::vector<std::string>& params) {
  InitEditorUnit();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  std::string exe = win32::ExecutablePath();
  TShellApp app(MainSettingsPath(exe), PageSettingsPath(exe));
  TForm1 strip(app, MainSettingsPath(exe));
  strip.Create(params);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // A form's menu shortcuts go before the keys reach its controls.
    if (win32::PreTranslateMessage(msg)) continue;
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
      // Relative names mean this start's working folder, not the running one's.
      win32::TSystemServices system;
      for (std::string& p : params) p = system.FullPath(p);
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
