#pragma once
// What the strip needs of the application behind it: the hand-off's page
// store calls, its start-up, and the messages it does not answer itself.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/StripLayout.h"

namespace vel {

class IPageStoreLink {
 public:
  virtual ~IPageStoreLink() = default;
  // Opens the named file as a new page; missing or already open files are ignored.
  virtual void OpenPageFile(const std::string& FileName) = 0;
  // Slides the last page in and gives it the foreground.
  virtual void ShowLastPage() = 0;
  // The strip is laid out and has its handle: restore the pages, open the
  // command line's files. Without a page store behind it, only the files.
  virtual void StartUp(const TStripWindowData& Strip, std::uintptr_t StripHandle,
                       const std::vector<std::string>& Params) {
    (void)Strip, (void)StripHandle;
    for (const auto& p : Params) OpenPageFile(p);
  }
  // A message to the strip, seen before the strip's own handling; true when
  // answered (Result holds the answer).
  virtual bool StripMessage(unsigned Msg, std::uintptr_t WParam, std::intptr_t LParam, std::intptr_t& Result) {
    (void)Msg, (void)WParam, (void)LParam, (void)Result;
    return false;
  }
};

}  // namespace vel
