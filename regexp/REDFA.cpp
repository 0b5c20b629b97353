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
constexpr int kFlagSeeding = 1, kFlagLineHead = 2, kFlagLF = 4, kFlagSeedOnce = 8;

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
        case nfak_LTail: HasLTEdge[s] = 1; break;
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

int TRE_DFA::FwdStart(bool lineHead, bool lf) {
  int idx = (lineHead ? 1 : 0) | (lf ? 2 : 0);
  if (FwdStarts[idx] < 0) {
    if (Fwd.Bytes > Budget) ResetCache(Fwd);
    FwdStarts[idx] = Intern(Fwd, PackKey(kFlagSeeding | (lineHead ? kFlagLineHead : 0) | (lf ? kFlagLF : 0), {}), 0);
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
  bool atLineEnd = cls == ClsEot || cls == (lf ? ClsLF : ClsCR);
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
      int32_t nf = (seeding ? kFlagSeeding : 0) | (cls == ClsLF ? kFlagLineHead : 0) | (lf ? kFlagLF : 0);
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
                     size_t& end) {
  if (RegExpIsSimple && !SimpleRegExp.empty()) {
    bool found = FindSimple(text, size, from, start, end);
    WalkEnd = found ? end : size;
    return found;
  }
  const uint8_t* t = reinterpret_cast<const uint8_t*>(text);
  size_t last = SIZE_MAX;
  if (!Walk(t, size, from, FwdStart(fromIsLineHead, lfLineEnd), false, last)) return false;
  if (last == SIZE_MAX) return false;

  // Character boundaries between `from` and the end, for the backward walk.
  size_t span = last - from;
  Boundary.assign(span / 64 + 1, 0);
  for (size_t q = from; q <= last;) {
    Boundary[(q - from) >> 6] |= uint64_t{1} << ((q - from) & 63);
    q += CharLenAt(t, q, size);
  }
  auto isBoundary = [&](size_t q) { return (Boundary[(q - from) >> 6] >> ((q - from) & 63)) & 1; };

  bool lineEnd = last >= size || t[last] == (lfLineEnd ? 10 : 13);
  int rs = RevStart(lineEnd);
  size_t q = last, best = last;
  for (;;) {
    uint8_t info = Rev.Info[rs];
    bool head = q == from ? fromIsLineHead : (isBoundary(q - 1) && t[q - 1] == 10);
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
                       const std::function<size_t(size_t, size_t)>& onMatch) {
  const uint8_t* t = reinterpret_cast<const uint8_t*>(text);
  size_t pos = from, work = 0;
  const size_t budget = WorkFactor * (size - from + 64);
  bool head = fromIsLineHead;
  while (pos <= size) {
    if ((work > budget || WorkFactor == 0) && size - pos < (size_t{1} << 31)) {
      MatchAllByTable(t, size, pos, head, lfLineEnd, onMatch);
      return;
    }
    size_t s, e;
    bool found = Search(text, size, pos, head, lfLineEnd, s, e);
    work += (WalkEnd > pos ? WalkEnd - pos : 0) + 2 * (e > pos && found ? e - pos : 0) + 1;
    if (!found) return;
    size_t next = onMatch(s, e);
    if (next == SIZE_MAX || next > size || next < e || (next == e && s == e)) return;
    head = PrevCharIsLF(t, size, s, next);
    pos = next;
  }
}

void TRE_DFA::BuildEpsOrder() {
  // Iterative Tarjan: components come out sinks first.
  EpsComp.assign(NumStates, -1);
  EpsCompMembers.clear();
  std::vector<int> index(NumStates, -1), low(NumStates, 0), stack;
  std::vector<uint8_t> onStack(NumStates, 0);
  std::vector<std::pair<int, size_t>> call;
  int counter = 0;
  for (int root = 0; root < NumStates; ++root) {
    if (index[root] >= 0) continue;
    call.emplace_back(root, 0);
    while (!call.empty()) {
      auto& [v, i] = call.back();
      if (i == 0) {
        index[v] = low[v] = counter++;
        stack.push_back(v);
        onStack[v] = 1;
      }
      if (i < EpsEdges[v].size()) {
        int w = EpsEdges[v][i++];
        if (index[w] < 0) {
          call.emplace_back(w, 0);
        } else if (onStack[w]) {
          low[v] = std::min(low[v], index[w]);
        }
        continue;
      }
      if (low[v] == index[v]) {
        std::vector<int> members;
        int w;
        do {
          w = stack.back();
          stack.pop_back();
          onStack[w] = 0;
          EpsComp[w] = static_cast<int>(EpsCompMembers.size());
          members.push_back(w);
        } while (w != v);
        EpsCompMembers.push_back(std::move(members));
      }
      int done = v;
      call.pop_back();
      if (!call.empty()) low[call.back().first] = std::min(low[call.back().first], low[done]);
    }
  }
}

// One backward pass computes, for every state and position, the furthest
// position at which a thread there can still accept; the longest end of a
// match starting at p is then read off the entry state's value at p.
void TRE_DFA::MatchAllByTable(const uint8_t* t, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd,
                              const std::function<size_t(size_t, size_t)>& onMatch) {
  if (EpsComp.empty()) BuildEpsOrder();
  const size_t span = size - from;
  std::vector<uint64_t> boundary(span / 64 + 1, 0);
  auto mark = [&](size_t q) { boundary[(q - from) >> 6] |= uint64_t{1} << ((q - from) & 63); };
  auto isBoundary = [&](size_t q) { return (boundary[(q - from) >> 6] >> ((q - from) & 63)) & 1; };
  for (size_t q = from; q < size;) {
    mark(q);
    q += CharLenAt(t, q, size);
  }
  mark(size);
  const int64_t none = -1;
  // Longest end of a match starting here, as an offset from `from`.
  std::vector<int32_t> best(span + 1, -1);
  std::vector<int64_t> cur(NumStates), next(NumStates, none), comp(EpsCompMembers.size());
  size_t nextPos = size;
  for (size_t q = size + 1; q-- > from;) {
    if (!isBoundary(q)) continue;
    bool lineEnd = q == size || t[q] == (lfLineEnd ? 10 : 13);
    int code = -1;
    if (q < size) {
      if (nextPos - q == 2) code = t[q] << 8 | t[q + 1];
      else if (!sjis::IsLeadByte(t[q])) code = t[q];
    }
    for (int x = 0; x < NumStates; ++x) {
      int64_t v = none;
      if (x == 1 || (lineEnd && HasLTEdge[x])) v = static_cast<int64_t>(q);
      if (code >= 0)
        for (const Edge& e : CharEdges[x])
          if (e.Lo <= code && code <= e.Hi && next[e.To] > v) v = next[e.To];
      cur[x] = v;
    }
    for (size_t c = 0; c < EpsCompMembers.size(); ++c) {
      int64_t v = none;
      for (int x : EpsCompMembers[c]) {
        v = std::max(v, cur[x]);
        for (int y : EpsEdges[x])
          if (EpsComp[y] != static_cast<int>(c)) v = std::max(v, comp[EpsComp[y]]);
      }
      comp[c] = v;
    }
    for (int x = 0; x < NumStates; ++x) cur[x] = comp[EpsComp[x]];
    bool head = q == from ? fromIsLineHead : (isBoundary(q - 1) && t[q - 1] == 10);
    int64_t b = cur[0];
    if (head)
      for (int y : LHTargets) b = std::max(b, cur[y]);
    best[q - from] = b < 0 ? -1 : static_cast<int32_t>(static_cast<size_t>(b) - from);
    next.swap(cur);
    nextPos = q;
  }
  for (size_t p = from; p <= size;) {
    if (!isBoundary(p) || best[p - from] < 0) {
      ++p;
      continue;
    }
    size_t e = from + static_cast<size_t>(best[p - from]);
    size_t n = onMatch(p, e);
    if (n == SIZE_MAX || n > size || n < e || (n == e && p == e)) return;
    p = n;
  }
}

}  // namespace vel
