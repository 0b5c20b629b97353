#pragma once
// What every window backend promises the client of a window whose owner goes
// first: it hears that the window went and holds no window afterwards. The
// headless and the Win32 suites check their backend against the same log.
#include <string>
#include <vector>

#include "platform/Input.h"

namespace vel {

class TLifetimeRecorder : public IWindowClient {
 public:
  void WindowCreated(IWindow& w) override {
    Window = &w;
    Log.push_back("created");
  }
  void WindowDestroyed() override {
    Window = nullptr;
    Log.push_back("destroyed");
  }
  void Paint(ICanvas&, const TRect&) override {}
  IWindow* Window = nullptr;
  std::vector<std::string> Log;
};

inline const std::vector<std::string> kOwnerGoneFirstLog{"created", "destroyed"};

}  // namespace vel
