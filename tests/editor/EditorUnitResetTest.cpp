// The editor unit's start-up runs again after the headless platform is reset,
// so a test never finds cursor indices that the reset emptied.
#include <gtest/gtest.h>

#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"
#include "platform/headless/Headless.h"

namespace vel {
namespace {

TEST(EditorUnit, StartUpRunsAgainAfterThePlatformReset) {
  InitEditorUnit();
  ASSERT_FALSE(CursorIsDefault(crRightArrow));
  headless::Reset();
  EXPECT_EQ(crRightArrow, crDefault);
  EXPECT_EQ(CF_BOXTEXT, 0u);
  InitEditorUnit();
  EXPECT_GT(crRightArrow, 0);
  EXPECT_FALSE(CursorIsDefault(crRightArrow));
  EXPECT_FALSE(CursorIsDefault(crDragSelCopy));
  EXPECT_EQ(CF_BOXTEXT, Clipboard().RegisterFormat("TEditor Box Type"));
}

}  // namespace
}  // namespace vel
