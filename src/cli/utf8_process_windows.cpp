// Windows: the wide command line as UTF-8, with wildcards expanded; consoles written with
// WriteConsoleW, pipes and files in binary mode so that they receive UTF-8 with line feeds,
// as on other systems.
#include <windows.h>
// After windows.h, which it needs:
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string_view>

#include "cli/terminal.hpp"
#include "cli/utf8_process.hpp"

namespace bivox::cli {
namespace {

std::string utf8_of(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string utf8(static_cast<std::size_t>(length - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring wide_of(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

// The files a wildcard pattern ("*.zrb", "scores\\*.ZRB") matches, with the pattern's folder,
// in name order; none when it matches none.
std::vector<std::wstring> matching_files(const std::wstring& pattern) {
  const std::size_t folder_end = pattern.find_last_of(L"\\/:") + 1;  // 0 without a folder
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      files.push_back(pattern.substr(0, folder_end) + found.cFileName);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

// The arguments as UTF-8, each wildcard pattern replaced by the files it matches, as
// Windows programs do for themselves (the shells pass patterns on); a pattern that matches
// nothing stays as it is.
std::vector<std::string> wide_command_line() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  for (int i = 0; i < count; ++i) {
    const std::wstring arg = args[i];
    const std::vector<std::wstring> files = i > 0 && arg.find_first_of(L"*?") != std::wstring::npos
                                                ? matching_files(arg)
                                                : std::vector<std::wstring>{};
    if (files.empty()) utf8.push_back(utf8_of(arg.c_str()));
    for (const std::wstring& file : files) utf8.push_back(utf8_of(file.c_str()));
  }
  LocalFree(args);
  return utf8;
}

// The bytes of the UTF-8 text that form whole characters: a character split between two
// writes waits for its rest.
std::size_t whole_characters(std::string_view utf8) {
  for (std::size_t back = 1; back <= 3 && back <= utf8.size(); ++back) {
    const auto c = static_cast<unsigned char>(utf8[utf8.size() - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? utf8.size() - back : utf8.size();
  }
  return utf8.size();
}

// A stream buffer that writes UTF-8 text to a console as wide characters, as it comes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { write(pending_.size()); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    write(whole_characters(pending_));
    return count;
  }

 private:
  // Writes the first `end` bytes of what is pending.
  void write(std::size_t end) {
    const std::wstring wide = wide_of(std::string_view(pending_).substr(0, end));
    DWORD written = 0;
    WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    pending_.erase(0, end);
  }

  HANDLE console_;
  std::string pending_;
};

// One standard stream: a console gets a ConsoleBuffer for the life of this object, anything
// else is switched to binary mode.
class StandardStream {
 public:
  StandardStream(std::FILE* file, std::ostream& stream) : stream_(stream) {
    std::fflush(file);
    if (!is_terminal(file)) {
      _setmode(_fileno(file), _O_BINARY);
      return;
    }
    console_.emplace(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
    stream_.flush();
    original_ = stream_.rdbuf(&*console_);
  }
  ~StandardStream() {
    if (!console_) return;
    stream_.flush();
    stream_.rdbuf(original_);
  }
  StandardStream(const StandardStream&) = delete;
  StandardStream& operator=(const StandardStream&) = delete;

 private:
  std::ostream& stream_;
  std::optional<ConsoleBuffer> console_;
  std::streambuf* original_ = nullptr;
};

}  // namespace

struct Utf8Process::Consoles {
  StandardStream out{stdout, std::cout};
  StandardStream err{stderr, std::cerr};
};

Utf8Process::Utf8Process(int /*argc*/, char** /*argv*/)
    : args_(wide_command_line()), consoles_(std::make_unique<Consoles>()) {
  for (const std::string& arg : args_) pointers_.push_back(arg.c_str());
}

Utf8Process::~Utf8Process() = default;

}  // namespace bivox::cli
