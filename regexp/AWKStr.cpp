#include "regexp/AWKStr.h"

#include <cstdint>

namespace vel {

TAWKStr::TAWKStr() { GetListOfFuzzyCharDic().push_back(&RE_FuzzyCharDic()); }

void TAWKStr::SetRegExp(const std::string& pattern) {
  TMatchCORE::SetRegExp(pattern);
  MatchEXSelected = GetHasLHead() || GetHasLTail();
}

int TAWKStr::Match(const std::string& text, int& start, int& length) {
  size_t s, e;
  if (!MatchEX(text, s, e)) {
    start = length = 0;
    return 0;
  }
  start = static_cast<int>(s) + 1;
  length = static_cast<int>(e - s);
  return start;
}

std::string TAWKStr::ProcessEscSeq(const std::string& s) {
  std::string out;
  int i = 1;
  for (;;) {
    int at = i;
    WChar c = GetWChar(s, i);
    if (c == 0 && i == at) break;
    if (c == '\\')
      out += WCharToStr(GetQuotedWChar(s, i));
    else
      out += s.substr(at - 1, i - at);
  }
  return out;
}

std::string TAWKStr::Substitute_MatchStr_For_ANDChar(const std::string& replacement, const std::string& matched) {
  std::string step1;
  int i = 1;
  for (;;) {
    int at = i;
    WChar c = GetWChar(replacement, i);
    if (i == at) break;
    step1 += replacement.substr(at - 1, i - at);
    if (c == '\\') {
      int at2 = i;
      WChar d = GetWChar(replacement, i);
      if (i == at2) break;
      if (d == '&') step1 += '\\';
      step1 += replacement.substr(at2 - 1, i - at2);
    }
  }
  std::string step2 = ProcessEscSeq(step1);
  std::string out;
  for (size_t k = 0; k < step2.size();) {
    unsigned char b = static_cast<unsigned char>(step2[k]);
    if (sjis::IsLeadByte(b) && k + 1 < step2.size()) {
      out.append(step2, k, 2);
      k += 2;
    } else if (b == '&') {
      out += matched;
      ++k;
    } else if (b == '\\' && k + 1 < step2.size() && step2[k + 1] == '&') {
      out += '&';
      k += 2;
    } else {
      out += static_cast<char>(b);
      ++k;
    }
  }
  return out;
}

bool TAWKStr::Sub(const std::string& replacement, std::string& s) {
  size_t ms, me;
  if (!MatchEX(s, ms, me)) return false;
  std::string rep = Substitute_MatchStr_For_ANDChar(replacement, s.substr(ms, me - ms));
  s.replace(ms, me - ms, rep);
  return true;
}

int TAWKStr::GSub(const std::string& replacement, std::string& s) {
  if (s.empty()) {
    size_t ms, me;
    if (!SearchFrom(s, 0, true, ms, me)) return 0;
    s = Substitute_MatchStr_For_ANDChar(replacement, std::string());
    return 1;
  }
  std::string result;
  size_t pos = 0;
  int count = 0;
  GetCurrentDFA()->MatchAll(s.data(), s.size(), 0, true, LineSeparator == mcls_LF, [&](size_t ms, size_t me) {
    result.append(s, pos, ms - pos);
    result += Substitute_MatchStr_For_ANDChar(replacement, s.substr(ms, me - ms));
    if (ms == me && me < s.size()) {
      // One character, or CR LF as one unit; a CR before anything else is
      // a character of its own, so the search never lands inside a
      // double-byte character.
      size_t unit = sjis::CharLen(s, me);
      if (LineSeparator == mcls_CRLF && s[me] == '\r' && me + 1 < s.size() && s[me + 1] == '\n') unit = 2;
      result.append(s, me, unit);
      me += unit;
    }
    ++count;
    pos = me;
    return pos >= s.size() ? SIZE_MAX : pos;
  });
  result.append(s, pos, std::string::npos);
  s = std::move(result);
  return count;
}

// One walk over s: every rest of s is searched as a string of its own, so
// each search start is a line head.
int TAWKStr::Split(const std::string& s, std::vector<std::string>& list) {
  list.clear();
  std::string field;
  size_t pos = 0;
  bool done = false;
  if (!s.empty()) {
    GetCurrentDFA()->MatchAll(
        s.data(), s.size(), 0, true, LineSeparator == mcls_LF,
        [&](size_t ms, size_t me) -> size_t {
          if (ms == me && ms == pos) {
            size_t unit = sjis::CharLen(s, pos);
            field.append(s, pos, unit);
            pos += unit;
            return pos >= s.size() ? SIZE_MAX : pos;
          }
          list.push_back(field + s.substr(pos, ms - pos));
          field.clear();
          pos = me;
          if (pos >= s.size()) {
            list.push_back(std::string());
            done = true;
            return SIZE_MAX;
          }
          return pos;
        },
        true);
  }
  if (!done && pos < s.size()) {
    list.push_back(field + s.substr(pos));
    field.clear();
  }
  if (!field.empty()) list.push_back(field);
  return static_cast<int>(list.size());
}

}  // namespace vel
