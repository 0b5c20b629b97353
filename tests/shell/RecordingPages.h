#pragma once
// A page store that only records what the strip asked of it.
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/PageStoreLink.h"

namespace vel {

class TRecordingPages final : public IPageStoreLink {
 public:
  void OpenPageFile(const std::string& FileName) override { Calls.push_back("open:" + FileName); }
  void ShowLastPage() override { Calls.push_back("show"); }
  bool StripMessage(unsigned Msg, std::uintptr_t, std::intptr_t, std::intptr_t&) override {
    if (Msg != 0 && Msg == ThrowOn) throw std::runtime_error("帯の処理が失敗しました");
    return false;
  }
  std::vector<std::string> Calls;
  // A message whose handling fails, to see the strip survive it.
  unsigned ThrowOn = 0;
};

}  // namespace vel
