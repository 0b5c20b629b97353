#include "document/PointerStringList.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "text/UpdateGuard.h"

namespace vel {

namespace {

// Row records come from slabs with a free list: a document of a million rows
// would otherwise pay a heap allocation per row record on top of its text.
// Row lists live on the user-interface thread, as does this pool; slots are
// kept for reuse when rows go.
using TRow = TPointerStringList::TRow;

class TRowPool {
 public:
#if defined(__SANITIZE_ADDRESS__)
  // Under the address sanitizer every row is its own allocation, so that a
  // use after free is caught.
  TRow* New(std::string&& s) { return new TRow{std::move(s)}; }
  void Delete(TRow* p) { delete p; }
#else
  TRow* New(std::string&& s) {
    void* slot;
    if (Free) {
      slot = Free;
      Free = Free->Next;
    } else {
      if (Used == kSlab) {
        Slabs.push_back(std::make_unique<TSlot[]>(kSlab));
        Used = 0;
      }
      slot = &Slabs.back()[Used++];
    }
    return new (slot) TRow{std::move(s)};
  }
  void Delete(TRow* p) {
    if (!p) return;
    p->~TRow();
    TSlot* slot = reinterpret_cast<TSlot*>(p);
    slot->Next = Free;
    Free = slot;
  }
#endif

 private:
  union TSlot {
    TSlot* Next;
    alignas(TRow) unsigned char Bytes[sizeof(TRow)];
  };
  static constexpr size_t kSlab = 4096;
  std::vector<std::unique_ptr<TSlot[]>> Slabs;
  size_t Used = kSlab;
  TSlot* Free = nullptr;
};

TRowPool& Pool() {
  static TRowPool* pool = new TRowPool;  // outlives every static row list
  return *pool;
}

}  // namespace

TPointerStringList::~TPointerStringList() {
  for (size_t i = 0; i < Buf.size(); ++i)
    if (i < Gap || i >= Gap + GapLen) Pool().Delete(Buf[i]);
}

void TPointerStringList::MoveGap(size_t Pos) {
  if (Pos < Gap) {
    std::memmove(&Buf[Pos + GapLen], &Buf[Pos], (Gap - Pos) * sizeof(TRow*));
  } else if (Pos > Gap) {
    std::memmove(&Buf[Gap], &Buf[Gap + GapLen], (Pos - Gap) * sizeof(TRow*));
  }
  Gap = Pos;
}

void TPointerStringList::GrowGap(size_t N) {
  if (GapLen >= N) return;
  size_t count = Buf.size() - GapLen;
  size_t cap = std::max({count + N, Buf.size() * 2, size_t(16)});
  std::vector<TRow*> nb(cap);
  if (Gap) std::memcpy(nb.data(), Buf.data(), Gap * sizeof(TRow*));
  size_t tail = count - Gap;
  if (tail) std::memcpy(nb.data() + cap - tail, Buf.data() + Gap + GapLen, tail * sizeof(TRow*));
  Buf.swap(nb);
  GapLen = cap - count;
}

void TPointerStringList::Reserve(int N) {
  if (N > Count()) GrowGap(static_cast<size_t>(N - Count()));
}

void TPointerStringList::Open(int Index, TRow* const* Rows, int N) {
  Index = std::clamp(Index, 0, Count());
  GrowGap(static_cast<size_t>(N));
  MoveGap(static_cast<size_t>(Index));
  for (int k = 0; k < N; ++k) Buf[Gap + k] = Rows[k];
  Gap += N;
  GapLen -= N;
}

void TPointerStringList::Put(int i, std::string S) {
  At(i)->Str = std::move(S);
  ChangedIfIdle();
}

int TPointerStringList::Add(std::string S) {
  int index = Count();
  Insert(index, std::move(S));
  return index;
}

void TPointerStringList::Insert(int Index, std::string S) {
  GrowGap(1);
  TRow* raw = Pool().New(std::move(S));
  Open(Index, &raw, 1);
  ChangedIfIdle();
}

void TPointerStringList::Delete(int Index) {
  DeleteRange(Index, 1);
  ChangedIfIdle();
}

void TPointerStringList::Clear() {
  DeleteRange(0, Count());
  std::vector<TRow*>().swap(Buf);
  Gap = GapLen = 0;
  ChangedIfIdle();
}

void TPointerStringList::InsertEmpty(int Index, int N) {
  if (N <= 0) return;
  GrowGap(static_cast<size_t>(N));
  std::vector<TRow*> raw(static_cast<size_t>(N));
  for (auto& r : raw) r = Pool().New(std::string());
  Open(Index, raw.data(), N);
}

void TPointerStringList::DeleteRange(int Index, int N) {
  if (N <= 0 || Index < 0 || Index >= Count()) return;
  if (Index + N > Count()) N = Count() - Index;
  MoveGap(static_cast<size_t>(Index));
  for (int k = 0; k < N; ++k) Pool().Delete(Buf[Gap + GapLen + k]);
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
  std::vector<TRow*>().swap(Source.Buf);
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
  GrowGap(1);
  MoveGap(Buf.size() - GapLen);
  TRow*& from = Source.At(i);
  Buf[Gap] = from;
  from = nullptr;
  ++Gap;
  --GapLen;
}

void TPointerStringList::TakeBack(TPointerStringList& Taker, int TakerIndex, int Index) {
  TRow*& from = Taker.At(TakerIndex);
  At(Index) = from;
  from = nullptr;
}

void TPointerStringList::AppendRaw(std::string S, uint32_t Item) {
  GrowGap(1);
  MoveGap(Buf.size() - GapLen);
  TRow* row = Pool().New(std::move(S));
  row->Item = Item;
  Buf[Gap] = row;
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

void InsertStrings(const TPointerStringList& Source, TPointerStringList& Dest, int Index) {
  TUpdateGuard g(Dest);
  Dest.CopyRows(Index, Source);
}

void DeleteStrings(TPointerStringList& Strings, int Index, int Count) {
  TUpdateGuard g(Strings);
  Strings.DeleteRange(Index, Count);
}

void ChangeStrings(const TPointerStringList& Source, TPointerStringList& Dest, int Index, int Count) {
  TUpdateGuard g(Dest);
  Dest.DeleteRange(Index, Count);
  Dest.CopyRows(Index, Source);
}

}  // namespace vel
