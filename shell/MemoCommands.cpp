#include "shell/MemoCommands.h"

#include "shell/PagePaths.h"

#include <cstdio>

namespace vel {

std::string DefaultSaveExt(const std::string& Filter, int FilterIndex) {
  // Filter is "description|pattern|description|pattern...".
  size_t pos = 0;
  for (int field = 1; field < 2 * FilterIndex; ++field) {
    pos = Filter.find('|', pos);
    if (pos == std::string::npos) return "";
    ++pos;
  }
  if (FilterIndex < 1) return "";
  size_t end = Filter.find('|', pos);
  std::string pattern = Filter.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
  size_t dot = pattern.find('.');
  if (dot == std::string::npos) return "";
  std::string ext = pattern.substr(dot + 1);
  if (ext.empty() || ext[0] == '*') return "";
  size_t semi = ext.find(';');
  return "." + ext.substr(0, semi);
}

std::string AppendDefaultExt(const std::string& Name, const std::string& Ext) {
  if (Name.empty() || Ext.empty()) return Name;
  // Only the file name counts: a dot in a folder name is no extension.
  // Dots are single bytes that no trail byte can be.
  const std::string file = ExtractFileName(Name);
  size_t dot = file.rfind('.');
  if (dot == std::string::npos) return Name + Ext;
  if (dot + 1 < file.size()) return Name;
  // The system drops a trailing dot ("memo." names memo), so the extension
  // takes its place rather than following it.
  return Name.substr(0, Name.size() - 1) + Ext;
}

std::string AskSaveText(const std::string& Name) { return Name + "が変更されています。\nメモの内容を保存しますか？"; }

std::string RecoveredText(int Pages, int Damaged) {
  std::string s;
  if (Pages > 0) s = "前回正しく終了しなかったため、保存されていなかった " + std::to_string(Pages) + " ページを復元しました。";
  if (Damaged > 0) {
    if (!s.empty()) s += "\n";
    s += "読み込めない復元データが " + std::to_string(Damaged) + " 件ありました（Recovery フォルダに残してあります）。";
  }
  return s;
}

std::string PageSettingsUnreadText(const std::string& Path) {
  return Path + " を読み込めませんでした。\n前回のページは開かず、このファイルは終了時にも書き換えません。";
}

std::string OverwriteText(const std::string& Path) { return Path + " は既に存在します。\n上書きしますか？"; }

std::string QuoteMarkCopy(const std::string& Selection) {
  std::string s = ">" + Selection;
  for (size_t i = 1; i < s.size(); ++i)
    if (s[i] == '\n') s.insert(++i, 1, '>');
  return s;
}

std::string CaretPanelText(int Col, int Row) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "  %d:  %d", Col + 1, Row + 1);
  return buf;
}

TEditMenuState EditMenuState(bool CanUndo, bool CanRedo, int SelLength, bool ClipboardHasText) {
  bool sel = SelLength > 0;
  return {CanUndo, CanRedo, sel, sel, sel, ClipboardHasText};
}

bool OpenEnabled(bool IsClipboardPage) { return !IsClipboardPage; }

}  // namespace vel
