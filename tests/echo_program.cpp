// A program for the process tests on Windows. It prints each argument after
// the program's name between bars, as the system's parser reads them back,
// in UTF-8, then "to-stderr" on standard error, and ends with code 3.
// "--flood" prints 200000 letters instead; "--sleep" waits 400 ms first.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

void Put(DWORD stream, const std::string& bytes) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string Utf8(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();  // the terminating zero
  return bytes;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (count == 2 && std::wstring(arguments[1]) == L"--flood") {
    Put(STD_OUTPUT_HANDLE, std::string(200000, 'a'));
    return 0;
  }
  if (count == 2 && std::wstring(arguments[1]) == L"--sleep") ::Sleep(400);
  std::string line;
  for (int i = 1; i < count; ++i) line += "|" + Utf8(arguments[i]);
  Put(STD_OUTPUT_HANDLE, line + "|\n");
  Put(STD_ERROR_HANDLE, "to-stderr\n");
  return 3;
}
