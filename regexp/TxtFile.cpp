#include "regexp/TxtFile.h"

#include <cerrno>
#include <cstring>

#include "platform/Messages.h"

namespace vel {

TTxtFile::TTxtFile(const std::string& fileName, const bool& cancel) : Cancel(cancel) {
  File = std::fopen(fileName.c_str(), "rb");
  if (!File) throw EFileNotFound(fileName + ": " + std::strerror(errno));
  Buff.assign(BuffSize + BuffReserve, 0);
  if (!BuffRead()) throw EEndOfFile();
}

TTxtFile::~TTxtFile() {
  if (File) std::fclose(File);
}

void TTxtFile::CheckCancel() const {
  ProcessMessages();
  if (Cancel) throw EGrepCancel();
}

bool TTxtFile::BuffRead() {
  Valid = AtEof ? 0 : std::fread(Buff.data(), 1, BuffSize, File);
  PBase = 0;
  if (Valid < BuffSize) AtEof = true;
  CheckCancel();
  return Valid > 0;
}

RE_LineInfo_t TTxtFile::GetThisLine() {
  CheckCancel();
  RE_LineInfo_t info;
  bool any = false;
  for (;;) {
    if (PBase >= Valid) {
      if (!BuffRead()) {
        if (!any) throw EEndOfFile();
        break;
      }
    }
    char c = Buff[PBase];
    if (PendingCR) {
      PendingCR = false;
      if (c == '\n') {
        ++PBase;
        continue;
      }
    }
    any = true;
    ++PBase;
    if (c == '\n') break;
    if (c == '\r') {
      PendingCR = true;
      break;
    }
    info.Line += c;
  }
  // A CR LF split across loads: the LF still belongs to this line break.
  if (PendingCR && PBase < Valid && Buff[PBase] == '\n') {
    ++PBase;
    PendingCR = false;
  }
  if (!any) throw EEndOfFile();
  info.LineNo = ++LineNo;
  return info;
}

}  // namespace vel
