#pragma once
// Buffered, line-aware reader of Shift-JIS text files for the grep. Lines end
// at CR LF, LF or a lone CR; a NUL byte is an ordinary character, kept in its
// line; the last line needs no line break. Between buffer loads the program's pending window messages
// are processed and the caller's cancel flag is honoured.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace vel {

class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EEndOfFile : public EInOutError {
 public:
  EEndOfFile() : EInOutError("End Of File") {}
};
class EFileNotFound : public EInOutError {
 public:
  using EInOutError::EInOutError;
};
class EGrepCancel : public std::runtime_error {
 public:
  EGrepCancel() : std::runtime_error("CancelRequest") {}
};

struct RE_LineInfo_t {
  std::string Line;
  int LineNo = 0;
};

class TTxtFile {
 public:
  static constexpr size_t BuffSize = 102400;
  static constexpr size_t BuffReserve = 100;

  // Opens the file (EFileNotFound on failure) and loads the first block;
  // an empty file raises EEndOfFile.
  TTxtFile(const std::string& fileName, const bool& cancel);
  ~TTxtFile();
  TTxtFile(const TTxtFile&) = delete;
  TTxtFile& operator=(const TTxtFile&) = delete;

  // The next line; EEndOfFile after the last one.
  RE_LineInfo_t GetThisLine();

 private:
  bool BuffRead();
  void CheckCancel() const;
  std::FILE* File = nullptr;
  const bool& Cancel;
  std::vector<char> Buff;
  size_t Valid = 0, PBase = 0;
  bool AtEof = false;
  bool PendingCR = false;
  int LineNo = 0;
};

}  // namespace vel
