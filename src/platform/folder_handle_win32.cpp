#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/folder_handle.h"
#include "platform/folder_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/write_all.h"

// Windows has no calls relative to an open folder, so the work goes by path.
// The folder is held open without FILE_SHARE_DELETE, which keeps anyone from
// renaming it or putting a link in its place while it is open; its identity
// is checked against the path where a swap could still show.

namespace pagefold::platform {
namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

[[noreturn]] void RaiseFileError(const char* what, const std::string& path, DWORD code) {
  throw PlatformError(std::string(what) + " \"" + path + "\". " + SystemErrorText(static_cast<int>(code)));
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The entry itself, a reparse point not followed.
HANDLE OpenEntry(const std::wstring& path, DWORD share) {
  return ::CreateFileW(path.c_str(), 0, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Copies from the first byte at most `size` bytes, the source's size when
// the copy began.
bool CopyContent(HANDLE from, HANDLE to, std::int64_t size) {
  char buffer[1 << 16];
  if (!::SetFilePointerEx(from, LARGE_INTEGER{}, nullptr, FILE_BEGIN)) return false;
  while (size > 0) {
    DWORD n = 0;
    if (!::ReadFile(from, buffer, static_cast<DWORD>(std::min<std::int64_t>(size, sizeof buffer)), &n, nullptr))
      return false;
    if (n == 0) return true;
    if (!WriteAll(reinterpret_cast<std::intptr_t>(to), buffer, n)) return false;
    size -= n;
  }
  return true;
}

std::wstring Wide(const std::string& utf8) {
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

// The path by which the system reached the open file, links resolved, in UTF-8; empty on failure.
std::string FinalPath(HANDLE h) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(h, path.data(), MAX_PATH, FILE_NAME_NORMALIZED);
  if (length >= MAX_PATH) {
    path.resize(length);
    length = ::GetFinalPathNameByHandleW(h, path.data(), length, FILE_NAME_NORMALIZED);
  }
  path.resize(length < path.size() ? length : 0);
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

bool RemoveEntry(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ::DeleteFileW(path.c_str());
  // A link to a folder is removed as a folder entry; a real folder is not a file.
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && ::RemoveDirectoryW(path.c_str());
}

void ClearBelow(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
      ClearBelow(path);
    else
      RemoveEntry(path);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace

FileFault LastFileFault() {
  switch (::GetLastError()) {
    case ERROR_SUCCESS: return FileFault::None;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileFault::Unreadable;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileFault::Gone;
    case ERROR_DIRECTORY:
    case ERROR_BAD_FILE_TYPE: return FileFault::NotAFile;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileFault::NoRoom;
    case ERROR_FILENAME_EXCED_RANGE: return FileFault::NameTooLong;
    case ERROR_NOT_SAME_DEVICE: return FileFault::LeadsOut;
    default: return FileFault::Other;
  }
}

std::optional<FileIdentity> EntryIdentity(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return std::nullopt;
  const HANDLE entry = OpenEntry(*native, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (entry == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = ::GetFileInformationByHandle(entry, &info);
  ::CloseHandle(entry);
  if (!ok) return std::nullopt;
  return IdentityOf(info);
}

SourceTree::SourceTree(const std::string& folder, bool followLinks) : bounded_(!followLinks) {
  const auto native = ToNativePath(folder);
  if (!bounded_ || !native) return;
  const HANDLE h = ::CreateFileW(native->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  resolved_ = FinalPath(h);
  ::CloseHandle(h);
  if (!resolved_.empty() && resolved_.back() != '\\') resolved_ += '\\';
}

SourceTree::~SourceTree() = default;

bool SourceTree::Holds(std::intptr_t handle) const {
  if (!bounded_) return true;
  const std::string path = FinalPath(AsHandle(handle)) + "\\";
  return !resolved_.empty() && path.size() >= resolved_.size() &&
         ::CompareStringOrdinal(Wide(path.substr(0, resolved_.size())).c_str(), -1, Wide(resolved_).c_str(), -1,
                                TRUE) == CSTR_EQUAL;
}

SourceFile::~SourceFile() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

bool SourceFile::Open(const std::string& path, const SourceTree& tree) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  const HANDLE file = ::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (!tree.Holds(reinterpret_cast<std::intptr_t>(file))) {
    ::CloseHandle(file);
    ::SetLastError(ERROR_NOT_SAME_DEVICE);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(file);
    ::SetLastError(ERROR_BAD_FILE_TYPE);
    return false;
  }
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(file);
  identity_ = IdentityOf(info);
  size_ = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  mode_ = info.dwFileAttributes;
  return true;
}

FolderHandle::~FolderHandle() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

int FolderHandle::Create(const std::string& path) {
  const int code = CreatePrivateFolder(path);
  if (code != 0) return code;
  return Open(path) ? 0 : kNotTheFolderMade;
}

bool FolderHandle::Open(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  const HANDLE folder = OpenEntry(*native, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (folder == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(folder, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    ::CloseHandle(folder);
    return false;
  }
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(folder);
  path_ = path;
  identity_ = IdentityOf(info);
  return true;
}

bool FolderHandle::OpenHandedOver() {
  const wchar_t* path = ::_wgetenv(L"PAGEFOLD_HANDED_FOLDER");
  const auto shown = path ? FromNativeName(path) : std::nullopt;
  return shown && Open(*shown);
}

bool FolderHandle::OpenSame(const FolderHandle& other) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  const HANDLE self = ::GetCurrentProcess();
  if (!::DuplicateHandle(self, AsHandle(other.handle_), self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) return false;
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(copy);
  path_ = other.path_;
  identity_ = other.identity_;
  return true;
}

std::string FolderHandle::PathOf(const std::string& name) const {
  return path_ + (path_.empty() || path_.back() == '\\' ? "" : "\\") + name;
}

bool FolderHandle::StillAtPath() const {
  const auto now = EntryIdentity(path_);
  return handle_ != -1 && now && *now == identity_;
}

bool FolderHandle::LinkOrCopyIn(SourceFile& source, const std::string& name) {
  const auto native = ToNativePath(PathOf(name));
  if (!native) return false;
  const DWORD attributes = source.mode_ & kKeptAttributes;
  const HANDLE out = ::CreateFileW(native->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  const bool copied = CopyContent(AsHandle(source.handle_), out, source.size_);
  if (::CloseHandle(out) && copied) return true;
  const DWORD error = ::GetLastError();
  ::DeleteFileW(native->c_str());
  ::SetLastError(error);
  return false;
}

std::optional<LinkedFile> FolderHandle::LinkIn(const std::string&, const std::string&, SourceTree&) {
  return std::nullopt;
}

std::optional<LinkedFile> FolderHandle::LinkIn(const std::string&, const std::string&) { return std::nullopt; }

bool FolderHandle::CopyWithin(const std::string& from, const std::string& to) {
  SourceFile source;
  return source.Open(PathOf(from)) && LinkOrCopyIn(source, to);
}

bool FolderHandle::Rename(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(PathOf(from)), dst = ToNativePath(PathOf(to));
  if (!src || !dst) return false;
  if (::MoveFileExW(src->c_str(), dst->c_str(), 0)) return true;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || !CopyWithin(from, to)) return false;
  return ::DeleteFileW(src->c_str());
}

bool FolderHandle::Remove(const std::string& name) {
  const auto native = ToNativePath(PathOf(name));
  return native && RemoveEntry(*native);
}

std::string FolderHandle::Read(const std::string& name, size_t expectedSize) const {
  const std::string path = PathOf(name);
  const auto native = ToNativePath(path);
  if (!native) RaiseFileError("Cannot open file", path, ERROR_FILE_NOT_FOUND);
  const HANDLE in = ::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (in == INVALID_HANDLE_VALUE) RaiseFileError("Cannot open file", path, ::GetLastError());
  std::string bytes;
  bytes.reserve(expectedSize);
  char buffer[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(in, buffer, sizeof buffer, &n, nullptr)) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(in);
      RaiseFileError("Cannot open file", path, error);
    }
    if (n == 0) break;
    bytes.append(buffer, n);
  }
  ::CloseHandle(in);
  return bytes;
}

void FolderHandle::Write(const std::string& name, const std::string& bytes) {
  // On Windows the folder is reached by its path; WriteFileBytes writes a new
  // file beside the target and renames it into place.
  WriteFileBytes(PathOf(name), bytes);
}

void FolderHandle::Clear() {
  const auto native = ToNativePath(path_);
  if (native && StillAtPath()) ClearBelow(*native);
}

int FolderHandle::CloseAndRemove() {
  // A folder gone from its path is reported as the removal finds it.
  const auto now = EntryIdentity(path_);
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
  if (now && !(*now == identity_)) return kNotTheFolderMade;
  return RemoveFolder(path_);
}

}  // namespace pagefold::platform
