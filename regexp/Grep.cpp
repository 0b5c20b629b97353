#include "regexp/Grep.h"

#include <cstring>

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
  // Each line is walked at most once: a hit of the required string leads to
  // its line, the automaton decides the whole line, and the search goes on
  // after it, so a long line costs its length, not its length per hit.
  while (p < end) {
    const char* ls = p;
    if (!lit.empty()) {
      const char* hit = REFindBytes(p, static_cast<size_t>(end - p), lit);
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

void TGrep::GrepByRegExp(const std::string& fileName) {
  GrepLines(fileName, [this](const std::string& line) {
    return GetCurrentDFA()->Contains(line.data(), line.size(), true);
  });
}

void TGrep::GrepByStr(const std::string& fileName) {
  GrepLines(fileName, [this](const std::string& line) { return LineMatches(line); });
}

void TGrep::GrepLines(const std::string& fileName, const std::function<bool(const std::string&)>& matches) {
  if (!OnMatch) return;
  Cancel = false;
  std::unique_ptr<TTxtFile> file;
  try {
    file = std::make_unique<TTxtFile>(fileName, Cancel);
  } catch (const EEndOfFile&) {
    return;
  }
  try {
    for (;;) {
      RE_LineInfo_t info = file->GetThisLine();
      if (matches(info.Line)) OnMatch(this, info);
    }
  } catch (const EEndOfFile&) {
  }
}

}  // namespace vel
