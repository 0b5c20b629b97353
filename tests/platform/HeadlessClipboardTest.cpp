#include <gtest/gtest.h>

#include "platform/Clipboard.h"
#include "platform/headless/Headless.h"

namespace vel {
namespace {

TEST(HeadlessClipboard, TextAndRegisteredFormatTravelTogether) {
  headless::Reset();
  unsigned box = Clipboard().RegisterFormat("TEditor Box Type");
  EXPECT_EQ(Clipboard().RegisterFormat("TEditor Box Type"), box);
  ASSERT_TRUE(Clipboard().SetText("あい\r\nう", box));
  EXPECT_EQ(Clipboard().GetText().value_or(""), "あい\r\nう");
  EXPECT_TRUE(Clipboard().HasFormat(box));
  ASSERT_TRUE(Clipboard().SetText("plain"));
  EXPECT_FALSE(Clipboard().HasFormat(box));
}

TEST(HeadlessClipboard, BusyClipboardFailsInsteadOfPretending) {
  headless::Reset();
  headless::SetClipboardBusy(true);
  EXPECT_FALSE(Clipboard().SetText("x"));
  EXPECT_FALSE(Clipboard().GetText().has_value());
}

}  // namespace
}  // namespace vel

namespace vel {
namespace {

TEST(HeadlessClipboard, OwnTextKeepsEveryByteWhilePlainTextEndsAtTheFirstNul) {
  std::string text("a\0b\r\n\0表", 8);
  unsigned box = Clipboard().RegisterFormat("TEditor Box Type");
  ASSERT_TRUE(Clipboard().SetText(text, box));
  EXPECT_EQ(Clipboard().GetText().value_or(""), text);
  auto raw = headless::ClipboardContents();
  EXPECT_EQ(raw.at(1), "a") << "what other programs read";
  EXPECT_EQ(raw.at(Clipboard().RegisterFormat(kCountedTextFormat)), text);
  EXPECT_TRUE(Clipboard().HasFormat(box));
}

}  // namespace
}  // namespace vel
