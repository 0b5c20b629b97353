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
