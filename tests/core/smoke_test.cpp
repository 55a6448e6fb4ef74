#include "core/app_fixture.h"

namespace tarnby {
TEST_F(AppTest, StartsHiddenWithTheScreenSaverIcon) {
  Start();
  EXPECT_TRUE(f().Loaded());
  EXPECT_FALSE(f().Visible());
  EXPECT_EQ(win.trayIcons.size(), 1u);
}
}  // namespace tarnby
