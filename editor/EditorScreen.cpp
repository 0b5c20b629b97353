// The margins around the text (the left bar with line numbers, the ruler,
// the corner between them) and the repaint after a change of the rows.
// The ruler's gauge and digit strips are kept in off-screen bitmaps made
// once per look, so moving the caret's ruler mark is two small copies.
#include "editor/EditorScreen.h"

#include <algorithm>
#include <cstdlib>

#include "editor/Editor.h"

namespace vel {

namespace {

constexpr int kDigitW = 5, kDigitH = 9;

// The digit glyphs: 9 rows of 5 pixels each, the leftmost pixel in bit 4;
// the 1 uses only the first three columns.
constexpr unsigned char kGlyphs[10][kDigitH] = {
    {0x0E, 0x11, 0x13, 0x15, 0x15, 0x19, 0x11, 0x11, 0x0E},  // 0
    {0x08, 0x18, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x1C},  // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10, 0x1F},  // 2
    {0x0E, 0x11, 0x01, 0x01, 0x06, 0x01, 0x01, 0x11, 0x0E},  // 3
    {0x02, 0x06, 0x0A, 0x12, 0x12, 0x1F, 0x02, 0x02, 0x02},  // 4
    {0x1F, 0x10, 0x10, 0x1E, 0x01, 0x01, 0x01, 0x11, 0x0E},  // 5
    {0x0E, 0x11, 0x10, 0x10, 0x1E, 0x11, 0x11, 0x11, 0x0E},  // 6
    {0x1F, 0x01, 0x02, 0x02, 0x04, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0E, 0x11, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x11, 0x0E},  // 8
    {0x0E, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01, 0x11, 0x0E},  // 9
};

int GlyphWidth(int d) { return d == 1 ? 3 : kDigitW; }


}  // namespace

void TEditorScreen::Update() {
  TEditor& e = FEditor;
  const TEditorDrawInfo d = e.ScreenStrings().DrawInfo();
  if (!d.NeedUpdate || !e.HandleAllocated()) return;
  if (e.AdjustLeftbarColumn()) {
    // A digit more or less: the bar changed width and every column moved.
    const int old = e.LeftMargin();
    e.InitDrawInfo();
    e.UpdateLeftBarWidth(old, e.LeftMargin());
    return;
  }
  const int vis = e.VisibleRows();
  const int diff = d.NewCount - d.OldCount;
  if (std::abs(diff) > vis) {
    TRect r{0, e.TopMargin(), e.FClientWidth, e.FClientHeight};
    e.Window()->Invalidate(&r);
    return;
  }
  const int E = d.Start + d.NewCount + std::max(0, d.BracketCount - d.NewCount);
  const int count = e.ListCount();
  // The rows are invalidated, not painted here: the window paints them as
  // soon as the input that changed them is handled.
  if (diff == 0) {
    e.InvalidateRows(d.Start, E < count ? E - 1 : E);
  } else {
    e.InvalidateRows(d.Start, E - 1);
    e.LineScroll(E, diff);
    if (E >= count) e.InvalidateRows(E, E);
  }
  const TEditorLeftbar& bar = e.Leftbar();
  if (bar.Visible() && bar.ShowNumber()) {
    // Row numbers are positional: they stay valid while the rows below the
    // view are rows still.
    const bool skip = bar.ShowNumberMode() == nmRow && (diff == 0 || count > e.TopRow() + vis);
    if (!skip) e.InvalidateLeftbar(E, d.Start + vis);
  }
}

bool TEditor::AdjustLeftbarColumn() {
  if (!FLeftbar->Visible()) return false;
  return FMargin->Left() + LeftbarWidth() != FLeftMargin;
}

void TEditor::UpdateLeftBarWidth(int OldWidth, int NewWidth) {
  if (!FWindow) return;
  if (NewWidth != OldWidth) DoScroll(NewWidth - OldWidth, 0, TRect{0, 0, FClientWidth, FClientHeight});
  TRect bar{0, 0, std::max(NewWidth, OldWidth), FClientHeight};
  FWindow->Invalidate(&bar);
  InitScroll();
  FWindow->Update();
}

void TEditor::PaintLeftbar(int FirstRow, int LastRow) {
  if (!FWindow || !FLeftbar->Visible()) return;
  TCaretUpdate hold(*this);
  std::unique_ptr<ICanvas> own;
  ICanvas* c = FVs.Canvas;
  if (!c) own = FWindow->GetCanvas(), c = own.get();
  const TEditorLeftbar& b = *FLeftbar;
  const int bw = FLeftMargin - FMargin->Left();
  const int T = FTopMargin;
  const int y0 = T + (FirstRow - FTopRow) * FRowHeight;
  const int y1 = std::min(FClientHeight, T + (LastRow + 1 - FTopRow) * FRowHeight);
  if (y1 <= y0) return;
  c->Line(bw - 2, y0, bw - 2, y1, b.Edge() ? clWhite : b.BkColor());
  c->Line(bw - 1, y0, bw - 1, y1, b.Edge() ? clGray : b.Color());
  const int count = FList->Count();
  const bool endsWithBreak = count == 0 || FList->Rows().GetRows(count - 1) == raCrlf;
  const int digits = std::max(1, (bw - 2 - b.LeftMargin() - b.RightMargin()) / FColWidth);
  const int base = b.ZeroBase() ? 0 : 1;
  // The logical line of the first row, counted once; then counted on.
  int line = b.ShowNumberMode() == nmLine && FirstRow > 0 ? RowToLines(std::min(FirstRow, count)) : 0;
  c->SetFont(FFont);
  for (int r = FirstRow; r <= LastRow; ++r) {
    const int y = T + (r - FTopRow) * FRowHeight;
    if (y >= FClientHeight) break;
    const TRect cell{0, y, bw - 2, y + FRowHeight};
    const bool starts = r == 0 || (r <= count && FList->Rows().GetRows(r - 1) != raWrapped);
    if (starts && r > FirstRow) ++line;
    int number = -1;
    if (b.ShowNumber() && r >= 0 && (r < count || (r == count && endsWithBreak))) {
      if (b.ShowNumberMode() == nmRow)
        number = r + base;
      else if (starts)
        number = line + base;
    }
    if (number < 0) {
      c->FillRect(cell, b.BkColor());
      continue;
    }
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<size_t>(digits) - text.size(), b.ZeroLead() ? '0' : ' ');
    SetAdvances(text);
    c->TextOut(b.LeftMargin(), y, cell, text, FVs.Advances, b.Color(), b.BkColor());
  }
}

void TEditor::InvalidateLeftbar(int Row1, int Row2) {
  if (!FWindow || !FLeftbar->Visible()) return;
  Row1 = std::max(Row1, FTopRow);
  Row2 = std::min(Row2, FTopRow + FVisibleRows);
  if (Row1 > Row2) return;
  PaintLeftbar(Row1, Row2);
}

// Everything the bitmaps depend on, so that they are rebuilt only on a change.
void TEditor::InitMarginBitmaps() {
  if (!FWindow) return;
  const TEditorRuler& r = *FRuler;
  const TEditorLeftbar& b = *FLeftbar;
  const TRect screen = ScreenRect();
  const int g = r.GaugeRange() * FColWidth;
  const int rw = g * (std::max(screen.Width(), FClientWidth) / g + 2);
  const int rh = RulerHeight();
  std::string key;
  for (long v : {long(FLeftMargin), long(FTopMargin), long(FColWidth), long(rh), long(rw), long(r.GaugeRange()),
                 long(r.BkColor()), long(r.Color()), long(r.MarkColor()), long(r.Edge()), long(b.Visible()),
                 long(b.Edge()), long(b.BkColor()), long(b.Color()), long(FVs.Color), long(FMargin->Left())})
    key += std::to_string(v) + ",";
  if (key == FVs.BitmapKey) return;
  FVs.BitmapKey = key;
  std::unique_ptr<ICanvas> canvas = FWindow->GetCanvas();
  const int L = FLeftMargin, T = FTopMargin;
  FVs.OriginBase = canvas->CreateOffscreen(std::max(L, 1), std::max(T, 1));
  IOffscreen& o = *FVs.OriginBase;
  o.FillRect({0, 0, L, T}, FVs.Color);
  if (b.Visible() && b.Edge()) {
    const int bw = L - FMargin->Left();
    o.FillRect({0, 0, bw - 2, T}, b.BkColor());
    o.Line(bw - 2, 0, bw - 2, T, clWhite);
    o.Line(bw - 1, 0, bw - 1, T, clGray);
  }
  if (r.Visible() && r.Edge()) {
    o.FillRect({0, 0, L, rh}, r.BkColor());
    o.Line(0, rh - 2, L, rh - 2, clWhite);
    o.Line(0, rh - 1, L, rh - 1, clGray);
  }
  FVs.RulerBase.reset();
  FVs.RulerMarkBase.reset();
  FVs.RulerBaseFor = -1;
  if (!r.Visible()) return;
  // One gauge period drawn per colour pair, then numbers on top, for the
  // normal and the inverted (mark) look.
  auto build = [&](TColor bk, TColor fg) {
    std::unique_ptr<IOffscreen> gauge = canvas->CreateOffscreen(rw, rh);
    gauge->FillRect({0, 0, rw, rh}, bk);
    for (int k = 0; k < r.GaugeRange(); ++k) {
      const int y0 = k == 0 ? 0 : k == r.GaugeRange() / 2 ? 3 : 6;
      for (int x = k * FColWidth; x < rw; x += g) gauge->Line(x, y0, x, rh - 1, fg);
    }
    if (r.Edge()) {
      gauge->Line(0, rh - 2, rw, rh - 2, clWhite);
      gauge->Line(0, rh - 1, rw, rh - 1, clGray);
    } else {
      gauge->Line(0, rh - 1, rw, rh - 1, fg);
    }
    std::unique_ptr<IOffscreen> digits = canvas->CreateOffscreen(56, kDigitH);
    digits->FillRect({0, 0, 56, kDigitH}, bk);
    for (int d = 0; d < 10; ++d)
      for (int y = 0; y < kDigitH; ++y)
        for (int x = 0; x < kDigitW; ++x)
          if (kGlyphs[d][y] & (0x10 >> x)) digits->FillRect({d * kDigitW + x, y, d * kDigitW + x + 1, y + 1}, fg);
    return std::make_pair(std::move(gauge), std::move(digits));
  };
  auto normal = build(r.BkColor(), r.Color());
  auto mark = build(r.MarkColor(), r.BkColor());
  FVs.RulerGauge = std::move(normal.first);
  FVs.RulerDigits = std::move(normal.second);
  FVs.RulerMarkGauge = std::move(mark.first);
  FVs.RulerMarkDigits = std::move(mark.second);
}

void TEditor::PaintRuler() {
  if (!FWindow || !FRuler->Visible()) return;
  InitMarginBitmaps();
  const int gr = FRuler->GaugeRange();
  const int g = gr * FColWidth;
  const int rh = RulerHeight();
  const int first = FTopCol / gr * gr;
  if (FVs.RulerBaseFor != first || !FVs.RulerBase) {
    // The numbers from the period that holds the first visible column on.
    std::unique_ptr<ICanvas> canvas = FWindow->GetCanvas();
    auto base = [&](IOffscreen& gauge, IOffscreen& digits, TColor bk) {
      std::unique_ptr<IOffscreen> b = canvas->CreateOffscreen(gauge.Width(), rh);
      b->Draw(0, 0, gauge, {0, 0, gauge.Width(), rh});
      const int last = MaxCol();
      for (int x = 1, n = first; x < gauge.Width(); x += g, n += gr) {
        if (n >= last) b->FillRect({x - 1, 0, gauge.Width(), rh - (FRuler->Edge() ? 2 : 1)}, bk);
        int dx = x;
        for (char ch : std::to_string(n)) {
          const int d = ch - '0';
          b->Draw(dx, 0, digits, {d * kDigitW, 0, d * kDigitW + GlyphWidth(d), kDigitH});
          dx += GlyphWidth(d) + 1;
        }
        if (n >= last) break;
      }
      return b;
    };
    FVs.RulerBase = base(*FVs.RulerGauge, *FVs.RulerDigits, FRuler->BkColor());
    FVs.RulerMarkBase = base(*FVs.RulerMarkGauge, *FVs.RulerMarkDigits, FRuler->MarkColor());
    FVs.RulerBaseFor = first;
  }
  std::unique_ptr<ICanvas> own;
  ICanvas* c = FVs.Canvas;
  if (!c) own = FWindow->GetCanvas(), c = own.get();
  const int sx = (FTopCol % gr) * FColWidth;
  c->Draw(FLeftMargin, 0, *FVs.RulerBase, {sx, 0, sx + FClientWidth - FLeftMargin, rh});
  FVs.RulerMarkCol = -1;
  DrawRulerMark(FCol);
}

bool TEditor::CopyRulerColumn(int Col, IOffscreen* From) {
  if (!FWindow || !FRuler->Visible() || !From) return false;
  if (Col < FTopCol || Col > FTopCol + FVisibleCols) return false;
  std::unique_ptr<ICanvas> own;
  ICanvas* c = FVs.Canvas;
  if (!c) own = FWindow->GetCanvas(), c = own.get();
  const int x = FLeftMargin + (Col - FTopCol) * FColWidth + 1;
  const int sx = x - FLeftMargin + (FTopCol % FRuler->GaugeRange()) * FColWidth;
  const int h = RulerHeight() - 1 - (FRuler->Edge() ? 1 : 0);
  c->Draw(x, 0, *From, {sx, 0, sx + FColWidth - 1, h});
  return true;
}

void TEditor::DrawRulerMark(int Col) {
  if (CopyRulerColumn(Col, FVs.RulerMarkBase.get())) FVs.RulerMarkCol = Col;
}

void TEditor::HideRulerMark(int Col) {
  if (!CopyRulerColumn(Col, FVs.RulerBase.get())) return;
  if (FVs.RulerMarkCol == Col) FVs.RulerMarkCol = -1;
}

void TEditor::SyncRulerMark() {
  if (!FRuler->Visible() || FVs.RulerMarkCol == FCol) return;
  if (FVs.RulerMarkCol >= 0) HideRulerMark(FVs.RulerMarkCol);
  DrawRulerMark(FCol);
}

}  // namespace vel
