// The keep-awake request on the real platform and windows: a countdown asks
// the system to stay awake, and a pause gives that back.
#include "win32/win32_api.h"  // first: see there why

#include <gtest/gtest.h>

#include "core/app.h"
#include "win32/native_host_impl.h"
#include "win32/win32_platform.h"

namespace tarnby {
namespace {

// What this thread asked of the system last; a request without
// ES_CONTINUOUS leaves a lasting one as it is.
EXECUTION_STATE LastRequest() { return ::SetThreadExecutionState(0); }

TEST(KeepAwakeOnWine, ACountdownKeepsTheMachineAwakeUntilItPauses) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnby");
  NativeHostImpl host(::GetModuleHandleW(nullptr));
  Win32Platform platform(host);
  App app(platform);
  ASSERT_TRUE(app.Start({"/shutdown", "/in", "1h", "/hide"}));
  EXPECT_EQ(LastRequest(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS | ES_SYSTEM_REQUIRED));
  app.frmstart.cmdstop.Click();
  EXPECT_EQ(LastRequest(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
}

}  // namespace
}  // namespace tarnby
