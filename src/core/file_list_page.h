// The generated page "filelist.html": a row for every packed file with a
// link to its resource, its registry name (with "<", ">", "&" and '"' as
// character references) and its size, and a footer with the
// number of files and their total size. Windows-1251, CR LF after every line.
#pragma once

#include <cstdint>
#include <string>

#include "platform/folder_handle.h"

namespace pagefold {

class FileListPage {
 public:
  FileListPage();

  // Adds the row of file number N, whose staged copy holds `size` bytes. The
  // link's type is the group type, or the extension of the registry name when
  // the group type is empty.
  void AddRow(int number, const std::string& registryName, std::int64_t size, const std::string& groupType);

  // Writes the header, the rows and the footer into a new file of the folder,
  // renamed into place over any file of that name. Raises "Cannot create
  // file "%s". %s".
  void Save(platform::FolderHandle& folder, const std::string& name);

 private:
  std::string page_;       // the header and the row lines, each with its CR LF
  int count_ = 0;          // rows added so far
  std::int64_t total_ = 0; // their sizes added up
};

}  // namespace pagefold
