#pragma once
// A page's memo window: a sizeable topmost window with the menu bar, the
// text and a status bar. Commands about the page list go to the strip as
// private messages; the page's own file work happens here.
//
// The text lives in the program's own editor control, in a child window of
// its own, so a page file keeps every byte it had (malformed Shift-JIS, NUL
// and Ctrl-Z bytes) through loading, editing and saving.
// The window host first: <windows.h> renames names the canvas declares.
#include "platform/win32/WindowHost.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorEx.h"
#include "platform/Input.h"
#include "platform/win32/Handles.h"
#include "shell/FindDialogState.h"
#include "shell/PageStore.h"
#include "shell/RecoveryJournal.h"
#include "shell/Slide.h"

namespace vel {

// The page's editor: the Insert key switches overwrite mode and tells the
// memo window, which shows the mode. OnInput follows every input the window
// hands over, focused or not: the caret can move without the focus (a
// program driving the page by messages), where OnCaretMoved stays silent.
class TMemoEditor final : public TEditorEx {
 public:
  TNotifyEvent OnOverWriteChange;
  TNotifyEvent OnInput;
  bool KeyDown(const TKeyEvent& E) override;
  void KeyPress(const TCharEvent& E) override;
  void MouseUp(const TMouseEvent& E) override;
  bool HandleMessage(TMessage& M) override;

 private:
  void Input() {
    if (OnInput) OnInput(this);
  }
};

class TForm2 final : public IWindowClient {
 public:
  // Finds: the find dialog's histories and options, one for every page.
  TForm2(TPageStore& Store, HWND Strip, int PageId, TStripPosition Position, TFindDialogState& Finds);
  ~TForm2() override;
  // MailAccounts: the Web-mail menu's account items, in account order.
  void Create(const std::string& Caption, const TRect& Bounds, bool ReadOnly,
              const std::vector<std::string>& MailAccounts = {});
  HWND Handle() const { return Window.Handle(); }

  int PageId;
  enum class TState { Create, Delete } State = TState::Create;
  TPageViewSettings View;

  void ApplyView(const TPageViewSettings& v);
  // Every byte is kept; only a run of Ctrl-Z at the very end is dropped.
  // Throws EFOpenError when the file cannot be read.
  void LoadFromFile(const std::string& Path);
  // Writes beside the file and replaces it; on failure the reason is shown
  // and false returned (old file untouched, page still modified).
  bool SaveToFile(const std::string& Path);
  void SetText(const std::string& Text);
  // Text back from a recovery journal: shown modified, journaled anew.
  void SetRecoveredText(const std::string& Text);

  // The page's recovery journal: written once the text has rested for
  // JournalIdleMs, Budget bytes a tick, and removed when the page is saved
  // or closed. OldJournal: a previous run's journal this page came back
  // from, removed once this run's journal of the page is in place.
  static constexpr unsigned JournalIdleMs = 2000;
  std::string JournalPath, OldJournal;
  void JournalTick(unsigned Now, size_t Budget);
  void DropJournal();
  bool Modified() const;
  // Save As with the dialog; a failure is shown and leaves the page modified.
  TSaveResult SaveAs();
  TSaveAnswer AskSave(const std::string& Name);
  // To the page's own file, or through Save As when it has none.
  bool Save();
  void SetCaptionText(const std::string& Caption);
  TMemoEditor& Memo() { return Memo1; }
  HWND MemoHandle() const { return MemoWindow.Handle(); }
  // Refreshes the caret panel when the caret has moved since the last look.
  void CaretMaybeMoved();

  void Paint(ICanvas& Canvas, const TRect& Area) override;
  void Resized(int Width, int Height) override;
  bool HandleMessage(TMessage& m) override;

 private:
  int Index() const { return Store.IndexOf(PageId); }
  void Command(int Id);
  void InitMenu(HMENU Menu, int Position);
  void Open();
  void QuoteCopy();
  void Find2Click();
  // F3 and Shift+F3: on from the selection with the last search.
  void FindAgain(bool Forward);
  // Runs a search step; false after its failure was shown (an invalid
  // pattern in the engine's own words).
  bool Searching(const char* Caption, const std::function<void()>& Step);
  void Tell(const std::string& Text, const char* Caption);
  void About();
  void Close();
  void UpdatePanels();
  void SettleText();

  TPageStore& Store;
  TFindDialogState& Finds;
  HWND Strip;
  TStripPosition Position;
  HWND Status = nullptr;
  bool Loading = false;
  bool Changed = false;
  bool JournalDue = false, JournalWritten = false;
  unsigned LastChange = 0;
  std::unique_ptr<TJournalWriter> Journal;
  int LastRow = -1, LastCol = -1;
  // The editor outlives both windows: destroying a window detaches its client.
  TMemoEditor Memo1;
  win32::THostedWindow MemoWindow;
  win32::THostedWindow Window;
};

// The memo windows' accelerators, loaded once.
HACCEL MemoAccelerators();

}  // namespace vel
