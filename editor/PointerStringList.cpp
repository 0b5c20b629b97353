#include "editor/PointerStringList.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

namespace vel {

TPointerStringList::~TPointerStringList() {
  for (size_t i = 0; i < Buf.size(); ++i)
    if (i < Gap || i >= Gap + GapLen) delete Buf[i].Str;
}

void TPointerStringList::MoveGap(size_t Pos) {
  static_assert(std::is_trivially_copyable_v<TRow>);
  if (Pos < Gap) {
    std::memmove(&Buf[Pos + GapLen], &Buf[Pos], (Gap - Pos) * sizeof(TRow));
  } else if (Pos > Gap) {
    std::memmove(&Buf[Gap], &Buf[Gap + GapLen], (Pos - Gap) * sizeof(TRow));
  }
  Gap = Pos;
}

void TPointerStringList::GrowGap(size_t N) {
  if (GapLen >= N) return;
  size_t count = Buf.size() - GapLen;
  size_t cap = std::max({count + N, Buf.size() * 2, size_t(16)});
  std::vector<TRow> nb(cap);
  if (Gap) std::memcpy(nb.data(), Buf.data(), Gap * sizeof(TRow));
  size_t tail = count - Gap;
  if (tail) std::memcpy(nb.data() + cap - tail, Buf.data() + Gap + GapLen, tail * sizeof(TRow));
  Buf.swap(nb);
  GapLen = cap - count;
}

void TPointerStringList::Reserve(int N) {
  if (N > Count()) GrowGap(static_cast<size_t>(N - Count()));
}

void TPointerStringList::Open(int Index, std::string* const* Strings, int N) {
  Index = std::clamp(Index, 0, Count());
  GrowGap(static_cast<size_t>(N));
  MoveGap(static_cast<size_t>(Index));
  for (int k = 0; k < N; ++k) Buf[Gap + k] = TRow{Strings[k], 0, 0};
  Gap += N;
  GapLen -= N;
}

void TPointerStringList::Put(int i, std::string S) {
  *At(i).Str = std::move(S);
  ChangedIfIdle();
}

int TPointerStringList::Add(std::string S) {
  int index = Count();
  Insert(index, std::move(S));
  return index;
}

void TPointerStringList::Insert(int Index, std::string S) {
  auto p = std::make_unique<std::string>(std::move(S));
  GrowGap(1);
  std::string* raw = p.release();
  Open(Index, &raw, 1);
  ChangedIfIdle();
}

void TPointerStringList::Delete(int Index) {
  DeleteRange(Index, 1);
  ChangedIfIdle();
}

void TPointerStringList::Clear() {
  DeleteRange(0, Count());
  std::vector<TRow>().swap(Buf);
  Gap = GapLen = 0;
  ChangedIfIdle();
}

void TPointerStringList::InsertEmpty(int Index, int N) {
  if (N <= 0) return;
  std::vector<std::unique_ptr<std::string>> made(static_cast<size_t>(N));
  for (auto& m : made) m = std::make_unique<std::string>();
  GrowGap(static_cast<size_t>(N));
  std::vector<std::string*> raw(made.size());
  for (size_t k = 0; k < made.size(); ++k) raw[k] = made[k].release();
  Open(Index, raw.data(), N);
}

void TPointerStringList::DeleteRange(int Index, int N) {
  if (N <= 0 || Index < 0 || Index >= Count()) return;
  if (Index + N > Count()) N = Count() - Index;
  MoveGap(static_cast<size_t>(Index));
  for (int k = 0; k < N; ++k) delete Buf[Gap + GapLen + k].Str;
  GapLen += N;
}

void TPointerStringList::TakeRows(int Index, TPointerStringList& Source) {
  int n = Source.Count();
  if (n == 0) return;
  Index = std::clamp(Index, 0, Count());
  GrowGap(static_cast<size_t>(n));
  MoveGap(static_cast<size_t>(Index));
  for (int k = 0; k < n; ++k) Buf[Gap + k] = Source.At(k);
  Gap += n;
  GapLen -= n;
  // The strings now belong here; Source keeps none of them.
  std::vector<TRow>().swap(Source.Buf);
  Source.Gap = Source.GapLen = 0;
}

void TPointerStringList::CopyRows(int Index, const TPointerStringList& Source) {
  TPointerStringList copy;
  copy.Reserve(Source.Count());
  for (int k = 0; k < Source.Count(); ++k) {
    copy.Insert(k, Source.Get(k));
    copy.PutItem(k, Source.GetItem(k));
    copy.PutData(k, Source.GetData(k));
  }
  TakeRows(Index, copy);
}

void TPointerStringList::AppendTaken(TPointerStringList& Source, int i) {
  auto empty = std::make_unique<std::string>();
  GrowGap(1);
  MoveGap(Buf.size() - GapLen);
  TRow& from = Source.At(i);
  Buf[Gap] = from;
  from.Str = empty.release();
  ++Gap;
  --GapLen;
}

void TPointerStringList::AppendRaw(std::string S, uint32_t Item) {
  auto p = std::make_unique<std::string>(std::move(S));
  GrowGap(1);
  MoveGap(Buf.size() - GapLen);
  Buf[Gap] = TRow{p.release(), Item, 0};
  ++Gap;
  --GapLen;
}

void TPointerStringList::Swap(TPointerStringList& Other) {
  Buf.swap(Other.Buf);
  std::swap(Gap, Other.Gap);
  std::swap(GapLen, Other.GapLen);
}

void TPointerStringList::EndUpdate() {
  if (UpdateCount > 0 && --UpdateCount == 0) Changed();
}

void TPointerStringList::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vel
