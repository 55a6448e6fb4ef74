#include "console/console_core.h"

namespace tarnby::console {

CommandLineWriter::CommandLineWriter(wchar_t* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
  if (capacity_ == 0) {
    fits_ = false;
    return;
  }
  buffer_[0] = L'\0';
}

void CommandLineWriter::Put(wchar_t c, std::size_t count) {
  for (; count > 0; --count) {
    if (length_ + 1 >= capacity_) {
      fits_ = false;
      return;
    }
    buffer_[length_++] = c;
    buffer_[length_] = L'\0';
  }
}

void CommandLineWriter::Text(std::wstring_view text) {
  for (wchar_t c : text) Put(c);
}

void CommandLineWriter::Path(std::wstring_view folder, std::wstring_view file) {
  Text(folder);
  if (!folder.empty() && folder.back() != L'\\') Put(L'\\');
  Text(file);
}

void CommandLineWriter::Program(std::wstring_view folder, std::wstring_view file) {
  Put(L'"');
  Path(folder, file);
  Put(L'"');
}

void CommandLineWriter::Argument(std::wstring_view argument) {
  if (length_ > 0) Put(L' ');
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    Text(argument);  // a backslash is only special before a quote
    return;
  }
  Put(L'"');
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote stand for half as many; the quote itself needs one more.
    Put(L'\\', c == L'"' ? backslashes * 2 + 1 : backslashes);
    Put(c);
    backslashes = 0;
  }
  // ...and so do the ones before the closing quote.
  Put(L'\\', backslashes * 2);
  Put(L'"');
}

void CommandLineWriter::Handed(std::wstring_view argument) {
  Text(argument);
  Put(L'\0');
}

void CommandLineWriter::Lines(std::wstring_view text) {
  PutLines(text, [this](wchar_t c) { Put(c); });
}

void CommandLineWriter::Number(unsigned long long value) {
  wchar_t digits[20];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) Put(digits[--count]);
}

std::wstring_view FolderOf(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return {};
  return path.substr(0, slash);
}

std::size_t WholeUtf8(std::string_view bytes) {
  // Look back over the continuation bytes at the end for the lead byte.
  std::size_t lead = bytes.size();
  for (std::size_t back = 0; back < 3 && lead > 0; ++back) {
    const auto c = static_cast<unsigned char>(bytes[lead - 1]);
    if ((c & 0xC0) != 0x80) break;
    --lead;
  }
  if (lead == 0) return bytes.size();
  const auto c = static_cast<unsigned char>(bytes[lead - 1]);
  const std::size_t needs = c >= 0xF8 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  const std::size_t has = bytes.size() - (lead - 1);
  return needs > has ? lead - 1 : bytes.size();
}

}  // namespace tarnby::console
