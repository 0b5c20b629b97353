#pragma once
// The file errors the editor raises, with the toolkit's texts.
#include <stdexcept>
#include <string>

namespace vel {

class EFOpenError : public std::runtime_error {
 public:
  explicit EFOpenError(const std::string& FileName)
      : std::runtime_error("Cannot open file \"" + FileName + "\""), FileName(FileName) {}
  std::string FileName;
};

class EFCreateError : public std::runtime_error {
 public:
  explicit EFCreateError(const std::string& FileName)
      : std::runtime_error("Cannot create file \"" + FileName + "\""), FileName(FileName) {}
  std::string FileName;

 protected:
  EFCreateError(const std::string& FileName, const std::string& Message)
      : std::runtime_error(Message), FileName(FileName) {}
};

// The file is marked read-only: it is left as it is, and so is the text.
class EFReadOnlyError : public EFCreateError {
 public:
  explicit EFReadOnlyError(const std::string& FileName)
      : EFCreateError(FileName, FileName + " は読み取り専用のため保存できません。") {}
};

// Writing a file failed after it was created (disk full, device gone).
class EWriteError : public std::runtime_error {
 public:
  explicit EWriteError(const std::string& FileName)
      : std::runtime_error("Stream write error"), FileName(FileName) {}
  std::string FileName;
};

}  // namespace vel
