#include "tools/velgrep/PatternText.h"

#include "regexp/REScanner.h"
#include "text/Sjis.h"

namespace vel::velgrep {

namespace {

// The other case of a letter, or 0.
WChar OtherCase(WChar c) {
  if (c < 0x80) {
    unsigned char b = static_cast<unsigned char>(c);
    unsigned char lower = sjis::AsciiLower(b);
    if (lower != b) return lower;
    unsigned char upper = sjis::AsciiUpper(b);
    return upper != b ? upper : 0;
  }
  if (c >= 0x8260 && c <= 0x8279) return static_cast<WChar>(sjis::WideLatinLower(c));
  if (c >= 0x8281 && c <= 0x829A) return static_cast<WChar>(c - 0x21);
  return 0;
}

// The letters of [lo, hi] in the other case, as class items.
std::string OtherCaseItems(WChar lo, WChar hi) {
  struct Block {
    WChar From, To;
    int Shift;
  };
  static const Block blocks[] = {
      {'A', 'Z', 'a' - 'A'}, {'a', 'z', 'A' - 'a'}, {0x8260, 0x8279, 0x21}, {0x8281, 0x829A, -0x21}};
  std::string items;
  for (const Block& b : blocks) {
    WChar from = lo > b.From ? lo : b.From, to = hi < b.To ? hi : b.To;
    if (from > to) continue;
    items += WCharToStr(static_cast<WChar>(from + b.Shift));
    if (to > from) {
      items += '-';
      items += WCharToStr(static_cast<WChar>(to + b.Shift));
    }
  }
  return items;
}

}  // namespace

std::string FoldCasePattern(const std::string& pattern, bool fuzzy) {
  TREScanner scanner(pattern);
  std::string out, extra;  // extra: items to add before the class closes
  size_t lastItem = 0;      // where the class's last item begins in out
  bool lastIsDash = false;  // that item is a bare "-", literal only as the last one
  for (;;) {
    const int from = scanner.Index;
    const REToken_t token = scanner.GetToken();
    if (token == retk_End) break;
    const std::string text = pattern.substr(static_cast<size_t>(from - 1), static_cast<size_t>(scanner.Index - from));
    const WChar c = scanner.Symbol.StartChar;
    if (scanner.InCharClass || token == retk_RBra) {
      if (token == retk_RBra) {
        out.insert(lastIsDash ? lastItem : out.size(), extra);
        extra.clear();
      } else if (token == retk_Char) {
        if (WChar o = OtherCase(c)) extra += WCharToStr(o);
      } else if (token == retk_CharClass) {
        extra += OtherCaseItems(c, scanner.Symbol.EndChar);
      }
      lastItem = out.size();
      lastIsDash = text == "-";
      out += text;
      continue;
    }
    WChar o = token == retk_Char && !fuzzy ? OtherCase(c) : 0;
    if (!o) {
      out += text;
      continue;
    }
    out += '[';
    out += WCharToStr(c);
    out += WCharToStr(o);
    out += ']';
  }
  return out;
}

std::string JoinPatterns(const std::vector<std::string>& patterns) {
  if (patterns.size() == 1) return patterns[0];
  std::string out;
  for (const std::string& p : patterns) {
    if (!out.empty()) out += '|';
    out += "(" + p + ")";
  }
  return out;
}

std::string WholeWordPattern(const std::string& pattern) {
  return "(^|[\\x01-\\x20])(" + pattern + ")([\\x01-\\x20]|$)";
}

std::string WholeLinePattern(const std::string& pattern) { return "^(" + pattern + ")$"; }

}  // namespace vel::velgrep
