#include "platform/win32/Dialog.h"

#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "text/UpdateGuard.h"

namespace vel::win32 {

int TModalDialog::ShowModal(HWND Owner, bool* Busy) {
  TFlagScope busy(Busy);
  INT_PTR r = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TemplateId), Owner, &TModalDialog::Proc,
                                reinterpret_cast<LPARAM>(this));
  return r <= 0 ? IDCANCEL : static_cast<int>(r);
}

INT_PTR CALLBACK TModalDialog::Proc(HWND Dlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TModalDialog*>(::GetWindowLongPtrW(Dlg, DWLP_USER));
  if (Msg == WM_INITDIALOG) {
    self = reinterpret_cast<TModalDialog*>(lParam);
    ::SetWindowLongPtrW(Dlg, DWLP_USER, lParam);
    self->Wnd = Dlg;
    // A dialog that could not be filled must not be edited and accepted.
    bool ok = CallbackBarrier([&] { self->InitDialog(); return true; }, false);
    if (!ok) ::EndDialog(Dlg, IDCANCEL);
    return TRUE;
  }
  if (!self) return FALSE;
  if (Msg == WM_NCDESTROY) {
    self->Wnd = nullptr;
    return FALSE;
  }
  return CallbackBarrier([&] { return self->Dispatch(Msg, wParam, lParam); }, INT_PTR{TRUE});
}

INT_PTR TModalDialog::Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_COMMAND) {
    int id = LOWORD(wParam);
    if (Command(id, HIWORD(wParam))) return TRUE;
    if (id == IDOK) {
      if (Accept()) End(IDOK);
      return TRUE;
    }
    if (id == IDCANCEL) {
      End(IDCANCEL);
      return TRUE;
    }
    return FALSE;
  }
  INT_PTR result = 0;
  if (!Message(Msg, wParam, lParam, result)) return FALSE;
  ::SetWindowLongPtrW(Wnd, DWLP_MSGRESULT, result);
  return TRUE;
}

void TModalDialog::End(int Result) {
  if (Wnd) ::EndDialog(Wnd, Result);
}

std::string TModalDialog::Text(int Id) const {
  HWND item = Item(Id);
  std::wstring w(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  w.resize(static_cast<size_t>(::GetWindowTextW(item, w.data(), static_cast<int>(w.size()))));
  return Cp932FromWide(w);
}

void TModalDialog::SetText(int Id, const std::string& Text) {
  ::SetDlgItemTextW(Wnd, Id, WideFromCp932(Text).c_str());
}

bool TModalDialog::Checked(int Id) const { return ::IsDlgButtonChecked(Wnd, Id) == BST_CHECKED; }

void TModalDialog::SetChecked(int Id, bool On) { ::CheckDlgButton(Wnd, Id, On ? BST_CHECKED : BST_UNCHECKED); }

void TModalDialog::Enable(int Id, bool On) { ::EnableWindow(Item(Id), On); }

namespace {

bool IsListBox(HWND item) {
  wchar_t cls[16] = {};
  ::GetClassNameW(item, cls, 16);
  return ::lstrcmpiW(cls, L"ListBox") == 0;
}

}  // namespace

void TModalDialog::SetItems(int Id, const std::vector<std::string>& Items) {
  HWND item = Item(Id);
  bool list = IsListBox(item);
  ::SendMessageW(item, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  for (const std::string& s : Items)
    ::SendMessageW(item, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromCp932(s).c_str()));
}

int TModalDialog::ItemIndex(int Id) const {
  HWND item = Item(Id);
  return static_cast<int>(::SendMessageW(item, IsListBox(item) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

void TModalDialog::SetItemIndex(int Id, int Index) {
  HWND item = Item(Id);
  ::SendMessageW(item, IsListBox(item) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

}  // namespace vel::win32
