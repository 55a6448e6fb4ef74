// COpSysInfo through the real GetVersionEx. The same executable runs once per
// Windows version that Wine is told to report; TARNBY_EXPECT_VERSION says which.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/system/os_info.h"
#include "win32/null_host.h"

namespace tarnby {
namespace {

struct Expected {
  const char* version;
  std::uint32_t platformId;
  std::uint32_t minMajor;  // a program without a compatibility manifest sees 6.2 on Windows 10
  bool isWin95;
  bool isWin98;
};

constexpr Expected kExpectations[] = {
    {"win95", w::kPlatformWin32Windows, 4, true, false},
    {"win98", w::kPlatformWin32Windows, 4, false, true},
    {"winxp", w::kPlatformWin32Nt, 5, false, false},
    {"win10", w::kPlatformWin32Nt, 6, false, false},
};

const Expected* ExpectedHere() {
  const char* name = std::getenv("TARNBY_EXPECT_VERSION");
  if (name == nullptr) return nullptr;
  for (const Expected& e : kExpectations)
    if (name == std::string(e.version)) return &e;
  return nullptr;
}

class VersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    expected = ExpectedHere();
    if (expected == nullptr) GTEST_SKIP() << "run through ctest, which sets TARNBY_EXPECT_VERSION";
  }
  const Expected* expected = nullptr;
  test::NullHost host;
  Win32Platform platform{host};
};

TEST_F(VersionTest, ReportsTheVersionWineWasToldToReport) {
  OsVersionInfo info;
  ASSERT_TRUE(platform.GetVersionEx(info));
  EXPECT_EQ(expected->platformId, info.dwPlatformId);
  EXPECT_GE(info.dwMajorVersion, expected->minMajor);
  if (expected->platformId == w::kPlatformWin32Windows) {
    EXPECT_EQ(4u, info.dwMajorVersion);
  }
}

TEST_F(VersionTest, COpSysInfoTellsWindows95And98Apart) {
  const COpSysInfo os(platform);
  EXPECT_EQ(expected->isWin95, os.IsWin95());
  EXPECT_EQ(expected->isWin98, os.IsWin98());
}

TEST_F(VersionTest, OnlyTheAnsiRecordSizeIsAccepted) {
  for (std::uint32_t size : {0u, 156u, 276u, 284u}) {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = size;
    EXPECT_FALSE(platform.GetVersionEx(info)) << size;
    EXPECT_EQ(0u, info.dwPlatformId) << size;
  }
}

}  // namespace
}  // namespace tarnby
