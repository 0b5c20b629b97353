// Word wrap of the row list: cutting a logical line into rows under the wrap
// settings, and re-wrapping or unwrapping the whole document.
#include <algorithm>

#include "editor/EditorAttributeArray.h"
#include "editor/EditorScreenStrings.h"

namespace vel {

TColumnMapOptions TEditorScreenStrings::ColumnOptions() const {
  static const TCharSet delimiters = CreateDelimiters();
  TColumnMapOptions o;
  o.Delimiters = delimiters;
  o.WordWrap = FWordWrap;
  o.WrapByte = FWrapOption->GetWrapByte();
  return o;
}

std::string TEditorScreenStrings::Attributes(const std::string& S) const {
  IEditorClient* c = GetClient();
  return c ? c->StrToAttributes(S) : StrToAttributes(S, ColumnOptions());
}

int TEditorScreenStrings::DisplayWidth(const std::string& S) const {
  if (S.find('\t') == std::string::npos) return static_cast<int>(S.size());
  IEditorClient* c = GetClient();
  return c ? static_cast<int>(c->ExpandTab(S).size()) : ExpandLength(S, ColumnOptions());
}

template <class F>
int TEditorScreenStrings::CutLine(const std::string& Line, F&& Row) {
  const TEditorWrapOption& wo = *FWrapOption;
  const int W = wo.GetWrapByte();
  const int len = static_cast<int>(Line.size());
  if (DisplayWidth(Line) < W) {
    Row(0, Line.size());
    return 1;
  }
  const std::string map = Attributes(Line);
  const int size = static_cast<int>(map.size());
  TEditorAttributeArray cur(Line, map);
  int B = 1, C = 1, rows = 0;
  auto width = [&] { return cur.GetPosition() - C + 1; };
  auto back = [&] {
    cur.Prior();
    if (cur.Code() == '4') cur.Prior();
  };
  const int kinsokuMin = (W / 5) * 4;
  while (true) {
    cur.SetPosition(C + W - 1);
    if (cur.Code() == '0') {
      if (C <= size) {
        Row(static_cast<size_t>(B - 1), static_cast<size_t>(len - (B - 1)));
        ++rows;
      } else if (!wo.GetFollowRetMark()) {
        Row(Line.size(), 0);
        ++rows;
      }
      return rows;
    }
    if (cur.Code() == '4') {
      cur.Prior();
    } else if (wo.GetWordBreak() && size - C + 1 > W) {
      while (cur.Code() != '2' && cur.Code() != '3' && cur.Code() != '5' && width() > W / 3) back();
    }
    if (wo.GetFollowPunctuation()) {
      while (true) {
        std::string next = cur.NextPositionString();
        if (next.empty() || !IsInclude(next, wo.GetPunctuationStr())) break;
        int p = cur.GetPosition();
        int w = (cur.CodeAt(p + 1) == '4' && cur.CodeAt(p + 2) == '5') ? 2 : 1;
        // Hanging punctuation goes at most two columns past the width.
        if (width() + w > W + 2) break;
        for (int k = 0; k < w; ++k) cur.Next();
      }
    }
    if (wo.GetLeading() && cur.GetPosition() < size) {
      while (width() > kinsokuMin && IsInclude(cur.PositionString(), wo.GetLeadStr())) back();
      if (cur.GetPosition() + 2 <= size && IsInclude(cur.NextPositionString(), wo.GetFollowStr())) {
        while (width() > kinsokuMin && (IsInclude(cur.PositionString(), wo.GetLeadStr()) ||
                                        IsInclude(cur.NextPositionString(), wo.GetFollowStr())))
          back();
      }
    }
    int end = std::min(cur.GetStrIndex(), len);
    Row(static_cast<size_t>(B - 1), static_cast<size_t>(end - (B - 1)));
    ++rows;
    cur.Next();
    while (cur.Code() == '3') cur.Next();
    B = cur.GetStrIndex();
    C = cur.GetPosition();
  }
}

void TEditorScreenStrings::AppendCutLine(const std::string& Line, TEditorStringList& List) {
  CutLine(Line, [&](size_t b, size_t n) { List.AddRow(Line.substr(b, n), raWrapped); });
  List.SetRows(List.Count() - 1, raCrlf);
}

void TEditorScreenStrings::StrToWrapList(const std::string& S, TEditorStringList& List) {
  List.BeginUpdate();
  List.Clear();
  if (S.empty()) {
    List.AddRow(std::string(), raCrlf);
  } else if (!FWordWrap) {
    ForEachLine(S, [&](size_t b, size_t n) { List.AddRow(S.substr(b, n), raCrlf); });
  } else {
    std::string line;
    ForEachLine(S, [&](size_t b, size_t n) {
      line.assign(S, b, n);
      AppendCutLine(line, List);
    });
  }
  List.EndUpdate();
}

int TEditorScreenStrings::WrapCount(const std::string& S) {
  if (!FWordWrap) return 1;
  return CutLine(S, [](size_t, size_t) {});
}

void TEditorScreenStrings::WrapLines() {
  if (Count() == 0 || ClientLoading()) return;
  for (IEditorClient* c : FClients) c->CleanSelection();
  auto saved = std::move(OnChange);
  OnChange = nullptr;
  {
    TEditorStringList rows;
    BeginUpdate();
    const int n = Count();
    const TEditorRowAttribute lastAttr = GetRows(n - 1);
    const int W = FWrapOption->GetWrapByte();
    rows.Reserve(n + n / 8);
    std::string line;
    for (int r = 0; r < n;) {
      int e = r;
      while (e < n - 1 && GetRows(e) == raWrapped) ++e;
      if (e == r && DisplayWidth(Get(r)) < W) {
        rows.AppendTaken(*this, r);
        rows.SetRows(rows.Count() - 1, raCrlf);
      } else {
        line.clear();
        for (int k = r; k <= e; ++k) line += Get(k);
        AppendCutLine(line, rows);
      }
      r = e + 1;
    }
    rows.SetRows(rows.Count() - 1, lastAttr == raWrapped ? raEof : lastAttr);
    Swap(rows);
  }
  EndUpdate();
  OnChange = std::move(saved);
}

void TEditorScreenStrings::StretchLines() {
  if (Count() == 0) return;
  for (IEditorClient* c : FClients) c->CleanSelection();
  const int n = Count();
  TEditorRowAttribute lastAttr = GetRows(n - 1);
  if (lastAttr == raWrapped) lastAttr = raEof;
  auto saved = std::move(OnChange);
  OnChange = nullptr;
  {
    TEditorStringList rows;
    BeginUpdate();
    rows.Reserve(n);
    for (int r = 0; r < n;) {
      int e = r;
      while (e < n - 1 && GetRows(e) == raWrapped) ++e;
      if (e == r) {
        rows.AppendTaken(*this, r);
        rows.SetRows(rows.Count() - 1, raCrlf);
      } else {
        std::string line;
        for (int k = r; k <= e; ++k) line += Get(k);
        rows.AddRow(std::move(line), raCrlf);
      }
      r = e + 1;
    }
    rows.SetRows(rows.Count() - 1, lastAttr);
    Swap(rows);
  }
  EndUpdate();
  OnChange = std::move(saved);
}

void TEditorScreenStrings::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (ClientLoading()) return;
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

void TEditorScreenStrings::WrapOptionChanged() {
  if (!FWordWrap || ClientLoading()) return;
  FUndoObj->Clear();
  WrapLines();
  InitBrackets();
  ClientsInitView();
  ClientsAdjustRow();
  for (IEditorClient* c : FClients) c->SetCol(0);
}

}  // namespace vel
