#pragma once
// Recovery journals: what a modified page needs to come back after the
// program ended without its exit sequence (killed, a crash, a power cut).
// One file per page, written a short idle time after the last change and
// put in place in one step, so a journal is either a whole earlier one or a
// whole new one. The file is a header of key=value lines (the page's kind,
// its file, and its view in PageSetting.ini's keys), a blank line, the text
// as it would be saved, and a last line with the text's length and
// checksum; anything else (a cut, a flipped byte) is no journal.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "shell/PageSettings.h"
#include "syntax/EditorRow.h"

namespace vel {

struct TJournalPage {
  TPageKind Kind = TPageKind::Normal;
  bool HasFile = false;
  std::string FilePath;  // the page's file, or its name ("NewPage3") when it has none
  TPageViewSettings View;
  std::string Text;
  bool operator==(const TJournalPage&) const = default;
};

inline constexpr char kJournalExtension[] = ".vjn";

// The whole journal of Page, at once (tests, small pages).
std::string JournalBytes(const TJournalPage& Page);
// A journal read back, or nothing when the bytes are not a whole journal.
std::optional<TJournalPage> ParseJournal(const std::string& Bytes);

// Writes one page's journal in steps of a bounded size, straight from the
// rows, so a page of any size never holds input up for long and is never
// copied whole. The rows must not change between steps: an edit abandons
// the writer (its scratch file goes with it) and a new one starts later.
class TJournalWriter {
 public:
  // Header: the page without its text. Target: where the journal goes.
  TJournalWriter(std::string Target, const TJournalPage& Header);
  ~TJournalWriter();
  TJournalWriter(const TJournalWriter&) = delete;
  TJournalWriter& operator=(const TJournalWriter&) = delete;

  // Writes rows from where the last step ended, about Budget bytes; true
  // once the journal is complete and in place of Target.
  bool Step(const IEditorRows& Rows, size_t Budget);
  // A write failed (disk full, folder gone): the journal was not replaced.
  bool Failed() const { return FFailed; }

 private:
  bool Write(const char* p, size_t n);
  std::string FTarget, FScratch;
  std::FILE* FFile = nullptr;
  int FNextRow = 0;
  uint64_t FLength = 0, FSum;
  bool FFailed = false;
};

}  // namespace vel
