// What tarnby.com decides, kept apart from Win32 so the core tests prove it:
// how its arguments are written into tarnby.exe's command line or handed to
// the running copy, how an answer becomes lines, and where a stream of UTF-8
// may be cut. tarnby.com is a few kilobytes; this code uses
// no part of the C++ library that would link in more than it needs.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarnby::console {

// The names tarnby.com and tarnby.exe agree on. tarnby.com puts the name of
// an event into tarnby.exe's environment; tarnby.exe sets that event when it
// goes on running as Tarnby, so tarnby.com stops waiting for it to end.
inline constexpr wchar_t kCompanionVariable[] = L"TARNBY_CONSOLE";
inline constexpr wchar_t kCompanionEventPrefix[] = L"Local\\Tarnby.Console.";

// Lines end in CR LF wherever they go: a CR before each LF that has none,
// and one CR LF after the last; put takes each character in turn.
template <class Char, class Put>
void PutLines(std::basic_string_view<Char> text, Put put) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Char('\n') && (i == 0 || text[i - 1] != Char('\r'))) put(Char('\r'));
    put(text[i]);
  }
  put(Char('\r'));
  put(Char('\n'));
}

// The longest command line Windows starts a program with, its NUL included.
inline constexpr std::size_t kCommandLineCapacity = 32767;

// A command line written into a buffer the caller owns.
class CommandLineWriter {
 public:
  CommandLineWriter(wchar_t* buffer, std::size_t capacity);

  // A file in a folder: the folder, a backslash and the file.
  void Path(std::wstring_view folder, std::wstring_view file);
  // The program's path, always in quotes: the folder may hold spaces, and
  // the first word of a command line knows no escapes.
  void Program(std::wstring_view folder, std::wstring_view file);
  // One argument, written so that CommandLineToArgvW and the C runtime read
  // it back exactly: quoted when it is empty or holds blanks or quotes, with
  // the backslashes before a quote doubled.
  void Argument(std::wstring_view argument);
  // One argument as a hand-over carries it: as it is, and a NUL after it.
  void Handed(std::wstring_view argument);
  // A decimal number, as part of a name.
  void Number(unsigned long long value);
  void Text(std::wstring_view text);
  // Text as lines for a console, a pipe or a file: every line ends in CR LF,
  // the last one too.
  void Lines(std::wstring_view text);

  // False once something did not fit; the text then stays cut short.
  bool Fits() const { return fits_; }
  const wchar_t* c_str() const { return buffer_; }
  std::wstring_view View() const { return {buffer_, length_}; }

 private:
  void Put(wchar_t c, std::size_t count = 1);

  wchar_t* buffer_;
  std::size_t capacity_;
  std::size_t length_ = 0;
  bool fits_ = true;
};

// The folder of a path, without the backslash after it (empty when the path
// names no folder).
std::wstring_view FolderOf(std::wstring_view path);

// The length of the longest start of the bytes that ends on a whole UTF-8
// character: the rest (at most three bytes) waits for the next read. A
// broken sequence counts as whole, so nothing waits for ever.
std::size_t WholeUtf8(std::string_view bytes);

}  // namespace tarnby::console
