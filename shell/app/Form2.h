#pragma once
// A page's memo window: a sizeable topmost window with the menu bar, the
// text and a status bar. Commands about the page list go to the strip as
// private messages; the page's own file work happens here.
//
// The text sits in the system's multi-line edit control until the program's
// own editor control takes its place; everything around it (loading with
// the text file rules, saving beside and replacing, the modified flag, the
// status panels, the menus) already follows the page's rules.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowHost.h"
#include "shell/PageStore.h"
#include "shell/Slide.h"

namespace vel {

class TForm2 final : public IWindowClient {
 public:
  TForm2(TPageStore& Store, HWND Strip, int PageId, TStripPosition Position);
  ~TForm2() override;
  // MailAccounts: the Web-mail menu's account items, in account order.
  void Create(const std::string& Caption, const TRect& Bounds, bool ReadOnly,
              const std::vector<std::string>& MailAccounts = {});
  HWND Handle() const { return Window.Handle(); }

  int PageId;
  enum class TState { Create, Delete } State = TState::Create;
  TPageViewSettings View;

  void ApplyView(const TPageViewSettings& v);
  // Text file rules: CR LF, CR or LF end a line, Ctrl-Z ends the text.
  // Throws EFOpenError when the file cannot be read.
  void LoadFromFile(const std::string& Path);
  // Writes beside the file and replaces it; false (old file untouched) on failure.
  bool SaveToFile(const std::string& Path);
  void SetText(const std::string& Text);
  bool Modified() const;
  // Save As with the dialog; a failure is shown and leaves the page modified.
  TSaveResult SaveAs();
  bool AskSave(const std::string& Name);
  void SetCaptionText(const std::string& Caption);
  // Refreshes the caret panel when the caret has moved since the last look.
  void CaretMaybeMoved();

  void Paint(ICanvas& Canvas, const TRect& Area) override;
  void Resized(int Width, int Height) override;
  bool HandleMessage(TMessage& m) override;

 private:
  int Index() const { return Store.IndexOf(PageId); }
  void Command(int Id);
  void InitMenu(HMENU Menu, int Position);
  bool Save();
  void Open();
  void QuoteCopy();
  void About();
  void Close();
  void UpdatePanels();
  std::string SelectedText() const;
  std::wstring WideText() const;

  TPageStore& Store;
  HWND Strip;
  TStripPosition Position;
  HWND Edit = nullptr, Status = nullptr;
  win32::TFont EditFont;
  bool Loading = false;
  bool Changed = false;
  bool OverWrite = false;
  DWORD LastCaret = 0;
  win32::THostedWindow Window;
};

// The memo windows' accelerators, loaded once.
HACCEL MemoAccelerators();

}  // namespace vel
