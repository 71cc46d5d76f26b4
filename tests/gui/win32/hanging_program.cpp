// A resource compiler that never ends, for the closing test: it writes its
// process number beside the script it is given, as SCRIPT.pid, and sleeps.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 2) return 2;
  const std::wstring pidFile = std::wstring(arguments[1]) + L".pid";
  const std::string pid = std::to_string(GetCurrentProcessId());
  HANDLE file = CreateFileW(pidFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
  CloseHandle(file);
  Sleep(600000);
  return 0;
}
