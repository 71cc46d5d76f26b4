// A folder held open, so that work inside it goes through the open folder
// rather than through its path, which someone may swap for a link to another
// folder while the work goes on. Names inside are plain file names; paths
// are Windows-1251.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pagefold::platform {

// Who a file is: two entries with the same identity are one file.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the entry at the path itself, a link not followed; nothing
// when there is none.
std::optional<FileIdentity> EntryIdentity(const std::string& path);

// Why a source file could not be opened or given a name in the work folder.
enum class FileFault {
  None,
  Unreadable,   // the user may not read it
  Gone,         // nothing stands at its path any more
  NotAFile,     // a folder, a named pipe or a device stands there
  NoRoom,       // the work folder's disk is full
  NameTooLong,  // the system cannot reach it by its path
  LeadsOut,     // a link stands in its path where none may be followed
  Other,
};

// The fault of the last failed call of SourceFile or FolderHandle on this thread.
FileFault LastFileFault();

// A file that FolderHandle::LinkIn gave a second name.
struct LinkedFile {
  FileIdentity identity;
  std::int64_t size = 0;
};

// The folder that files are staged from. Unless links are followed, a file is
// taken only when what was opened lies inside the folder as it resolves now:
// a link inside it leading elsewhere in it serves, one leading out (swapped
// in after the listing, say) does not, wherever in the path it stands.
class SourceTree {
 public:
  // The whole file system, links followed.
  SourceTree() = default;
  SourceTree(const std::string& folder, bool followLinks);
  // The bounds of another tree, with a folder of its own held open, for
  // another thread.
  struct SameBoundsAs {
    const SourceTree& tree;
  };
  explicit SourceTree(SameBoundsAs other) : bounded_(other.tree.bounded_), resolved_(other.tree.resolved_) {}
  ~SourceTree();
  SourceTree(const SourceTree&) = delete;
  SourceTree& operator=(const SourceTree&) = delete;

 private:
  friend class SourceFile;
  friend class FolderHandle;
  bool Holds(std::intptr_t handle) const;
  // POSIX: the folder of that path (ending in "/"), opened and found inside
  // the tree; the one asked for last stays open for the files after it in
  // the same folder. -1 when it cannot be opened or lies outside.
  int FolderAt(const std::string& nativeFolder);
  bool bounded_ = false;
  std::string resolved_;  // POSIX: the folder's real path with "/", UTF-8; Windows: its final path, UTF-8
  std::string heldPath_;  // POSIX: the folder held open, as asked for
  int held_ = -1;
};

// A regular file open for reading: never a named pipe or a device, and never
// waited on.
class SourceFile {
 public:
  SourceFile() = default;
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  // False when the file is missing, unreadable, not a regular file or
  // outside the tree; LastFileFault() then says which.
  bool Open(const std::string& path, const SourceTree& tree = {});
  const FileIdentity& Identity() const { return identity_; }
  // Bytes, when it was opened.
  std::int64_t Size() const { return size_; }

 private:
  friend class FolderHandle;
  std::intptr_t handle_ = -1;  // the descriptor on POSIX, the HANDLE on Windows
  FileIdentity identity_;
  std::int64_t size_ = 0;      // when it was opened
  unsigned mode_ = 0;          // POSIX permission bits, Windows attributes
  std::int64_t modified_ = 0;  // POSIX: when it was last written, in seconds
};

class FolderHandle {
 public:
  // Returned by Create when the folder made could not be opened as itself.
  static constexpr int kNotTheFolderMade = -1;

  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Creates the folder, open to this user alone (CreatePrivateFolder), and
  // opens it. 0 on success; else the error code of CreatePrivateFolder
  // (folder_ops.h), or kNotTheFolderMade when what stands at the path right
  // after is a link, a reparse point or another owner's folder.
  int Create(const std::string& path);
  // Opens a folder that exists; false when there is none or a link stands there.
  bool Open(const std::string& path);
  // In a program started with this folder handed over (Process::Start): the
  // folder as the starting program holds it, under the path it holds it by.
  // False when none was handed over or it is not a folder.
  bool OpenHandedOver();
  // The folder that the other handle holds, through a handle of its own, for
  // another thread; false when the system gives no second handle.
  bool OpenSame(const FolderHandle& other);
  // The environment entry that names the handed-over folder, and on POSIX
  // the descriptor it is open under.
  static constexpr const char* kHandedOverName = "PAGEFOLD_HANDED_FOLDER";
  static constexpr int kHandedOverDescriptor = 3;

  const std::string& Path() const { return path_; }
  // The path of a name inside, as messages show it.
  std::string PathOf(const std::string& name) const;
  // True when the path still names the folder held open.
  bool StillAtPath() const;

  // Gives the source a new name in this folder: on POSIX a second name of
  // the same file where the file system allows it, for a file that only its
  // owner may write and that was last written two seconds ago or earlier;
  // else a copy that is writable by its owner and keeps the source's other
  // rights. Nothing here ever writes into a shared file: Write replaces it
  // through a new one. A copy starts at the source's first byte however
  // often the same open file is copied. Fails when the name is taken; a
  // failure leaves nothing, and LastFileFault() says why.
  bool LinkOrCopyIn(SourceFile& source, const std::string& name);
  // The second name LinkOrCopyIn would give, made from the path without
  // opening the file: the entry at the path itself gets the name, a link not
  // followed, and keeps it only when it is a regular file that the process
  // may read and that LinkOrCopyIn would share. Nothing otherwise, with
  // nothing left behind and a name already taken left as it stands; always
  // nothing on Windows. A folder of the path is followed only as far as the
  // tree allows; the tree keeps the file's folder open for the next file.
  std::optional<LinkedFile> LinkIn(const std::string& path, const std::string& name, SourceTree& tree);
  std::optional<LinkedFile> LinkIn(const std::string& path, const std::string& name);
  // The same for a file of this folder.
  bool CopyWithin(const std::string& from, const std::string& to);
  // Gives a file another name, never replacing one: a rename, else a copy
  // and a delete. False when the file keeps its old name.
  bool Rename(const std::string& from, const std::string& to);
  // Deletes a file, a read-only one too; a link is removed, not followed.
  bool Remove(const std::string& name);

  // The whole content of a file, read with room for the size it is expected
  // to have, which spares asking for its size: a file of that size takes one
  // read, a file of any other size more. Raises "Cannot open file "%s". %s".
  std::string Read(const std::string& name, size_t expectedSize) const;
  // Writes the bytes to a new file and renames it into place, replacing a
  // file of that name. Raises "Cannot create file "%s". %s".
  void Write(const std::string& name, const std::string& bytes);

  // Deletes every file below the folder, read-only ones too; the folders
  // inside stay. Links are deleted themselves and never followed.
  void Clear();
  // Closes the folder and removes it when it is empty. 0 on success;
  // kNotTheFolderMade when another entry stands at its path; else the error
  // code of RemoveFolder (3 when the path names nothing any more).
  int CloseAndRemove();

 private:
  friend class Process;
  friend class FileReader;
  std::string path_;
  std::intptr_t handle_ = -1;
  FileIdentity identity_;
  bool linkByDescriptor_ = true;  // POSIX: until linkat refuses AT_EMPTY_PATH
  bool lookFirst_ = false;        // POSIX: while the last file LinkIn linked was not one to share
};

}  // namespace pagefold::platform
