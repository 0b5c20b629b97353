#pragma once
// The memo window's command rules that need no window: file dialog filters
// and the Save As extension, the save prompt, quote-mark copy and which menu
// items are enabled.
#include <string>

namespace vel {

inline constexpr char OpenFilter[] =
    "テキストファイル(*.txt,*.log,*.bat,*.ini)|*.txt;*.log;*.bat;*.ini|HTML文書(*.htm,*.html)|*.htm;*.html|"
    "すべてのファイル|*.*";
inline constexpr char SaveFilter[] =
    "テキストファイル(*.txt)|*.txt|HTML文書(*.html)|*.html|HTML文書(*.htm)|*.htm|すべてのファイル|*.*";

// The extension that Save As appends for the filter at 1-based FilterIndex:
// ".txt", ".html", ".htm", or "" for "*.*" (and for an index out of range).
std::string DefaultSaveExt(const std::string& Filter, int FilterIndex);

// The chosen name with Ext appended when no "." occurs in it before its last
// character (a dot anywhere in the path, a folder's too, keeps it as it is).
std::string AppendDefaultExt(const std::string& Name, const std::string& Ext);

// The save prompt's text for a page name.
std::string AskSaveText(const std::string& Name);
// Said at start when pages came back from recovery journals (and when
// journals could not be read and were set aside).
std::string RecoveredText(int Pages, int Damaged);
// Said at start when the page list file exists but could not be read.
std::string PageSettingsUnreadText(const std::string& Path);
// Asked before Save As replaces an existing file.
std::string OverwriteText(const std::string& Path);
inline constexpr char SaveAsCaption[] = "名前をつけて保存";
inline constexpr char AskSaveCaption[] = "保存確認";

// ">" before the first character and after every line feed; carriage
// returns stay where they are, so "a\r\nb" gives ">a\r\n>b".
std::string QuoteMarkCopy(const std::string& Selection);

// The status bar's caret panel: column and row, 1-based.
std::string CaretPanelText(int Col, int Row);

struct TEditMenuState {
  bool Undo, Redo, Cut, Copy, Delete, Paste;
  bool operator==(const TEditMenuState&) const = default;
};
TEditMenuState EditMenuState(bool CanUndo, bool CanRedo, int SelLength, bool ClipboardHasText);

// Open is disabled on the clipboard page.
bool OpenEnabled(bool IsClipboardPage);

}  // namespace vel
