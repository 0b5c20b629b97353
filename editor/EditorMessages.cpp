// The standard edit-control messages, answered with their usual numbers so
// that any program that drives an edit control can drive this one. Offsets
// are byte offsets over the CP932 text, a line break counting two.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "editor/Editor.h"

namespace vel {

namespace {

enum : unsigned {
  WM_SETTEXT_ = 0x000C, WM_GETTEXT_ = 0x000D, WM_GETTEXTLENGTH_ = 0x000E, WM_GETDLGCODE_ = 0x0087,
  EM_GETSEL_ = 0x00B0, EM_SETSEL_ = 0x00B1, EM_SCROLLCARET_ = 0x00B7, EM_GETMODIFY_ = 0x00B8,
  EM_SETMODIFY_ = 0x00B9, EM_GETLINECOUNT_ = 0x00BA, EM_LINEINDEX_ = 0x00BB, EM_LINELENGTH_ = 0x00C1,
  EM_REPLACESEL_ = 0x00C2, EM_GETLINE_ = 0x00C4, EM_CANUNDO_ = 0x00C6, EM_UNDO_ = 0x00C7,
  EM_LINEFROMCHAR_ = 0x00C9, EM_EMPTYUNDOBUFFER_ = 0x00CD, EM_GETFIRSTVISIBLELINE_ = 0x00CE,
  EM_SETREADONLY_ = 0x00CF, EM_POSFROMCHAR_ = 0x00D6, EM_CHARFROMPOS_ = 0x00D7,
  WM_CUT_ = 0x0300, WM_COPY_ = 0x0301, WM_PASTE_ = 0x0302, WM_CLEAR_ = 0x0303, WM_UNDO_ = 0x0304,
};
enum : unsigned { DLGC_WANTARROWS_ = 0x01, DLGC_WANTTAB_ = 0x02, DLGC_WANTALLKEYS_ = 0x04, DLGC_WANTCHARS_ = 0x80 };

int Int(std::uintptr_t w) { return static_cast<int>(static_cast<std::intptr_t>(w)); }

std::intptr_t MakeLong(int lo, int hi) {
  return static_cast<std::intptr_t>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}

}  // namespace

bool TEditor::HandleMessage(TMessage& M) {
  const int count = FList->Count();
  // The empty row after a final line break is a line to an edit control's
  // clients, as it is to the caret.
  const bool openEnd = count == 0 || FList->Rows().GetRows(count - 1) == raCrlf;
  auto rowLength = [&](int r) { return r < count ? static_cast<int>(FList->Rows().Get(r).size()) : 0; };
  std::intptr_t& result = M.Result;
  switch (M.Msg) {
    case WM_GETDLGCODE_:
      result = std::intptr_t{DLGC_WANTARROWS_} | DLGC_WANTCHARS_ | (WantTabs ? std::intptr_t{DLGC_WANTTAB_} : 0) |
               (WantReturns ? std::intptr_t{DLGC_WANTALLKEYS_} : 0);
      return true;
    case WM_GETTEXT_: {
      auto* buffer = reinterpret_cast<char*>(M.LParam);
      const int size = Int(M.WParam);
      if (!buffer || size <= 0) {
        result = 0;
        return true;
      }
      const std::string text = FLines->GetText();
      // A character that does not fit is left out whole, as the system's edit control does.
      const int n = static_cast<int>(sjis::CharStart(text, static_cast<size_t>(std::min(static_cast<int>(text.size()), size - 1))));
      std::memcpy(buffer, text.data(), static_cast<size_t>(n));
      buffer[n] = '\0';
      result = n;
      return true;
    }
    case WM_GETTEXTLENGTH_:
      result = GetTextLen();
      return true;
    case WM_SETTEXT_:
      if (!FReadOnly) {
        const char* text = reinterpret_cast<const char*>(M.LParam);
        // The text exactly as given: no line break is added after its last line.
        CleanSelection();
        FLines->Clear();
        if (text && *text) FList->UpdateList(0, 0, text);
        FList->UndoObj().Clear();
        SetRowCol(0, 0);
        // New text is unmodified text, as in the system's edit control.
        FModified = false;
      }
      result = FReadOnly ? 0 : 1;
      return true;
    case EM_GETSEL_: {
      const int start = SelStart();
      const int end = start + SelLength();
      if (M.WParam) *reinterpret_cast<std::uint32_t*>(M.WParam) = static_cast<std::uint32_t>(start);
      if (M.LParam) *reinterpret_cast<std::uint32_t*>(M.LParam) = static_cast<std::uint32_t>(end);
      // As an edit control: a position beyond 16 bits cannot be packed.
      result = end > 0xFFFF ? -1 : MakeLong(start, end);
      return true;
    }
    case EM_SETSEL_: {
      const int start = Int(M.WParam);
      const int end = static_cast<int>(M.LParam);
      if (start == 0 && end == -1) {
        SelectAll();
      } else if (start == -1) {
        CleanSelection();
      } else {
        // As an edit control reads them, unsigned: a negative offset is past the end.
        const int length = GetTextLen();
        auto offset = [&](int v) { return v < 0 ? length : std::min(v, length); };
        const int lo = std::min(offset(start), offset(end)), hi = std::max(offset(start), offset(end));
        // An empty range leaves the caret at the offset with nothing selected.
        SetSelRange(lo, hi);
      }
      SyncRulerMark();
      result = 0;
      return true;
    }
    case EM_SCROLLCARET_:
      if (FRow < FTopRow || FRow >= FTopRow + FVisibleRows) SetTopRow(std::max(0, FRow - FVisibleRows / 3));
      if (FCol < FTopCol || FCol >= FTopCol + FVisibleCols) SetTopCol(std::max(0, FCol - FVisibleCols / 3));
      result = 1;
      return true;
    case EM_GETMODIFY_:
      result = FModified ? 1 : 0;
      return true;
    case EM_SETMODIFY_:
      if (!FReadOnly) FModified = M.WParam != 0;
      result = 0;
      return true;
    case EM_GETLINECOUNT_:
      result = count + (openEnd ? 1 : 0);
      return true;
    case EM_LINEINDEX_: {
      const int r = Int(M.WParam) == -1 ? FRow : Int(M.WParam);
      result = r < 0 || r > count || (r == count && !openEnd) ? -1 : FList->TextOffset(r);
      return true;
    }
    case EM_LINELENGTH_: {
      const int offset = static_cast<int>(M.WParam);
      if (offset == -1) {
        if (Selected()) {
          const TIndexRange x = ClampedIndexRange();
          result = x.StartIndex + rowLength(x.EndRow) - x.EndIndex - 1;
        } else {
          result = rowLength(FRow);
        }
      } else {
        result = rowLength(FList->OffsetToPos(offset).Row);
      }
      return true;
    }
    case EM_REPLACESEL_:
      if (!FReadOnly && M.LParam) {
        SetSelTextBuf(reinterpret_cast<const char*>(M.LParam));
        SyncRulerMark();
      }
      result = 0;
      return true;
    case EM_GETLINE_: {
      const int r = Int(M.WParam);
      auto* buffer = reinterpret_cast<char*>(M.LParam);
      result = 0;
      if (r < 0 || r >= count || !buffer) return true;
      std::uint16_t size;
      std::memcpy(&size, buffer, sizeof size);
      const std::string& s = FList->Rows().Get(r);
      const int n = static_cast<int>(sjis::CharStart(s, std::min(s.size(), static_cast<size_t>(size))));
      std::memcpy(buffer, s.data(), static_cast<size_t>(n));
      result = n;
      return true;
    }
    case EM_CANUNDO_:
      result = CanUndo() && !FReadOnly ? 1 : 0;
      return true;
    case EM_UNDO_:
    case WM_UNDO_:
      result = 0;
      if (!FReadOnly && CanUndo()) {
        Undo();
        result = 1;
      }
      return true;
    case EM_LINEFROMCHAR_: {
      const int offset = static_cast<int>(M.WParam);
      result = offset == -1 ? (Selected() ? FSelIdx.StartRow : FRow) : FList->OffsetToPos(offset).Row;
      return true;
    }
    case EM_EMPTYUNDOBUFFER_:
      if (!FReadOnly) FList->UndoObj().Clear();
      result = 0;
      return true;
    case EM_GETFIRSTVISIBLELINE_:
      result = FTopRow;
      return true;
    case EM_SETREADONLY_:
      SetReadOnly(M.WParam != 0);
      result = 1;
      return true;
    case EM_POSFROMCHAR_: {
      const int offset = Int(M.WParam);
      if (offset < 0 || offset > GetTextLen()) {
        result = -1;
        return true;
      }
      const TTextPos p = FList->OffsetToPos(offset);
      const int r = p.Row;
      int c = 0;
      if (r < FList->Count()) {
        // An offset on a second half answers for the character it belongs to.
        const std::string& s = ListStr(r);
        const auto index = sjis::CharStart(s, static_cast<size_t>(std::min<int>(p.Index, static_cast<int>(s.size()))));
        c = IndexToColumn(s, static_cast<int>(index), ColumnOptions());
      }
      result = MakeLong(FLeftMargin + (c - FTopCol) * FColWidth, FTopMargin + (r - FTopRow) * FRowHeight);
      return true;
    }
    case EM_CHARFROMPOS_: {
      const int x = static_cast<std::int16_t>(M.LParam & 0xFFFF);
      const int y = static_cast<std::int16_t>((M.LParam >> 16) & 0xFFFF);
      if (x < 0 || y < 0 || x >= FClientWidth || y >= FClientHeight) {
        result = -1;
        return true;
      }
      int c, r;
      PosToRowCol(x, y, true, c, r);
      r = std::clamp(r, 0, std::max(0, count - 1));
      const std::string a = StrToAttributes(ListStr(r));
      c = std::min(c, static_cast<int>(a.size()));
      while (c > 0 && c < static_cast<int>(a.size()) && (a[static_cast<size_t>(c)] == cmTrail ||
                                                         a[static_cast<size_t>(c)] == cmTabBlank))
        --c;
      const int index = c >= static_cast<int>(a.size()) ? rowLength(r) : ColumnToIndex(ListStr(r), c, ColumnOptions());
      result = MakeLong(FList->TextOffset(r, index), r);
      return true;
    }
    // Nothing selected (or nothing to cut): the clipboard keeps what it holds.
    case WM_CUT_:
      if (!FReadOnly && Selected()) CutToClipboard();
      result = 0;
      return true;
    case WM_COPY_:
      if (Selected()) CopyToClipboard();
      result = 0;
      return true;
    case WM_PASTE_:
      if (!FReadOnly) PasteFromClipboard();
      result = 0;
      return true;
    case WM_CLEAR_:
      if (!FReadOnly) DeleteSelection();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace vel
