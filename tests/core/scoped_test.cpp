// The guards that put state back when a handler leaves, and the owners of the
// platform's handles: each frees once, and never what it does not hold.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/fake_windows.h"
#include "core/system/platform_owned.h"
#include "core/system/scoped.h"

namespace tarnby {
namespace {

TEST(ReentryGuard, RefusesEntryFromInsideAndFreesTheFlagWhenTheHandlerThrows) {
  bool busy = false;
  int runs = 0;
  std::function<void(bool)> handler = [&](bool reenter) {
    const ReentryGuard guard(busy);
    if (!guard.Entered()) return;
    ++runs;
    if (reenter) handler(false);  // an event let in by a message box
    EXPECT_TRUE(busy) << "the refused inner call must leave the outer one marked busy";
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(handler(true), std::runtime_error);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(busy) << "a failed handler would block every later call";
  EXPECT_THROW(handler(false), std::runtime_error);
  EXPECT_EQ(runs, 2);
}

TEST(ScopedValue, NestedValuesComeBackInOrder) {
  int performing = -1;
  {
    const ScopedValue<int> outer(performing, 3);
    {
      const ScopedValue<int> inner(performing, 7);
      EXPECT_EQ(performing, 7);
    }
    EXPECT_EQ(performing, 3);
  }
  EXPECT_EQ(performing, -1);
}

TEST(PlatformOwned, FreesWhatItHoldsOnceAndNothingWhenEmpty) {
  FakeWindows win;
  { const PlatformIcon none(win, 0); }
  EXPECT_EQ(win.Count("DestroyIcon"), 0);
  { const PlatformIcon icon(win, 0x1C0); }
  EXPECT_EQ(win.Count("DestroyIcon"), 1);

  Handle key = 0;
  ASSERT_EQ(win.RegCreateKey(w::kHkeyCurrentUser, "Software\\Tarnby", &key), w::kErrorSuccess);
  {
    const PlatformKey owner(win, key);
    EXPECT_EQ(win.OpenKeyCount(), 1);
  }
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tarnby
