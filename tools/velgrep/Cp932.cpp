#include "tools/velgrep/Cp932.h"

#include <memory>

#include "text/Sjis.h"

namespace vel::velgrep {

namespace {

#include "tools/velgrep/Cp932Table.inc"

int LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xC1; }

// Lead bytes in the order in which their characters are preferred when a
// character has more than one code.
constexpr unsigned char kPreference[][2] = {
    {0x81, 0x84}, {0x88, 0x9F}, {0xE0, 0xEA},  // JIS X 0208
    {0x87, 0x87},                              // NEC row 13
    {0xFA, 0xFC},                              // IBM extensions
    {0xED, 0xEE},                              // NEC-selected IBM extensions
    {0x85, 0x86}, {0xEB, 0xEC}, {0xEF, 0xF9},  // whatever else the converter knows
};

const uint16_t* ReverseTable() {
  static const std::unique_ptr<uint16_t[]> table = [] {
    auto t = std::make_unique<uint16_t[]>(0x10000);
    for (uint32_t b = 0; b < 0x80; ++b) t[b] = static_cast<uint16_t>(b);
    for (uint32_t b = 0xA1; b <= 0xDF; ++b) t[0xFF61 + (b - 0xA1)] = static_cast<uint16_t>(b);
    for (const auto& range : kPreference)
      for (unsigned lead = range[0]; lead <= range[1]; ++lead)
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
          uint16_t u = kCp932DoubleByte[LeadRow(static_cast<unsigned char>(lead))][trail - 0x40];
          if (u != 0 && t[u] == 0) t[u] = static_cast<uint16_t>(lead << 8 | trail);
        }
    return t;
  }();
  return table.get();
}

void PutUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void PutEscape(std::string& out, uint16_t code, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  out += "\\x";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += hex[code >> shift & 0xF];
}

// Decodes one UTF-8 sequence at s[i]; 0xFFFFFFFF when malformed.
uint32_t DecodeUtf8(std::string_view s, size_t& i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
  if (len == 0 || c > 0xF4 || i + len > s.size()) return 0xFFFFFFFF;
  uint32_t cp = c & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0xFFFFFFFF;
    cp = cp << 6 | (b(i + k) & 0x3F);
  }
  static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFFFFFF;
  i += static_cast<size_t>(len);
  return cp;
}

}  // namespace

uint32_t Cp932ToUnicode(uint16_t code) {
  if (code < 0x80) return code;
  if (code <= 0xFF) return (code >= 0xA1 && code <= 0xDF) ? 0xFF61u + (code - 0xA1) : 0;
  unsigned char lead = static_cast<unsigned char>(code >> 8), trail = static_cast<unsigned char>(code);
  if (!sjis::IsLeadByte(lead) || trail < 0x40 || trail > 0xFC) return 0;
  return kCp932DoubleByte[LeadRow(lead)][trail - 0x40];
}

uint16_t UnicodeToCp932(uint32_t cp) {
  if (cp > 0xFFFF) return 0;
  if (cp < 0x80) return static_cast<uint16_t>(cp);
  return ReverseTable()[cp];
}

void AppendUtf8(std::string& out, const char* p, size_t n) {
  const char* end = p + n;
  while (p < end) {
    // Runs of ASCII go out as they are.
    const char* q = p;
    while (q < end && static_cast<unsigned char>(*q) < 0x80) ++q;
    out.append(p, q);
    if (q == end) break;
    p = q;
    size_t len = sjis::CharLen(p, end);
    uint16_t code = len == 2 ? static_cast<uint16_t>(static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]))
                             : static_cast<unsigned char>(p[0]);
    uint32_t cp = Cp932ToUnicode(code);
    if (cp != 0)
      PutUtf8(out, cp);
    else
      PutEscape(out, code, len == 2 ? 4 : 2);
    p += len;
  }
}

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();)
    if (DecodeUtf8(s, i) == 0xFFFFFFFF) return false;
  return true;
}

bool Utf8ToCp932(std::string_view s, std::string& out, uint32_t& bad) {
  out.clear();
  for (size_t i = 0; i < s.size();) {
    uint32_t cp = DecodeUtf8(s, i);
    uint16_t code = cp == 0xFFFFFFFF ? 0 : UnicodeToCp932(cp);
    if (cp != 0 && code == 0) {  // also a malformed sequence, which has no code point
      bad = cp;
      return false;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return true;
}

}  // namespace vel::velgrep
