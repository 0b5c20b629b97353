#include "shell/app/Form2.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "editor/FileErrors.h"
#include "platform/FileReplace.h"
#include "platform/MessageBox.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "shell/MemoCommands.h"
#include "shell/StripLayout.h"
#include "shell/app/Resource.h"
#include "shell/app/StripMessages.h"
#include "text/Sjis.h"

namespace vel {

namespace {

constexpr char MemoClass[] = "TForm2";
constexpr int EditId = 1;

// '|' separated filter as the dialog wants it: zero separated, two zeros at the end.
std::string DialogFilter(const std::string& f) {
  std::string s = f;
  for (char& c : s)
    if (c == '|') c = '\0';
  return s + std::string(2, '\0');
}

std::string ReadWhole(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFOpenError(path);
  win32::TKernelHandle file(h);
  std::string bytes;
  char buf[65536];
  DWORD n = 0;
  while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
  return bytes;
}

// The edit control shows CR LF line ends and no zero bytes.
std::string TextForEdit(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\x1A') break;
    if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else if (c == '\0') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

HACCEL MemoAccelerators() {
  static HACCEL accel = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MEMO));
  return accel;
}

TForm2::TForm2(TPageStore& Store, HWND Strip, int PageId, TStripPosition Position)
    : PageId(PageId), Store(Store), Strip(Strip), Position(Position) {}

TForm2::~TForm2() = default;

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
  HMENU mail = ::GetSubMenu(p.Menu, 4);
  for (size_t i = 0; mail && i < MailAccounts.size(); ++i) {
    std::wstring caption = win32::WideFromCp932(MailAccounts[i]);
    ::InsertMenuW(mail, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING | MF_GRAYED, CM_MAILACCOUNT0 + i,
                  caption.c_str());
  }
  if (mail && !MailAccounts.empty())
    ::InsertMenuW(mail, static_cast<UINT>(MailAccounts.size()), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  Window.Create(MemoClass, p, *this);
  HWND w = Handle();
  ::SetWindowTextW(w, win32::WideFromCp932(Caption).c_str());
  // The window cannot be moved by the user: the slide owns its place.
  ::RemoveMenu(::GetSystemMenu(w, FALSE), SC_MOVE, MF_BYCOMMAND);
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  // A Unicode control, so that its positions count characters on every system.
  Edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                               ES_NOHIDESEL | (ReadOnly ? ES_READONLY : 0),
                           0, 0, 10, 10, w, reinterpret_cast<HMENU>(EditId), inst, nullptr);
  ::SendMessageW(Edit, EM_SETLIMITTEXT, 0, 0);
  Status = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, w, nullptr, inst, nullptr);
  int parts[] = {70, 150, 200};
  ::SendMessageA(Status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  ApplyView(View);
  RECT rc;
  ::GetClientRect(w, &rc);
  Resized(rc.right, rc.bottom);
  UpdatePanels();
}

void TForm2::ApplyView(const TPageViewSettings& v) {
  View = v;
  LOGFONTW lf{};
  HDC dc = ::GetDC(nullptr);
  lf.lfHeight = -::MulDiv(v.FontSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, dc);
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring face = win32::WideFromCp932(v.FontName);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  EditFont.Reset(::CreateFontIndirectW(&lf));
  if (Edit) ::SendMessageW(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(EditFont.Get()), TRUE);
}

void TForm2::LoadFromFile(const std::string& Path) {
  std::string text = TextForEdit(ReadWhole(Path));
  SetText(text);
}

void TForm2::SetText(const std::string& Text) {
  Loading = true;
  ::SetWindowTextW(Edit, win32::WideFromCp932(Text).c_str());
  ::SendMessageW(Edit, EM_SETMODIFY, FALSE, 0);
  Loading = false;
}

std::wstring TForm2::WideText() const {
  int n = ::GetWindowTextLengthW(Edit);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(Edit, text.data(), n + 1)));
  return text;
}

bool TForm2::SaveToFile(const std::string& Path) {
  std::string text = win32::Cp932FromWide(WideText());
  std::string scratch = Path + ".new";
  HANDLE h = ::CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  ok = ::FlushFileBuffers(h) && ok;
  ::CloseHandle(h);
  if (!ok || !ReplaceFileWith(scratch, Path)) {
    ::DeleteFileA(scratch.c_str());
    return false;
  }
  ::SendMessageW(Edit, EM_SETMODIFY, FALSE, 0);
  return true;
}

bool TForm2::Modified() const { return ::SendMessageW(Edit, EM_GETMODIFY, 0, 0) != 0; }

void TForm2::SetCaptionText(const std::string& Caption) {
  ::SetWindowTextW(Handle(), win32::WideFromCp932(Caption).c_str());
}

bool TForm2::AskSave(const std::string& Name) {
  return ShowMessageBox(reinterpret_cast<TWindowHandle>(Handle()), AskSaveText(Name), AskSaveCaption,
                        mbYesNo | mbIconQuestion) == idYes;
}

TSaveResult TForm2::SaveAs() {
  int i = Index();
  if (i < 0) return TSaveResult::Cancelled;
  std::string filter = DialogFilter(SaveFilter);
  char name[MAX_PATH * 4] = {};
  Store.Pages[i].FilePath.copy(name, sizeof name - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof name;
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  bool wasBusy = Store.Busy;
  Store.Busy = true;
  bool chosen = ::GetSaveFileNameA(&ofn);
  Store.Busy = wasBusy;
  if (!chosen) return TSaveResult::Cancelled;
  std::string path = AppendDefaultExt(name, DefaultSaveExt(SaveFilter, static_cast<int>(ofn.nFilterIndex)));
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  bool saved = SaveToFile(path);
  ::SetCursor(old);
  if (!saved) {
    ShowStandardException(EFCreateError(path));
    return TSaveResult::Failed;
  }
  if (Store.Pages[i].Kind == TPageKind::Normal) {
    SetCaptionText(path);
    Store.SavedAs(i, path);
    ::SendMessageA(Strip, UM_PAGERENAMED, reinterpret_cast<WPARAM>(Handle()), 0);
  }
  return TSaveResult::Saved;
}

bool TForm2::Save() {
  int i = Index();
  if (i < 0) return false;
  if (!Store.Pages[i].HasFile) return SaveAs() == TSaveResult::Saved;
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  bool saved = SaveToFile(Store.Pages[i].FilePath);
  ::SetCursor(old);
  if (!saved) ShowStandardException(EFCreateError(Store.Pages[i].FilePath));
  return saved;
}

void TForm2::Open() {
  int i = Index();
  if (i < 0 || Store.Pages[i].Kind != TPageKind::Normal) return;
  Store.Busy = true;
  if (Modified() || Store.Pages[i].HasFile) {
    ::SendMessageA(Strip, UM_OPENINNEWPAGE, reinterpret_cast<WPARAM>(Handle()), 0);
  } else {
    std::string filter = DialogFilter(OpenFilter);
    char name[MAX_PATH * 4] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (::GetOpenFileNameA(&ofn)) {
      Store.OpenIntoPage(i, name);
      if (Store.Pages[i].HasFile && Store.Pages[i].FilePath == name) SetCaptionText(name);
    }
  }
  Store.Busy = false;
}

std::string TForm2::SelectedText() const {
  DWORD from = 0, to = 0;
  ::SendMessageW(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  std::wstring text = WideText();
  if (to <= from || from >= text.size()) return "";
  return win32::Cp932FromWide(text.substr(from, to - from));
}

void TForm2::QuoteCopy() {
  std::string sel = SelectedText();
  if (sel.empty()) return;
  std::string s = QuoteMarkCopy(sel);
  Store.QuoteCopyPending = true;
  if (!::OpenClipboard(Handle())) {
    Store.QuoteCopyPending = false;
    return;
  }
  ::EmptyClipboard();
  if (HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, s.size() + 1)) {
    memcpy(::GlobalLock(mem), s.c_str(), s.size() + 1);
    ::GlobalUnlock(mem);
    if (!::SetClipboardData(CF_TEXT, mem)) ::GlobalFree(mem);
  }
  ::CloseClipboard();
}

INT_PTR CALLBACK VerInfoProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  static win32::TFont titleFont;
  switch (msg) {
    case WM_INITDIALOG: {
      LOGFONTW lf{};
      lf.lfHeight = -24;
      lf.lfWeight = FW_BOLD;
      lf.lfCharSet = SHIFTJIS_CHARSET;
      std::wstring face = win32::WideFromCp932("HG正楷書体-PRO");
      face.copy(lf.lfFaceName, LF_FACESIZE - 1);
      titleFont.Reset(::CreateFontIndirectW(&lf));
      ::SendDlgItemMessageA(dlg, IDC_VER_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont.Get()), TRUE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) ::EndDialog(dlg, LOWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

void TForm2::About() {
  Store.Busy = true;
  ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VERINFO), Handle(), VerInfoProc, 0);
  Store.Busy = false;
}

void TForm2::Close() {
  int i = Index();
  if (i < 0 || State == TState::Delete) return;
  const TPage& p = Store.Pages[i];
  if (Modified()) {
    std::string name = p.FilePath.empty() ? p.Caption : ExtractFileName(p.FilePath);
    while (AskSave(name) && SaveAs() != TSaveResult::Saved) {
    }
  }
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
    DWORD from = 0, to = 0;
    ::SendMessageW(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    TEditMenuState s = EditMenuState(::SendMessageW(Edit, EM_CANUNDO, 0, 0) != 0, false, static_cast<int>(to - from),
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
    case CM_SAVE1:
      Store.Busy = true;
      Save();
      Store.Busy = false;
      break;
    case CM_SAVEAS1:
      Store.Busy = true;
      SaveAs();
      Store.Busy = false;
      break;
    case CM_EXIT1: ::PostMessageA(Strip, WM_CLOSE, 0, 0); break;
    case CM_UNDO1: ::SendMessageW(Edit, EM_UNDO, 0, 0); break;
    case CM_CUT1: ::SendMessageW(Edit, WM_CUT, 0, 0); break;
    case CM_COPY1: ::SendMessageW(Edit, WM_COPY, 0, 0); break;
    case CM_PASTE1: ::SendMessageW(Edit, WM_PASTE, 0, 0); break;
    case CM_DELETE1: ::SendMessageW(Edit, WM_CLEAR, 0, 0); break;
    case CM_SELECTALL1: ::SendMessageW(Edit, EM_SETSEL, 0, -1); break;
    case CM_QMARKCOPY: QuoteCopy(); break;
    case CM_CLIPBORDOPEN: ::SendMessageA(Strip, UM_CLIPBOARDPAGE, reinterpret_cast<WPARAM>(self), 0); break;
    case CM_QMARKCLIPOPEN: ::SendMessageA(Strip, UM_QUOTECLIPPAGE, reinterpret_cast<WPARAM>(self), 0); break;
    case CM_ABOUT1: About(); break;
    default: break;
  }
}

void TForm2::UpdatePanels() {
  DWORD from = 0;
  ::SendMessageW(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), 0);
  LastCaret = from;
  int row = static_cast<int>(::SendMessageW(Edit, EM_LINEFROMCHAR, from, 0));
  int col = static_cast<int>(from - ::SendMessageW(Edit, EM_LINEINDEX, row, 0));
  std::string caret = "\t" + CaretPanelText(col, row);
  ::SendMessageA(Status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(caret.c_str()));
  std::string changed = Changed ? "変更あり" : "";
  ::SendMessageA(Status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(changed.c_str()));
  std::string mode = OverWrite ? "上書き" : "挿入";
  ::SendMessageA(Status, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(mode.c_str()));
}

void TForm2::CaretMaybeMoved() {
  DWORD from = 0;
  ::SendMessageW(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), 0);
  if (from != LastCaret) UpdatePanels();
}

void TForm2::Paint(ICanvas&, const TRect&) {}

void TForm2::Resized(int Width, int Height) {
  if (!Status || !Edit) return;
  ::SendMessageA(Status, WM_SIZE, 0, 0);
  RECT sr;
  ::GetWindowRect(Status, &sr);
  ::MoveWindow(Edit, 0, 0, Width, Height - (sr.bottom - sr.top), TRUE);
}

bool TForm2::HandleMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (LOWORD(m.WParam) == EditId) {
        if (HIWORD(m.WParam) == EN_CHANGE && !Loading) {
          Changed = true;
          UpdatePanels();
        }
        return true;
      }
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
      ::SetFocus(Edit);
      return true;
    case UM_FOREGROUND:
      ::SetForegroundWindow(Handle());
      ::SetFocus(Edit);
      return true;
    default:
      return false;
  }
}

}  // namespace vel
