#include "regexp/Grep.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace vel {

namespace {

// End of the line that starts at p: the first CR or LF, or the end. Looked
// for in windows, so that a file of lone-CR lines is not rescanned to its end
// for every line.
const char* LineEnd(const char* p, const char* end) {
  constexpr size_t kWindow = 4096;
  while (p < end) {
    const char* w = static_cast<size_t>(end - p) < kWindow ? end : p + kWindow;
    const char* e = sjis::FindBreak(p, w);
    if (e < w) return e;
    p = w;
  }
  return end;
}

size_t CountBreaks(const char* p, const char* end) {
  size_t n = 0;
  for (; p < end; ++p) {
    if (*p == '\n') ++n;
    else if (*p == '\r' && (p + 1 == end || p[1] != '\n')) ++n;
  }
  return n;
}

}  // namespace

TGrep::TGrep() { GetListOfFuzzyCharDic().push_back(&RE_FuzzyCharDic()); }

void TGrep::SetRegExp(const std::string& pattern) {
  TRegularExpression::SetRegExp(pattern);
  ByStr = GetRegExpIsSimple();
}

bool TGrep::LineMatches(std::string_view line) const {
  TRE_DFA* dfa = GetCurrentDFA();
  const std::string& lit = dfa->RequiredLiteral;
  if (!lit.empty() && (line.size() < lit.size() || !REFindBytes(line.data(), line.size(), lit)))
    return false;
  return dfa->Contains(line.data(), line.size(), true);
}

size_t TGrep::GrepBuffer(const char* data, size_t size, size_t firstLineNo, bool countLines,
                         const std::function<bool(size_t, std::string_view)>& onLine) const {
  TRE_DFA* dfa = GetCurrentDFA();
  const std::string& lit = dfa->RequiredLiteral;
  const char* p = data;  // start of the lines not yet walked
  const char* end = data + size;
  size_t lineNo = firstLineNo, breaks = 0;
  // No line holds a line break, so no line can match.
  if (lit.find_first_of("\r\n") != std::string::npos)
    return countLines ? CountBreaks(p, end) : 0;
  // Reports the line [ls, le) and moves past its break; false to stop.
  auto report = [&](const char* ls, const char* le) {
    if (countLines) {
      size_t n = CountBreaks(p, ls);
      lineNo += n;
      breaks += n;
    }
    bool go = onLine(countLines ? lineNo : 0, std::string_view(ls, static_cast<size_t>(le - ls)));
    const char* next = sjis::SkipBreak(le, end);
    if (next != le) {
      ++lineNo;
      ++breaks;
    }
    p = next;
    return go;
  };
  // Without a required string, a key byte of the first character does.
  static const std::string kNone;
  const std::string& keys =
      lit.empty() && dfa->StartKeyBytes.find_first_of("\r\n") == std::string::npos ? dfa->StartKeyBytes : kNone;
  // Each line is walked at most once: a hit of the required string leads to
  // its line, the automaton decides the whole line, and the search goes on
  // after it, so a long line costs its length, not its length per hit.
  while (p < end) {
    const char* ls = p;
    if (!lit.empty() || !keys.empty()) {
      const size_t n = static_cast<size_t>(end - p);
      const char* hit = lit.empty() ? REFindAnyByte(p, n, keys) : REFindBytes(p, n, lit);
      if (!hit) break;
      ls = hit;
      while (ls > p && !sjis::IsBreakByte(ls[-1])) --ls;
    }
    const char* le = LineEnd(ls, end);
    if (dfa->Contains(ls, static_cast<size_t>(le - ls), true)) {
      if (!report(ls, le)) return breaks;
      continue;
    }
    if (countLines) {
      size_t n = CountBreaks(p, ls);
      lineNo += n;
      breaks += n;
    }
    const char* next = sjis::SkipBreak(le, end);
    if (next != le) {
      ++lineNo;
      ++breaks;
    }
    p = next;
  }
  if (countLines && p < end) breaks += CountBreaks(p, end);
  return breaks;
}

void TGrep::Grep(const std::string& fileName) {
  if (ByStr)
    GrepByStr(fileName);
  else
    GrepByRegExp(fileName);
}

void TGrep::GrepByRegExp(const std::string& fileName) { GrepStream(fileName); }

void TGrep::GrepByStr(const std::string& fileName) { GrepStream(fileName); }

// The file is one stream of lines, each ended by an LF (CR LF and a lone CR
// read as LF), so a pattern with a line break matches across lines. A line
// is reported when a match starts in it; a match that takes no character is
// no match, unless it took a line head or tail, which stand for the LF
// before or after the line. The search goes on from the end of the reported
// line.
void TGrep::GrepStream(const std::string& fileName) {
  if (!OnMatch) return;
  Cancel = false;
  std::unique_ptr<TTxtFile> file;
  try {
    file = std::make_unique<TTxtFile>(fileName, Cancel);
  } catch (const EEndOfFile&) {
    return;
  }
  std::string stream;
  std::vector<RE_LineInfo_t> lines;
  std::vector<size_t> ends;  // offset of each line's LF
  try {
    for (;;) {
      RE_LineInfo_t info = file->GetThisLine();
      stream += info.Line;
      ends.push_back(stream.size());
      stream += '\n';
      lines.push_back(std::move(info));
    }
  } catch (const EEndOfFile&) {
  }
  TRE_DFA* dfa = GetCurrentDFA();
  size_t s0, e0;
  const bool nullable = dfa->Search("", 0, 0, false, true, s0, e0, true);
  // The line a position lies in: the number of LFs before it.
  auto lineOf = [&](size_t pos) {
    return static_cast<size_t>(std::lower_bound(ends.begin(), ends.end(), pos) - ends.begin());
  };
  size_t lastReported = SIZE_MAX;
  dfa->MatchAll(stream.data(), stream.size(), 0, true, true, [&](size_t s, size_t e) -> size_t {
    if (s == e && (nullable || (lastReported != SIZE_MAX && s == ends[lastReported]))) {
      // Nothing taken: go on after the character.
      size_t n = s + (s < stream.size() ? sjis::CharLen(stream, s) : 1);
      return n > stream.size() ? SIZE_MAX : n;
    }
    size_t k = s == e ? lineOf(s) : lineOf(s + sjis::CharLen(stream, s));
    if (k >= lines.size()) return SIZE_MAX;
    OnMatch(this, lines[k]);
    if (Cancel) throw EGrepCancel();
    lastReported = k;
    size_t n = ends[k] > e ? ends[k] : e;
    if (n == s) ++n;  // an empty match at the line's LF: its line is done
    return n >= stream.size() ? SIZE_MAX : n;
  });
}

}  // namespace vel
