#pragma once
// A page store that only records what the strip asked of it.
#include <string>
#include <vector>

#include "shell/PageStoreLink.h"

namespace vel {

class TRecordingPages final : public IPageStoreLink {
 public:
  void OpenPageFile(const std::string& FileName) override { Calls.push_back("open:" + FileName); }
  void ShowLastPage() override { Calls.push_back("show"); }
  std::vector<std::string> Calls;
};

}  // namespace vel
