// Word wrap of the row list: cutting a logical line into rows under the wrap
// settings, and re-wrapping or unwrapping the whole document.
#include <algorithm>

#include "text/UpdateGuard.h"

#include "document/EditorAttributeArray.h"
#include "document/EditorScreenStrings.h"

namespace vel {

const TEditorScreenStrings::TCharTable& TEditorScreenStrings::TCharTable::For(const std::string& List) {
  if (Built && List == Source) return *this;
  Source = List;
  Built = true;
  Single.reset();
  Double.reset();
  for (size_t i = 0; i < List.size(); i = sjis::NextChar(List, i)) {
    auto b = static_cast<unsigned char>(List[i]);
    Single.set(b);
    if (sjis::CharLen(List, i) == 2) Double.set(b << 8 | static_cast<unsigned char>(List[i + 1]));
  }
  return *this;
}

bool TEditorScreenStrings::TCharTable::Has(const std::string& Char) const {
  if (Char.size() == 1) return Single[static_cast<unsigned char>(Char[0])];
  if (Char.size() == 2)
    return Double[static_cast<unsigned char>(Char[0]) << 8 | static_cast<unsigned char>(Char[1])];
  return !Char.empty() && IsInclude(Char, Source);
}

TColumnMapOptions TEditorScreenStrings::ColumnOptions() const {
  TColumnMapOptions o = FLayout;
  o.WordWrap = FWordWrap;
  o.WrapByte = FWrapOption->GetWrapByte();
  return o;
}

void TEditorScreenStrings::SetTabSpaceCount(int Value) {
  if (Value == FLayout.TabSpaceCount) return;
  FLayout.TabSpaceCount = Value;
  LayoutChanged();
}

void TEditorScreenStrings::SetDelimiters(const TCharSet& Value) {
  if (Value == FLayout.Delimiters) return;
  FLayout.Delimiters = Value;
  LayoutChanged();
}

int TEditorScreenStrings::DisplayWidth(const std::string& S, const TColumnMapOptions& Layout) const {
  if (S.find('\t') == std::string::npos) return static_cast<int>(S.size());
  return ExpandLength(S, Layout);
}

// Each row is measured from its own start, as it is shown: a row's tab stops
// and its cut depend only on the text from its first byte on, never on where
// an earlier walk began. So cutting from any row start gives the rows a cut
// of the whole line gives, and an undo puts back exactly the rows it took.
// A row looks at most WrapByte + 4 columns ahead, so the column map is made
// for a window of WrapByte + 6 bytes at a time.
template <class F>
int TEditorScreenStrings::CutLine(const std::string& Line, F&& Row, int Width) {
  const TEditorWrapOption& wo = *FWrapOption;
  const int W = wo.GetWrapByte();
  const size_t len = Line.size();
  const TColumnMapOptions layout = ColumnOptions();
  if ((Width < 0 ? DisplayWidth(Line, layout) : Width) < W) {
    Row(0, len);
    return 1;
  }
  const int kinsokuMin = (W / 5) * 4;
  const TCharTable& lead = FLeadTable.For(wo.GetLeadStr());
  const TCharTable& follow = FFollowTable.For(wo.GetFollowStr());
  const TCharTable& punctuation = FPunctuationTable.For(wo.GetPunctuationStr());
  size_t B = 0;
  int rows = 0;
  std::string window;
  while (true) {
    if (B >= len) {
      // The previous row ended exactly at the line's end.
      if (!wo.GetFollowRetMark()) {
        Row(len, 0);
        ++rows;
      }
      return rows;
    }
    window.assign(Line, B, static_cast<size_t>(W) + 6);
    const bool more = B + window.size() < len;
    // The rest of a line usually fits: a measurement decides that without a map.
    if (!more && DisplayWidth(window, layout) < W) {
      Row(B, len - B);
      return rows + 1;
    }
    std::string map = StrToAttributes(window, layout);
    const int size = static_cast<int>(map.size());
    TEditorAttributeArray cur(window, std::move(map));
    auto back = [&] {
      cur.Prior();
      if (cur.Code() == cmLead) cur.Prior();
    };
    cur.SetPosition(W);
    if (cur.Code() == cmLead) {
      cur.Prior();
    } else if (wo.GetWordBreak() && (more || size > W)) {
      while (cur.Code() != cmDelimiter && cur.Code() != cmTabBlank && cur.Code() != cmTrail &&
             cur.GetPosition() > W / 3)
        back();
    }
    if (wo.GetFollowPunctuation()) {
      while (true) {
        std::string next = cur.NextPositionString();
        if (!punctuation.Has(next)) break;
        int p = cur.GetPosition();
        int w = (cur.CodeAt(p + 1) == cmLead && cur.CodeAt(p + 2) == cmTrail) ? 2 : 1;
        // Hanging punctuation goes at most two columns past the width.
        if (p + w > W + 2) break;
        for (int k = 0; k < w; ++k) cur.Next();
      }
    }
    if (wo.GetLeading() && cur.GetPosition() < size) {
      while (cur.GetPosition() > kinsokuMin && lead.Has(cur.PositionString())) back();
      if (cur.GetPosition() + 2 <= size && follow.Has(cur.NextPositionString())) {
        while (cur.GetPosition() > kinsokuMin &&
               (lead.Has(cur.PositionString()) || follow.Has(cur.NextPositionString())))
          back();
      }
    }
    const size_t rowLen = std::min(static_cast<size_t>(cur.GetStrIndex()), window.size());
    Row(B, rowLen);
    ++rows;
    cur.Next();
    while (cur.Code() == cmTabBlank) cur.Next();
    B += static_cast<size_t>(cur.GetStrIndex()) - 1;
  }
}

void TEditorScreenStrings::AppendCutLine(const std::string& Line, TEditorStringList& List, int Width) {
  CutLine(Line, [&](size_t b, size_t n) { List.AddRow(Line.substr(b, n), raWrapped); }, Width);
  List.SetRows(List.Count() - 1, raCrlf);
}

void TEditorScreenStrings::StrToWrapList(const std::string& S, TEditorStringList& List) {
  TUpdateGuard g(List);
  List.Clear();
  if (S.empty()) {
    List.AddRow(std::string(), raCrlf);
  } else if (!FWordWrap) {
    sjis::ForEachLine(S, [&](size_t b, size_t n) { List.AddRow(S.substr(b, n), raCrlf); });
  } else {
    std::string line;
    sjis::ForEachLine(S, [&](size_t b, size_t n) {
      line.assign(S, b, n);
      AppendCutLine(line, List);
    });
  }
}

int TEditorScreenStrings::WrapCount(const std::string& S) {
  if (!FWordWrap) return 1;
  return CutLine(S, [](size_t, size_t) {});
}

namespace {

// Rows moved out of a list into the list that will replace it. If building
// the new list fails, the destructor moves every one of them back (without
// allocating), so an exception leaves the old rows whole; a row that is the
// first piece of a cut line keeps its whole text until Commit.
class TTakenRows {
 public:
  TTakenRows(TEditorStringList& From, TEditorStringList& To, TEditorRowAttribute LastAttr)
      : FFrom(From), FTo(To), FLastAttr(LastAttr) {
    FLog.reserve(static_cast<size_t>(From.Count()));
  }
  ~TTakenRows() {
    if (FDone) return;
    const int last = FFrom.Count() - 1;
    for (const TEntry& e : FLog) {
      FFrom.TakeBack(FTo, e.To, e.From);
      FFrom.SetRows(e.From, e.From == last ? FLastAttr : raCrlf);
    }
  }
  TTakenRows(const TTakenRows&) = delete;
  TTakenRows& operator=(const TTakenRows&) = delete;

  // Appends row r with the given attribute; at Commit its text is cut to
  // Length bytes when Length is not npos.
  void Take(int r, TEditorRowAttribute a, size_t Length = std::string::npos) {
    FTo.AppendTaken(FFrom, r);
    FLog.push_back({r, FTo.Count() - 1, Length});
    FTo.SetRows(FTo.Count() - 1, a);
  }
  void Commit() {
    for (const TEntry& e : FLog)
      if (e.Length != std::string::npos) FTo.Ref(e.To).resize(e.Length);
    FDone = true;
  }

 private:
  struct TEntry {
    int From, To;
    size_t Length;
  };
  TEditorStringList& FFrom;
  TEditorStringList& FTo;
  const TEditorRowAttribute FLastAttr;
  std::vector<TEntry> FLog;
  bool FDone = false;
};

}  // namespace

void TEditorScreenStrings::WrapLines() {
  if (Count() == 0 || ClientLoading()) {
    RebuildIndex();
    return;
  }
  for (IEditorClient* c : FClients) c->CleanSelection();
  TQuietScope quiet(*this);
  {
    TEditorStringList rows, cut;
    const int n = Count();
    const TEditorRowAttribute lastAttr = FRows.GetRows(n - 1);
    TTakenRows taken(FRows, rows, lastAttr);
    const int W = FWrapOption->GetWrapByte();
    const TColumnMapOptions layout = ColumnOptions();
    rows.Reserve(n + n / 8);
    std::string line;
    std::vector<std::pair<size_t, size_t>> pieces;
    for (int r = 0; r < n;) {
      int e = r;
      while (e < n - 1 && FRows.GetRows(e) == raWrapped) ++e;
      const int width = e == r ? DisplayWidth(FRows.Get(r), layout) : -1;
      if (e == r && width < W) {
        taken.Take(r, raCrlf);
      } else if (e == r) {
        // The row's own record keeps the first piece, so a cut line costs no
        // allocation beyond its further rows. Those are made first: nothing
        // that can fail happens once the row is taken.
        pieces.clear();
        CutLine(FRows.Get(r), [&](size_t b, size_t n) { pieces.push_back({b, n}); }, width);
        const std::string& whole = FRows.Get(r);
        for (size_t k = 1; k < pieces.size(); ++k) cut.AddRow(whole.substr(pieces[k].first, pieces[k].second), raWrapped);
        if (cut.Count() > 0) cut.SetRows(cut.Count() - 1, raCrlf);
        rows.Reserve(rows.Count() + 1 + cut.Count());
        taken.Take(r, pieces.size() > 1 ? raWrapped : raCrlf, pieces[0].second);
        rows.TakeRows(rows.Count(), cut);
      } else {
        line.clear();
        for (int k = r; k <= e; ++k) line += FRows.Get(k);
        StrToWrapList(line, cut);
        rows.TakeRows(rows.Count(), cut);
      }
      r = e + 1;
    }
    rows.SetRows(rows.Count() - 1, lastAttr == raWrapped ? raEof : lastAttr);
    taken.Commit();
    FRows.Swap(rows);
    RebuildIndex();
  }
}

void TEditorScreenStrings::StretchLines() {
  if (Count() == 0) {
    RebuildIndex();
    return;
  }
  for (IEditorClient* c : FClients) c->CleanSelection();
  const int n = Count();
  TEditorRowAttribute lastAttr = FRows.GetRows(n - 1);
  if (lastAttr == raWrapped) lastAttr = raEof;
  TQuietScope quiet(*this);
  {
    TEditorStringList rows;
    TTakenRows taken(FRows, rows, FRows.GetRows(n - 1));
    rows.Reserve(n);
    for (int r = 0; r < n;) {
      int e = r;
      while (e < n - 1 && FRows.GetRows(e) == raWrapped) ++e;
      if (e == r) {
        taken.Take(r, raCrlf);
      } else {
        std::string line;
        for (int k = r; k <= e; ++k) line += FRows.Get(k);
        rows.AddRow(std::move(line), raCrlf);
      }
      r = e + 1;
    }
    rows.SetRows(rows.Count() - 1, lastAttr);
    taken.Commit();
    FRows.Swap(rows);
    RebuildIndex();
  }
}

void TEditorScreenStrings::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (ClientLoading()) {
    RebuildIndex();
    return;
  }
  FUndoObj->Clear();
  if (Value)
    WrapLines();
  else
    StretchLines();
  InitBrackets();
  ClientsInitView();
  ClientsAdjustRow();
  for (IEditorClient* c : FClients) c->SetCol(0);
}

void TEditorScreenStrings::WrapOptionChanged() { LayoutChanged(); }

void TEditorScreenStrings::LayoutChanged() {
  if (!FWordWrap || ClientLoading()) return;
  FUndoObj->Clear();
  WrapLines();
  InitBrackets();
  ClientsInitView();
  ClientsAdjustRow();
  for (IEditorClient* c : FClients) c->SetCol(0);
}

}  // namespace vel
