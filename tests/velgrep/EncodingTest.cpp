// CP932 to Unicode and back, checked against this system's converter for
// every code, and velgrep's output encoding on a terminal and in a pipe.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "tests/velgrep/VelGrepTestUtil.h"
#include "tools/velgrep/Cp932.h"

namespace vel {
namespace {

using namespace vel::test;
using namespace vel::velgrep;

// One conversion through iconv; 0 when refused or when it is not exactly one
// character.
uint32_t IconvOne(iconv_t cd, const std::string& in, size_t outUnit) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char out[16];
  char* ip = const_cast<char*>(in.data());
  char* op = out;
  size_t inLeft = in.size(), outLeft = sizeof out;
  if (iconv(cd, &ip, &inLeft, &op, &outLeft) == static_cast<size_t>(-1) || inLeft) return 0;
  size_t n = sizeof out - outLeft;
  if (n != outUnit && !(outUnit == 2 && n == 1)) return 0;
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = v << 8 | static_cast<unsigned char>(out[i]);
  return v;
}

TEST(Cp932, EveryCodeConvertsAsTheSystemConverterDoes) {
  iconv_t toUcs = iconv_open("UTF-32BE", "CP932");
  iconv_t fromUcs = iconv_open("CP932", "UTF-32BE");
  ASSERT_NE(toUcs, reinterpret_cast<iconv_t>(-1));
  int mapped = 0;
  for (uint32_t code = 0; code <= 0xFCFF; ++code) {
    const bool dbcs = code > 0xFF;
    if (dbcs && !(((code >> 8) >= 0x81 && (code >> 8) <= 0x9F) || (code >> 8) >= 0xE0)) continue;
    if (!dbcs && ((code >= 0x81 && code <= 0x9F) || (code >= 0xE0 && code <= 0xFC))) continue;
    std::string bytes = dbcs ? std::string{static_cast<char>(code >> 8), static_cast<char>(code)}
                             : std::string(1, static_cast<char>(code));
    const uint32_t want = IconvOne(toUcs, bytes, 4);
    ASSERT_EQ(Cp932ToUnicode(static_cast<uint16_t>(code)), want) << std::hex << code;
    if (want == 0) continue;
    ++mapped;
    // Back again: the code the system converter writes for the character
    // (for a character with two codes, the preferred one).
    std::string ucs{0, static_cast<char>(want >> 16), static_cast<char>(want >> 8), static_cast<char>(want)};
    EXPECT_EQ(UnicodeToCp932(want), IconvOne(fromUcs, ucs, 2)) << std::hex << "U+" << want;
  }
  iconv_close(toUcs);
  iconv_close(fromUcs);
  EXPECT_GT(mapped, 7900);
}

TEST(Cp932, ExtensionCharactersAndEscapes) {
  struct {
    std::string Cp932, Utf8;
  } cases[] = {
      {"\x87\x40", U8(u8"①")},                 // NEC row 13
      {"\x87\x8A", U8(u8"㈱")},
      {"\x87\x54", U8(u8"Ⅰ")},
      {"\xFB\xFC", U8(u8"髙")},                // IBM extension kanji
      {"\xFA\x40", U8(u8"ⅰ")},
      {"\xED\x40", U8(u8"纊")},                // the NEC-selected copy of an IBM kanji
      {"\x82\xA0\xB1\x5C~", U8(u8"あｱ\\~")},   // 0x5C and 0x7E stay ASCII
      {"\x85\x40", "\\x8540"},                 // unassigned double-byte code
      {"\x82\x20z", "\\x8220z"},               // a lead byte takes any byte after it
      {"\x80\xA0\xFD\xFE\xFF", "\\x80\\xA0\\xFD\\xFE\\xFF"},
      {"a\x82", "a\\x82"},                     // a lead byte at the end
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\xF0\x40", U8(u8"\uE000")},             // the user-defined area: private use
  };
  for (const auto& c : cases) {
    std::string out;
    AppendUtf8(out, c.Cp932.data(), c.Cp932.size());
    EXPECT_EQ(out, c.Utf8) << c.Utf8;
  }
  std::string sj;
  uint32_t bad = 0;
  EXPECT_TRUE(Utf8ToCp932(U8(u8"髙￢∵纊①"), sj, bad));
  EXPECT_EQ(sj, "\xFB\xFC\x81\xCA\x81\xE6\xFA\x5C\x87\x40");
  EXPECT_FALSE(Utf8ToCp932("a\xE2\x82\xAC", sj, bad));  // a euro sign
  EXPECT_EQ(bad, 0x20ACu);
  EXPECT_FALSE(IsUtf8("\xC3"));
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));      // an overlong form
  EXPECT_TRUE(IsUtf8(U8(u8"会議 ok")));
}

// Runs a command on a terminal (a pty made by script(1)); the pty's CR
// before each LF is taken out.
Result OnTerminal(const Scratch& sc, const std::string& cmd) {
  Result r = sc.Run("script -qec " + Quote(cmd) + " /dev/null");
  std::string out;
  for (char c : r.Out)
    if (c != '\r') out += c;
  r.Out = out;
  return r;
}

TEST(VelgrepOutput, Utf8OnAUtf8TerminalAndTheFileBytesElsewhere) {
  Scratch sc;
  const std::string line = "会議\x87\x40\x87\x8A\xFB\xFC\xFA\x40\xED\x40 \x85\x40 \xFF";
  sc.File("memos/2024/a.txt", "予定\r\n" + line + "\r\n");
  const std::string converted = U8(u8"会議①㈱髙ⅰ纊 \\x8540 \\xFF");
  const std::string cd = "cd '" + sc.Dir.string() + "' && ";
  const std::string v = VelgrepPath();
  const std::string utf8 = "LC_ALL=C.UTF-8 TERM=dumb ";
  struct {
    bool Tty;
    std::string Env, Args, Out;
  } cases[] = {
      {true, utf8, "-r -n 会議 memos/", "memos/2024/a.txt:2:" + converted + "\n"},
      {true, utf8, "-r -n " + Quote(U8(u8"会議")) + " memos/", "memos/2024/a.txt:2:" + converted + "\n"},
      {true, utf8, "-o '\\x8740.' memos/2024/a.txt", U8(u8"①㈱\n")},
      {true, utf8, "-c 会議 memos/2024/a.txt", "1\n"},
      {true, utf8, "--output-encoding=sjis 会議 memos/2024/a.txt", line + "\n"},
      {true, "LC_ALL=C TERM=dumb ", "会議 memos/2024/a.txt", line + "\n"},
      {false, utf8, "会議 memos/2024/a.txt", line + "\n"},
      {false, utf8, "--output-encoding=utf-8 会議 memos/2024/a.txt", converted + "\n"},
      {false, utf8, "-s '<&>' '予定' memos/2024/a.txt", "<予定>\n" + line + "\n"},
      {false, utf8, "-s " + Quote(U8(u8"<&>")) + " " + Quote(U8(u8"予定")) + " memos/2024/a.txt", "<予定>\n" + line + "\n"},
  };
  for (const auto& c : cases) {
    const std::string cmd = cd + c.Env + v + " --color=never " + c.Args;
    Result r = c.Tty ? OnTerminal(sc, cmd) : sc.Run(cmd);
    EXPECT_EQ(r.Out, c.Out) << c.Args;
    EXPECT_EQ(r.Status, 0) << c.Args;
  }
  // Colours on a terminal by default, not in a pipe nor on a dumb terminal.
  Result colored = OnTerminal(sc, cd + "LC_ALL=C.UTF-8 TERM=xterm " + v + " 会議 memos/2024/a.txt");
  EXPECT_EQ(colored.Out, "\33[01;31m\33[K" + U8(u8"会議") + "\33[m\33[K" + converted.substr(6) + "\n");
  EXPECT_EQ(OnTerminal(sc, cd + utf8 + v + " 会議 memos/2024/a.txt").Out, converted + "\n");
  EXPECT_EQ(sc.Run(cd + "LC_ALL=C.UTF-8 TERM=xterm " + v + " 会議 memos/2024/a.txt").Out, line + "\n");
  // A pattern character that Shift-JIS lacks is refused, not dropped.
  Result euro = sc.Run(cd + utf8 + v + " " + Quote(U8(u8"€")) + " memos/2024/a.txt");
  EXPECT_EQ(euro.Status, 2);
  EXPECT_NE(euro.Err.find("U+20AC"), std::string::npos) << euro.Err;
}

}  // namespace
}  // namespace vel
