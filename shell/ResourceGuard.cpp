#include "shell/ResourceGuard.h"

#include "platform/MessageBox.h"

namespace vel {

bool CanCreatePage(ISystemResources& System) {
  int kind = System.PlatformKind();
  bool allowed = false;
  if (kind != pkWin32s) {
    allowed = System.AvailablePhysicalMemory() > 7105;
    if (allowed && kind == pkWindows9x) {
      if (auto r = System.Resources()) allowed = r->System > 20 && r->Gdi > 20 && r->User > 20;
    }
  }
  if (!allowed)
    ShowMessageBox(0, "これ以上新しいページは作れません！！", "新規ページ作成禁止", mbOK | mbIconInformation);
  return allowed;
}

bool LoadResourceMeter(ILibraryLoader& Loader, const std::string& ExeDirectory) {
  if (!Loader.Load(ExeDirectory + "\\" + ResourceMeterLibrary)) {
    ShowMessageBox(0, "resource.dllの読み込みに失敗しました。", "Dll読み込み失敗", mbOK | mbIconStop);
    return false;
  }
  for (const char* f : ResourceMeterFunctions) {
    if (!Loader.Resolve(f)) {
      ShowMessageBox(0, std::string(f) + "関数の取り込みに失敗しました。", "関数取り込み失敗", mbOK | mbIconStop);
      return false;
    }
  }
  return true;
}

}  // namespace vel
