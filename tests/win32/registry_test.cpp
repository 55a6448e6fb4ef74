// The settings store against Wine's real registry, through the real platform:
// string data is UTF-16 there and UTF-8 in the core.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/system/settings_store.h"
#include "win32/null_host.h"
#include "win32/utf16.h"

namespace tarnby {
namespace {

constexpr wchar_t kTestRootW[] = L"Software\\TarnbyTest";
constexpr char kTestKey[] = "Software\\TarnbyTest\\Registry\\Run";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRootW); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRootW); }

  // Stores a value the way another program might, bypassing Tarnby.
  static void StoreRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\TarnbyTest\\Registry\\Run", &key));
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueExW(key, Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size));
    ::RegCloseKey(key);
  }
  static void StoreText(const char* name, DWORD type, std::wstring_view text) {
    StoreRaw(name, type, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  }

  // What the registry itself holds: type and the UTF-16 data, NULs included.
  struct Stored {
    DWORD type = REG_NONE;
    std::wstring data;
    bool present = false;
  };
  static Stored ReadRaw(const char* name) {
    Stored stored;
    HKEY key = nullptr;
    if (::RegOpenKeyW(HKEY_CURRENT_USER, L"Software\\TarnbyTest\\Registry\\Run", &key) != ERROR_SUCCESS)
      return stored;
    std::vector<BYTE> bytes(16384);
    DWORD size = static_cast<DWORD>(bytes.size());
    stored.present = ::RegQueryValueExW(key, Wide(name).c_str(), nullptr, &stored.type, bytes.data(), &size) ==
                     ERROR_SUCCESS;
    stored.data.assign(reinterpret_cast<const wchar_t*>(bytes.data()), size / sizeof(wchar_t));
    ::RegCloseKey(key);
    return stored;
  }

  std::string Read(const char* key, const char* name) { return ReadRegString(platform, w::kHkeyCurrentUser, key, name); }
  void Write(const char* name, const std::string& data) {
    WriteRegString(platform, w::kHkeyCurrentUser, kTestKey, name, data);
  }

  test::NullHost host;
  Win32Platform platform{host};
};

TEST_F(RegistryTest, WrittenStringsAreStoredAsUtf16WithTheirNulAndReadBack) {
  const std::string cases[] = {"true", "C:\\Program Files\\Tarnby\\tarnby.exe", "Zoë – 東京", "\xF0\x9F\x98\x80 emoji",
                               std::string(2000, 'x'), [] {
                                 std::string wide;
                                 for (int i = 0; i < 700; ++i) wide += "東";
                                 return wide;
                               }()};
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    Write("strRun", text);
    const Stored stored = ReadRaw("strRun");
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type);
    EXPECT_EQ(Wide(text) + L'\0', stored.data);
    EXPECT_EQ(text, Read(kTestKey, "strRun"));
  }
}

TEST_F(RegistryTest, ValuesStoredByOtherProgramsReadAsTheirTextUpToTheFirstNul) {
  struct Case {
    const char* what;
    DWORD type;
    std::wstring data;
    std::string expected;
  };
  const Case cases[] = {
      {"no terminating NUL", REG_SZ, L"abc", "abc"},
      {"no terminating NUL, not ASCII", REG_SZ, L"Zoë 東京", "Zoë 東京"},
      {"embedded NUL", REG_SZ, std::wstring(L"ab\0cd\0", 6), "ab"},
      {"leading NUL", REG_SZ, std::wstring(L"\0xyz", 4), ""},
      {"empty, no NUL at all", REG_SZ, L"", ""},
      {"expandable string", REG_EXPAND_SZ, std::wstring(L"%TEMP%\0", 7), ""},
      {"multi string", REG_MULTI_SZ, std::wstring(L"a\0b\0\0", 5), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StoreText("Strrun2", c.type, c.data);
    EXPECT_EQ(c.expected, Read(kTestKey, "Strrun2"));
  }
}

TEST_F(RegistryTest, NumbersAndBinaryReadAsEmpty) {
  const DWORD number = 0x65757274;  // "true" as bytes: still not a string
  StoreRaw("flag", REG_DWORD, &number, sizeof number);
  EXPECT_EQ("", Read(kTestKey, "flag"));
  StoreRaw("flag", REG_BINARY, "true", 5);
  EXPECT_EQ("", Read(kTestKey, "flag"));
}

TEST_F(RegistryTest, MissingKeyOrValueReadsAsEmpty) {
  EXPECT_EQ("", Read("Software\\TarnbyTest\\Nothing\\Here", "shut"));
  Write("present", "yes");
  EXPECT_EQ("", Read(kTestKey, "absent"));
}

TEST_F(RegistryTest, WritingTheEmptyStringLeavesAnEmptyValue) {
  Write("strscreen", "C:\\WINDOWS\\flying.scr");
  Write("strscreen", "");
  const Stored stored = ReadRaw("strscreen");
  ASSERT_TRUE(stored.present);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type);
  EXPECT_EQ(std::wstring(1, L'\0'), stored.data);
  EXPECT_EQ("", Read(kTestKey, "strscreen"));
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreLetterCase) {
  Write("strRun", "C:\\Tools\\one.exe");
  EXPECT_EQ("C:\\Tools\\one.exe", Read("software\\TARNBYTEST\\registry\\run", "Strrun"));
}

TEST_F(RegistryTest, WritesCreateEveryMissingKeyOfThePath) {
  WriteRegString(platform, w::kHkeyCurrentUser, "Software\\TarnbyTest\\a\\b\\c", "v", "deep");
  EXPECT_EQ("deep", Read("Software\\TarnbyTest\\a\\b\\c", "v"));
}

// The raw query keeps the A-call's sizing rules in UTF-8 bytes.
TEST_F(RegistryTest, QueriesReportUtf8SizesAndAskForMoreWhenTheBufferIsSmall) {
  StoreText("name", REG_SZ, std::wstring(L"Zoë\0", 4));  // 3 characters, 4 UTF-8 bytes, then the NUL
  Handle key = 0;
  ASSERT_EQ(w::kErrorSuccess, platform.RegOpenKey(w::kHkeyCurrentUser, kTestKey, &key));
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(w::kErrorSuccess, platform.RegQueryValueEx(key, "name", &type, nullptr, &size));
  EXPECT_EQ(w::kRegSz, type);
  EXPECT_EQ(5u, size);

  std::uint8_t small[4] = {};
  size = sizeof small;
  EXPECT_EQ(w::kErrorMoreData, platform.RegQueryValueEx(key, "name", &type, small, &size));
  EXPECT_EQ(5u, size);

  std::uint8_t exact[5] = {};
  size = sizeof exact;
  ASSERT_EQ(w::kErrorSuccess, platform.RegQueryValueEx(key, "name", &type, exact, &size));
  EXPECT_EQ(0, std::memcmp(exact, "Zo\xC3\xAB\0", 5));
  EXPECT_EQ(5u, size);

  EXPECT_EQ(w::kErrorFileNotFound, platform.RegQueryValueEx(key, "missing", &type, nullptr, &size));
  EXPECT_EQ(w::kErrorSuccess, platform.RegCloseKey(key));
}

TEST_F(RegistryTest, NumbersAndBinaryPassThroughAsRawBytes) {
  Handle key = 0;
  ASSERT_EQ(w::kErrorSuccess, platform.RegCreateKey(w::kHkeyCurrentUser, kTestKey, &key));
  const std::uint8_t dword[4] = {0x78, 0x56, 0x34, 0x12};
  const std::uint8_t binary[6] = {0xFF, 0x00, 0xC3, 0x00, 0x00, 0x01};  // not text, not even UTF-8
  ASSERT_EQ(w::kErrorSuccess, platform.RegSetValueEx(key, "dword", w::kRegDword, dword, sizeof dword));
  ASSERT_EQ(w::kErrorSuccess, platform.RegSetValueEx(key, "binary", w::kRegBinary, binary, sizeof binary));

  const Stored stored = ReadRaw("dword");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type);
  std::uint32_t type = 0, size = 8;
  std::uint8_t out[8] = {};
  ASSERT_EQ(w::kErrorSuccess, platform.RegQueryValueEx(key, "dword", &type, out, &size));
  EXPECT_EQ(w::kRegDword, type);
  ASSERT_EQ(4u, size);
  EXPECT_EQ(0, std::memcmp(out, dword, 4));

  size = sizeof out;
  ASSERT_EQ(w::kErrorSuccess, platform.RegQueryValueEx(key, "binary", &type, out, &size));
  EXPECT_EQ(w::kRegBinary, type);
  ASSERT_EQ(sizeof binary, size);
  EXPECT_EQ(0, std::memcmp(out, binary, sizeof binary));
  platform.RegCloseKey(key);
}

TEST_F(RegistryTest, MachineHiveIsReachableByItsCode) {
  // Every Windows has this key; its value may be anything, but the open must work.
  Handle key = 0;
  ASSERT_EQ(w::kErrorSuccess,
            platform.RegOpenKeyEx(w::kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                                  w::kKeyRead, &key));
  EXPECT_NE(0u, key);
  platform.RegCloseKey(key);
}

}  // namespace
}  // namespace tarnby
