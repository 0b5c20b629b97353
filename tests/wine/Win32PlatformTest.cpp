// The Win32 backend under the real API: the behaviour the portable code (and
// the headless backend that stands in for it in native tests) relies on.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"
#include "platform/Color.h"
#include "platform/Cursors.h"
#include "platform/Ini.h"
#include "platform/Screen.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/Handles.h"
#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

TEST(Win32Platform, CodePageIs932) { EXPECT_EQ(::GetACP(), 932u); }

TEST(Win32Ini, PrivateProfileSemanticsMatchTheHeadlessBackend) {
  std::string file = wine::MakeScratchDir("ini") + "velmorind.ini";
  wine::WriteFileBytes(file,
                       "[Form]\r\n  left = 42  \r\nName=\"quoted value\"\r\nColor=-2147483635\r\nBad=12abc\r\n");
  TIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger("FORM", "Left", 0), 42);
  EXPECT_EQ(ini.ReadString("Form", "Name", ""), "quoted value");
  EXPECT_EQ(ini.ReadInteger("Form", "Color", 0), -2147483635);
  EXPECT_EQ(ini.ReadInteger("Form", "Bad", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Form", "Missing", 9), 9);
  EXPECT_EQ(ini.ReadSection("Form"), (std::vector<std::string>{"left", "Name", "Color", "Bad"}));
  ASSERT_TRUE(ini.WriteString("Page", "FileName0", "C:\\メモ\\表.txt"));
  EXPECT_EQ(ini.ReadString("page", "filename0", ""), "C:\\メモ\\表.txt");
  EXPECT_TRUE(ini.EraseSection("Page"));
  EXPECT_EQ(ini.ReadString("Page", "FileName0", "gone"), "gone");
}

TEST(Win32Ini, LongValuesAreReadWhole) {
  std::string file = wine::MakeScratchDir("ini") + "long.ini";
  TIniFile ini(file);
  std::string big(10000, 'q');
  ASSERT_TRUE(ini.WriteString("S", "k", big));
  EXPECT_EQ(ini.ReadString("S", "k", ""), big);
}

TEST(Win32Clipboard, TextAndThePrivateBoxFormatRoundTrip) {
  unsigned box = Clipboard().RegisterFormat("TEditor Box Type");
  ASSERT_NE(box, 0u);
  EXPECT_EQ(Clipboard().RegisterFormat("TEditor Box Type"), box);
  ASSERT_TRUE(Clipboard().SetText("表示\r\nabc", box));
  EXPECT_EQ(Clipboard().GetText().value_or(""), "表示\r\nabc");
  EXPECT_TRUE(Clipboard().HasFormat(box));
  EXPECT_EQ(Clipboard().GetData(box).value_or(""), "表示\r\nabc");
  ASSERT_TRUE(Clipboard().SetText("plain"));
  EXPECT_FALSE(Clipboard().HasFormat(box));
}

// What the clipboard holds for a program that knows only the system's formats.
std::string RawClipboardText(UINT format) {
  win32::TClipboardGuard guard(nullptr);
  if (!guard) return "<busy>";
  HANDLE h = ::GetClipboardData(format);
  if (!h) return "<none>";
  std::string s;
  if (format == CF_UNICODETEXT) {
    std::wstring w(static_cast<const wchar_t*>(::GlobalLock(h)));
    s = win32::Cp932FromWide(w);
  } else {
    s = static_cast<const char*>(::GlobalLock(h));
  }
  ::GlobalUnlock(h);
  return s;
}

TEST(Win32Clipboard, OwnTextKeepsItsNulBytesWhileOtherProgramsReadPlainText) {
  std::string text("表\0a\r\n\0b", 8);
  ASSERT_TRUE(Clipboard().SetText(text));
  EXPECT_EQ(Clipboard().GetText().value_or("<none>"), text);
  EXPECT_EQ(RawClipboardText(CF_TEXT), "表");
  EXPECT_EQ(RawClipboardText(CF_UNICODETEXT), "表");
}

TEST(Win32Clipboard, TextPutThereByAnotherProgramReplacesOurOwnCopy) {
  ASSERT_TRUE(Clipboard().SetText(std::string("old\0copy", 8)));
  {
    win32::TClipboardGuard guard(nullptr);
    ASSERT_TRUE(guard);
    ::EmptyClipboard();
    HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(::GlobalLock(g), "plain", 6);
    ::GlobalUnlock(g);
    ::SetClipboardData(CF_TEXT, g);
  }
  EXPECT_EQ(Clipboard().GetText().value_or("<none>"), "plain");
}

TEST(Win32Encoding, Cp932RoundTripsThroughUtf16) {
  std::string s = "ＭＳ Ｐゴシック 表 ｶﾅ ①";
  std::wstring w = win32::WideFromCp932(s);
  EXPECT_EQ(w.substr(0, 2), L"\xFF2D\xFF33");
  EXPECT_EQ(win32::Cp932FromWide(w), s);
}

TEST(Win32Colors, SystemColoursResolveToTheSchemeAndPlainOnesPassThrough) {
  EXPECT_EQ(ColorToRGB(clWindow), static_cast<TColor>(::GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(ColorToRGB(clHighlight), static_cast<TColor>(::GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(clHighlight, -2147483635);
}

TEST(Win32Screen, WorkAreaLiesInsideTheScreen) {
  TRect w = WorkArea(), s = ScreenRect();
  EXPECT_GT(w.Width(), 0);
  EXPECT_GT(w.Height(), 0);
  EXPECT_GE(w.Left, s.Left);
  EXPECT_LE(w.Bottom, s.Bottom);
}

// The prefix maps the program's Japanese face names to installed fonts: real
// Japanese glyphs, proportional for the P face and fixed pitch for the other
// (an unknown face would fall back to one fixed-pitch font for both).
TEST(Win32Fonts, JapaneseFaceNamesMapToMatchingJapaneseFonts) {
  struct {
    const char* Face;
    bool Proportional;
  } cases[] = {{"ＭＳ Ｐゴシック", true}, {"ＭＳ ゴシック", false}};
  for (const auto& [face, proportional] : cases) {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    win32::WideFromCp932(face).copy(lf.lfFaceName, LF_FACESIZE - 1);
    win32::TFont font(::CreateFontIndirectW(&lf));
    ASSERT_TRUE(font);
    HDC dc = ::CreateCompatibleDC(nullptr);
    {
      win32::TSelectObject sel(dc, font.Get());
      TEXTMETRICW tm{};
      ::GetTextMetricsW(dc, &tm);
      EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET) << face;
      WORD glyphs[3] = {};
      EXPECT_EQ(::GetGlyphIndicesW(dc, L"\x3042\x8868\xFF76", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 3u);
      for (WORD g : glyphs) EXPECT_NE(g, 0xFFFF) << face;
      SIZE narrow{}, wide{};
      ::GetTextExtentPoint32W(dc, L"iiii", 4, &narrow);
      ::GetTextExtentPoint32W(dc, L"WWWW", 4, &wide);
      EXPECT_EQ(narrow.cx < wide.cx, proportional) << face;
    }
    ::DeleteDC(dc);
  }
}


TEST(Win32EditorUnit, StartUpInstallsBothCursorsFromTheProgramsResourcesAndTheBoxFormat) {
  InitEditorUnit();
  EXPECT_GT(crRightArrow, 0);
  EXPECT_GT(crDragSelCopy, 0);
  EXPECT_NE(crRightArrow, crDragSelCopy);
  EXPECT_FALSE(CursorIsDefault(crRightArrow));
  EXPECT_FALSE(CursorIsDefault(crDragSelCopy));
  EXPECT_EQ(CF_BOXTEXT, Clipboard().RegisterFormat("TEditor Box Type"));
  EXPECT_EQ(HCursorToString(crRightArrow), "crRightArrow");
}

}  // namespace
}  // namespace vel
