// Whatever arrives at the control, in any order and with any values (keys
// with every modifier, half characters, presses far outside the window,
// scroll positions at the integer limits, edit-control messages with
// offsets and buffer sizes that do not fit), it never crashes, never reads
// out of bounds while it repaints, and its answers stay consistent.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/editor/EditorViewTestHost.h"

namespace vel::test {
namespace {

enum : unsigned {
  WM_SETTEXT = 0x0C, WM_GETTEXT = 0x0D, WM_GETTEXTLENGTH = 0x0E, EM_GETSEL = 0xB0, EM_SETSEL = 0xB1,
  EM_SCROLLCARET = 0xB7, EM_GETLINECOUNT = 0xBA, EM_LINEINDEX = 0xBB, EM_LINELENGTH = 0xC1, EM_REPLACESEL = 0xC2,
  EM_GETLINE = 0xC4, EM_UNDO = 0xC7, EM_LINEFROMCHAR = 0xC9, EM_SETREADONLY = 0xCF, EM_POSFROMCHAR = 0xD6,
  EM_CHARFROMPOS = 0xD7, WM_CUT = 0x300, WM_COPY = 0x301, WM_PASTE = 0x302, WM_CLEAR = 0x303,
};

struct TFuzz {
  explicit TFuzz(uint32_t seed) : Rng(seed) {}
  std::mt19937 Rng;
  int Rand(int n) { return static_cast<int>(Rng() % static_cast<uint32_t>(n)); }

  // Values at and around the edges of what an offset, a coordinate or a
  // position can be.
  int Wild() {
    static const int edges[] = {0, 1, -1, 2, 3, 5, 13, 999, 1000, 1001, 65535, 65536, INT_MAX, INT_MIN, -32768};
    return Rand(3) ? Rand(60) - 5 : edges[Rand(sizeof edges / sizeof edges[0])];
  }
  // Bytes of every kind: text, double-byte characters, lone lead bytes, breaks, NUL-free.
  // The first three pieces break lines; Row leaves them out.
  std::string Bytes(int max, bool breaks = true) {
    static const char* const pieces[] = {"\r\n", "\r", "\n", "a", " ", "\t", "あ", "表", "ｶ", "\x82", "\x1A",
                                         "1.5e3", "http://a.jp", "x@y.jp", "\xFF", "\xFC\xFC", "'", "\x81"};
    constexpr int count = sizeof pieces / sizeof pieces[0];
    std::string s;
    for (int n = Rand(max); n > 0; --n) s += pieces[breaks ? Rand(count) : 3 + Rand(count - 3)];
    return s;
  }
  std::string Row(int max) { return Bytes(max, false); }
  TShiftState Shift() { return static_cast<TShiftState>(Rand(8)); }
};

void Step(TFuzz& f, TEditorHost& h) {
  static const TVirtualKey keys[] = {vkLeft, vkRight, vkUp, vkDown, vkHome, vkEnd, vkPrior, vkNext, vkDelete,
                                     vkBack, vkTab, vkReturn, vkInsert, vkEscape, vkApps, vkF10,
                                     static_cast<TVirtualKey>('A'), static_cast<TVirtualKey>('C'),
                                     static_cast<TVirtualKey>('V'), static_cast<TVirtualKey>('X'),
                                     static_cast<TVirtualKey>('Z'), static_cast<TVirtualKey>('K')};
  auto& w = h.Window;
  const int x = f.Rand(4) ? f.Rand(700) - 20 : f.Wild(), y = f.Rand(4) ? f.Rand(520) - 20 : f.Wild();
  switch (f.Rand(16)) {
    case 0: w.SendKeyDown(keys[f.Rand(sizeof keys / sizeof keys[0])], f.Shift(), f.Rand(3) == 0); break;
    case 1: w.SendKeyUp(keys[f.Rand(sizeof keys / sizeof keys[0])], f.Shift()); break;
    case 2: {
      std::string c = f.Bytes(1);
      if (!c.empty()) w.SendChar(c.substr(0, f.Rand(2) ? 1 : 2));
      break;
    }
    case 3: w.SendMouseDown(static_cast<TMouseButton>(f.Rand(3)), x, y, f.Shift()); break;
    case 4: w.SendMouseMove(x, y, f.Shift()); break;
    case 5: w.SendMouseUp(static_cast<TMouseButton>(f.Rand(3)), x, y, f.Shift()); break;
    case 6: w.SendWheel(f.Rand(2) ? f.Wild() : (f.Rand(7) - 3) * 120, x, y, f.Shift(), f.Rand(2)); break;
    case 7:
      w.SendScroll(f.Rand(2) ? TScrollBarKind::Vertical : TScrollBarKind::Horizontal,
                   static_cast<TScrollCode>(f.Rand(9)), f.Rand(2) ? f.Wild() : f.Rand(4000));
      break;
    case 8: w.SendImeResult(f.Bytes(4)); break;
    case 9: w.Perform(EM_SETSEL, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(f.Wild())), f.Wild()); break;
    case 10: {
      const std::string text = f.Bytes(6);
      w.Perform(f.Rand(2) ? EM_REPLACESEL : WM_SETTEXT, 1, reinterpret_cast<std::intptr_t>(text.c_str()));
      break;
    }
    case 11: {
      // A buffer whose first word tells a size, larger or smaller than the line.
      std::vector<char> buf(static_cast<size_t>(f.Rand(40)) + 2, '\x7F');
      const uint16_t size = static_cast<uint16_t>(buf.size());
      std::memcpy(buf.data(), &size, 2);
      w.Perform(EM_GETLINE, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(f.Wild())),
                reinterpret_cast<std::intptr_t>(buf.data()));
      std::vector<char> text(static_cast<size_t>(f.Rand(8)) + 1);
      w.Perform(WM_GETTEXT, text.size(), reinterpret_cast<std::intptr_t>(text.data()));
      break;
    }
    case 12: {
      static const unsigned queries[] = {EM_LINEINDEX, EM_LINELENGTH, EM_LINEFROMCHAR, EM_POSFROMCHAR, EM_CHARFROMPOS};
      w.Perform(queries[f.Rand(5)], static_cast<std::uintptr_t>(static_cast<std::intptr_t>(f.Wild())), f.Wild());
      break;
    }
    case 13: {
      static const unsigned actions[] = {WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, EM_UNDO, EM_SCROLLCARET};
      w.Perform(actions[f.Rand(6)]);
      break;
    }
    case 14:
      if (f.Rand(8) == 0) w.Perform(EM_SETREADONLY, f.Rand(3) == 0);
      else if (f.Rand(4) == 0) h.Editor.SetSelectionMode(f.Rand(2) ? smBox : smLine);
      else if (f.Rand(4) == 0) h.Editor.SetWordWrap(!h.Editor.WordWrap());
      else h.Editor.SetTopCol(f.Rand(2) ? f.Wild() : f.Rand(4000));
      break;
    case 15:
      if (f.Rand(10) == 0) w.Resize({0, 0, f.Rand(700), f.Rand(500)});
      else w.SendMouseLeave();
      break;
  }
}

TEST(EditorInputFuzz, AnyInputLeavesTheControlWholeAndItsAnswersConsistent) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    headless::Reset();
    TEditorHost h;
    h.Editor.Leftbar().SetVisible(seed % 2 == 0);
    h.Editor.Ruler().SetVisible(seed % 3 == 0);
    h.Editor.Marks().RetMark().SetVisible(true);
    h.Editor.Marks().EofMark().SetVisible(true);
    h.Editor.View().SetUrl(seed % 2);
    h.Editor.View().SetMail(seed % 3 == 0);
    h.Editor.View().SetQuotation(seed % 5 ? "'" : "");
    TFuzz f(seed);
    // Every other text has rows long enough for the painter to keep places in them.
    h.Load(seed % 2 ? f.Bytes(40) : f.Bytes(40) + "\r\n" + f.Row(3000) + "\r\n" + f.Row(3000));
    for (int step = 0; step < 400; ++step) {
      Step(f, h);
      h.Window.PaintInvalid();
      TEditor& e = h.Editor;
      const int count = e.ListCount();
      ASSERT_GE(e.Row(), 0) << "seed " << seed << " step " << step;
      ASSERT_LE(e.Row(), count) << "seed " << seed << " step " << step;
      ASSERT_GE(e.Col(), 0) << "seed " << seed << " step " << step;
      ASSERT_GE(e.TopRow(), 0) << "seed " << seed << " step " << step;
      ASSERT_LE(e.TopRow(), count) << "seed " << seed << " step " << step;
      for (int r = 0; r + 1 < count; ++r)
        ASSERT_NE(e.ListRows(r), raEof) << "seed " << seed << " step " << step << " row " << r;
      const std::intptr_t length = h.Window.Perform(WM_GETTEXTLENGTH);
      ASSERT_EQ(length, e.GetTextLen()) << "seed " << seed << " step " << step;
      ASSERT_GE(e.SelStart(), 0) << "seed " << seed << " step " << step;
      // A box's text holds a break after each of its rows, so only a line selection lies within the text.
      if (e.SelectionMode() == smLine)
        ASSERT_LE(e.SelStart() + e.SelLength(), length) << "seed " << seed << " step " << step;
      ASSERT_EQ(static_cast<int>(e.SelText().size()), e.SelLength()) << "seed " << seed << " step " << step;
    }
  }
}

}  // namespace
}  // namespace vel::test
