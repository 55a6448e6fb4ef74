// tarnby.com's decisions: every argument comes back exactly as it was when
// tarnby.exe reads its command line, nothing is written past the buffer, and
// UTF-8 is cut only between characters. tarnby.exe's real reading of it is
// proved under Wine (tests/e2e).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_core.h"
#include "core/command_line/command_line.h"

namespace tarnby::console {
namespace {

// The arguments after the program's name as the C runtime and
// CommandLineToArgvW read them: blanks part them, quotes group, 2n
// backslashes before a quote are n and the quote groups, 2n+1 are n and a
// quote, "" inside quotes is a quote.
std::vector<std::wstring> ReadBack(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  std::size_t i = 0;
  const std::size_t n = line.size();
  for (;;) {
    while (i < n && (line[i] == L' ' || line[i] == L'\t')) ++i;
    if (i == n) return arguments;
    std::wstring argument;
    bool quoted = false;
    while (i < n && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
      if (line[i] == L'\\') {
        std::size_t backslashes = 0;
        for (; i < n && line[i] == L'\\'; ++i) ++backslashes;
        const bool quote = i < n && line[i] == L'"';
        argument.append(quote ? backslashes / 2 : backslashes, L'\\');
        if (quote && backslashes % 2 == 1) argument += line[i++];
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < n && line[i + 1] == L'"') {
          argument += L'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument += line[i++];
      }
    }
    arguments.push_back(argument);
  }
}

std::wstring Written(const std::vector<std::wstring>& arguments) {
  static wchar_t buffer[kCommandLineCapacity];
  CommandLineWriter line(buffer, kCommandLineCapacity);
  for (const std::wstring& argument : arguments) line.Argument(argument);
  return std::wstring(line.View());
}

TEST(ConsoleCommandLine, EveryArgumentComesBackExactlyAndPlainOnesUnquoted) {
  // Every argument of up to five of these letters, alone and twice.
  const wchar_t letters[] = {L'a', L' ', L'"', L'\\', L'\t'};
  std::vector<std::wstring> arguments{L""};
  for (std::size_t begin = 0; arguments.back().size() < 5;) {
    const std::size_t end = arguments.size();
    for (std::size_t i = begin; i < end; ++i)
      for (wchar_t c : letters) arguments.push_back(arguments[i] + c);
    begin = end;
  }
  for (const std::wstring& argument : arguments) {
    ASSERT_EQ(ReadBack(Written({argument})), std::vector<std::wstring>{argument}) << Written({argument}).size();
    ASSERT_EQ(ReadBack(Written({argument, argument})), (std::vector<std::wstring>{argument, argument}));
  }
  EXPECT_EQ(Written({L"/shutdown", L"/in", L"1h 30m", L"C:\\my dir\\", L"\\\\server\\x"}),
            L"/shutdown /in \"1h 30m\" \"C:\\my dir\\\\\" \\\\server\\x");
}

TEST(ConsoleCommandLine, TheProgramBesideInQuotesAndNothingPastTheBuffer) {
  wchar_t buffer[40];
  CommandLineWriter line(buffer, 40);
  line.Program(FolderOf(L"C:\\Program Files\\Tarnby\\tarnby.com"), L"tarnby.exe");
  EXPECT_EQ(line.View(), L"\"C:\\Program Files\\Tarnby\\tarnby.exe\"");
  EXPECT_TRUE(line.Fits());
  CommandLineWriter root(buffer, 40);
  root.Path(FolderOf(L"D:\\tarnby.com"), L"tarnby.exe");
  EXPECT_EQ(root.View(), L"D:\\tarnby.exe");

  wchar_t small[8 + 1];
  small[8] = L'#';
  CommandLineWriter cut(small, 8);
  cut.Argument(L"/shutdown");
  EXPECT_FALSE(cut.Fits());
  EXPECT_EQ(cut.View(), L"/shutdo") << "cut short, NUL in the last place";
  EXPECT_EQ(small[8], L'#');
}

TEST(ConsoleHandOver, TheRunningCopyReadsTheArgumentsAsTarnbyExeHandsThem) {
  const std::vector<std::string> cases[] = {
      {"/status"},
      {"/shutdown", "/in", "1h 30m", "/hide"},
      {"/run", "C:\\my dir\\", "say \"hi\""},
  };
  for (const std::vector<std::string>& arguments : cases) {
    wchar_t buffer[64];
    CommandLineWriter hand(buffer, 64);
    for (const std::string& argument : arguments) hand.Handed(std::wstring(argument.begin(), argument.end()));
    ASSERT_TRUE(hand.Fits());
    const std::string handed(hand.View().begin(), hand.View().end());
    EXPECT_EQ(handed, JoinArguments(arguments));
    EXPECT_EQ(SplitArguments(handed), arguments);
  }
}

TEST(ConsoleOutput, AnAnswerBecomesLinesThatEndInCrLf) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"", L"\r\n"},
      {L"no countdown", L"no countdown\r\n"},
      {L"Give one trigger only.\n\nUsage:", L"Give one trigger only.\r\n\r\nUsage:\r\n"},
      {L"kept\r\nas it is", L"kept\r\nas it is\r\n"},
      {L"\n", L"\r\n\r\n"},
  };
  for (const auto& [text, lines] : cases) {
    wchar_t buffer[64];
    CommandLineWriter written(buffer, 64);
    written.Lines(text);
    EXPECT_EQ(written.View(), lines);
  }
}

TEST(ConsoleOutput, Utf8IsCutOnlyBetweenCharacters) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 0},
      {"no countdown\r\n", 14},
      {"\xC3\xBC", 2},               // ü whole
      {"a\xC3", 1},                  // ü without its second byte
      {"a\xE2\x82", 1},              // € without its last byte
      {"a\xE2\x82\xAC", 4},          // € whole
      {"\xF0\x9F\x98", 0},           // an emoji without its last byte
      {"\xF0\x9F\x98\x80", 4},       // and whole
      {"a\x80\x80\x80\x80", 5},      // bytes that start nothing wait for nothing
      {"a\xFF", 2},
  };
  for (const auto& [bytes, whole] : cases) EXPECT_EQ(WholeUtf8(bytes), whole) << bytes.size();
}

}  // namespace
}  // namespace tarnby::console
