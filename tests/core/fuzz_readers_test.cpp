// Fuzzing the readers of stored values and typed numbers with a fixed seed:
// registry values of every type and length, the boxes' number conversion and
// range checks with "&Start", the hours window's limit, stored program paths
// and alarm sound files. Each input must be read safely (the sanitizer build
// runs this too) and give the result its rule promises.
//
// TARNBY_FUZZ_INPUTS and TARNBY_FUZZ_SEED change the run (see the README).
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <random>

#include "core/countdown_fixture.h"
#include "core/countdown/wave_header.h"
#include "core/system/folders.h"
#include "core/system/settings_store.h"
#include "core/wave_bytes.h"

namespace tarnby {
namespace {

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

class Inputs {
 public:
  explicit Inputs(std::uint64_t seed) : random_(seed) {}
  std::uint32_t Below(std::uint32_t bound) { return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_); }

  // Mostly short, now and then very long; bytes from a number-like alphabet,
  // from text, or anything at all.
  std::string Text() {
    static const std::string numeric = "0123456789+-. eE";
    static const std::string words = "0123456789aeinNfIt.,-+ x\xc3\xa9\xe6\x9d\xb1\xf0\x9f\x98\x80";
    const std::uint32_t kind = Below(3);
    const std::uint32_t length = Below(2000) == 0 ? Below(70000) : Below(10) == 0 ? Below(600) : Below(24);
    std::string text(length, '\0');
    for (char& c : text) {
      if (kind == 0) c = numeric[Below(static_cast<std::uint32_t>(numeric.size()))];
      else if (kind == 1) c = words[Below(static_cast<std::uint32_t>(words.size()))];
      else c = static_cast<char>(Below(256));
    }
    return text;
  }

  // What a box may hold: mostly digits, now and then a point, a sign, an
  // exponent, a blank or a letter; any text at all one time in four.
  std::string Number() {
    static const std::string near = "01234567890123456789012345678901234567890123456789.-+ eEN";
    if (Below(4) == 0) return Text();
    std::string number(Below(7), '0');
    for (char& c : number) c = near[Below(static_cast<std::uint32_t>(near.size()))];
    return number;
  }

  // A proper wave header with a few of its bytes changed, or cut short.
  std::string Wave() {
    std::string bytes = test::WaveBytes({.format = static_cast<std::uint16_t>(Below(2) ? 1 : Below(0x10000)),
                                         .channels = static_cast<std::uint16_t>(Below(4)),
                                         .rate = Below(2) ? 44100 : Below(0xFFFFFFFF),
                                         .bits = static_cast<std::uint16_t>(Below(2) ? 16 : Below(0x10000)),
                                         .fmtSize = Below(2) ? 16 : Below(0xFFFFFFFF)});
    for (std::uint32_t i = Below(4); i > 0; --i) bytes[Below(static_cast<std::uint32_t>(bytes.size()))] = static_cast<char>(Below(256));
    bytes.resize(Below(static_cast<std::uint32_t>(bytes.size()) + 1));
    return bytes;
  }

 private:
  std::mt19937_64 random_;
};

// UTF-16 units the system makes of a path, decoded by the C library: a byte
// that starts no proper character becomes one unit.
std::size_t Utf16Units(const std::string& text) {
  std::mbstate_t state{};
  std::size_t units = 0;
  for (std::size_t at = 0; at < text.size();) {
    wchar_t c = 0;
    const std::size_t used = std::mbrtowc(&c, text.data() + at, text.size() - at, &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
      state = {};
      ++units;
      ++at;
      continue;
    }
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      units += used;  // the C library takes these; Windows makes a unit of each byte
    else
      units += code > 0xFFFF ? 2 : 1;
    at += used == 0 ? 1 : used;
  }
  return units;
}

class FuzzTest : public CountdownTest {
 protected:
  void SetUp() override {
    CountdownTest::SetUp();
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  }
  const std::uint64_t count = FromEnvironment("TARNBY_FUZZ_INPUTS", 100000);
  Inputs in{FromEnvironment("TARNBY_FUZZ_SEED", 20261207)};
};

TEST_F(FuzzTest, StoredValuesOfEveryTypeAndLengthReadAsTheirTextOrNothing) {
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint32_t type = in.Below(8);
    const std::string bytes = in.Text();
    win.SetRegValue(w::kHkeyCurrentUser, kRunKey, "Strrun", type, {bytes.begin(), bytes.end()});
    const std::string read = ReadRegString(win, w::kHkeyCurrentUser, kRunKey, "Strrun");
    ASSERT_EQ(read, type == w::kRegSz ? bytes.substr(0, bytes.find('\0')) : std::string()) << i;
    if (i % 1000 == 0) win.ClearLog();
  }
  EXPECT_EQ(win.OpenKeyCount(), 0);
}

TEST_F(FuzzTest, NoPathLongerThanTheShellTakesIsCountedAsFitting) {
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string path = in.Text();
    ASSERT_EQ(FitsMaxPath(path), Utf16Units(path) <= kMaxPathLength) << i << ": " << ::testing::PrintToString(path);
  }
}

TEST_F(FuzzTest, WaveHeadersAreReadWithinTheirBytes) {
  std::uint64_t playable = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string bytes = in.Below(4) == 0 ? in.Text() : in.Wave();
    if (IsPlayableWave(bytes)) {
      ++playable;
      ASSERT_EQ(bytes.compare(0, 4, "RIFF"), 0);
    }
  }
  EXPECT_GT(playable, 0u) << "the mutated headers never passed: the fuzzing reaches too little";
}

TEST_F(FuzzTest, StartNeverRunsShorterThanTheBoxesShow) {
  f().cmdscreen.Click();
  const std::uint64_t rounds = count / 10;  // each round is a whole start and pause
  std::uint64_t started = 0;
  for (std::uint64_t i = 0; i < rounds; ++i) {
    f().Check1.SetValue(true);
    std::string hours = in.Below(3) == 0 ? std::string() : in.Number();
    Paste(app->frmhrs().Text1, hours.substr(0, 3));
    Paste(f().Text2, in.Number());
    Paste(f().Text1, in.Number().substr(0, 2));
    Paste(f().Text3, in.Number().substr(0, 2));
    hours = app->frmhrs().Text1.Text();  // what the limit check left
    if (const auto typed = BoxValue(hours)) {
      ASSERT_TRUE(*typed >= 0 && *typed <= kMaxHours) << i << ": the limit let " << hours << " stand";
    }
    f().cmdstart.SetEnabled(true);
    f().cmdstart.Click();
    if (!countdown().Running()) continue;
    ++started;
    const auto minutes = WholeBoxValue(f().Text2.Text(), 15000);
    const auto seconds = WholeBoxValue(f().Text1.Text(), 60);
    ASSERT_TRUE(minutes && seconds) << i << ": started on " << f().Text2.Text() << ":" << f().Text1.Text();
    const bool noHours = hours.find_first_not_of(' ') == std::string::npos;
    const auto typedHours = WholeBoxValue(hours, kMaxHours);
    ASSERT_TRUE(noHours || typedHours) << i << ": started with " << hours << " hours";
    const std::int64_t wantHours = noHours ? 0 : *typedHours;
    ASSERT_EQ(countdown().SecondsLeft(), wantHours * 3600 + *minutes * 60 + *seconds) << i;
    f().cmdstop.Click();
    if (i % 100 == 0) win.ClearLog();
  }
  EXPECT_GT(started, rounds / 100) << "too few inputs start a countdown to prove anything";
}

}  // namespace
}  // namespace tarnby
