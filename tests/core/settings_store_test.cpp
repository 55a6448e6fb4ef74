#include <gtest/gtest.h>

#include "core/fake_windows.h"
#include "core/system/settings_store.h"

namespace tarnby {
namespace {

constexpr char kKey[] = "Software\\Tarnby\\Registry\\settings";

TEST(ReadRegString, ReadsOnlyStringValuesUpToTheirFirstNul) {
  struct Case {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    const char* expected;
  } cases[] = {
      {"with NUL", w::kRegSz, {'t', 'r', 'u', 'e', 0}, "true"},
      {"without NUL", w::kRegSz, {'t', 'r', 'u', 'e'}, "true"},
      {"embedded NUL", w::kRegSz, {'a', 'b', 0, 'c', 'd', 0}, "ab"},
      {"empty with NUL", w::kRegSz, {0}, ""},
      {"empty without NUL", w::kRegSz, {}, ""},
      {"expandable", w::kRegExpandSz, {'t', 'r', 'u', 'e', 0}, ""},
      {"number", w::kRegDword, {1, 0, 0, 0}, ""},
      {"binary", w::kRegBinary, {'t', 'r', 'u', 'e'}, ""},
  };
  for (const Case& c : cases) {
    FakeWindows win;
    win.SetRegValue(w::kHkeyCurrentUser, kKey, "shut", c.type, c.data);
    EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, kKey, "shut"), c.expected) << c.name;
    EXPECT_EQ(win.OpenKeyCount(), 0) << c.name << ": the key must be closed";
  }
}

TEST(ReadRegString, MissingKeysAndValuesReadEmptyAndLeakNothing) {
  FakeWindows win;
  EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, kKey, "shut"), "");
  win.SetRegString(w::kHkeyCurrentUser, kKey, "log", "true");
  EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, kKey, "shut"), "");
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST(ReadRegString, NamesAreCaseInsensitive) {
  FakeWindows win;
  WriteRegString(win, w::kHkeyCurrentUser, "Software\\Tarnby\\Registry\\Run", "strRun", "C:\\a.exe");
  EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, "Software\\Tarnby\\Registry\\run", "Strrun"), "C:\\a.exe");
}

TEST(ReadRegString, LongValuesReadWhole) {
  FakeWindows win;
  const std::string path(5000, 'x');
  win.SetRegString(w::kHkeyCurrentUser, kKey, "p", path, false);
  EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, kKey, "p"), path);
}

TEST(WriteRegString, CreatesTheKeyAndStoresANulTerminatedString) {
  FakeWindows win;
  WriteRegString(win, w::kHkeyCurrentUser, kKey, "shut", "true");
  const auto value = win.GetRegValue(w::kHkeyCurrentUser, kKey, "shut");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, w::kRegSz);
  EXPECT_EQ(value->data, (std::vector<std::uint8_t>{'t', 'r', 'u', 'e', 0}));
  EXPECT_TRUE(win.KeyExists(w::kHkeyCurrentUser, "Software\\Tarnby"));
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST(WriteRegString, TheEmptyStringClearsButKeepsTheValue) {
  FakeWindows win;
  WriteRegString(win, w::kHkeyCurrentUser, kKey, "shut", "true");
  WriteRegString(win, w::kHkeyCurrentUser, kKey, "shut", "");
  const auto value = win.GetRegValue(w::kHkeyCurrentUser, kKey, "shut");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(ReadRegString(win, w::kHkeyCurrentUser, kKey, "shut"), "");
}

TEST(WriteRegString, ADeniedWriteIsSilentAndChangesNothing) {
  FakeWindows win;
  win.SetRegString(w::kHkeyLocalMachine, "Software\\microsoft\\windows\\currentversion\\run", "Tarnby", "old");
  win.localMachineWritable = false;
  WriteRegString(win, w::kHkeyLocalMachine, "Software\\microsoft\\windows\\currentversion\\run", "Tarnby", "new");
  EXPECT_EQ(ReadRegString(win, w::kHkeyLocalMachine, "Software\\microsoft\\windows\\currentversion\\run", "Tarnby"),
            "old");
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST(IsTrue, OnlyTheExactLowerCaseWordCounts) {
  EXPECT_TRUE(IsTrue("true"));
  for (const char* off : {"", "True", "TRUE", "true ", " true", "1", "yes"}) EXPECT_FALSE(IsTrue(off)) << off;
}

}  // namespace
}  // namespace tarnby
