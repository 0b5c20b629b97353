#pragma once
// A string list with two 32-bit values per string (Data and Item) that move
// with it. Documents have a million rows and every keystroke inserts or
// deletes a few of them near the last edit, so the rows are a gap buffer of
// 8-byte handles to pooled row records (string, Item, Data): an insert moves
// only the handles between the gap and the edit, with memmove, and never the
// strings; even an edit at the far end of the document moves 8 bytes a row.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vel {

class TPointerStringList {
 public:
  TPointerStringList() = default;
  TPointerStringList(const TPointerStringList&) = delete;
  TPointerStringList& operator=(const TPointerStringList&) = delete;
  virtual ~TPointerStringList();

  int Count() const { return static_cast<int>(Buf.size() - GapLen); }
  const std::string& Get(int i) const { return At(i)->Str; }
  void Put(int i, std::string S);
  // Direct access for code that edits a row in place inside an update.
  std::string& Ref(int i) { return At(i)->Str; }

  uint32_t GetData(int i) const { return At(i)->Data; }
  void PutData(int i, uint32_t p) { At(i)->Data = p; }
  uint32_t GetItem(int i) const { return At(i)->Item; }
  void PutItem(int i, uint32_t p) { At(i)->Item = p; }

  int Add(std::string S);
  void Insert(int Index, std::string S);
  void Delete(int Index);
  virtual void Clear();

  // Range operations: rows move with their Item and Data.
  void InsertEmpty(int Index, int N);
  void DeleteRange(int Index, int N);
  // Moves every row of Source (left empty) into this list before Index.
  void TakeRows(int Index, TPointerStringList& Source);
  // Copies every row of Source into this list before Index.
  void CopyRows(int Index, const TPointerStringList& Source);
  // Appends row i of Source, taking the row away: Source's row i is left
  // without a record and may only be deleted (or Source destroyed) after.
  void AppendTaken(TPointerStringList& Source, int i);
  // Undoes an AppendTaken: row Index of this list gets back the record that
  // row TakerIndex of Taker holds, and Taker's row is left without one.
  void TakeBack(TPointerStringList& Taker, int TakerIndex, int Index);
  void Reserve(int N);
  // Appends a row without change notification, for bulk building.
  void AppendRaw(std::string S, uint32_t Item);
  void Swap(TPointerStringList& Other);

  void BeginUpdate() { ++UpdateCount; }
  void EndUpdate();
  int GetUpdateCount() const { return UpdateCount; }

  std::function<void(TPointerStringList* Sender)> OnChange;

  // A row record; the records come from a pool shared by every list.
  struct TRow {
    std::string Str;
    uint32_t Item = 0;
    uint32_t Data = 0;
  };

 protected:
  // Runs when a change is complete: after an operation outside any update,
  // or when the outermost update ends.
  virtual void Changed();
  void ChangedIfIdle() {
    if (UpdateCount == 0) Changed();
  }

 private:
  TRow*& At(int i) { return Buf[static_cast<size_t>(i) < Gap ? i : i + GapLen]; }
  TRow* At(int i) const { return Buf[static_cast<size_t>(i) < Gap ? i : i + GapLen]; }
  void MoveGap(size_t Pos);
  void GrowGap(size_t N);
  // Opens N rows at Index with the given records (ownership passes here).
  void Open(int Index, TRow* const* Rows, int N);

  std::vector<TRow*> Buf;
  size_t Gap = 0, GapLen = 0;
  int UpdateCount = 0;
};

// Whole-list helpers, each inside one update of the target: insert every
// entry of Source before Index, delete Count entries at Index (nothing past
// the end), replace Count entries at Index by every entry of Source.
void InsertStrings(const TPointerStringList& Source, TPointerStringList& Dest, int Index);
void DeleteStrings(TPointerStringList& Strings, int Index, int Count);
void ChangeStrings(const TPointerStringList& Source, TPointerStringList& Dest, int Index, int Count);

}  // namespace vel
