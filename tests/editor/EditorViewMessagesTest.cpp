// The edit-control messages with their standard numbers, byte offsets over
// double-byte text; and the popup menu's items and enabling.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>

#include "platform/Clipboard.h"
#include "platform/headless/HeadlessPopupMenu.h"
#include "tests/editor/EditorViewTestHost.h"

namespace vel::test {
namespace {

constexpr int L = 19, T = 2, W = 6, H = 12;

enum : unsigned {
  WM_SETTEXT = 0x0C, WM_GETTEXT = 0x0D, WM_GETTEXTLENGTH = 0x0E, WM_GETDLGCODE = 0x87, EM_GETSEL = 0xB0,
  EM_SETSEL = 0xB1, EM_SCROLLCARET = 0xB7, EM_GETMODIFY = 0xB8, EM_SETMODIFY = 0xB9, EM_GETLINECOUNT = 0xBA,
  EM_LINEINDEX = 0xBB, EM_LINELENGTH = 0xC1, EM_REPLACESEL = 0xC2, EM_GETLINE = 0xC4, EM_CANUNDO = 0xC6,
  EM_UNDO = 0xC7, EM_LINEFROMCHAR = 0xC9, EM_EMPTYUNDOBUFFER = 0xCD, EM_GETFIRSTVISIBLELINE = 0xCE,
  EM_SETREADONLY = 0xCF, EM_POSFROMCHAR = 0xD6, EM_CHARFROMPOS = 0xD7, WM_CUT = 0x300, WM_COPY = 0x301,
  WM_PASTE = 0x302, WM_CLEAR = 0x303,
};

std::intptr_t MakeLong(int lo, int hi) { return static_cast<std::intptr_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)); }
std::uintptr_t Ptr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

struct EditorMessages : ::testing::Test {
  void SetUp() override {
    headless::Reset();
    headless::ResetPopupMenus();
    h.Window.SetFocus();
    h.Load("aあb\r\ncd\r\n", 0, 0);
  }
  std::intptr_t Send(unsigned m, std::uintptr_t w = 0, std::intptr_t l = 0) { return h.Window.Perform(m, w, l); }
  TEditorHost h;
};

TEST_F(EditorMessages, SelectionByByteOffsets) {
  EXPECT_EQ(Send(EM_SETSEL, 1, 4), 0);
  EXPECT_EQ(h.Editor.SelText(), "あb");
  std::uint32_t start = 0, end = 0;
  EXPECT_EQ(Send(EM_GETSEL, Ptr(&start), static_cast<std::intptr_t>(Ptr(&end))), MakeLong(1, 4));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  Send(EM_SETSEL, 4, 1);
  EXPECT_EQ(h.Editor.SelText(), "あb");
  Send(EM_SETSEL, 0, -1);
  EXPECT_EQ(h.Editor.SelText(), "aあb\r\ncd\r\n");
  Send(EM_SETSEL, static_cast<std::uintptr_t>(-1), 0);
  EXPECT_FALSE(h.Editor.Selected());
  Send(EM_SETSEL, 6, -1);
  EXPECT_EQ(h.Editor.SelText(), "cd\r\n");
  // Offsets are unsigned to an edit control: any other negative one, and one
  // past the end, stand for the end.
  Send(EM_SETSEL, static_cast<std::uintptr_t>(INT32_MIN), 6);
  EXPECT_EQ(h.Editor.SelText(), "cd\r\n");
  Send(EM_SETSEL, 6, 1 << 30);
  EXPECT_EQ(h.Editor.SelText(), "cd\r\n");
}

// Each end is placed on its own: off the trail byte of a double-byte
// character to its start, from inside a CR LF to the end of its line.
TEST_F(EditorMessages, EachEndOfASelectionSnapsOnItsOwn) {
  enum { kGetSel, kClear, kReplace };
  struct {
    const char* text;
    int start, end, then;
    std::intptr_t sel;
    const char* left;
  } cases[] = {
      {"あいう", 1, 4, kGetSel, MakeLong(0, 4), nullptr},
      {"あいう", 3, 5, kGetSel, MakeLong(2, 4), nullptr},
      {"ab\r\ncd\r\nef", 3, 100, kClear, 0, "ab"},
      {"ab\r\ncd\r\nef", 0, 3, kClear, 0, "\r\ncd\r\nef"},
      {"ab\r\ncd\r\nef", 1, 7, kClear, 0, "a\r\nef"},
      {"あいう\r\nab\r\ncdEND", 5, 100, kReplace, 0, "あい"},
      {"あいう\r\nab\r\ncdEND", 9, 12, kReplace, 0, "あいう\r\nacdEND"},
  };
  for (const auto& c : cases) {
    h.Load(c.text, 0, 0);
    Send(EM_SETSEL, static_cast<std::uintptr_t>(c.start), c.end);
    if (c.then == kGetSel) {
      EXPECT_EQ(Send(EM_GETSEL), c.sel) << c.text << " " << c.start << "," << c.end;
    }
    if (c.then == kClear) Send(WM_CLEAR);
    if (c.then == kReplace) Send(EM_REPLACESEL, 0, static_cast<std::intptr_t>(Ptr("")));
    if (c.left) {
      EXPECT_EQ(h.Text(), c.left) << c.text << " " << c.start << "," << c.end;
    }
  }
}

TEST_F(EditorMessages, EmptyRangeLeavesTheCaretAtTheOffsetWithNothingSelected) {
  Send(EM_SETSEL, 6, 8);
  Send(EM_SETSEL, 3, 3);
  EXPECT_FALSE(h.Editor.Selected());
  EXPECT_EQ(h.Editor.SelStart(), 3);
  EXPECT_EQ(h.Editor.Row(), 0);
  EXPECT_EQ(h.Editor.Col(), 3);
  EXPECT_EQ(Send(EM_GETSEL), MakeLong(3, 3));
}

TEST_F(EditorMessages, LinesByIndexAndOffset) {
  EXPECT_EQ(Send(EM_GETLINECOUNT), 3);  // the empty line after the final break counts
  EXPECT_EQ(Send(EM_LINEINDEX, 1), 6);
  EXPECT_EQ(Send(EM_LINEINDEX, 2), 10);
  EXPECT_EQ(Send(EM_LINEINDEX, 3), -1);
  EXPECT_EQ(Send(EM_LINEINDEX, static_cast<std::uintptr_t>(-1)), 0);
  EXPECT_EQ(Send(EM_LINELENGTH, 7), 2);
  EXPECT_EQ(Send(EM_LINELENGTH, 2), 4);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, 7), 1);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, 5), 0);  // the line break belongs to its line
  Send(EM_SETSEL, 3, 7);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, static_cast<std::uintptr_t>(-1)), 0);
  // Unselected bytes on the first and last rows of the selection: "aあ" and "d".
  EXPECT_EQ(Send(EM_LINELENGTH, static_cast<std::uintptr_t>(-1)), 4);
  char buffer[16] = {};
  const std::uint16_t size = 10;
  std::memcpy(buffer, &size, sizeof size);
  EXPECT_EQ(Send(EM_GETLINE, 0, static_cast<std::intptr_t>(Ptr(buffer))), 4);
  EXPECT_EQ(std::string(buffer, 4), "aあb");
  const std::uint16_t small = 2;
  std::memcpy(buffer, &small, sizeof small);
  EXPECT_EQ(Send(EM_GETLINE, 1, static_cast<std::intptr_t>(Ptr(buffer))), 2);
  EXPECT_EQ(Send(EM_GETLINE, 9, static_cast<std::intptr_t>(Ptr(buffer))), 0);
}

TEST_F(EditorMessages, TextInAndOut) {
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 10);
  char buffer[6];
  EXPECT_EQ(Send(WM_GETTEXT, sizeof buffer, static_cast<std::intptr_t>(Ptr(buffer))), 5);
  EXPECT_STREQ(buffer, "aあb\r");
  EXPECT_EQ(Send(WM_SETTEXT, 0, static_cast<std::intptr_t>(Ptr("新しい\r\ntext"))), 1);
  EXPECT_EQ(h.Text(), "新しい\r\ntext");
  EXPECT_EQ(Send(EM_GETMODIFY), 0);
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 12);  // exactly the text given
  EXPECT_EQ(Send(EM_CANUNDO), 0);
  Send(EM_SETSEL, 0, 2);
  Send(EM_REPLACESEL, 0, static_cast<std::intptr_t>(Ptr("古")));
  EXPECT_EQ(h.Text(), "古しい\r\ntext");
  EXPECT_EQ(Send(EM_GETMODIFY), 1);
  EXPECT_EQ(Send(EM_CANUNDO), 1);
  EXPECT_EQ(Send(EM_UNDO), 1);
  EXPECT_EQ(h.Text(), "新しい\r\ntext");
  Send(EM_SETMODIFY, 0);
  EXPECT_EQ(Send(EM_GETMODIFY), 0);
  Send(EM_EMPTYUNDOBUFFER);
  EXPECT_EQ(Send(EM_CANUNDO), 0);
}

TEST_F(EditorMessages, ReadsStopBeforeACharacterThatDoesNotFit) {
  h.Select(0, 0, 0, 4);
  const struct {
    const char* Name;
    std::function<int(char*)> Read;
    int Want;
  } cases[] = {
      {"WM_GETTEXT", [&](char* b) { return static_cast<int>(Send(WM_GETTEXT, 3, static_cast<std::intptr_t>(Ptr(b)))); }, 1},
      {"EM_GETLINE", [&](char* b) {
         const std::uint16_t size = 2;
         std::memcpy(b, &size, sizeof size);
         return static_cast<int>(Send(EM_GETLINE, 0, static_cast<std::intptr_t>(Ptr(b))));
       }, 1},
      {"GetSelTextBuf", [&](char* b) { return h.Editor.GetSelTextBuf(b, 3); }, 1},
      {"GetSelTextBuf, room for the character", [&](char* b) { return h.Editor.GetSelTextBuf(b, 4); }, 3},
  };
  for (const auto& c : cases) {
    char buffer[8] = {};
    EXPECT_EQ(c.Read(buffer), c.Want) << c.Name;
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(c.Want)), std::string("aあb").substr(0, static_cast<size_t>(c.Want))) << c.Name;
  }
}

TEST_F(EditorMessages, ReadOnlyRefusesEveryChange) {
  Send(EM_SETREADONLY, 1);
  EXPECT_TRUE(h.Editor.ReadOnly());
  Send(EM_SETSEL, 0, 1);
  Send(EM_REPLACESEL, 0, static_cast<std::intptr_t>(Ptr("z")));
  Send(WM_SETTEXT, 0, static_cast<std::intptr_t>(Ptr("z")));
  Send(WM_CLEAR);
  Send(WM_CUT);
  EXPECT_EQ(h.Text(), "aあb\r\ncd\r\n");
  EXPECT_EQ(Send(EM_CANUNDO), 0);
}

TEST_F(EditorMessages, ClipboardMessagesAndAnEmptySelectionLeavesTheClipboardAlone) {
  Clipboard().SetText("kept");
  Send(WM_COPY);
  Send(WM_CUT);
  EXPECT_EQ(Clipboard().GetText().value_or(""), "kept");
  Send(EM_SETSEL, 6, 8);
  Send(WM_CUT);
  EXPECT_EQ(Clipboard().GetText().value_or(""), "cd");
  EXPECT_EQ(h.Text(), "aあb\r\n\r\n");
  Send(EM_SETSEL, 0, 0);
  Send(WM_PASTE);
  EXPECT_EQ(h.Text(), "cdaあb\r\n\r\n");
  Send(EM_SETSEL, 0, 2);
  Send(WM_CLEAR);
  EXPECT_EQ(h.Text(), "aあb\r\n\r\n");
}

TEST_F(EditorMessages, PositionsAndCharacters) {
  EXPECT_EQ(Send(EM_POSFROMCHAR, 3), MakeLong(L + 3 * W, T));
  EXPECT_EQ(Send(EM_POSFROMCHAR, 7), MakeLong(L + W, T + H));
  EXPECT_EQ(Send(EM_POSFROMCHAR, 2), MakeLong(L + W, T));  // the trail half of あ
  // On the trail half of あ: the character's offset.
  EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MakeLong(L + 2 * W + 1, T + 1)), MakeLong(1, 0));
  EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MakeLong(L + W + 1, T + H + 1)), MakeLong(7, 1));
  EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MakeLong(2000, 5)), -1);
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
}

TEST_F(EditorMessages, ScrollCaretBringsItAThirdIntoTheView) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "row\r\n";
  h.Load(text);
  h.Editor.Caret().LockScroll = false;
  h.Editor.SetRowCol(150, 0);
  h.Editor.SetTopRow(0);
  Send(EM_SCROLLCARET);
  EXPECT_EQ(h.Editor.TopRow(), 150 - h.Editor.VisibleRows() / 3);
}

TEST_F(EditorMessages, DialogCodeFollowsTabsAndReturns) {
  EXPECT_EQ(Send(WM_GETDLGCODE), 0x01 | 0x02 | 0x04 | 0x80);
  h.Editor.WantTabs = false;
  h.Editor.WantReturns = false;
  EXPECT_EQ(Send(WM_GETDLGCODE), 0x01 | 0x80);
}

// The popup menu.
std::vector<bool> Enabled(TEditorHost& h) {
  h.Window.SendMouseUp(mbRight, 30, 5);
  const auto& shown = headless::ShownPopupMenus();
  std::vector<bool> r;
  if (shown.empty()) return r;
  for (const TPopupMenuItem& i : shown.back().Items)
    if (i.Caption != "-") r.push_back(i.Enabled);
  return r;
}

TEST_F(EditorMessages, PopupMenuItemsCaptionsAndShortcuts) {
  auto shown = [&] {
    h.Window.SendMouseUp(mbRight, 30, 5);
    std::vector<std::pair<std::string, std::string>> items;
    for (const TPopupMenuItem& i : headless::ShownPopupMenus().back().Items) items.push_back({i.Caption, i.ShortCut});
    return items;
  };
  std::vector<std::pair<std::string, std::string>> want = {
      {"元に戻す(&U)", "Ctrl+Z"}, {"やり直し(&R)", "Ctrl+A"}, {"-", ""},  {"切り取り(&T)", "Ctrl+X"},
      {"コピー(&C)", "Ctrl+C"},   {"貼り付け(&P)", "Ctrl+V"}, {"Box貼り付け(&B)", "Ctrl+B"}, {"削除(&D)", ""},
      {"-", ""},                  {"すべて選択(&A)", ""},     {"-", ""}, {"Box選択モード(&K)", "Ctrl+K"}};
  EXPECT_EQ(shown(), want);
  // A host whose own keys come first (the memo window) renames them; a key
  // given to one item leaves the item that had it.
  TEditorPopupMenu& popup = h.Editor.EnsurePopupMenu();
  popup.SetShortCut(TEditorPopupMenu::miRedo, 'Y');
  popup.SetShortCut(TEditorPopupMenu::miSelAll, 'A');
  want[1].second = "Ctrl+Y";
  want[9].second = "Ctrl+A";
  EXPECT_EQ(shown(), want);
  Send(EM_SETSEL, 0, 0);
  EXPECT_TRUE(popup.ShortCut('A', ssCtrl));
  EXPECT_EQ(h.Editor.SelLength(), h.Editor.GetTextLen()) << "Ctrl+A now selects all";
}

TEST_F(EditorMessages, PopupMenuEnabling) {
  Clipboard().SetText("");
  headless::Reset();  // an empty clipboard
  // undo, redo, cut, copy, paste, box paste, delete, select all, box mode
  EXPECT_EQ(Enabled(h), (std::vector<bool>{false, false, false, false, false, false, false, true, true}));
  Clipboard().SetText("x");
  Send(EM_SETSEL, 0, 1);
  EXPECT_EQ(Enabled(h), (std::vector<bool>{false, false, true, true, true, true, true, true, true}));
  h.Window.SendKeyDown(vkDelete);
  EXPECT_EQ(Enabled(h)[0], true);
  Send(EM_SETSEL, 0, 2);
  h.Editor.SetReadOnly(true);
  EXPECT_EQ(Enabled(h), (std::vector<bool>{false, false, false, true, false, false, false, true, true}));
}

TEST_F(EditorMessages, PopupMenuRunsTheChosenItem) {
  headless::QueuePopupMenuAnswer(TEditorPopupMenu::miSelAll);
  h.Window.SendMouseUp(mbRight, 30, 5);
  EXPECT_EQ(h.Editor.SelText(), "aあb\r\ncd\r\n");
  headless::QueuePopupMenuAnswer(TEditorPopupMenu::miSelMode);
  h.Window.SendMouseUp(mbRight, 30, 5);
  EXPECT_EQ(h.Editor.SelectionMode(), smBox);
  EXPECT_TRUE(headless::ShownPopupMenus().back().Items[TEditorPopupMenu::miSelMode].Checked == false);
  // The check mark follows a mode set by other code.
  h.Editor.SetSelectionMode(smLine);
  h.Editor.SetSelectionMode(smBox);
  h.Window.SendMouseUp(mbRight, 30, 5);
  EXPECT_TRUE(headless::ShownPopupMenus().back().Items[TEditorPopupMenu::miSelMode].Checked);
  // Box paste takes plain text from any program as a box.
  h.Load("ab\r\ncd", 0, 1);
  Clipboard().SetText("X\r\nY\r\n");
  headless::QueuePopupMenuAnswer(TEditorPopupMenu::miBoxPaste);
  h.Window.SendMouseUp(mbRight, 30, 5);
  EXPECT_EQ(h.Editor.ListStr(0), "aXb");
  EXPECT_EQ(h.Editor.ListStr(1), "cYd");
}

TEST_F(EditorMessages, ShortcutsOfThePopupMenuWork) {
  h.Window.SendChar("z");
  EXPECT_EQ(h.Text(), "zaあb\r\ncd\r\n");
  h.Window.SendKeyDown('Z', ssCtrl);
  EXPECT_EQ(h.Text(), "aあb\r\ncd\r\n");
  h.Window.SendKeyDown('A', ssCtrl);
  EXPECT_EQ(h.Text(), "zaあb\r\ncd\r\n");
  h.Window.SendKeyDown('K', ssCtrl);
  EXPECT_EQ(h.Editor.SelectionMode(), smBox);
}

}  // namespace
}  // namespace vel::test
