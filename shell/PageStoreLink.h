#pragma once
// What the strip's hand-off receiver needs of the page store.
#include <string>

namespace vel {

class IPageStoreLink {
 public:
  virtual ~IPageStoreLink() = default;
  // Opens the named file as a new page; missing or already open files are ignored.
  virtual void OpenPageFile(const std::string& FileName) = 0;
  // Slides the last page in and gives it the foreground.
  virtual void ShowLastPage() = 0;
};

}  // namespace vel
