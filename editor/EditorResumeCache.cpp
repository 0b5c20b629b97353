#include "editor/EditorResumeCache.h"

#include <algorithm>

namespace vel {

const TParseResumeCache::TPoint* TParseResumeCache::TEntry::Before(int Col) const {
  auto it = std::upper_bound(Points.begin(), Points.end(), Col, [](int c, const TPoint& p) { return c < p.Pos; });
  return it == Points.begin() ? nullptr : &*(it - 1);
}

TParseResumeCache::TEntry* TParseResumeCache::Entry(int Row, const std::string& S, int Bracket, int Token,
                                                    uint64_t View) {
  auto found = FRows.find(Row);
  if (found != FRows.end()) {
    TEntry& e = found->second;
    if (e.Bracket == Bracket && e.Token == Token && e.View == View && e.Text == S) return &e;
    FBytes -= e.Text.size();
    FRows.erase(found);
  }
  if (S.size() > kMaxBytes / 4) return nullptr;
  if (FRows.size() >= kMaxRows || FBytes + S.size() > kMaxBytes) Clear();
  TEntry& e = FRows[Row];
  e.Text = S;
  e.Bracket = Bracket;
  e.Token = Token;
  e.View = View;
  FBytes += S.size();
  return &e;
}

void TParseResumeCache::Clear() {
  FRows.clear();
  FBytes = 0;
}

}  // namespace vel
