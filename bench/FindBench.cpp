// Search and replace figures of TEditorEx on the memo corpus, each next to the
// baseline it is compared with, both measured in this process:
//   load_ms               Lines.LoadFromFile into a control in a headless window
//   load_wrap_ms          the same with word wrap on at 80
//   find_last_ms          word wrap on at 80, Find from the top of a literal
//                         that is only on the last line (case folded), against load_ms
//   find_last_case_ms     the same with soMatchCase, nothing lowered
//   find_last_jp_ms       the same for a Japanese word, nothing lowered either
//   find_regex_last_ms    the same with a regular expression, against load_ms
//   find_fuzzy_last_ms    the same with the fuzzy option, against load_ms
//   replace_all_ms        ReplaceAll of a regular expression with about
//                         100,000 matches, against load_ms
//   replace_all_undo_ms   its Undo, against load_ms
//   update_all_ms         the whole text put back by one UpdateList, the
//                         edit that replace-all ends with
//   replace_all_wrap_ms   both with word wrap on at 80, against load_wrap_ms
//   replace_all_wrap_undo_ms
//   paint_screen_us       a 50-row view in the middle painted (median)
//   emphasis_paint_us     the same view with emphasis on a regular
//                         expression, against paint_screen_us
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "editor/EditorCursorNames.h"
#include "editor/EditorEx.h"
#include "platform/headless/HeadlessWindow.h"

namespace {

using namespace vel;
using bench::BestMs;
using bench::Median;
using bench::Print;
double Now() { return bench::NowUs(); }

constexpr int kRows = 50;
struct THost {
  TEditorEx Editor;
  headless::THeadlessWindow Window{Editor, TRect{0, 0, 800, 2 + kRows * 12 + 5}};
  THost() { Window.SetFocus(); }
  double PaintAll() {
    Window.PaintInvalid();
    Window.Drawn.clear();
    Window.Invalidate(nullptr);
    const double t0 = Now();
    Window.PaintInvalid();
    return Now() - t0;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: FindBench CORPUS\n");
    return 2;
  }
  const char* path = argv[1];
  InitEditorUnit();
  double loadMs = 1e30;
  for (int rep = 0; rep < 3; ++rep) {
    THost h;
    const double t0 = Now();
    h.Editor.Lines().LoadFromFile(path);
    loadMs = std::min(loadMs, (Now() - t0) / 1000);
  }
  Print("load_ms", loadMs, "ms");
  double loadWrapMs = 1e30;
  for (int rep = 0; rep < 2; ++rep) {
    THost h;
    h.Editor.WrapOption().SetWrapByte(80);
    h.Editor.SetWordWrap(true);
    const double t0 = Now();
    h.Editor.Lines().LoadFromFile(path);
    loadWrapMs = std::min(loadWrapMs, (Now() - t0) / 1000);
  }
  Print("load_wrap_ms", loadWrapMs, "ms");

  {
    THost h;
    TEditorEx& e = h.Editor;
    e.WrapOption().SetWrapByte(80);
    e.SetWordWrap(true);
    e.Lines().LoadFromFile(path);
    e.Lines().Add("最後の行 VelNeedle ベルモリンド");
    int len = 0, pos = 0;
    const double findMs = BestMs([&] { pos = e.Find("velneedle", 0, len, {}); });
    if (pos < 0) std::fprintf(stderr, "literal not found\n");
    Print("find_last_ms", findMs, "ms");
    Print("find_last_case_ms", BestMs([&] { pos = e.Find("VelNeedle", 0, len, {soMatchCase}); }), "ms");
    Print("find_last_jp_ms", BestMs([&] { pos = e.Find("ベルモリンド", 0, len, {}); }), "ms");
    const double regexMs = BestMs([&] { pos = e.Find("Vel[N]e+dle", 0, len, {soRegexp}); });
    if (pos < 0) std::fprintf(stderr, "regex not found\n");
    Print("find_regex_last_ms", regexMs, "ms");
    const double fuzzyMs = BestMs([&] { pos = e.Find("ﾍﾞﾙﾓﾘﾝﾄﾞ", 0, len, {soFuzzy}); });
    if (pos < 0) std::fprintf(stderr, "fuzzy not found\n");
    Print("find_fuzzy_last_ms", fuzzyMs, "ms");

    const double t0 = Now();
    const int count = e.ReplaceAll("[a-z]+@example", "someone@example", {soRegexp});
    Print("replace_all_wrap_ms", (Now() - t0) / 1000, "ms");
    Print("replace_all_wrap_count", count, "matches");
    const double t1 = Now();
    e.Undo();
    Print("replace_all_wrap_undo_ms", (Now() - t1) / 1000, "ms");
  }
  {
    THost h;
    TEditorEx& e = h.Editor;
    e.Lines().LoadFromFile(path);
    {
      // The edit alone: the whole text put back as one UpdateList.
      const std::string text = e.ScreenStrings().Text();
      const double t0 = Now();
      e.ScreenStrings().UpdateList(0, e.ListCount(), text);
      Print("update_all_ms", (Now() - t0) / 1000, "ms");
      e.Undo();
    }
    const double t0 = Now();
    const int count = e.ReplaceAll("[a-z]+@example", "someone@example", {soRegexp});
    Print("replace_all_ms", (Now() - t0) / 1000, "ms");
    Print("replace_all_count", count, "matches");
    const double t1 = Now();
    e.Undo();
    Print("replace_all_undo_ms", (Now() - t1) / 1000, "ms");
  }

  {
    THost h;
    TEditorEx& e = h.Editor;
    e.Lines().LoadFromFile(path);
    e.SetRowCol(e.ListCount() / 2, 0);
    e.SetTopRow(e.ListCount() / 2);
    std::vector<double> plain, emphasis;
    for (int i = 0; i < 300; ++i) plain.push_back(h.PaintAll());
    int len;
    e.Find("[a-z]+@|の", e.SelStart(), len, {soRegexp});
    e.SetTopRow(e.ListCount() / 2);
    for (int i = 0; i < 300; ++i) emphasis.push_back(h.PaintAll());
    Print("paint_screen_us", Median(plain), "us");
    Print("emphasis_paint_us", Median(emphasis), "us");
  }
  return 0;
}
