#pragma once
// The one window procedure of the program's own windows: it registers their
// classes, attaches a C++ client to each window from its first message to its
// last, turns window messages into IWindowClient calls and lets no exception
// out (they go to the standard exception box). Controls and forms alike are
// made with it.
#include <windows.h>

#include <string>

#include "platform/Input.h"
#include "platform/win32/Win32Window.h"

namespace vel::win32 {

struct TWindowClass {
  const char* Name = nullptr;
  UINT Style = CS_DBLCLKS;
  LPCSTR Cursor = IDC_ARROW;  // a system cursor, or nullptr for none
  HBRUSH Background = nullptr;
  HICON Icon = nullptr;
};

// Registers the class for hosted windows once per process; later calls with
// the same name do nothing.
void RegisterHostClass(const TWindowClass& cls);

struct TWindowParams {
  DWORD ExStyle = 0;
  DWORD Style = WS_CHILD | WS_VISIBLE;
  std::string Caption;  // CP932
  TRect Bounds{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
  HWND Parent = nullptr;
  HMENU Menu = nullptr;  // or the child id
};

// Owns one hosted window. The client hears WindowCreated while the window is
// being created and WindowDestroyed when it is gone, whoever destroyed it
// (Destroy, the owner's destructor, the system, a parent), so no client keeps
// a window that is gone. A form that is its own window's client destroys the
// window in its own destructor, while its members are still alive.
class THostedWindow {
 public:
  THostedWindow() = default;
  THostedWindow(const THostedWindow&) = delete;
  THostedWindow& operator=(const THostedWindow&) = delete;
  ~THostedWindow();

  // Creates the window of a registered class for client; throws
  // std::runtime_error when the system refuses or the client's creation fails.
  void Create(const char* className, const TWindowParams& params, IWindowClient& client);
  void Destroy();

  HWND Handle() const { return Wnd; }
  // The services of the window (nullptr before Create and after destruction).
  IWindow* Window() const;
  // The form's keyboard shortcuts, translated before its keys reach any of
  // its child windows (see PreTranslateMessage). Not owned.
  void SetAccelerators(HACCEL Table);

 private:
  friend class THost;
  HWND Wnd = nullptr;
  class THost* Host = nullptr;
};

// The client attached to a hosted window, or nullptr.
IWindowClient* HostedClient(HWND wnd);

// The message loop's hook: translates msg through the accelerators of the
// hosted top-level window it is for; true when it became a command.
bool PreTranslateMessage(MSG& msg);

// The shift state of the keyboard now, as input messages are read.
TShiftState KeyboardShiftState();

}  // namespace vel::win32
