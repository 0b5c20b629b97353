// Painting figures on the memo corpus through the headless canvas (the
// painting decisions, not the system's drawing), each next to the baseline
// it is compared with, both measured in this process:
//   parse_screen_us     the baseline: the 50 rows of a screen expanded and
//                       walked token by token by the parser alone
//   paint_screen_us     a full 50-row view painted, in the middle of the corpus
//   scroll_page_us      Page Down with the repaint it causes (scroll and paint
//                       of the uncovered rows), against paint_screen_us
//   paint_long_row_us   a view of 10 KB rows, word wrap off, scrolled to column
//                       5,000, against paint_screen_us: the hidden part of a
//                       row may cost its parse, nothing more; also against the
//                       same rows at their left end, and the first paint of a
//                       fresh control (paint_long_row_cold_us)
// Every figure is the median of many runs.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "syntax/EditorParser.h"
#include "platform/headless/HeadlessWindow.h"

namespace {

using namespace vel;
using bench::Median;
using bench::Print;
double Now() { return bench::NowUs(); }


// 50 rows of the headless font's 12 pixels below a 2-pixel top margin.
constexpr int kRows = 50;
struct THost {
  TEditor Editor;
  headless::THeadlessWindow Window{Editor, TRect{0, 0, 800, 2 + kRows * 12 + 5}};
  THost() {
    Window.SetFocus();
    // Colours as the memo window sets them: numbers, URLs, mail and double-byte text stand out.
    TEditorColors& c = Editor.View().Colors();
    c.Int().SetColor(clRed);
    c.Url().SetColor(clBlue);
    c.Mail().SetColor(clGreen);
    c.DBCS().SetColor(clNavy);
  }
  double PaintAll() {
    Window.PaintInvalid();
    Window.Drawn.clear();
    Window.Invalidate(nullptr);
    const double t0 = Now();
    Window.PaintInvalid();
    return Now() - t0;
  }
};

double ParseScreen(TEditor& e) {
  const double t0 = Now();
  auto p = e.ScreenStringsPtr()->GetParserClass()(std::string(), &e, -1);
  auto* q = dynamic_cast<TEditorParser*>(p.get());
  int sum = 0;
  for (int r = e.TopRow(); r < e.TopRow() + kRows; ++r) {
    q->NewData(e.ExpandListStr(r), &e, e.ListBracket(r), e.ListToken(r));
    for (int k = q->Token(); k != toEof; k = q->NextToken()) sum += q->TokenLength();
  }
  const double t = Now() - t0;
  if (sum < 0) std::printf("?");
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: EditorViewBench CORPUS\n");
    return 2;
  }
  InitEditorUnit();
  THost h;
  h.Editor.Lines().LoadFromFile(argv[1]);
  h.Editor.SetRowCol(h.Editor.ListCount() / 2, 0);
  h.Editor.SetTopRow(h.Editor.ListCount() / 2);
  std::vector<double> parse, paint;
  for (int i = 0; i < 300; ++i) {
    parse.push_back(ParseScreen(h.Editor));
    paint.push_back(h.PaintAll());
  }
  const double parseUs = Median(parse), paintUs = Median(paint);
  Print("parse_screen_us", parseUs, "us");
  Print("paint_screen_us", paintUs, "us");
  Print("paint_screen_ratio", paintUs / parseUs, "x_parse_screen");

  std::vector<double> page;
  h.Window.PaintInvalid();
  for (int i = 0; i < 300; ++i) {
    h.Window.Drawn.clear();
    h.Window.Scrolls.clear();
    const double t0 = Now();
    h.Window.SendKeyDown(vkNext);
    h.Window.PaintInvalid();
    page.push_back(Now() - t0);
  }
  const double pageUs = Median(page);
  Print("scroll_page_us", pageUs, "us");
  Print("scroll_page_ratio", pageUs / paintUs, "x_paint_screen");

  // Rows of 10 KB: words, numbers, a URL and double-byte text, repeated.
  std::string row;
  while (row.size() < 10000) row += "memo 12345 http://example.jp/a 日本語のテキスト ";
  std::string text;
  for (int i = 0; i < 200; ++i) text += row + "\r\n";
  auto longView = [&](THost& h, int col) {
    h.Editor.ScreenStrings().UpdateList(0, 0, text);
    h.Editor.SetTopRow(50);
    h.Editor.SetTopCol(col);
  };
  // The same rows at their left end: what the view itself costs to draw.
  THost left;
  longView(left, 0);
  std::vector<double> leftRow;
  for (int i = 0; i < 300; ++i) leftRow.push_back(left.PaintAll());
  const double leftUs = Median(leftRow);
  THost l;
  longView(l, 5000);
  std::vector<double> longRow;
  for (int i = 0; i < 300; ++i) longRow.push_back(l.PaintAll());
  const double longUs = Median(longRow);
  // The first paint of a fresh control, before any place to resume at is kept.
  std::vector<double> cold;
  for (int i = 0; i < 30; ++i) {
    THost c;
    longView(c, 5000);
    c.Window.Invalidate(nullptr);
    const double t0 = Now();
    c.Window.PaintInvalid();
    cold.push_back(Now() - t0);
  }
  const double coldUs = Median(cold);
  Print("paint_long_row_left_us", leftUs, "us");
  Print("paint_long_row_us", longUs, "us");
  Print("paint_long_row_ratio", longUs / paintUs, "x_paint_screen");
  Print("paint_long_row_left_ratio", longUs / leftUs, "x_paint_long_row_left");
  Print("paint_long_row_cold_us", coldUs, "us");
  Print("paint_long_row_cold_ratio", coldUs / paintUs, "x_paint_screen");
  return 0;
}
