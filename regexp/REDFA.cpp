#include "regexp/REDFA.h"

#include <algorithm>
#include <cstring>

namespace vel {

namespace {

constexpr int32_t kSep = -1;

size_t CharLenAt(const uint8_t* t, size_t q, size_t size) {
  return sjis::CharLen(reinterpret_cast<const char*>(t) + q, reinterpret_cast<const char*>(t) + size);
}
constexpr int32_t kDeadKey = -2;
constexpr int kFlagSeeding = 1, kFlagLineHead = 2, kFlagLF = 4, kFlagSeedOnce = 8, kFlagNoAnchors = 16;

std::string PackKey(int32_t flags, const std::vector<int>& body) {
  std::string key(4 * (body.size() + 1), '\0');
  std::memcpy(key.data(), &flags, 4);
  if (!body.empty()) std::memcpy(key.data() + 4, body.data(), 4 * body.size());
  return key;
}

std::vector<int> UnpackKey(const std::string& key, int32_t& flags) {
  std::memcpy(&flags, key.data(), 4);
  std::vector<int> body(key.size() / 4 - 1);
  if (!body.empty()) std::memcpy(body.data(), key.data() + 4, 4 * body.size());
  return body;
}

}  // namespace

// The search goes in windows so that its cost (and that of checking tools
// that validate the whole range on every call) follows the distance to the
// hit, not the length of the rest of the buffer.
const char* REFindBytes(const char* p, size_t n, std::string_view needle) {
  const size_t m = needle.size();
  constexpr size_t kWindow = 1 << 16;
  while (n >= m) {
    size_t w = n < kWindow + m - 1 ? n : kWindow + m - 1;
#ifdef __GLIBC__
    const char* r = static_cast<const char*>(memmem(p, w, needle.data(), m));
#else
    const char* r = nullptr;
    for (const char* q = p; !r && static_cast<size_t>(p + w - q) >= m;) {
      q = static_cast<const char*>(std::memchr(q, needle[0], static_cast<size_t>(p + w - q) - m + 1));
      if (!q) break;
      if (std::memcmp(q, needle.data(), m) == 0) r = q;
      ++q;
    }
#endif
    if (r) return r;
    if (w == n) return nullptr;
    p += kWindow;
    n -= kWindow;
  }
  return nullptr;
}

bool TRE_DFA::FindSimple(const char* text, size_t size, size_t from, size_t& start, size_t& end) const {
  const std::string& lit = SimpleRegExp;
  size_t boundary = from;  // only moves forward, so the whole search stays linear
  for (size_t q = from; q + lit.size() <= size;) {
    const char* hit = REFindBytes(text + q, size - q, lit);
    if (!hit) return false;
    size_t at = static_cast<size_t>(hit - text);
    while (boundary < at) boundary += sjis::CharLen(text + boundary, text + size);
    if (boundary == at) {
      start = at;
      end = at + lit.size();
      return true;
    }
    q = at + 1;
  }
  return false;
}

TRE_DFA::TRE_DFA(const TRE_NFA& nfa) {
  HasLHead = nfa.HasLHead;
  HasLTail = nfa.HasLTail;
  BuildNFAArrays(nfa);
}

void TRE_DFA::Run() {
  BuildClassMap();
  ResetCache(Fwd);
  ResetCache(Rev);
  Resets = 0;
  CheckIfRegExpIsSimple();
}

void TRE_DFA::BuildNFAArrays(const TRE_NFA& nfa) {
  NumStates = static_cast<int>(nfa.StateList.size());
  CharEdges.assign(NumStates, {});
  RevCharEdges.assign(NumStates, {});
  EpsEdges.assign(NumStates, {});
  RevEpsEdges.assign(NumStates, {});
  HasLTEdge.assign(NumStates, 0);
  IsLHTarget.assign(NumStates, 0);
  Mark.assign(NumStates, 0);
  std::vector<int> lhTargets;
  for (int s = 0; s < NumStates; ++s) {
    for (const RE_NFANode_t& t : nfa.StateList[s]) {
      switch (t.Kind) {
        case nfak_Char:
          CharEdges[s].push_back({t.CharClass.StartChar, t.CharClass.EndChar, t.TransitTo});
          RevCharEdges[t.TransitTo].push_back({t.CharClass.StartChar, t.CharClass.EndChar, s});
          LabelLo.push_back(t.CharClass.StartChar);
          LabelHi.push_back(t.CharClass.EndChar);
          break;
        case nfak_Empty:
          EpsEdges[s].push_back(t.TransitTo);
          RevEpsEdges[t.TransitTo].push_back(s);
          break;
        case nfak_LHead:
          IsLHTarget[t.TransitTo] = 1;
          lhTargets.push_back(t.TransitTo);
          LHTargets.push_back(t.TransitTo);
          break;
        case nfak_LTail:
          HasLTEdge[s] = 1;
          LTStates.push_back(s);
          break;
      }
    }
  }
  ++Gen;
  SeedPlain.clear();
  Stack.assign(1, nfa.EntryState);
  Closure(SeedPlain, false);
  std::sort(SeedPlain.begin(), SeedPlain.end());
  ++Gen;
  SeedHead.clear();
  Stack.assign(1, nfa.EntryState);
  Stack.insert(Stack.end(), lhTargets.begin(), lhTargets.end());
  Closure(SeedHead, false);
  std::sort(SeedHead.begin(), SeedHead.end());
}

// Moves every state on Stack, and everything reachable from them over empty
// transitions (forward or reversed), into out unless it is already marked
// with the current generation.
void TRE_DFA::Closure(std::vector<int>& out, bool reverse) {
  const auto& eps = reverse ? RevEpsEdges : EpsEdges;
  while (!Stack.empty()) {
    int s = Stack.back();
    Stack.pop_back();
    if (Mark[s] == Gen) continue;
    Mark[s] = Gen;
    out.push_back(s);
    for (int t : eps[s])
      if (Mark[t] != Gen) Stack.push_back(t);
  }
}

void TRE_DFA::BuildClassMap() {
  // A long pattern repeats few distinct ranges many times.
  std::vector<std::pair<WChar, WChar>> labels;
  labels.reserve(LabelLo.size());
  for (size_t i = 0; i < LabelLo.size(); ++i) labels.emplace_back(LabelLo[i], LabelHi[i]);
  std::sort(labels.begin(), labels.end());
  labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
  std::vector<std::pair<uint32_t, int>> events;
  for (auto [lo, hi] : labels) {
    events.emplace_back(lo, 1);
    events.emplace_back(static_cast<uint32_t>(hi) + 1, -1);
  }
  for (uint32_t c : {0u, 1u, 10u, 11u, 13u, 14u, 0x10000u}) events.emplace_back(c, 0);
  std::sort(events.begin(), events.end());
  // Uncovered intervals share class 0; CR and LF always have classes of their own.
  std::vector<WChar> repr{0};
  std::vector<std::pair<uint32_t, uint16_t>> intervals;  // start, class
  int cover = 0;
  for (size_t i = 0; i < events.size();) {
    uint32_t at = events[i].first;
    while (i < events.size() && events[i].first == at) cover += events[i++].second;
    if (at >= 0x10000) break;
    uint16_t cls = 0;
    if (cover > 0 || at == 10 || at == 13) {
      cls = static_cast<uint16_t>(repr.size());
      repr.push_back(static_cast<WChar>(at));
    }
    if (at == 10) ClsLF = cls;
    if (at == 13) ClsCR = cls;
    intervals.emplace_back(at, cls);
  }
  NumClasses = repr.size();
  ClsInvalid = static_cast<int>(NumClasses);
  ClsEot = ClsInvalid + 1;
  Width = ClsEot + 1;
  ClassRepr = repr;

  static const auto leadIndex = [] {
    std::vector<int> idx(256, -1);
    int n = 0;
    for (int b = 0; b < 256; ++b)
      if (sjis::IsLeadByte(static_cast<unsigned char>(b))) idx[b] = n++;
    return idx;
  }();
  DblMap.assign(60 * 256, 0);
  for (size_t i = 0; i < intervals.size(); ++i) {
    uint32_t lo = intervals[i].first;
    uint32_t hi = i + 1 < intervals.size() ? intervals[i + 1].first : 0x10000;
    uint16_t cls = intervals[i].second;
    if (cls == 0) continue;
    for (uint32_t c = lo; c < hi; ++c) {
      if (c < 256) {
        if (!sjis::IsLeadByte(static_cast<unsigned char>(c))) ByteInfo[c] = cls;
      } else if (leadIndex[c >> 8] >= 0) {
        DblMap[leadIndex[c >> 8] * 256 + (c & 0xFF)] = cls;
      } else {
        c = (c | 0xFF);  // high byte is no lead byte: no text has these codes
      }
    }
  }
  for (int b = 0; b < 256; ++b)
    if (sjis::IsLeadByte(static_cast<unsigned char>(b))) ByteInfo[b] = static_cast<uint16_t>(0x8000 | leadIndex[b]);
}

void TRE_DFA::CheckIfRegExpIsSimple() {
  RegExpIsSimple = false;
  SimpleRegExp.clear();
  if (HasLHead || HasLTail) return;
  std::vector<int> set = SeedPlain;
  std::string acc;
  for (int steps = 0; steps <= NumStates + 1; ++steps) {
    bool hasExit = std::find(set.begin(), set.end(), 1) != set.end();
    int code = -1;
    std::vector<int> targets;
    for (int s : set) {
      for (const Edge& e : CharEdges[s]) {
        if (e.Lo != e.Hi || (code >= 0 && e.Lo != code)) return;
        code = e.Lo;
        targets.push_back(e.To);
      }
    }
    if (code < 0) {
      if (hasExit) {
        RegExpIsSimple = true;
        SimpleRegExp = acc;
        RequiredLiteral = acc;
      }
      return;
    }
    if (hasExit || !sjis::IsTextCode(static_cast<uint32_t>(code))) return;
    acc += WCharToStr(static_cast<WChar>(code));
    ++Gen;
    set.clear();
    Stack = targets;
    Closure(set, false);
  }
}

int TRE_DFA::Intern(Cache& c, std::string&& key, uint8_t info) {
  auto it = c.Ids.find(key);
  if (it != c.Ids.end()) return it->second;
  int id = static_cast<int>(c.Keys.size());
  c.Bytes += key.size() * 2 + static_cast<size_t>(Width) * 4 + 64;
  auto ins = c.Ids.emplace(std::move(key), id).first;
  c.Keys.push_back(&ins->first);
  c.Trans.resize(c.Trans.size() + Width, -1);
  c.Info.push_back(info);
  return id;
}

void TRE_DFA::ResetCache(Cache& c) {
  c.Ids.clear();
  c.Keys.clear();
  c.Trans.clear();
  c.Info.clear();
  c.Bytes = 0;
  ++Resets;
  if (&c == &Fwd)
    std::fill(std::begin(FwdStarts), std::end(FwdStarts), -1);
  else
    std::fill(std::begin(RevStarts), std::end(RevStarts), -1);
  Intern(c, PackKey(kDeadKey, {}), 0);
  std::fill(c.Trans.begin(), c.Trans.end(), 0);
}

bool TRE_DFA::Step(int s, int cls, bool reverse, std::vector<int>& out) {
  if (cls <= 0 || cls >= ClsInvalid) return false;
  WChar r = ClassRepr[cls];
  bool any = false;
  for (const Edge& e : (reverse ? RevCharEdges : CharEdges)[s]) {
    if (e.Lo <= r && r <= e.Hi) {
      Stack.push_back(e.To);
      any = true;
    }
  }
  if (any) Closure(out, reverse);
  return any;
}

int TRE_DFA::FwdStart(bool lineHead, bool lf, bool noAnchors) {
  if (noAnchors) lineHead = false;
  int idx = (lineHead ? 1 : 0) | (lf ? 2 : 0) | (noAnchors ? 8 : 0);
  if (FwdStarts[idx] < 0) {
    if (Fwd.Bytes > Budget) ResetCache(Fwd);
    int32_t flags = kFlagSeeding | (lineHead ? kFlagLineHead : 0) | (lf ? kFlagLF : 0) | (noAnchors ? kFlagNoAnchors : 0);
    FwdStarts[idx] = Intern(Fwd, PackKey(flags, {}), 0);
  }
  return FwdStarts[idx];
}

int TRE_DFA::FwdAnchoredStart(bool lineHead, bool lf) {
  int idx = 4 | (lineHead ? 1 : 0) | (lf ? 2 : 0);
  if (FwdStarts[idx] < 0) {
    if (Fwd.Bytes > Budget) ResetCache(Fwd);
    FwdStarts[idx] = Intern(Fwd, PackKey(kFlagSeedOnce | (lineHead ? kFlagLineHead : 0) | (lf ? kFlagLF : 0), {}), 0);
  }
  return FwdStarts[idx];
}

int TRE_DFA::FwdCompute(int id, int cls) {
  int32_t flags;
  std::vector<int> body = UnpackKey(*Fwd.Keys[id], flags);
  bool seeding = flags & kFlagSeeding, lineHead = flags & kFlagLineHead, lf = flags & kFlagLF;
  bool seedOnce = flags & kFlagSeedOnce;
  bool noAnchors = flags & kFlagNoAnchors;
  if (++Gen == 0) {
    std::fill(Mark.begin(), Mark.end(), 0);
    Gen = 1;
  }
  for (int s : body)
    if (s >= 0) Mark[s] = Gen;
  if (seeding || seedOnce) {
    size_t before = body.size();
    for (int s : lineHead ? SeedHead : SeedPlain)
      if (Mark[s] != Gen) body.push_back(s);
    if (body.size() != before) body.push_back(kSep);
  }
  bool atLineEnd = !noAnchors && (cls == ClsEot || cls == (lf ? ClsLF : ClsCR));
  // The first accepting group wins; later-started groups are dropped.
  bool matched = false;
  for (size_t i = 0; i < body.size(); ++i) {
    int s = body[i];
    if (s == kSep) continue;
    if (s == 1 || (atLineEnd && HasLTEdge[s])) {
      matched = true;
      while (i < body.size() && body[i] != kSep) ++i;
      body.resize(i + 1);
      seeding = false;
      break;
    }
  }
  int next = 0;
  if (cls != ClsEot) {
    if (++Gen == 0) {
      std::fill(Mark.begin(), Mark.end(), 0);
      Gen = 1;
    }
    std::vector<int> out;
    size_t start = 0;
    for (int s : body) {
      if (s == kSep) {
        if (out.size() > start) {
          std::sort(out.begin() + start, out.end());
          out.push_back(kSep);
        }
        start = out.size();
        continue;
      }
      Step(s, cls, false, out);
    }
    if (!out.empty() || seeding) {
      int32_t nf = (seeding ? kFlagSeeding : 0) | (cls == ClsLF && !noAnchors ? kFlagLineHead : 0) | (lf ? kFlagLF : 0) |
                   (noAnchors ? kFlagNoAnchors : 0);
      std::string key = PackKey(nf, out);
      bool reset = Fwd.Bytes > Budget;
      if (reset) ResetCache(Fwd);
      next = Intern(Fwd, std::move(key), 0);
      int32_t v = next << 1 | (matched ? 1 : 0);
      if (!reset) Fwd.Trans[static_cast<size_t>(id) * Width + cls] = v;
      return v;
    }
  }
  int32_t v = matched ? 1 : 0;
  Fwd.Trans[static_cast<size_t>(id) * Width + cls] = v;
  return v;
}

int TRE_DFA::RevStart(bool lineEnd) {
  int idx = lineEnd ? 1 : 0;
  if (RevStarts[idx] < 0) {
    if (Rev.Bytes > Budget) ResetCache(Rev);
    if (++Gen == 0) {
      std::fill(Mark.begin(), Mark.end(), 0);
      Gen = 1;
    }
    std::vector<int> set;
    Stack.assign(1, 1);
    if (lineEnd)
      for (int s = 0; s < NumStates; ++s)
        if (HasLTEdge[s]) Stack.push_back(s);
    Closure(set, true);
    std::sort(set.begin(), set.end());
    uint8_t info = 0;
    for (int s : set) info |= (s == 0 ? 1 : 0) | (IsLHTarget[s] ? 2 : 0);
    RevStarts[idx] = Intern(Rev, PackKey(0, set), info);
  }
  return RevStarts[idx];
}

int TRE_DFA::RevCompute(int id, int cls) {
  int32_t flags;
  std::vector<int> set = UnpackKey(*Rev.Keys[id], flags);
  if (++Gen == 0) {
    std::fill(Mark.begin(), Mark.end(), 0);
    Gen = 1;
  }
  std::vector<int> out;
  for (int s : set) Step(s, cls, true, out);
  if (out.empty()) {
    Rev.Trans[static_cast<size_t>(id) * Width + cls] = 0;
    return 0;
  }
  std::sort(out.begin(), out.end());
  uint8_t info = 0;
  for (int s : out) info |= (s == 0 ? 1 : 0) | (IsLHTarget[s] ? 2 : 0);
  bool reset = Rev.Bytes > Budget;
  if (reset) ResetCache(Rev);
  int next = Intern(Rev, PackKey(0, out), info);
  if (!reset) Rev.Trans[static_cast<size_t>(id) * Width + cls] = next;
  return next;
}

// The forward pass from p in state st; records in `last` the end of the
// leftmost-longest match (or stops at the first accepting position when
// firstOnly). Returns whether anything matched.
bool TRE_DFA::Walk(const uint8_t* t, size_t size, size_t p, int st, bool firstOnly, size_t& last) {
  // Locals, so that the loop keeps its tables in registers; the transition
  // table moves only when a new state is computed.
  const uint16_t* byteInfo = ByteInfo;
  const uint16_t* dbl = DblMap.data();
  const int32_t* trans = Fwd.Trans.data();
  const size_t width = static_cast<size_t>(Width);
  const int clsInvalid = ClsInvalid, clsEot = ClsEot;
  bool any = false;
  for (;;) {
    int cls;
    size_t len = 1;
    if (p >= size) {
      cls = clsEot;
    } else {
      uint16_t bi = byteInfo[t[p]];
      if (bi & 0x8000) {
        if (p + 1 < size) {
          cls = dbl[(bi & 0xFF) * 256 + t[p + 1]];
          len = 2;
        } else {
          cls = clsInvalid;
        }
      } else {
        cls = bi;
      }
    }
    int32_t v = trans[static_cast<size_t>(st) * width + static_cast<size_t>(cls)];
    if (v < 0) {
      v = FwdCompute(st, cls);
      trans = Fwd.Trans.data();
    }
    if (v & 1) {
      last = p;
      any = true;
      if (firstOnly) {
        WalkEnd = p;
        return true;
      }
    }
    st = v >> 1;
    if (st == 0 || cls == clsEot) {
      WalkEnd = p;
      return any;
    }
    p += len;
  }
}

bool TRE_DFA::Contains(const char* text, size_t size, bool lfLineEnd) {
  size_t last;
  if (RegExpIsSimple && !SimpleRegExp.empty()) return FindSimple(text, size, 0, last, last);
  return Walk(reinterpret_cast<const uint8_t*>(text), size, 0, FwdStart(true, lfLineEnd), true, last);
}

bool TRE_DFA::MatchAt(const char* text, size_t size, size_t pos, bool lineHead, bool lfLineEnd) {
  size_t last;
  if (RegExpIsSimple && !SimpleRegExp.empty())
    return size - pos >= SimpleRegExp.size() && std::memcmp(text + pos, SimpleRegExp.data(), SimpleRegExp.size()) == 0;
  return Walk(reinterpret_cast<const uint8_t*>(text), size, pos, FwdAnchoredStart(lineHead, lfLineEnd), true, last);
}

bool TRE_DFA::Search(const char* text, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd, size_t& start,
                     size_t& end, bool ignoreAnchors) {
  if (RegExpIsSimple && !SimpleRegExp.empty()) {
    bool found = FindSimple(text, size, from, start, end);
    WalkEnd = found ? end : size;
    return found;
  }
  const uint8_t* t = reinterpret_cast<const uint8_t*>(text);
  size_t last = SIZE_MAX;
  if (!Walk(t, size, from, FwdStart(fromIsLineHead, lfLineEnd, ignoreAnchors), false, last)) return false;
  if (last == SIZE_MAX) return false;

  // Character boundaries between `from` and the end, for the backward walk.
  size_t span = last - from;
  Boundary.assign(span / 64 + 1, 0);
  for (size_t q = from; q <= last;) {
    Boundary[(q - from) >> 6] |= uint64_t{1} << ((q - from) & 63);
    q += CharLenAt(t, q, size);
  }
  auto isBoundary = [&](size_t q) { return (Boundary[(q - from) >> 6] >> ((q - from) & 63)) & 1; };

  bool lineEnd = !ignoreAnchors && (last >= size || t[last] == (lfLineEnd ? 10 : 13));
  int rs = RevStart(lineEnd);
  size_t q = last, best = last;
  for (;;) {
    uint8_t info = Rev.Info[rs];
    bool head = !ignoreAnchors && (q == from ? fromIsLineHead : (isBoundary(q - 1) && t[q - 1] == 10));
    if ((info & 1) || ((info & 2) && head)) best = q;
    if (q == from) break;
    size_t prev = isBoundary(q - 1) ? q - 1 : q - 2;
    int cls;
    if (q - prev == 2) {
      cls = DblMap[(ByteInfo[t[prev]] & 0xFF) * 256 + t[prev + 1]];
    } else {
      uint16_t bi = ByteInfo[t[prev]];
      cls = (bi & 0x8000) ? ClsInvalid : bi;
    }
    int32_t v = Rev.Trans[static_cast<size_t>(rs) * Width + cls];
    if (v < 0) v = RevCompute(rs, cls);
    rs = v;
    if (rs == 0) break;
    q = prev;
  }
  start = best;
  end = last;
  return true;
}

namespace {

// Whether the character that ends at boundary `at` is an LF, scanning from
// the boundary `from` <= at.
bool PrevCharIsLF(const uint8_t* t, size_t size, size_t from, size_t at) {
  size_t q = from, prev = from;
  while (q < at) {
    prev = q;
    q += CharLenAt(t, q, size);
  }
  return at > from && at - prev == 1 && t[prev] == 10;
}

}  // namespace

void TRE_DFA::MatchAll(const char* text, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd,
                       const std::function<size_t(size_t, size_t)>& onMatch, bool everyStartIsLineHead) {
  const uint8_t* t = reinterpret_cast<const uint8_t*>(text);
  size_t pos = from, work = 0;
  const size_t budget = WorkFactor * (size - from + 64);
  bool head = fromIsLineHead;
  while (pos <= size) {
    if ((work > budget || WorkFactor == 0) && size - pos < (size_t{1} << 31)) {
      // The table covers the rest unless a caller moves the search off its
      // character grid; then one search from there re-reads the characters.
      size_t off = MatchAllByTable(t, size, pos, head, lfLineEnd, onMatch, everyStartIsLineHead);
      if (off == SIZE_MAX) return;
      head = everyStartIsLineHead;
      pos = off;
      work = 0;
    }
    size_t s, e;
    bool found = Search(text, size, pos, head, lfLineEnd, s, e);
    work += (WalkEnd > pos ? WalkEnd - pos : 0) + 2 * (e > pos && found ? e - pos : 0) + 1;
    if (!found) return;
    size_t next = onMatch(s, e);
    if (next == SIZE_MAX || next > size || next < e || next <= pos) return;
    head = everyStartIsLineHead || PrevCharIsLF(t, size, s, next);
    pos = next;
  }
}

// The furthest end of a match from each position, found in one backward
// pass. For a position q, every NFA state has a value: the furthest position
// at which a thread standing there at q can accept (or none). Moving from
// q + 1 character back to q, a state's new value is one of the values of the
// states its transitions on the character at q reach, or q itself when it
// accepts at q. So the order of the values, as a ranking of the live states,
// is a finite thing: the pass is a DFA over rankings, lazily built and
// budgeted like the forward one, and a transition carries, for each new
// rank, which old rank its value comes from. Only the values themselves, one
// per rank, are kept as numbers. The cost per character is the number of
// distinct values, not the number of states.
int TRE_DFA::RankIntern(std::string&& key) {
  auto it = Rank.Ids.find(key);
  if (it != Rank.Ids.end()) return it->second;
  int32_t flags;
  std::vector<int> body = UnpackKey(key, flags);
  int id = static_cast<int>(Rank.Keys.size());
  int groups = 0, entry = -1, headRank = -1;
  for (size_t i = 0; i < body.size(); ++i) {
    int x = body[i];
    if (x == kSep) {
      ++groups;
      continue;
    }
    if (x == 0) entry = groups;
    if (IsLHTarget[x] && headRank < 0) headRank = groups;
  }
  if (!body.empty()) ++groups;
  if (entry >= 0 && (headRank < 0 || entry < headRank)) headRank = entry;
  Rank.Bytes += key.size() * 2 + static_cast<size_t>(Width) * 8 + 96;
  auto ins = Rank.Ids.emplace(std::move(key), id).first;
  Rank.Keys.push_back(&ins->first);
  Rank.Trans.resize(Rank.Trans.size() + Width, -1);
  Rank.MapAt.resize(Rank.MapAt.size() + Width, -1);
  Rank.Groups.push_back(groups);
  Rank.EntryRank.push_back(entry);
  Rank.HeadRank.push_back(headRank);
  return id;
}

void TRE_DFA::RankReset() {
  Rank.Ids.clear();
  Rank.Keys.clear();
  Rank.Trans.clear();
  Rank.MapAt.clear();
  Rank.Maps.clear();
  Rank.Groups.clear();
  Rank.EntryRank.clear();
  Rank.HeadRank.clear();
  Rank.Bytes = 0;
  ++Resets;
}

// The state before q from the state at the next character; map receives,
// for each group of the result, its source group (-1: the value q).
int TRE_DFA::RankCompute(int id, int cls, bool lf, std::vector<int32_t>& map) {
  int32_t flags;
  std::vector<int> body = UnpackKey(*Rank.Keys[id], flags);
  if (++Gen == 0) {
    std::fill(Mark.begin(), Mark.end(), 0);
    Gen = 1;
  }
  const bool lineEnd = cls == ClsEot || cls == (lf ? ClsLF : ClsCR);
  const bool hasChar = cls > 0 && cls < ClsInvalid;
  const WChar r = hasChar ? ClassRepr[cls] : 0;
  std::vector<int> out, group;
  map.clear();
  // Whatever reaches a member of the group over empty transitions has its
  // value too, unless a better group has claimed it already.
  auto close = [&](int source) {
    for (size_t i = 0; i < group.size(); ++i)
      for (int z : RevEpsEdges[group[i]])
        if (Mark[z] != Gen) {
          Mark[z] = Gen;
          group.push_back(z);
        }
    if (group.empty()) return;
    std::sort(group.begin(), group.end());
    if (!out.empty()) out.push_back(kSep);
    out.insert(out.end(), group.begin(), group.end());
    map.push_back(source);
    group.clear();
  };
  int source = 0;
  for (size_t i = 0; i <= body.size(); ++i) {
    if (i == body.size() || body[i] == kSep) {
      close(source++);
      continue;
    }
    if (!hasChar) continue;
    for (const Edge& e : RevCharEdges[body[i]])
      if (e.Lo <= r && r <= e.Hi && Mark[e.To] != Gen) {
        Mark[e.To] = Gen;
        group.push_back(e.To);
      }
  }
  if (Mark[1] != Gen) {
    Mark[1] = Gen;
    group.push_back(1);
  }
  if (lineEnd)
    for (int x : LTStates)
      if (Mark[x] != Gen) {
        Mark[x] = Gen;
        group.push_back(x);
      }
  close(-1);
  bool reset = Rank.Bytes > Budget;
  if (reset) RankReset();
  int next = RankIntern(PackKey(lf ? 1 : 0, out));
  if (!reset) {
    size_t slot = static_cast<size_t>(id) * Width + cls;
    Rank.Trans[slot] = next;
    Rank.MapAt[slot] = static_cast<int32_t>(Rank.Maps.size());
    Rank.Maps.insert(Rank.Maps.end(), map.begin(), map.end());
    Rank.Bytes += map.size() * 4;
  }
  return next;
}

size_t TRE_DFA::MatchAllByTable(const uint8_t* t, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd,
                                const std::function<size_t(size_t, size_t)>& onMatch, bool everyStartIsLineHead) {
  const size_t span = size - from;
  std::vector<uint64_t> boundary(span / 64 + 1, 0);
  auto mark = [&](size_t q) { boundary[(q - from) >> 6] |= uint64_t{1} << ((q - from) & 63); };
  auto isBoundary = [&](size_t q) { return (boundary[(q - from) >> 6] >> ((q - from) & 63)) & 1; };
  for (size_t q = from; q < size;) {
    mark(q);
    q += CharLenAt(t, q, size);
  }
  mark(size);
  // Longest end of a match starting here, as an offset from `from`; with
  // heads forced at search starts, also the value as a line head.
  const bool forcedHeads = everyStartIsLineHead && HasLHead;
  std::vector<int32_t> best(span + 1, -1), bestHead(forcedHeads ? span + 1 : 0, -1);
  if (Rank.Bytes > Budget) RankReset();
  int st = RankIntern(PackKey(lfLineEnd ? 1 : 0, {}));
  std::vector<int64_t> values, nextValues;
  std::vector<int32_t> scratch;
  size_t nextPos = size;
  for (size_t q = size + 1; q-- > from;) {
    if (!isBoundary(q)) continue;
    int cls;
    if (q == size) {
      cls = ClsEot;
    } else if (nextPos - q == 2) {
      cls = DblMap[(ByteInfo[t[q]] & 0xFF) * 256 + t[q + 1]];
    } else {
      uint16_t bi = ByteInfo[t[q]];
      cls = (bi & 0x8000) ? ClsInvalid : bi;
    }
    size_t slot = static_cast<size_t>(st) * Width + static_cast<size_t>(cls);
    int next = Rank.Trans[slot];
    const int32_t* map;
    if (next >= 0) {
      map = Rank.Maps.data() + Rank.MapAt[slot];
    } else {
      next = RankCompute(st, cls, lfLineEnd, scratch);
      map = scratch.data();
    }
    int groups = Rank.Groups[next];
    nextValues.resize(static_cast<size_t>(groups));
    for (int k = 0; k < groups; ++k) nextValues[k] = map[k] < 0 ? static_cast<int64_t>(q) : values[map[k]];
    values.swap(nextValues);
    st = next;
    bool head = q == from ? fromIsLineHead : (isBoundary(q - 1) && t[q - 1] == 10);
    int rank = head ? Rank.HeadRank[st] : Rank.EntryRank[st];
    best[q - from] = rank < 0 ? -1 : static_cast<int32_t>(values[rank] - static_cast<int64_t>(from));
    if (forcedHeads) {
      int h = Rank.HeadRank[st];
      bestHead[q - from] = h < 0 ? -1 : static_cast<int32_t>(values[h] - static_cast<int64_t>(from));
    }
    nextPos = q;
  }
  size_t start = from;
  bool startHead = fromIsLineHead;
  for (size_t p = from; p <= size;) {
    int32_t b = (forcedHeads && p == start && startHead) ? bestHead[p - from] : best[p - from];
    if (b < 0) {
      p += p < size ? CharLenAt(t, p, size) : 1;
      continue;
    }
    size_t e = from + static_cast<size_t>(b);
    size_t n = onMatch(p, e);
    if (n == SIZE_MAX || n > size || n < e || n <= start) return SIZE_MAX;
    if (!isBoundary(n)) return n;
    startHead = everyStartIsLineHead || (isBoundary(n - 1) && t[n - 1] == 10);
    start = p = n;
  }
  return SIZE_MAX;
}

}  // namespace vel
