#include "shell/HandOff.h"

#include "tests/shell/RecordingPages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vel {
namespace {

TEST(HandOffRecords, OneRecordPerParameterThenTerminatorWithCountPlusOne) {
  auto r = MakeHandOffRecords({"a.txt", "日本語.txt"});
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].dwData, 1u);
  EXPECT_EQ(r[0].Text, "a.txt");
  EXPECT_EQ(r[1].dwData, 2u);
  EXPECT_EQ(r[1].Text.size(), 10u);  // six bytes of Shift-JIS plus ".txt"
  EXPECT_EQ(r[2].dwData, 3u);
  EXPECT_EQ(r[2].Text, ":::END_PARAM:::");
}

TEST(HandOffRecords, NoParametersSendNothing) { EXPECT_TRUE(MakeHandOffRecords({}).empty()); }

TEST(HandOffRecords, BufferHoldsTextAndZeroAndIsNeverShorterThanTheRecordBuffer) {
  auto buf = HandOffBuffer({1, "abc"});
  EXPECT_EQ(buf.size(), HandOffBufferSize);
  EXPECT_EQ(std::string(buf.data()), "abc");
}

TEST(HandOffRecords, ParameterLongerThanTheBufferIsSentWholeNotCut) {
  std::string longName = "C:\\" + std::string(5000, 'x') + ".txt";
  auto recs = MakeHandOffRecords({longName});
  auto buf = HandOffBuffer(recs[0]);
  ASSERT_EQ(buf.size(), longName.size() + 1);
  EXPECT_EQ(std::string(buf.data(), longName.size()), longName);
  EXPECT_EQ(buf.back(), '\0');
  auto decoded = DecodeHandOffRecord(buf.data(), recs[0].Text.size());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, longName);
}

TEST(HandOffDecode, TakesExactlyCbDataBytes) {
  // Trail bytes 0x5C ("表") must survive; no terminating zero is needed.
  const char text[] = {'\x95', '\x5C', '.', 't', 'x', 't', 'X', 'Y'};
  auto d = DecodeHandOffRecord(text, 6);
  ASSERT_TRUE(d);
  EXPECT_EQ(*d, "表.txt");
}

TEST(HandOffDecode, UnusableRecordsAreDropped) {
  const char withZero[] = "ab\0cd";
  std::string huge(HandOffMaxBytes + 1, 'a');
  struct Case {
    const char* Name;
    const void* Data;
    size_t Size;
  } cases[] = {
      {"null data", nullptr, 10},
      {"no bytes", "x", 0},
      {"zero inside the counted bytes", withZero, 5},
      {"count larger than any path", huge.data(), huge.size()},
  };
  for (const auto& c : cases) EXPECT_FALSE(DecodeHandOffRecord(c.Data, c.Size)) << c.Name;
}

TEST(HandOffReceiver, OpensEachNameAndShowsLastPageOnTerminator) {
  TRecordingPages pages;
  THandOffReceiver r(pages);
  r.SetReady();
  for (const auto& rec : MakeHandOffRecords({"a.txt", "b.txt"})) r.Receive(rec.Text);
  EXPECT_EQ(pages.Calls, (std::vector<std::string>{"open:a.txt", "open:b.txt", "show"}));
}

TEST(HandOffReceiver, RecordsArrivingDuringStartUpAreHandledInOrderOnceReady) {
  TRecordingPages pages;
  THandOffReceiver r(pages);
  r.Receive("a.txt");
  r.Receive(HandOffTerminator);
  EXPECT_TRUE(pages.Calls.empty());
  EXPECT_EQ(r.PendingCount(), 2u);
  r.SetReady();
  EXPECT_EQ(pages.Calls, (std::vector<std::string>{"open:a.txt", "show"}));
  EXPECT_EQ(r.PendingCount(), 0u);
  r.SetReady();  // a second call must not replay anything
  EXPECT_EQ(pages.Calls.size(), 2u);
}

TEST(HandOffReceiver, RecordReceivedWhileDeliveringQueueIsNotLost) {
  // Opening a page can pump messages, so another record may arrive meanwhile.
  struct TReentrantPages final : IPageStoreLink {
    THandOffReceiver* R = nullptr;
    std::vector<std::string> Calls;
    void OpenPageFile(const std::string& f) override {
      Calls.push_back(f);
      if (f == "first") R->Receive("late");
    }
    void ShowLastPage() override { Calls.push_back("show"); }
  } pages;
  THandOffReceiver r(pages);
  pages.R = &r;
  r.Receive("first");
  r.Receive("second");
  r.SetReady();
  EXPECT_EQ(pages.Calls, (std::vector<std::string>{"first", "late", "second"}));
}

}  // namespace
}  // namespace vel
