#include "shell/RecoveryJournal.h"

#include <cinttypes>

#include "platform/FileReplace.h"

namespace vel {

namespace {

constexpr char kMagic[] = "VelmorindJournal 1\r\n";
constexpr char kEnd[] = "\r\nEND ";
constexpr uint64_t kSumStart = 14695981039346656037ULL;  // FNV-1a 64

uint64_t Sum(uint64_t h, const char* p, size_t n) {
  for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 1099511628211ULL;
  return h;
}

std::string Header(const TJournalPage& p) {
  std::string h = kMagic;
  auto line = [&](const std::string& k, const std::string& v) { h += k + "=" + v + "\r\n"; };
  line("Kind", std::to_string(static_cast<int>(p.Kind)));
  line("HasFile", p.HasFile ? "1" : "0");
  line("FilePath", p.FilePath);
  for (const auto& [k, v] : PageViewValues(p.View)) line(k, v);
  return h + "\r\n";
}

std::string Trailer(uint64_t length, uint64_t sum) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%" PRIu64 " %016" PRIx64 "\r\n", length, sum);
  return kEnd + std::string(buf);
}

// A header value must stay on its line.
bool OneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

}  // namespace

std::string JournalBytes(const TJournalPage& Page) {
  return Header(Page) + Page.Text + Trailer(Page.Text.size(), Sum(kSumStart, Page.Text.data(), Page.Text.size()));
}

std::optional<TJournalPage> ParseJournal(const std::string& b) {
  const size_t magic = sizeof kMagic - 1;
  if (b.compare(0, magic, kMagic) != 0) return std::nullopt;
  size_t headerEnd = b.find("\r\n\r\n", magic - 2);
  if (headerEnd == std::string::npos) return std::nullopt;
  size_t textStart = headerEnd + 4;
  size_t end = b.rfind(kEnd);
  if (end == std::string::npos || end < textStart || b.size() < 2 || b.compare(b.size() - 2, 2, "\r\n") != 0)
    return std::nullopt;
  uint64_t length = 0, sum = 0;
  int used = 0;
  std::string last = b.substr(end + sizeof kEnd - 1, b.size() - 2 - (end + sizeof kEnd - 1));
  if (std::sscanf(last.c_str(), "%" SCNu64 " %" SCNx64 "%n", &length, &sum, &used) != 2 ||
      used != static_cast<int>(last.size()) || last.size() != std::to_string(length).size() + 17)
    return std::nullopt;
  if (length != end - textStart || Sum(kSumStart, b.data() + textStart, length) != sum) return std::nullopt;

  std::vector<std::pair<std::string, std::string>> keys;
  for (size_t at = magic; at < headerEnd + 2;) {
    size_t eol = b.find("\r\n", at);
    std::string l = b.substr(at, eol - at);
    size_t eq = l.find('=');
    if (eq == std::string::npos) return std::nullopt;
    keys.push_back({l.substr(0, eq), l.substr(eq + 1)});
    at = eol + 2;
  }
  auto value = [&](const std::string& k) -> std::optional<std::string> {
    for (const auto& [key, v] : keys)
      if (key == k) return v;
    return std::nullopt;
  };
  TJournalPage p;
  std::optional<int> kind = ParseIniInteger(value("Kind").value_or(""));
  if (!kind || *kind < 0 || *kind > static_cast<int>(TPageKind::QuoteClipboard)) return std::nullopt;
  p.Kind = static_cast<TPageKind>(*kind);
  p.HasFile = value("HasFile").value_or("0") == "1";
  p.FilePath = value("FilePath").value_or("");
  p.View = ReadPageView(value);
  p.Text = b.substr(textStart, length);
  return p;
}

TJournalWriter::TJournalWriter(std::string Target, const TJournalPage& Page)
    : FTarget(std::move(Target)), FSum(kSumStart) {
  if (!OneLine(Page.FilePath)) {
    FFailed = true;
    return;
  }
  FScratch = CreateScratchBeside(FTarget);
  FFile = FScratch.empty() ? nullptr : std::fopen(FScratch.c_str(), "wb");
  const std::string h = Header(Page);
  FFailed = !FFile || std::fwrite(h.data(), 1, h.size(), FFile) != h.size();
}

TJournalWriter::~TJournalWriter() {
  if (FFile) std::fclose(FFile);
  if (!FScratch.empty()) std::remove(FScratch.c_str());
}

bool TJournalWriter::Write(const char* p, size_t n) {
  FSum = Sum(FSum, p, n);
  FLength += n;
  return std::fwrite(p, 1, n, FFile) == n;
}

bool TJournalWriter::Step(const IEditorRows& Rows, size_t Budget) {
  if (FFailed) return false;
  size_t written = 0;
  const int count = Rows.RowCount();
  while (FNextRow < count && written < Budget) {
    const std::string& row = Rows.RowText(FNextRow);
    bool ok = Write(row.data(), row.size());
    if (ok && Rows.RowAttribute(FNextRow) == raCrlf) ok = Write("\r\n", 2);
    if (!ok) {
      FFailed = true;
      return false;
    }
    written += row.size() + 2;
    ++FNextRow;
  }
  if (FNextRow < count) {
    FFailed = !FlushToDisk(FFile);
    return false;
  }
  const std::string t = Trailer(FLength, FSum);
  bool ok = std::fwrite(t.data(), 1, t.size(), FFile) == t.size();
  ok = std::fclose(FFile) == 0 && ok;
  FFile = nullptr;
  if (!ok || !ReplaceFileWith(FScratch, FTarget)) {
    FFailed = true;
    return false;
  }
  FScratch.clear();
  return true;
}

}  // namespace vel
