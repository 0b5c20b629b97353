#pragma once
// The launcher strip, the program's main form: a small borderless topmost
// window at the screen edge that receives the single-instance hand-off.
// The window host first: <windows.h> renames names the canvas declares.
#include "platform/win32/WindowHost.h"

#include <string>
#include <vector>

#include "shell/HandOff.h"
#include "shell/StripLayout.h"

namespace vel {

class TForm1 final : public IWindowClient {
 public:
  TForm1(IPageStoreLink& Pages, std::string MainSettingsFile);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;
  ~TForm1() override;

  // Creates the window (findable by its title from this moment on) and runs
  // FormCreate with the program's own command-line parameters.
  void Create(const std::vector<std::string>& Params);
  void Close();

  HWND Handle() const { return Window.Handle(); }
  const TStripWindowData& WindowData() const { return Data; }
  THandOffReceiver& HandOff() { return Receiver; }

  // The main form's destruction ends the message loop; a strip made by a test is not the main form.
  bool EndsMessageLoop = true;
  // Leaves the strip "still starting" after FormCreate (the hand-off queues) until HandOff().SetReady().
  bool HoldStartup = false;

  // Runs at the end of window creation: layout from the settings, the pages
  // of the command line, then the records that arrived meanwhile.
  void FormCreate(const std::vector<std::string>& Params);

  void Paint(ICanvas& Canvas, const TRect& Area) override;
  bool HandleMessage(TMessage& m) override;

 private:
  void WMCopyData(const COPYDATASTRUCT* Data);

  IPageStoreLink& Pages;
  std::string MainSettingsFile;
  TStripWindowData Data;
  THandOffReceiver Receiver;
  // A child of the strip: the system destroys it with the strip.
  HWND ScrollBar1 = nullptr;
  win32::THostedWindow Window;
};

// The strip's window class.
const char* StripWindowClass();

}  // namespace vel
