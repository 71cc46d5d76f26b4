#define _CRT_RAND_S  // rand_s: random numbers from the system's generator
#include <stdlib.h>

#include <windows.h>
#include <sddl.h>

#include "platform/native_path.h"
#include "platform/temp_folder.h"

namespace platform {
namespace {

// "D:P(A;OICI;FA;;;<the user's SID>)": full access for the user alone,
// passed on to everything inside, nothing inherited from the parent.
std::wstring OwnerOnlyAccessList() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
  char buffer[256];
  DWORD size = 0;
  wchar_t* sid = nullptr;
  if (::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size))
    ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid);
  ::CloseHandle(token);
  if (!sid) return L"";
  const std::wstring access = std::wstring(L"D:P(A;OICI;FA;;;") + sid + L")";
  ::LocalFree(sid);
  return access;
}

std::string RandomSuffix() {
  const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    unsigned int n = 0;
    rand_s(&n);
    suffix += letters[n % 36];
  }
  return suffix;
}

}  // namespace

// GetTempPathW gives the folder with its trailing backslash.
std::string TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return "";
  return FromNativeName(std::wstring(buffer, length)).value_or("");
}

std::optional<std::string> MakePrivateFolder(const std::string& parent) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  const std::wstring access = OwnerOnlyAccessList();
  if (access.empty() || !::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                            access.c_str(), SDDL_REVISION_1, &security.lpSecurityDescriptor, nullptr))
    return std::nullopt;
  std::optional<std::string> made;
  DWORD error = ERROR_ALREADY_EXISTS;
  // A name that is taken already is drawn again.
  for (int attempt = 0; attempt < 100 && error == ERROR_ALREADY_EXISTS; ++attempt) {
    const std::string path = parent + "pagefold-" + RandomSuffix();
    const auto native = ToNativePath(path);
    if (!native) {
      error = ERROR_NO_UNICODE_TRANSLATION;
      break;
    }
    error = ::CreateDirectoryW(native->c_str(), &security) ? 0 : ::GetLastError();
    if (error == 0) made = path + "\\";
  }
  ::LocalFree(security.lpSecurityDescriptor);
  if (!made) ::SetLastError(error);
  return made;
}

}  // namespace platform
