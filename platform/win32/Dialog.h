#pragma once
// The one base of the program's modal dialogs. A dialog is a template in a
// resource script; the base runs it, keeps every exception inside its
// procedure (shown in the standard box, the dialog lives on), gives the
// controls by id with CP932 texts, and holds a busy flag while it is up.
#include <windows.h>

#include <string>
#include <vector>

namespace vel::win32 {

class TModalDialog {
 public:
  explicit TModalDialog(int TemplateId) : TemplateId(TemplateId) {}
  TModalDialog(const TModalDialog&) = delete;
  TModalDialog& operator=(const TModalDialog&) = delete;
  virtual ~TModalDialog() = default;

  // Runs the dialog owned by Owner with *Busy raised meanwhile (when given);
  // answers the id that closed it (IDOK, IDCANCEL, ...), IDCANCEL when the
  // template could not be shown or its initialisation failed.
  int ShowModal(HWND Owner, bool* Busy = nullptr);
  // The dialog's window while it is up, else nullptr.
  HWND Handle() const { return Wnd; }

 protected:
  // The controls exist; fill them from the dialog's values.
  virtual void InitDialog() {}
  // A control's command (button click, edit change, ...); true when handled.
  virtual bool Command(int Id, int Code) { return (void)Id, (void)Code, false; }
  // OK was pressed: read the controls back; false keeps the dialog open.
  virtual bool Accept() { return true; }
  // Any other message; true (with Result set) when handled.
  virtual bool Message(UINT Msg, WPARAM wParam, LPARAM lParam, INT_PTR& Result) {
    return (void)Msg, (void)wParam, (void)lParam, (void)Result, false;
  }

  void End(int Result);
  HWND Item(int Id) const { return ::GetDlgItem(Wnd, Id); }
  std::string Text(int Id) const;
  void SetText(int Id, const std::string& Text);
  bool Checked(int Id) const;
  void SetChecked(int Id, bool On);
  void Enable(int Id, bool On);
  // The items of a combo or list box, replaced whole.
  void SetItems(int Id, const std::vector<std::string>& Items);
  // The selected item's index, -1 for none.
  int ItemIndex(int Id) const;
  void SetItemIndex(int Id, int Index);

 private:
  static INT_PTR CALLBACK Proc(HWND Dlg, UINT Msg, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam);

  int TemplateId;
  HWND Wnd = nullptr;
};

}  // namespace vel::win32
