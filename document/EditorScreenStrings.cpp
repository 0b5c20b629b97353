#include "document/EditorScreenStrings.h"

#include <algorithm>
#include <limits>

#include "text/UpdateGuard.h"

namespace vel {

namespace {

using TListUpdate = TUpdateGuard<TEditorScreenStrings>;

bool EndsWithBreak(const std::string& S) { return !S.empty() && (S.back() == '\n' || S.back() == '\r'); }

// A row's bytes in the text: its own, and the line break after a raCrlf row.
int64_t RowBytes(const TEditorStringList& L, int r) {
  return static_cast<int64_t>(L.Get(r).size()) + (L.GetRows(r) == raCrlf ? 2 : 0);
}

}  // namespace

TEditorScreenStrings::TEditorScreenStrings() {
  FUndoObj = CreateUndoObj();
  FWrapOption = CreateWrapOption();
  FWrapOption->OnChange = [this](TNotifyPersistent*) { WrapOptionChanged(); };
  FRows.OnChange = [this](TPointerStringList*) { Changed(); };
  FStarts.Assign({0});
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

std::unique_ptr<TEditorUndoObj> TEditorScreenStrings::CreateUndoObj() {
  return std::make_unique<TEditorUndoObj>(*this);
}

std::unique_ptr<TEditorWrapOption> TEditorScreenStrings::CreateWrapOption() {
  return std::make_unique<TEditorWrapOption>();
}

int TEditorScreenStrings::RowStart(int Row) const {
  if (Row < 0) return Row;
  int r = std::min(Row, Count());
  if (FWordWrap) {
    const int k = FLines.CountBelow(r);
    return k == 0 ? 0 : FLines.At(k - 1) + 1;
  }
  // Rows cut without word wrap come only from loading; they still join.
  while (r > 0 && FRows.GetRows(r - 1) == raWrapped) --r;
  return r;
}

int TEditorScreenStrings::RowEnd(int Row) const {
  if (Row < 0 || Row >= Count()) return Row;
  if (FWordWrap) {
    const int k = FLines.CountBelow(Row);
    return k < FLines.Size() ? FLines.At(k) : Count() - 1;
  }
  int r = Row;
  while (r < Count() - 1 && FRows.GetRows(r) == raWrapped) ++r;
  return r;
}

int TEditorScreenStrings::LineCount() const {
  const int n = Count();
  if (!FWordWrap || n == 0) return n;
  return FLines.Size() + (FRows.GetRows(n - 1) == raWrapped ? 1 : 0);
}

int TEditorScreenStrings::LinesToRow(int Line) const {
  if (!FWordWrap || Line <= 0) return Line;
  return Line - 1 < FLines.Size() ? std::min(FLines.At(Line - 1) + 1, Count()) : Count();
}

int TEditorScreenStrings::RowToLines(int Row) const {
  const int n = Count();
  if (!FWordWrap) return Row;
  if (Row <= 0 || n == 0) return 0;
  if (Row >= n) return LineCount() - (FRows.GetRows(n - 1) == raCrlf ? 0 : 1);
  return FLines.CountBelow(Row);
}

std::string TEditorScreenStrings::LineText(int Line) const {
  if (Line < 0 || Line >= LineCount()) return std::string();
  if (!FWordWrap) return FRows.Get(Line);
  const int first = Line == 0 ? 0 : FLines.At(Line - 1) + 1;
  const int last = Line < FLines.Size() ? FLines.At(Line) : Count() - 1;
  if (first == last) return FRows.Get(first);
  size_t total = 0;
  for (int r = first; r <= last; ++r) total += FRows.Get(r).size();
  std::string s;
  s.reserve(total);
  for (int r = first; r <= last; ++r) s += FRows.Get(r);
  return s;
}

void TEditorScreenStrings::RebuildIndex() {
  const int n = Count();
  std::vector<int> ends;
  std::vector<int64_t> starts;
  try {
    starts.reserve(static_cast<size_t>(n) + 1);
    int64_t at = 0;
    for (int r = 0; r < n; ++r) {
      starts.push_back(at);
      at += RowBytes(FRows, r);
      if (FWordWrap && FRows.GetRows(r) != raWrapped) ends.push_back(r);
    }
    starts.push_back(at);
  } catch (...) {
    // Without an index the whole text reads as one line and as empty: wrong,
    // but never a row that is not there.
    FLines.Clear();
    FStarts.Clear();
    throw;
  }
  FStarts.Assign(std::move(starts));
  if (FWordWrap)
    FLines.Assign(std::move(ends));
  else
    FLines.Clear();
}

void TEditorScreenStrings::ReserveFor(int N, const TEditorStringList& List) {
  const int m = List.Count();
  FRows.Reserve(Count() - N + m);
  FStarts.Reserve(m);
  FNewStarts.reserve(static_cast<size_t>(m));
  if (!FWordWrap) return;
  FLines.Reserve(m);
  FNewEnds.reserve(static_cast<size_t>(m));
}

void TEditorScreenStrings::ReplaceRows(int Index, int N, TEditorStringList& List) {
  Index = std::clamp(Index, 0, Count());
  N = std::clamp(N, 0, Count() - Index);
  ReserveFor(N, List);
  const int m = List.Count();
  if (FWordWrap) {
    FNewEnds.clear();
    for (int k = 0; k < m; ++k)
      if (List.GetRows(k) != raWrapped) FNewEnds.push_back(k);
    FLines.Replace(Index, N, m, FNewEnds);
  }
  // An index lost to a failed rebuild is made afresh rather than patched.
  const bool patch = FStarts.Size() == Count() + 1;
  if (patch) {
    const int64_t base = FStarts.At(Index), old = FStarts.At(Index + N) - base;
    int64_t at = base;
    FNewStarts.clear();
    for (int k = 0; k < m; ++k) {
      FNewStarts.push_back(at);
      at += RowBytes(List, k);
    }
    FStarts.Replace(Index, Index + N, FNewStarts.data(), m, at - base - old);
  }
  FRows.DeleteRange(Index, N);
  FRows.TakeRows(Index, List);
  if (!patch) RebuildIndex();
}

int TEditorScreenStrings::TextOffset(int Row, int Index) const {
  const int entries = FStarts.Size();
  if (entries == 0 || Row < 0) return 0;
  const int n = Count();
  int64_t offset;
  if (Row >= n || Row >= entries - 1)
    offset = FStarts.At(entries - 1);
  else
    offset = FStarts.At(Row) + std::clamp(Index, 0, static_cast<int>(FRows.Get(Row).size()));
  return static_cast<int>(std::min<int64_t>(offset, std::numeric_limits<int>::max()));
}

TTextPos TEditorScreenStrings::OffsetToPos(int64_t Offset) const {
  const int n = Count(), entries = FStarts.Size();
  if (n == 0 || entries == 0) return {};
  const int64_t offset = std::clamp<int64_t>(Offset, 0, FStarts.At(entries - 1));
  // The last row starting at or before the offset: past the end of a
  // raWrapped row (and past empty rows) that is the next row.
  int r = std::clamp(FStarts.CountNotAbove(offset) - 1, 0, n);
  if (r == n) {
    if (FRows.GetRows(n - 1) == raCrlf) return {n, 0};
    r = n - 1;
  }
  const int64_t len = static_cast<int64_t>(FRows.Get(r).size());
  return {r, static_cast<int>(std::min(offset - FStarts.At(r), len))};
}

TRowCol TEditorScreenStrings::RowColAt(int FromRow, int Index) const {
  if (Count() == 0) return {};
  const TTextPos p = OffsetToPos(static_cast<int64_t>(TextOffset(FromRow)) + std::max(Index, 0));
  return {p.Row, p.Row < Count() ? IndexToColumn(FRows.Get(p.Row), p.Index, ColumnOptions()) : 0};
}

void TEditorScreenStrings::CheckCrlf(int Row, std::string& S) const {
  if (Row >= 0 && Row < Count() && FRows.GetRows(Row) == raCrlf) S += "\r\n";
}

std::string TEditorScreenStrings::RangeText(int Index, int N) const {
  if (Index < 0) {
    N += Index;
    Index = 0;
  }
  N = std::min(N, Count() - Index);
  if (N <= 0) return std::string();
  size_t total = 0;
  for (int r = Index; r < Index + N; ++r) total += FRows.Get(r).size() + (FRows.GetRows(r) == raCrlf ? 2 : 0);
  std::string s;
  s.reserve(total);
  for (int r = Index; r < Index + N; ++r) {
    s += FRows.Get(r);
    if (FRows.GetRows(r) == raCrlf) s += "\r\n";
  }
  return s;
}

void TEditorScreenStrings::ListInfo(int Index, int N, TEditorRowAttribute& Attribute, int& RowCount,
                                    std::string& S) const {
  Attribute = raInvalid;
  RowCount = 0;
  S.clear();
  if (Index < 0 || Index >= Count()) return;
  if (N == -1) N = RowEnd(Index) - Index + 1;
  N = std::min(N, Count() - Index);
  if (N <= 0) return;
  S = RangeText(Index, N);
  RowCount = N;
  Attribute = FRows.GetRows(Index + N - 1);
}

void TEditorScreenStrings::UpdateDrawInfo(int Start, int OldCount, int BracketCount, int NewCount) {
  FDrawInfo = TEditorDrawInfo{Start, OldCount, NewCount, BracketCount, true};
}

void TEditorScreenStrings::UpdateList(int Index, int N, const std::string& S) {
  const int rows = Count();
  if (Index < 0 || N < 0 || Index + N > rows || (N == 0 && S.empty())) return;
  TListUpdate g(*this);
  // Text added after a last row without a line break continues that row;
  // a raEof row must stay the last one.
  int lineStart = RowStart(Index);
  if (Index == rows && rows > 0 && FRows.GetRows(rows - 1) == raEof) lineStart = RowStart(rows - 1);
  // The rows before the edit are re-cut as far back as their cut can depend
  // on the edited text: a row's cut looks at most WrapByte + 4 columns ahead
  // of its start, and every byte takes at least one column.
  int A = Index;
  const size_t reach = static_cast<size_t>(FWrapOption->GetWrapByte()) + 4;
  for (size_t bytes = 0; A > lineStart && (A == Index || (FWordWrap && bytes < reach));) {
    --A;
    bytes += FRows.Get(A).size();
  }
  const int L = Index + N - 1;
  int E = L >= 0 ? RowEnd(L) : -1;

  // Everything that can fail (allocations) happens before the rows change,
  // so an exception leaves the text and the undo list as they were.
  if (A == Index && E == L && S.empty() && N > 0) {
    TUndoData old;
    int unused;
    ListInfo(Index, N, old.RowAttribute, unused, old.Str);
    TEditorStringList none;
    ReserveFor(N, none);
    CommitUndo(Index, 0, std::move(old));
    ReplaceRows(Index, N, none);
    int bc = UpdateBrackets(Index, true);
    UpdateDrawInfo(Index, N, bc, 0);
    return;
  }

  TEditorRowAttribute lastAttr;
  if (L < E) {
    lastAttr = FRows.GetRows(E);
  } else if (E < rows - 1) {
    E = RowEnd(E + 1);
    lastAttr = FRows.GetRows(E);
  } else {
    lastAttr = EndsWithBreak(S) ? raCrlf : raEof;
  }

  std::string text;
  if (Index > A || E > L) {
    std::string before = RangeText(A, Index - A), after = RangeText(L + 1, E - L);
    text.reserve(before.size() + S.size() + after.size());
    text += before;
    text += S;
    text += after;
  } else {
    text = S;
  }
  TEditorStringList list;
  StrToWrapList(text, list);
  if (lastAttr == raEof && EndsWithBreak(text)) list.AddRow(std::string(), raEof);
  list.SetRows(list.Count() - 1, lastAttr);
  const int newCount = list.Count(), oldCount = E - A + 1;
  ReserveFor(oldCount, list);
  TUndoData old;
  if (E >= A) {
    old.Str = RangeText(A, E - A + 1);
    old.RowAttribute = FRows.GetRows(E);
  }
  CommitUndo(A, newCount, std::move(old));
  ReplaceRows(A, oldCount, list);
  int bc = UpdateBrackets(A, true);
  UpdateDrawInfo(A, oldCount, bc, newCount);
}

void TEditorScreenStrings::CommitUndo(int ListIndex, int RowCount, TUndoData&& Old) {
  PUndoData rec = FUndoObj->Add();
  rec->ListIndex = ListIndex;
  rec->RowCount = RowCount;
  rec->RowAttribute = Old.RowAttribute;
  rec->Str = std::move(Old.Str);
}

void TEditorScreenStrings::Clear() {
  for (IEditorClient* c : FClients) c->CleanSelection();
  FUndoObj->Clear();
  {
    TListUpdate g(*this);
    UpdateDrawInfo(0, Count(), 0, 0);
    FRows.Clear();
    FLines.Clear();
    FStarts.Assign({0});
  }
  for (IEditorClient* c : FClients) {
    c->SetRow(0);
    c->SetCol(0);
  }
}

void TEditorScreenStrings::LoadRows(TEditorStringList& Source) {
  TListUpdate g(*this);
  Clear();
  FRows.Swap(Source);
  if (FWordWrap)
    WrapLines();
  else
    RebuildIndex();
  InitBrackets();
}

void TEditorScreenStrings::Undo() { FUndoObj->Undo(); }
void TEditorScreenStrings::Redo() { FUndoObj->Redo(); }

TEditorListLink::TEditorListLink(IEditorClient& Client, std::shared_ptr<TEditorScreenStrings> List)
    : FClient(Client) {
  Reset(std::move(List));
}

TEditorListLink::~TEditorListLink() { Reset(nullptr); }

void TEditorListLink::Reset(std::shared_ptr<TEditorScreenStrings> List) {
  if (List == FList) return;
  if (List) List->Reference(&FClient);
  if (FList) FList->Release(&FClient);
  FList = std::move(List);
}

void TEditorScreenStrings::Reference(IEditorClient* Editor) {
  if (Editor && std::find(FClients.begin(), FClients.end(), Editor) == FClients.end()) FClients.push_back(Editor);
}

void TEditorScreenStrings::Release(IEditorClient* Editor) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Editor), FClients.end());
}

IEditorClient* TEditorScreenStrings::GetActiveClient() const {
  for (IEditorClient* c : FClients)
    if (c->Focused()) return c;
  return GetClient();
}

void TEditorScreenStrings::SetParserClass(TEditorParserClass Class) {
  if (!Class && !FParserClass) return;
  FParserClass = std::move(Class);
  InitBrackets();
  for (IEditorClient* c : FClients) c->Invalidate();
}

void TEditorScreenStrings::Changed() {
  if (FQuiet == 0) ChangeLink();
  FDrawInfo = TEditorDrawInfo{};
  ClientsAdjustRow();
}

void TEditorScreenStrings::ChangeLink() {
  for (IEditorClient* c : FClients) c->DoChange();
}

void TEditorScreenStrings::ClientsAdjustRow() {
  const int rows = Count();
  int limit = rows == 0 ? 0 : FRows.GetRows(rows - 1) == raCrlf ? rows : rows - 1;
  for (IEditorClient* c : FClients) {
    if (c->GetRow() > limit) c->SetRow(limit);
    if (c->GetTopRow() > limit) c->SetTopRow(limit);
  }
}

void TEditorScreenStrings::ClientsInitView() {
  for (IEditorClient* c : FClients) c->InitView();
}

bool TEditorScreenStrings::ClientLoading() const {
  IEditorClient* c = GetClient();
  return c && c->IsLoading();
}

std::unique_ptr<IEditorRowParser> TEditorScreenStrings::MakeParser() const {
  IEditorClient* c = GetClient();
  return FParserClass(std::string(), c ? c->ParserHost() : nullptr, -1);
}

void TEditorScreenStrings::InitBrackets() {
  if (ClientLoading()) return;
  const int n = Count();
  IEditorClient* c = GetClient();
  const bool pairs = c && c->HasBracketPairs();
  if (!FParserClass || (!pairs && !FWordWrap)) {
    for (int r = 0; r < n; ++r) FRows.PutItem(r, rowstate::WithBrackets(rowstate::Uncomputed(FRows.GetItem(r)), rowstate::kOutside));
    return;
  }
  for (int r = 0; r < n; ++r) FRows.PutItem(r, rowstate::Uncomputed(FRows.GetItem(r)));
  if (n == 0) return;
  const int last = std::min(n - 1, 2 * ScreenRows() + (c ? c->GetTopRow() : 0));
  auto parser = MakeParser();
  int token = 0, bracket = -1;
  for (int r = 0; r <= last; ++r) {
    FRows.SetTokens(r, token);
    FRows.SetBrackets(r, bracket);
    if (parser) parser->LastTokenBracket(r, FRows, token, bracket);
  }
}

int TEditorScreenStrings::UpdateBrackets(int Row, bool Invalidate) {
  const int n = Count();
  if (Row < 0 || Row >= n) return 0;
  int changed = 0;
  auto store = [&](int r, int token, int bracket) {
    FRows.SetTokens(r, token);
    FRows.SetBrackets(r, bracket);
    if (Invalidate) {
      ++changed;
      for (IEditorClient* c : FClients) c->InvalidateLine(r);
    }
  };
  if (!FParserClass) {
    // Without a parser no state crosses a row: only rows not yet set change.
    for (int r = Row; r < n && (FRows.GetBrackets(r) != -1 || FRows.GetTokens(r) != 0); ++r) store(r, 0, -1);
    return changed;
  }
  auto parser = MakeParser();
  int start = Row - 1, token = 0, bracket = -1;
  // Without bracket pairs no state crosses a line break, so every line
  // starts afresh: the walk back stops at the line's start instead of
  // reading the document from its top.
  IEditorClient* c = GetClient();
  const bool pairs = c && c->HasBracketPairs();
  while (start >= 0 && FRows.GetBrackets(start) == -2 && (pairs || FRows.GetRows(start) == raWrapped)) --start;
  if (start >= 0 && FRows.GetBrackets(start) == -2) {
    ++start;
  } else if (start >= 0) {
    token = FRows.GetTokens(start);
    bracket = FRows.GetBrackets(start);
    if (parser) parser->LastTokenBracket(start, FRows, token, bracket);
    ++start;
  } else {
    start = 0;
  }
  const int end = std::min(n - 1, Row + 2 * ScreenRows());
  for (int r = start; r <= end; ++r) {
    // Both parts of the state must agree, or a token cut by word wrap would
    // keep a stale kind below the edit.
    if (FRows.GetBrackets(r) == bracket && FRows.GetTokens(r) == token) return changed;
    store(r, token, bracket);
    if (parser) parser->LastTokenBracket(r, FRows, token, bracket);
  }
  for (int r = end + 1; r < n; ++r) FRows.PutItem(r, rowstate::Uncomputed(FRows.GetItem(r)));
  return changed;
}

}  // namespace vel
