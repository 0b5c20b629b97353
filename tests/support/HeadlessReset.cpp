// Linked into every native test program: each test starts from the headless
// platform's initial state, whatever the test before it left behind.
#include <gtest/gtest.h>

#include "platform/headless/Headless.h"

namespace {

class TResetHeadless : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { vel::headless::Reset(); }
};

const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TResetHeadless);
  return true;
}();

}  // namespace
