#include "regexp/RegExpChar.h"

#include <cstring>

namespace vel {

WChar GetWChar(const std::string& s, int& index) {
  if (index <= 0 || index > static_cast<int>(s.size())) return 0;
  unsigned char b = static_cast<unsigned char>(s[index - 1]);
  if (sjis::IsLeadByte(b)) {
    if (index == static_cast<int>(s.size())) throw ERegExpParser(remsg::InvalidDBCS, static_cast<size_t>(index));
    WChar c = static_cast<WChar>(b << 8 | static_cast<unsigned char>(s[index]));
    index += 2;
    return c;
  }
  ++index;
  return b;
}

// Scans back over the run of lead-byte values, so its cost grows with that
// run; the scanner puts characters back by a saved index instead.
void UnGetWChar(const std::string& s, int& index) {
  if (index <= 1) return;
  if (index == 2) {
    index = 1;
    return;
  }
  // Bytes index-2 (1-based) and before: count the run of lead-byte values
  // ending at index-2, not examining the string's first byte.
  int run = 0;
  for (int i = index - 2; i >= 2 && sjis::IsLeadByte(static_cast<unsigned char>(s[i - 1])); --i) ++run;
  index -= (run % 2 == 1) ? 2 : 1;
}

WChar PCharGetWChar(const char*& p) {
  unsigned char b = static_cast<unsigned char>(*p);
  if (b == 0) return 0;
  if (sjis::IsLeadByte(b) && p[1] != 0) {
    WChar c = static_cast<WChar>(b << 8 | static_cast<unsigned char>(p[1]));
    p += 2;
    return c;
  }
  ++p;
  return b;
}

std::string WCharToStr(WChar c) {
  unsigned char hi = static_cast<unsigned char>(c >> 8);
  if (!sjis::IsLeadByte(hi)) return std::string(1, static_cast<char>(c & 0xFF));
  return std::string{static_cast<char>(hi), static_cast<char>(c & 0xFF)};
}

int HexWCharToInt(WChar c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int OctWCharToInt(WChar c) { return (c >= '0' && c <= '7') ? c - '0' : -1; }

WChar HexStrToInt(const std::string& s, int& index) {
  int value = 0, digits = 0;
  for (;;) {
    int before = index;
    WChar c = GetWChar(s, index);
    int d = digits < 4 ? HexWCharToInt(c) : -1;
    if (d < 0) {
      index = before;
      break;
    }
    value = value * 16 + d;
    ++digits;
  }
  if (digits == 0) throw ERegExpParser(remsg::InvalidHex, static_cast<size_t>(index));
  return static_cast<WChar>(value);
}

WChar OctStrToInt(const std::string& s, int& index) {
  int value = 0, digits = 0;
  for (;;) {
    int before = index;
    WChar c = GetWChar(s, index);
    int d = digits < 6 ? OctWCharToInt(c) : -1;
    if (d < 0) {
      index = before;
      break;
    }
    value = value * 8 + d;
    if (value > 0xFFFF) throw ERegExpParser(remsg::InvalidOct, static_cast<size_t>(index));
    ++digits;
  }
  return static_cast<WChar>(value);
}

WChar GetQuotedWChar(const std::string& s, int& index) {
  int before = index;
  WChar c = GetWChar(s, index);
  switch (c) {
    case 0: throw ERegExpParser(remsg::NeedCharAfterYen, static_cast<size_t>(index));
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': return HexStrToInt(s, index);
    default:
      if (c >= '0' && c <= '7') {
        index = before;
        return OctStrToInt(s, index);
      }
      return c;
  }
}

std::string QuoteMetaWChar(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (sjis::IsLeadByte(b) && i + 1 < s.size()) {
      out += s[i];
      out += s[++i];
      continue;
    }
    if (b != 0 && std::strchr(METACHARS, b)) out += '\\';
    out += s[i];
  }
  return out;
}

}  // namespace vel
