#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/console.h"
#include "platform/native_path.h"
#include "text/cp1251.h"

namespace pagefold::platform {
namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// A console gets UTF-16, which shows right whatever its code page; a file or
// a pipe gets UTF-8 bytes as they are, line breaks unchanged, as on POSIX.
void WriteTo(DWORD stream, const std::string& text) {
  const HANDLE handle = ::GetStdHandle(stream);
  DWORD written = 0;
  const auto utf16 = text::Cp1251ToUtf16(text);
  if (IsConsole(handle) && utf16) {
    const std::wstring wide(utf16->begin(), utf16->end());
    ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  const std::string utf8 = text::Cp1251ToUtf8(text).value_or(text);
  ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

// The C runtime's narrow arguments lose what the ANSI code page cannot hold;
// the wide command line, split by the same rules, keeps it.
std::optional<std::string> ArgumentText(char**, int index) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::optional<std::string> text;
  if (wide && index < count) text = FromNativeName(wide[index]);
  ::LocalFree(wide);
  return text;
}

// A write to a closed pipe fails with an error code and nothing more.
void KeepRunningWhenOutputCloses() {}

void WriteToStderr(const std::string& text) {
  std::fflush(stderr);
  WriteTo(STD_ERROR_HANDLE, text);
}

void WriteToStdout(const std::string& text) {
  std::fflush(stdout);
  WriteTo(STD_OUTPUT_HANDLE, text);
}

bool StderrIsTerminal() { return IsConsole(::GetStdHandle(STD_ERROR_HANDLE)); }

std::optional<std::string> AbsolutePath(const std::string& path) {
  const auto native = ToNativePath(path.empty() ? "." : path);
  if (!native) return std::nullopt;
  const DWORD length = ::GetFullPathNameW(native->c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::nullopt;
  std::wstring full(length, L'\0');
  const DWORD written = ::GetFullPathNameW(native->c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return std::nullopt;
  full.resize(written);
  return FromNativeName(full);
}

}  // namespace pagefold::platform
