#include "platform/owner_only_access_win32.h"

#include <sddl.h>

#include <string>

namespace pagefold::platform {
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

}  // namespace

OwnerOnlyAccess::OwnerOnlyAccess() {
  const std::wstring access = OwnerOnlyAccessList();
  if (!access.empty())
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1,
                                                           &attributes_.lpSecurityDescriptor, nullptr);
}

OwnerOnlyAccess::~OwnerOnlyAccess() {
  if (attributes_.lpSecurityDescriptor) ::LocalFree(attributes_.lpSecurityDescriptor);
}

}  // namespace pagefold::platform
