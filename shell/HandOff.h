#pragma once
// The single-instance hand-off: a second start sends each command-line
// parameter as one data-copy record, then a terminator record, to the strip
// of the running instance.
//
// Sending: every parameter goes whole, with its exact byte length, however
// long it is; the 4,096-byte buffer of the record layout is a minimum, never
// a cut, so a long name can never arrive as a different, shorter name.
//
// Receiving: the record's text is exactly cbData bytes read from lpData,
// never searched for a terminating zero beyond them; records with no data, a
// zero inside the counted bytes, or more bytes than any path can have are
// dropped. Records that arrive while the strip is still starting are kept and
// handled, in order, once it has finished.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/PageStoreLink.h"

namespace vel {

inline constexpr char HandOffMutexName[] = "Velmorind3";
inline constexpr char StripWindowTitle[] = "VelmorindVer3";
inline constexpr char HandOffTerminator[] = ":::END_PARAM:::";
inline constexpr size_t HandOffBufferSize = 4096;
// Longer than any path the platform can name (32,767 UTF-16 units as CP932).
inline constexpr size_t HandOffMaxBytes = 65534;

struct THandOffRecord {
  uint32_t dwData;   // 1-based parameter index; count + 1 for the terminator
  std::string Text;  // cbData is Text.size(); the sent buffer adds one zero byte
};

// The records a second start sends for its parameters: none without parameters.
std::vector<THandOffRecord> MakeHandOffRecords(const std::vector<std::string>& Params);

// The bytes to send for one record: the text followed by a zero byte, in a
// buffer of at least HandOffBufferSize bytes.
std::vector<char> HandOffBuffer(const THandOffRecord& Record);

// The text of a received record, or nothing when the record is unusable.
std::optional<std::string> DecodeHandOffRecord(const void* lpData, size_t cbData);

class THandOffReceiver {
 public:
  explicit THandOffReceiver(IPageStoreLink& Pages) : Pages(Pages) {}
  // Handles (or, before start-up has finished, queues) one received text.
  void Receive(const std::string& Text);
  // Start-up is over: handles the queued texts in arrival order.
  void SetReady();
  bool IsReady() const { return Ready; }
  size_t PendingCount() const { return Pending.size(); }

 private:
  void Deliver(const std::string& Text);
  IPageStoreLink& Pages;
  bool Ready = false;
  std::vector<std::string> Pending;
};

}  // namespace vel
