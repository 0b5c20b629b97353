#include "shell/HandOff.h"

#include <algorithm>
#include <cstring>

namespace vel {

std::vector<THandOffRecord> MakeHandOffRecords(const std::vector<std::string>& Params) {
  std::vector<THandOffRecord> out;
  if (Params.empty()) return out;
  out.reserve(Params.size() + 1);
  for (size_t i = 0; i < Params.size(); ++i) out.push_back({static_cast<uint32_t>(i + 1), Params[i]});
  out.push_back({static_cast<uint32_t>(Params.size() + 1), HandOffTerminator});
  return out;
}

std::vector<char> HandOffBuffer(const THandOffRecord& Record) {
  std::vector<char> buf(std::max(HandOffBufferSize, Record.Text.size() + 1), '\0');
  std::memcpy(buf.data(), Record.Text.data(), Record.Text.size());
  return buf;
}

std::optional<std::string> DecodeHandOffRecord(const void* lpData, size_t cbData) {
  if (!lpData || cbData == 0 || cbData > HandOffMaxBytes) return std::nullopt;
  const char* p = static_cast<const char*>(lpData);
  // A zero inside the counted bytes means the count and the text disagree;
  // taking either part could name a different file, so the record is dropped.
  if (std::memchr(p, '\0', cbData)) return std::nullopt;
  return std::string(p, cbData);
}

void THandOffReceiver::Receive(const std::string& Text) {
  if (Ready)
    Deliver(Text);
  else
    Pending.push_back(Text);
}

void THandOffReceiver::SetReady() {
  if (Ready) return;
  Ready = true;
  // Delivering can pump messages (and so receive more records): take the queue first.
  std::vector<std::string> queued;
  queued.swap(Pending);
  for (const auto& t : queued) Deliver(t);
}

void THandOffReceiver::Deliver(const std::string& Text) {
  if (Text == HandOffTerminator)
    Pages.ShowLastPage();
  else
    Pages.OpenPageFile(Text);
}

}  // namespace vel
