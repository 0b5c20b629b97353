// The places a painter resumes long rows at: found by column, kept a step
// apart, and dropped whenever what the row's tokens depend on changed.
#include <gtest/gtest.h>

#include <string>

#include "editor/EditorResumeCache.h"

namespace vel {
namespace {

using TPoint = TParseResumeCache::TPoint;
constexpr int kStep = TParseResumeCache::kStep;

TEST(ResumeCache, PlacesAreKeptAStepApartAndFoundAtOrBeforeAColumn) {
  TParseResumeCache cache;
  const std::string row(10 * kStep, 'a');
  TParseResumeCache::TEntry* e = cache.Entry(3, row, -1, 0, 7);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Before(5 * kStep), nullptr);
  for (int pos = 1; pos < 4 * kStep; pos += 5) e->Offer({pos, pos % 3 - 1});
  ASSERT_EQ(e->Points.size(), 3u);
  for (size_t i = 1; i < e->Points.size(); ++i) EXPECT_GE(e->Points[i].Pos - e->Points[i - 1].Pos, kStep);
  EXPECT_EQ(e->Before(e->Points[0].Pos - 1), nullptr);
  EXPECT_EQ(e->Before(e->Points[1].Pos), &e->Points[1]);
  EXPECT_EQ(e->Before(e->Points[2].Pos - 1), &e->Points[1]);
  EXPECT_EQ(e->Before(1 << 30), &e->Points[2]);
  // An earlier place offered again is not kept twice.
  e->Offer(e->Points[0]);
  EXPECT_EQ(e->Points.size(), 3u);
}

TEST(ResumeCache, AnyChangeOfTextStartStateOrViewDropsThePlaces) {
  TParseResumeCache cache;
  const std::string row(4 * kStep, 'a');
  std::string edited = row;
  edited[kStep * 3] = 'b';  // after every place: tokens before may still look ahead to it
  struct TCase {
    const char* What;
    std::string Text;
    int Bracket, Token;
    uint64_t View;
    bool Kept;
  } cases[] = {
      {"nothing", row, -1, 0, 1, true},
      {"a byte past the places", edited, -1, 0, 1, false},
      {"the pair state at the start", row, 2, 0, 1, false},
      {"the carried token", row, -1, 20, 1, false},
      {"the view", row, -1, 0, 2, false},
  };
  for (const TCase& c : cases) {
    TParseResumeCache::TEntry* e = cache.Entry(0, row, -1, 0, 1);
    e->Offer({kStep, -1});
    e = cache.Entry(0, c.Text, c.Bracket, c.Token, c.View);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(!e->Points.empty(), c.Kept) << c.What;
    cache.Clear();
  }
}

TEST(ResumeCache, ARowTooLongToKeepIsReadWholeAndNothingGrowsWithoutBound) {
  TParseResumeCache cache;
  const std::string huge((size_t{64} << 20) / 4 + 1, 'x');
  EXPECT_EQ(cache.Entry(0, huge, -1, 0, 1), nullptr);
  EXPECT_EQ(cache.Bytes(), 0u);
  const std::string row(4 * kStep, 'a');
  for (int r = 0; r < 2000; ++r) ASSERT_NE(cache.Entry(r, row, -1, 0, 1), nullptr);
  EXPECT_LE(cache.Bytes(), 512 * row.size());
}

}  // namespace
}  // namespace vel
