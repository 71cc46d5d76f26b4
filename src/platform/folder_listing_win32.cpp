#include <windows.h>

#include <algorithm>

#include "platform/folder_listing.h"
#include "platform/native_path.h"
#include "text/cp1251.h"

namespace pagefold::platform {
namespace {

// What the system knows of an entry, links followed; false when it cannot be opened.
bool EntryInformation(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  // Backup semantics opens folders too; no access right is needed to read the information.
  const HANDLE h = ::CreateFileW(native->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::GetFileInformationByHandle(h, &info);
  ::CloseHandle(h);
  return ok;
}

std::int64_t SizeOf(DWORD high, DWORD low) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

bool IsLink(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

// The path with every link followed, as the system names the file it opens;
// empty when it cannot be opened.
std::wstring Resolved(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return L"";
  const HANDLE h = ::CreateFileW(native->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return L"";
  std::wstring resolved(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(h, resolved.data(), MAX_PATH, FILE_NAME_NORMALIZED);
  if (length >= MAX_PATH) {
    resolved.resize(length);
    length = ::GetFinalPathNameByHandleW(h, resolved.data(), length, FILE_NAME_NORMALIZED);
  }
  ::CloseHandle(h);
  resolved.resize(length < resolved.size() ? length : 0);
  return resolved;
}

std::string Utf8Of(const std::wstring& name) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

FolderListing ListFolder(const std::string& folder) {
  FolderListing listing;
  const bool hasSeparator = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  const std::string prefix = hasSeparator ? folder : folder + '\\';
  const auto pattern = ToNativePath(prefix + "*.*");
  if (!pattern) return listing;
  WIN32_FIND_DATAW found;
  // "*.*" matches every name, with or without a dot; every attribute is taken
  // (hidden and system entries too), as the attribute mask 63 asks.
  const HANDLE search = ::FindFirstFileW(pattern->c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return listing;
  do {
    const std::wstring nativeName = found.cFileName;
    if (nativeName == L"." || nativeName == L"..") continue;
    auto name = FromNativeName(nativeName);
    if (!name) {
      listing.unconvertible.push_back(text::Utf8ToCp1251Shown(Utf8Of(nativeName)));
      continue;
    }
    FolderEntry entry;
    entry.isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    entry.isLink = IsLink(found);
    entry.name = std::move(*name);
    listing.entries.push_back(std::move(entry));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return listing;
}

std::string FolderIdentity(const std::string& folder) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!EntryInformation(folder, info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
  return std::to_string(info.dwVolumeSerialNumber) + ":" +
         std::to_string(SizeOf(info.nFileIndexHigh, info.nFileIndexLow));
}

bool LeadsInside(const std::string& path, const std::string& folder) {
  const std::wstring entry = Resolved(path);
  std::wstring root = Resolved(folder);
  if (entry.empty() || root.empty()) return false;
  if (SameText(entry, root)) return true;
  if (root.back() != L'\\') root += L'\\';
  return entry.size() > root.size() && SameText(entry.substr(0, root.size()), root);
}

std::string ComparablePath(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::wstring folder = slash == std::string::npos ? L"" : Resolved(path.substr(0, slash + 1));
  const auto name = ToNativePath(path.substr(slash == std::string::npos ? 0 : slash + 1));
  std::wstring whole = folder.empty() || !name ? ToNativePath(path).value_or(L"") : folder + L"\\" + *name;
  ::CharLowerBuffW(whole.data(), static_cast<DWORD>(whole.size()));
  return Utf8Of(whole);
}

std::string LinkText(const std::string&) { return ""; }

std::int64_t EntrySize(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!EntryInformation(path, info)) return -1;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0
                                                             : SizeOf(info.nFileSizeHigh, info.nFileSizeLow);
}

}  // namespace pagefold::platform
