// Recovery journal figures for the memo corpus loaded as one page, next to
// the baseline measured in this process:
//   journal_write_ms       the whole journal written in the steps the memo
//                          window takes (1 MB of rows a timer tick), against
//                          save_ms: the same text saved as the page's file
//   journal_idle_pause_ms  the longest single step: the longest the memo
//                          window's input can wait for the journal
#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/BenchUtil.h"
#include "document/EditorStrings.h"
#include "editor/Editor.h"
#include "shell/RecoveryJournal.h"

int main(int argc, char** argv) {
  using namespace vel;
  if (argc < 2) {
    std::fprintf(stderr, "usage: JournalBench CORPUS\n");
    return 2;
  }
  TEditor e;
  e.Lines().LoadFromFile(argv[1]);
  const std::string out = std::string(argv[1]) + ".journal-bench";
  double saveMs = 1e30, writeMs = 1e30, pauseMs = 1e30;
  for (int rep = 0; rep < 3; ++rep) {
    double t0 = bench::NowUs();
    e.Lines().SaveToFile(out);
    saveMs = std::min(saveMs, (bench::NowUs() - t0) / 1000);

    TJournalPage header;
    header.FilePath = argv[1];
    TJournalWriter w(out + ".vjn", header);
    double longest = 0;
    t0 = bench::NowUs();
    for (bool done = false; !done;) {
      const double s = bench::NowUs();
      done = w.Step(e.ScreenStrings().Rows(), 1 << 20);
      longest = std::max(longest, (bench::NowUs() - s) / 1000);
      if (w.Failed()) return 1;
    }
    writeMs = std::min(writeMs, (bench::NowUs() - t0) / 1000);
    pauseMs = std::min(pauseMs, longest);
  }
  std::remove(out.c_str());
  std::remove((out + ".vjn").c_str());
  bench::Print("save_ms", saveMs, "ms");
  bench::Print("journal_write_ms", writeMs, "ms");
  bench::Print("journal_write_ratio", writeMs / saveMs, "x_save");
  bench::Print("journal_idle_pause_ms", pauseMs, "ms");
  return 0;
}
