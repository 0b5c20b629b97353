#include "shell/app/HandOffSender.h"

#include <cstdlib>

#include "shell/HandOff.h"

namespace vel {

void SendHandOff(HWND Strip, const std::vector<std::string>& Params) {
  ::SetForegroundWindow(Strip);
  for (const auto& r : MakeHandOffRecords(Params)) {
    std::vector<char> buf = HandOffBuffer(r);
    COPYDATASTRUCT cds{};
    cds.dwData = r.dwData;
    cds.cbData = static_cast<DWORD>(r.Text.size());
    cds.lpData = buf.data();
    ::SendMessageA(Strip, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
  }
}

std::vector<std::string> CommandLineParams() {
  std::vector<std::string> out;
  for (int i = 1; i < __argc; ++i) out.emplace_back(__argv[i]);
  return out;
}

}  // namespace vel
