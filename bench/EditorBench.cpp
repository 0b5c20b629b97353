// Editor control figures on the memo corpus, each next to the baseline it is
// compared with, both measured in this process:
//   load_ms              Lines.LoadFromFile into a control in a headless window
//   type_char_us         one character typed through the window's input path
//                        into a row near the middle, word wrap on at 80, with
//                        the caret update and the repaint decision (median),
//                        against row_update_us: the same edit as one UpdateList
//   select_all_copy_ms   select all and copy to the headless clipboard, against load_ms
//   box_select_copy_ms   a 40-column box over every row, copied, against load_ms
//   first_end_paint_ms   word wrap on at 80, the first Ctrl+End after loading
//                        and the paint it causes, against load_ms: the rows at
//                        the end need their parse state, not the whole text's
//   undo_all_repaint_ms  then 50 characters typed on the first row, all undone
//                        with the end in view, and the paint, against load_ms
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"
#include "platform/headless/HeadlessWindow.h"

namespace {

using namespace vel;
using bench::Median;
using bench::Print;
double Now() { return bench::NowUs(); }


struct THost {
  TEditor Editor;
  headless::THeadlessWindow Window{Editor, TRect{0, 0, 800, 600}};
  THost() { Window.SetFocus(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: EditorBench CORPUS\n");
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

  THost h;
  TEditor& e = h.Editor;
  e.Lines().LoadFromFile(path);
  const int rows = e.ListCount();

  {
    double copyMs = 1e30;
    size_t bytes = 0;
    for (int rep = 0; rep < 3; ++rep) {
      e.CleanSelection();
      const double t0 = Now();
      e.SelectAll();
      e.CopyToClipboard();
      copyMs = std::min(copyMs, (Now() - t0) / 1000);
      bytes = Clipboard().GetText().value_or("").size();
    }
    if (bytes == 0) return 1;
    Print("select_all_copy_ms", copyMs, "ms");
    Print("select_all_copy_ratio", copyMs / loadMs, "x_load");
  }
  {
    double boxMs = 1e30;
    for (int rep = 0; rep < 3; ++rep) {
      e.CleanSelection();
      const double t0 = Now();
      e.SetSelectionMode(smBox);
      e.SetRowCol(0, 10);
      e.InitSelection();
      e.SetRowCol(rows - 1, 50);
      e.SetSelection();
      e.CopyToClipboard();
      boxMs = std::min(boxMs, (Now() - t0) / 1000);
    }
    e.CleanSelection();
    e.SetSelectionMode(smLine);
    Print("box_select_copy_ms", boxMs, "ms");
    Print("box_select_copy_ratio", boxMs / loadMs, "x_load");
  }

  {
    double endMs = 1e30, undoMs = 1e30;
    for (int rep = 0; rep < 3; ++rep) {
      THost w;
      w.Editor.WrapOption().SetWrapByte(80);
      w.Editor.SetWordWrap(true);
      w.Editor.Lines().LoadFromFile(path);
      w.Window.PaintInvalid();
      double t0 = Now();
      w.Window.SendKeyDown(vkEnd, ssCtrl);
      w.Window.PaintInvalid();
      endMs = std::min(endMs, (Now() - t0) / 1000);
      w.Editor.SetRowCol(0, 0);
      w.Window.SendText(std::string(50, 'x'));
      w.Window.SendKeyDown(vkEnd, ssCtrl);
      w.Window.PaintInvalid();
      t0 = Now();
      while (w.Editor.CanUndo()) w.Editor.Undo();
      w.Window.PaintInvalid();
      undoMs = std::min(undoMs, (Now() - t0) / 1000);
    }
    Print("first_end_paint_ms", endMs, "ms");
    Print("first_end_paint_ratio", endMs / loadMs, "x_load");
    Print("undo_all_repaint_ms", undoMs, "ms");
    Print("undo_all_repaint_ratio", undoMs / loadMs, "x_load");
  }

  e.WrapOption().SetWrapByte(80);
  e.SetWordWrap(true);
  TEditorScreenStrings& l = e.ScreenStrings();
  // Each character goes to another row near the middle, so the median is
  // that of ordinary memo rows rather than of one row that keeps growing.
  auto rowAt = [&](int i) { return l.Count() / 2 - 500 + (i * 7919) % 1000; };
  std::vector<double> typed, updated;
  for (int i = 0; i < 2001; ++i) {
    const int r = rowAt(i);
    e.SetRowCol(r, static_cast<int>(l.Rows().Get(r).size()) / 2);
    const double t0 = Now();
    h.Window.SendChar("x");
    typed.push_back(Now() - t0);
    h.Window.TakeInvalid();
  }
  for (int i = 0; i < 2001; ++i) {
    const int r = l.RowStart(rowAt(i));
    const std::string& row = l.Rows().Get(r);
    std::string text = row.substr(0, row.size() / 2) + "x" + row.substr(row.size() / 2);
    l.CheckCrlf(r, text);
    const double t0 = Now();
    l.UpdateList(r, 1, text);
    updated.push_back(Now() - t0);
  }
  const double typeUs = Median(typed), updateUs = Median(updated);
  Print("row_update_us", updateUs, "us");
  Print("type_char_us", typeUs, "us");
  Print("type_char_ratio", typeUs / updateUs, "x_row_update");
  return 0;
}
