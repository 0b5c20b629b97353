#pragma once
// The application behind the strip: the page store with its memo windows and
// tabs, the strip's private messages, the auto-hide timer, the clipboard
// viewer chain, the settings files and the exit sequence.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "platform/win32/ClipboardViewer.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemServices.h"
#include "shell/FindDialogState.h"
#include "shell/MainSettings.h"
#include "shell/PageStore.h"
#include "shell/PageStoreLink.h"
#include "shell/app/Form2.h"
#include "shell/app/Form3.h"

namespace vel {

class TShellApp final : public IPageStoreLink, private IPageWindows, private IExitSteps {
 public:
  TShellApp(std::string MainSettingsFile, std::string PageSettingsFile);
  ~TShellApp() override;

  void OpenPageFile(const std::string& FileName) override;
  void ShowLastPage() override;
  void StartUp(const TStripWindowData& Strip, std::uintptr_t StripHandle,
               const std::vector<std::string>& Params) override;
  bool StripMessage(unsigned Msg, std::uintptr_t WParam, std::intptr_t LParam, std::intptr_t& Result) override;

  TPageStore& Store() { return Pages; }
  TForm2* MemoForm(int PageId);
  TForm3* TabForm(int PageId);

 private:
  struct TPageForms {
    std::unique_ptr<TForm2> Memo;
    std::unique_ptr<TForm3> Tab;
  };

  // IPageWindows
  int CaptionWidth(const std::string& Caption) override;
  void CreatePage(const TPage& Page) override;
  void DestroyPage(int PageId) override;
  void ShowTab(int PageId) override;
  void ApplyView(int PageId, const TPageViewSettings& View) override;
  TPageViewSettings CurrentView(int PageId) override;
  void LoadFile(int PageId, const std::string& Path) override;
  void SetText(int PageId, const std::string& Text) override;
  void SetRecoveredText(int PageId, const std::string& Text) override;
  bool Modified(int PageId) override;
  void AnimateSlide(int PageId, bool In) override;
  void Foreground(int PageId) override;
  TRect MemoBounds(int PageId) override;
  void TabsChanged() override;
  void SetScrollArrows(TScrollArrows Arrows) override;
  void ShowFileError(int OwnerPageId, const std::string& Text) override;
  // IExitSteps
  TSaveAnswer AskSave(int PageId, const std::string& Name) override;
  TSaveResult Save(int PageId) override;
  void SavePageSettings(const std::vector<TPageSettingsEntry>& Entries) override;
  void SaveMainSettings() override;

  int PageIdOfMemo(HWND Memo) const;
  std::vector<std::string> MailAddresses() const;
  void Timer();
  // False when the user stopped the exit at a prompt.
  bool FormClose();
  void ResumeAfterExit();
  // Recovery: the journals a run that did not end cleanly left, read at
  // start (damaged ones are set aside and counted); every journal removed
  // after a clean exit.
  std::vector<TJournalPage> ReadJournals(std::vector<std::string>& Paths, int& Damaged);
  void RemoveJournals();
  void JournalTick();
  void StripMoved();
  void MemoResized(HWND Memo);
  void OpenInNewPage(HWND Memo);
  void ClipboardChanged();
  TRect TabRect(int Index) const;
  int TabTop(int Index) const;

  std::string MainSettingsFile, PageSettingsFile;
  TMainSettings Settings;
  TFindDialogState Finds;
  win32::TSystemServices System;
  TPageStore Pages;
  std::map<int, TPageForms> Forms;
  HWND Strip = nullptr;
  HWND ScrollBar = nullptr;
  win32::TClipboardViewer Viewer;
  TStripPosition Position = TStripPosition::Top;
  int WorkAreaBottom = 0;
  bool TimerEnabled = false;
  bool LayoutLinked = true;
  bool Started = false;
  bool Closing = false;
  bool WindowPosFixed = false;
  // Journals of this run are named after it, so none meets a journal of an
  // earlier run that is still waiting to be replaced.
  std::string RecoveryDir, RunStamp;
  unsigned PageListChangedAt = 0;
  win32::TFont StripFont;
};

}  // namespace vel
