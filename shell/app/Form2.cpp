#include "shell/app/Form2.h"

#include <commctrl.h>

#include <vector>

#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "platform/win32/CommonDialogs.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "platform/win32/Menu.h"
#include "shell/MemoCommands.h"
#include "shell/StripLayout.h"
#include "shell/app/Resource.h"
#include "shell/app/StripMessages.h"
#include "shell/app/FindDialog.h"
#include "shell/app/VersionDialog.h"
#include "text/UpdateGuard.h"

namespace vel {

namespace {

constexpr char MemoClass[] = "TForm2";
constexpr char EditorClass[] = "TEditor";

}  // namespace

HACCEL MemoAccelerators() {
  static HACCEL accel = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MEMO));
  return accel;
}

bool TMemoEditor::KeyDown(const TKeyEvent& E) {
  if (E.Key == vkInsert && !(E.Shift & (ssShift | ssCtrl | ssAlt))) {
    SetOverWrite(!OverWrite());
    if (OnOverWriteChange) OnOverWriteChange(this);
    return true;
  }
  bool handled = TEditorEx::KeyDown(E);
  Input();
  return handled;
}

void TMemoEditor::KeyPress(const TCharEvent& E) {
  TEditorEx::KeyPress(E);
  Input();
}

void TMemoEditor::MouseUp(const TMouseEvent& E) {
  TEditorEx::MouseUp(E);
  Input();
}

bool TMemoEditor::HandleMessage(TMessage& M) {
  bool handled = TEditorEx::HandleMessage(M);
  if (handled) Input();
  return handled;
}

TForm2::TForm2(TPageStore& Store, HWND Strip, int PageId, TStripPosition Position, TFindDialogState& Finds)
    : PageId(PageId), Store(Store), Finds(Finds), Strip(Strip), Position(Position) {
  Memo1.SetScrollBars(ssVertical);
  Memo1.Caret().AutoIndent = true;
  Memo1.Caret().BackSpaceUnIndent = true;
  Memo1.Caret().RowSelect = true;
  Memo1.Caret().FreeCaret = false;
  Memo1.FindColor().SetBkColor(SystemColor(2));  // clActiveCaption
  Memo1.FindColor().SetColor(RGBColor(255, 255, 255));
  Memo1.Margin().SetCharacter(4);
  Memo1.Margin().SetLeft(19);
  Memo1.Margin().SetTop(2);
  Memo1.SetUndoListMax(64);
  Memo1.WrapOption().SetWrapByte(80);
  Memo1.SetWordWrap(false);
  Memo1.Marks().EofMark().SetVisible(false);
  Memo1.Marks().RetMark().SetVisible(false);
  Memo1.Marks().Underline().SetVisible(false);
  Memo1.OnCaretMoved = [this](TEditor*) { UpdatePanels(); };
  Memo1.OnChange = [this](TEditor*) {
    if (Loading) return;
    JournalDue = true;
    LastChange = ::GetTickCount();
    // The rows a journal was being written from have changed.
    Journal.reset();
    if (Changed) return;
    Changed = true;
    UpdatePanels();
  };
  Memo1.OnOverWriteChange = [this](TEditor*) { UpdatePanels(); };
  Memo1.OnInput = [this](TEditor*) { CaretMaybeMoved(); };
}

// Gone while Memo1 is alive: the editor hears that its window went.
TForm2::~TForm2() { Window.Destroy(); }

void TForm2::Create(const std::string& Caption, const TRect& Bounds, bool ReadOnly,
                    const std::vector<std::string>& MailAccounts) {
  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON");
  win32::RegisterHostClass({MemoClass, CS_DBLCLKS, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon});
  win32::TWindowParams p;
  p.ExStyle = WS_EX_TOPMOST;
  p.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  p.Caption = Caption;
  p.Bounds = Bounds;
  p.Parent = Strip;
  p.Menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MEMO));
  // Account items stand before a separator and the settings item; logging
  // in comes with later work, so they are shown grayed.
  HMENU mail = win32::SubMenuWithItem(p.Menu, CM_MAILSETTING);
  for (size_t i = 0; mail && i < MailAccounts.size(); ++i) {
    std::wstring caption = win32::WideFromCp932(MailAccounts[i]);
    ::InsertMenuW(mail, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING | MF_GRAYED, CM_MAILACCOUNT0 + i,
                  caption.c_str());
  }
  if (mail && !MailAccounts.empty())
    ::InsertMenuW(mail, static_cast<UINT>(MailAccounts.size()), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  Window.Create(MemoClass, p, *this);
  Window.SetAccelerators(MemoAccelerators());
  HWND w = Handle();
  ::SetWindowTextW(w, win32::WideFromCp932(Caption).c_str());
  // The window cannot be moved by the user: the slide owns its place.
  ::RemoveMenu(::GetSystemMenu(w, FALSE), SC_MOVE, MF_BYCOMMAND);
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  // No class cursor: the editor sets its own over text, margins and selections.
  win32::RegisterHostClass({EditorClass, CS_DBLCLKS, nullptr, nullptr, nullptr});
  win32::TWindowParams e;
  e.ExStyle = WS_EX_CLIENTEDGE;
  e.Style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP;
  e.Bounds = {0, 0, 10, 10};
  e.Parent = w;
  MemoWindow.Create(EditorClass, e, Memo1);
  Memo1.SetReadOnly(ReadOnly);
  // The window's accelerators take Ctrl+Y and Ctrl+A before the editor
  // sees them; its popup says so.
  TEditorPopupMenu& popup = Memo1.EnsurePopupMenu();
  popup.SetShortCut(TEditorPopupMenu::miRedo, 'Y');
  popup.SetShortCut(TEditorPopupMenu::miSelAll, 'A');
  Status = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, w, nullptr, inst, nullptr);
  // Room for a seven-digit line number in the caret panel.
  int parts[] = {100, 180, 230};
  ::SendMessageA(Status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  ApplyView(View);
  RECT rc;
  ::GetClientRect(w, &rc);
  Resized(rc.right, rc.bottom);
  UpdatePanels();
}

void TForm2::ApplyView(const TPageViewSettings& v) {
  View = v;
  // A rewrap renumbers the rows a journal is being written from.
  if (Journal) {
    Journal.reset();
    JournalDue = true;
  }
  TFontSpec font = Memo1.Font();
  font.Name = v.FontName;
  font.Height = -::MulDiv(v.FontSize, ::GetDeviceCaps(win32::TWindowDC(nullptr).Get(), LOGPIXELSY), 72);
  font.CharSet = SHIFTJIS_CHARSET;
  Memo1.SetFont(font);
  Memo1.Marks().RetMark().SetVisible(v.MemoFormCRMark);
  Memo1.Marks().EofMark().SetVisible(v.MemoFormEOFMark);
  TEditorLeftbar& bar = Memo1.Leftbar();
  bar.SetVisible(v.MemoFormLineNum);
  if (v.MemoFormNumMode) bar.SetShowNumberMode(*v.MemoFormNumMode == 1 ? nmLine : nmRow);
  bar.SetZeroBase(v.MemoFormLineNumTopZero);
  Memo1.WrapOption().SetWrapByte(v.MemoFormWrapByte);
  Memo1.SetWordWrap(v.MemoFormWordWrap);
}

// New text starts clean: caret at the top, nothing to undo, not modified.
void TForm2::SettleText() {
  Memo1.CleanSelection();
  Memo1.SetRowCol(0, 0);
  Memo1.UndoObj().Clear();
  Memo1.SetModified(false);
}

void TForm2::LoadFromFile(const std::string& Path) {
  Loading = true;
  try {
    Memo1.Lines().LoadFromFile(Path);
  } catch (...) {
    Loading = false;
    throw;
  }
  SettleText();
  Loading = false;
}

void TForm2::SetText(const std::string& Text) {
  Loading = true;
  // The text as it stands: no line break is added after its last line.
  Memo1.Lines().Clear();
  Memo1.ScreenStrings().UpdateList(0, 0, Text);
  SettleText();
  Loading = false;
}

void TForm2::SetRecoveredText(const std::string& Text) {
  SetText(Text);
  Memo1.SetModified(true);
  Changed = true;
  // Journaled again at once under this run's name; the old journal goes then.
  JournalDue = true;
  LastChange = ::GetTickCount() - JournalIdleMs;
  UpdatePanels();
}

void TForm2::JournalTick(unsigned Now, size_t Budget) {
  int i = Index();
  if (i < 0 || Store.Pages[i].Kind != TPageKind::Normal || JournalPath.empty()) return;
  if (!Modified()) {
    if (JournalDue || Journal || JournalWritten) DropJournal();
    return;
  }
  if (!Journal) {
    if (!JournalDue || Now - LastChange < JournalIdleMs) return;
    const TPage& p = Store.Pages[i];
    TJournalPage header{p.Kind, p.HasFile, p.HasFile ? p.FilePath : p.Caption, View, {}};
    Journal = std::make_unique<TJournalWriter>(JournalPath, header);
    JournalDue = false;
  }
  if (Journal->Step(Memo1.ScreenStrings().Rows(), Budget)) {
    Journal.reset();
    JournalWritten = true;
    if (!OldJournal.empty()) ::DeleteFileA(OldJournal.c_str());
    OldJournal.clear();
  } else if (Journal->Failed()) {
    // Tried again after the next change rather than on every tick.
    Journal.reset();
  }
}

void TForm2::DropJournal() {
  Journal.reset();
  JournalDue = false;
  JournalWritten = false;
  if (!JournalPath.empty()) ::DeleteFileA(JournalPath.c_str());
  if (!OldJournal.empty()) ::DeleteFileA(OldJournal.c_str());
  OldJournal.clear();
}

bool TForm2::SaveToFile(const std::string& Path) {
  try {
    win32::TWaitCursor wait;
    Memo1.Lines().SaveToFile(Path);
  } catch (const std::exception& e) {
    // Its own words: a read-only file says so, a full disk says that.
    ShowStandardException(e);
    return false;
  }
  Memo1.SetModified(false);
  DropJournal();
  // A saved page looks saved until its next change.
  Changed = false;
  UpdatePanels();
  return true;
}

bool TForm2::Modified() const { return Memo1.Modified(); }

void TForm2::SetCaptionText(const std::string& Caption) {
  ::SetWindowTextW(Handle(), win32::WideFromCp932(Caption).c_str());
}

TSaveAnswer TForm2::AskSave(const std::string& Name) {
  TFlagScope busy(Store.Busy);
  switch (ShowMessageBox(reinterpret_cast<TWindowHandle>(Handle()), AskSaveText(Name), AskSaveCaption,
                         mbYesNoCancel | mbIconQuestion)) {
    case idYes: return TSaveAnswer::Yes;
    case idNo: return TSaveAnswer::No;
    default: return TSaveAnswer::Cancel;
  }
}

TSaveResult TForm2::SaveAs() {
  int i = Index();
  if (i < 0) return TSaveResult::Cancelled;
  std::string path = Store.Pages[i].FilePath;
  for (;;) {
    std::optional<win32::TSaveFileChoice> chosen;
    {
      TFlagScope busy(Store.Busy);
      chosen = win32::SaveFileDialog(Handle(), SaveFilter, path);
    }
    if (!chosen) return TSaveResult::Cancelled;
    // The overwrite question is about the name the file will really have,
    // extension added: the dialog itself only sees what was typed.
    path = AppendDefaultExt(chosen->Path, DefaultSaveExt(SaveFilter, chosen->FilterIndex));
    DWORD a = ::GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) break;
    TFlagScope busy(Store.Busy);
    if (ShowMessageBox(reinterpret_cast<TWindowHandle>(Handle()), OverwriteText(path), SaveAsCaption,
                       mbYesNo | mbIconWarning) == idYes)
      break;
  }
  if (!SaveToFile(path)) return TSaveResult::Failed;
  if (Store.Pages[i].Kind == TPageKind::Normal) {
    Store.SavedAs(i, path);
    SetCaptionText(Store.Pages[i].FilePath);
    ::SendMessageA(Strip, UM_PAGERENAMED, reinterpret_cast<WPARAM>(Handle()), 0);
  }
  return TSaveResult::Saved;
}

bool TForm2::Save() {
  int i = Index();
  if (i < 0) return false;
  if (!Store.Pages[i].HasFile) return SaveAs() == TSaveResult::Saved;
  return SaveToFile(Store.Pages[i].FilePath);
}

void TForm2::Open() {
  int i = Index();
  if (i < 0 || Store.Pages[i].Kind != TPageKind::Normal) return;
  TFlagScope busy(Store.Busy);
  if (Modified() || Store.Pages[i].HasFile) {
    ::SendMessageA(Strip, UM_OPENINNEWPAGE, reinterpret_cast<WPARAM>(Handle()), 0);
  } else if (std::optional<std::string> name = win32::OpenFileDialog(Handle(), OpenFilter)) {
    Store.OpenIntoPage(i, *name);
    if (Store.Pages[i].HasFile) SetCaptionText(Store.Pages[i].FilePath);
  }
}

void TForm2::QuoteCopy() {
  if (Memo1.SelLength() <= 0) return;
  // Raised before the copy: the clipboard page hears of the change inside it.
  Store.QuoteCopyPending = true;
  if (!Clipboard().SetText(QuoteMarkCopy(Memo1.GetSelText()))) Store.QuoteCopyPending = false;
}

void TForm2::Tell(const std::string& Text, const char* Caption) {
  TFlagScope busy(Store.Busy);
  ShowMessageBox(reinterpret_cast<TWindowHandle>(Handle()), Text, Caption, mbOK | mbIconInformation);
}

bool TForm2::Searching(const char* Caption, const std::function<void()>& Step) {
  try {
    Step();
    return true;
  } catch (const std::exception& e) {
    // A pattern the engine cannot read: its message, nothing selected.
    TFlagScope busy(Store.Busy);
    ShowMessageBox(reinterpret_cast<TWindowHandle>(Handle()), e.what(), Caption, mbOK | mbIconWarning);
    return false;
  }
}

void TForm2::Find2Click() {
  const int request = TFindDialog(Finds).ShowModal(Handle(), &Store.Busy);
  TSearchOptions options;
  options.Bits = Finds.Options();
  const std::string& find = Finds.FindText;
  const std::string& replace = Finds.ReplaceText;
  int length = 0, r = -1;
  switch (request) {
    case frFind:
      if (find.empty()) return;
      if (Searching(FindResultCaption, [&] { r = Memo1.Find(find, 0, length, options); }) && r < 0)
        Tell(NotFoundText(find), FindResultCaption);
      break;
    case frReplace:
      if (find.empty() || replace.empty()) return;
      if (Searching(ReplaceResultCaption,
                    [&] { r = Memo1.Replace(find, replace, Memo1.SelStart(), length, options); }) &&
          r < 0)
        Tell(NotFoundText(find), ReplaceResultCaption);
      break;
    case frReplaceAll: {
      if (find.empty() || replace.empty()) return;
      const int start = Memo1.SelStart();
      int count = 0;
      if (!Searching(ReplaceResultCaption, [&] { count = Memo1.ReplaceAll(find, replace, options); })) return;
      Memo1.SetSelStart(start);
      Tell(count > 0 ? ReplacedCountText(count) : NotFoundText(find), ReplaceResultCaption);
      break;
    }
    default:
      break;
  }
}

void TForm2::FindAgain(bool Forward) {
  if (Memo1.FindText().empty()) {
    Find2Click();
    return;
  }
  int length = 0, r = -1;
  // Forward from the end of what is selected, so the same match is not found again.
  const int from = Forward ? Memo1.SelStart() + Memo1.SelLength() : Memo1.SelStart();
  if (Searching(FindResultCaption, [&] { r = Forward ? Memo1.FindNext(from, length) : Memo1.FindPrev(from, length); }) &&
      r < 0)
    Tell(NotFoundText(Memo1.FindText()), FindResultCaption);
}

void TForm2::About() { TVersionDialog().ShowModal(Handle(), &Store.Busy); }

void TForm2::Close() {
  int i = Index();
  if (i < 0 || State == TState::Delete) return;
  if (Modified()) {
    const TPage& p = Store.Pages[i];
    const std::string name = p.FilePath.empty() ? p.Caption : ExtractFileName(p.FilePath);
    if (!OfferSave([&] { return AskSave(name); }, [&] { return Save() ? TSaveResult::Saved : TSaveResult::Failed; }))
      return;
    // The page list may have changed while the prompt was up.
    i = Index();
    if (i < 0 || State == TState::Delete) return;
  }
  DropJournal();
  int left = Store.Row.Tabs[i].Left;
  State = TState::Delete;
  ::PostMessageA(Strip, UM_REMOVEPAGE, static_cast<WPARAM>(i), left);
}

void TForm2::InitMenu(HMENU Menu, int Position) {
  int i = Index();
  if (i < 0) return;
  if (Position == 0) {
    ::EnableMenuItem(Menu, CM_OPEN1, OpenEnabled(Store.Pages[i].Kind == TPageKind::Clipboard) ? MF_ENABLED : MF_GRAYED);
  } else if (Position == 1) {
    TEditMenuState s = EditMenuState(Memo1.CanUndo(), Memo1.CanRedo(), Memo1.SelLength(),
                                     ::IsClipboardFormatAvailable(CF_TEXT) != 0);
    auto set = [&](int id, bool on) { ::EnableMenuItem(Menu, id, on ? MF_ENABLED : MF_GRAYED); };
    set(CM_UNDO1, s.Undo);
    set(CM_REDO1, s.Redo);
    set(CM_CUT1, s.Cut);
    set(CM_COPY1, s.Copy);
    set(CM_DELETE1, s.Delete);
    set(CM_PASTE1, s.Paste);
  }
}

void TForm2::Command(int Id) {
  HWND self = Handle();
  switch (Id) {
    case CM_NEWPAGE1:
      if (::GetForegroundWindow() == self) ::SendMessageA(Strip, UM_NEWPAGE, reinterpret_cast<WPARAM>(self), 0);
      break;
    case CM_OPEN1: Open(); break;
    case CM_SAVE1: {
      TFlagScope busy(Store.Busy);
      Save();
      break;
    }
    case CM_SAVEAS1: {
      TFlagScope busy(Store.Busy);
      SaveAs();
      break;
    }
    case CM_EXIT1: ::PostMessageA(Strip, WM_CLOSE, 0, 0); break;
    case CM_UNDO1: Memo1.Undo(); break;
    case CM_REDO1: Memo1.Redo(); break;
    case CM_CUT1:
      if (Memo1.SelLength() > 0) Memo1.CutToClipboard();
      break;
    case CM_COPY1:
      if (Memo1.SelLength() > 0) Memo1.CopyToClipboard();
      break;
    case CM_PASTE1: Memo1.PasteFromClipboard(); break;
    case CM_DELETE1:
      if (Memo1.SelLength() > 0) Memo1.ClearSelection();
      break;
    case CM_SELECTALL1: Memo1.SelectAll(); break;
    case CM_QMARKCOPY: QuoteCopy(); break;
    case CM_CLIPBORDOPEN: ::SendMessageA(Strip, UM_CLIPBOARDPAGE, reinterpret_cast<WPARAM>(self), 0); break;
    case CM_QMARKCLIPOPEN: ::SendMessageA(Strip, UM_QUOTECLIPPAGE, reinterpret_cast<WPARAM>(self), 0); break;
    case CM_ABOUT1: About(); break;
    case CM_FIND2: Find2Click(); break;
    case CM_FINDNEXT: FindAgain(true); break;
    case CM_FINDPREV: FindAgain(false); break;
    case CM_EMPHASIS1: Memo1.FindCancel(); break;
    default: break;
  }
}

void TForm2::UpdatePanels() {
  if (!Status) return;
  LastRow = Memo1.Row();
  LastCol = Memo1.Col();
  std::string caret = "\t";
  caret += CaretPanelText(LastCol, LastRow);
  ::SendMessageA(Status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(caret.c_str()));
  std::string changed = Changed ? "変更あり" : "";
  ::SendMessageA(Status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(changed.c_str()));
  std::string mode = Memo1.OverWrite() ? "上書き" : "挿入";
  ::SendMessageA(Status, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(mode.c_str()));
}

void TForm2::CaretMaybeMoved() {
  if (Memo1.Row() != LastRow || Memo1.Col() != LastCol) UpdatePanels();
}

void TForm2::Paint(ICanvas&, const TRect&) {}

void TForm2::Resized(int Width, int Height) {
  HWND edit = MemoHandle();
  if (!Status || !edit) return;
  ::SendMessageA(Status, WM_SIZE, 0, 0);
  RECT sr;
  ::GetWindowRect(Status, &sr);
  ::MoveWindow(edit, 0, 0, Width, Height - (sr.bottom - sr.top), TRUE);
}

bool TForm2::HandleMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      Command(LOWORD(m.WParam));
      return true;
    case WM_INITMENUPOPUP:
      if (!HIWORD(m.LParam)) InitMenu(reinterpret_cast<HMENU>(m.WParam), LOWORD(m.LParam));
      return true;
    case WM_SIZING:
      if (SizingRefused(Position, static_cast<int>(m.WParam))) {
        RECT r;
        ::GetWindowRect(Handle(), &r);
        *reinterpret_cast<RECT*>(m.LParam) = r;
        m.Result = TRUE;
        return true;
      }
      return false;
    case WM_EXITSIZEMOVE:
      if (State == TState::Create) {
        RECT r;
        ::GetWindowRect(Handle(), &r);
        Store.MemoWidth = r.right - r.left;
        ::SendMessageA(Strip, UM_MEMORESIZED, reinterpret_cast<WPARAM>(Handle()), 0);
      }
      return false;
    case WM_CLOSE:
      Close();
      return true;
    case WM_SETFOCUS:
      ::SetFocus(MemoHandle());
      return true;
    case UM_FOREGROUND:
      ::SetForegroundWindow(Handle());
      ::SetFocus(MemoHandle());
      return true;
    default:
      return false;
  }
}

}  // namespace vel
