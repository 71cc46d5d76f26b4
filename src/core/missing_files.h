// The files of the source folder that a build did not pack, each with why:
// the build names every one of them in its closing message and its report.
#pragma once

#include <string>
#include <vector>

namespace pagefold {

enum class MissingReason {
  OutsideLink,      // a link that leads out of the source folder, or nowhere
  Unreadable,       // the user may not read it
  Gone,             // it vanished after the listing
  NotAFile,         // a folder, a named pipe or a device stands at its name
  NoRoom,           // the work folder's disk is full
  NameTooLong,      // the system cannot reach it by its path
  LinkSwapped,      // a link out of the folder stands in its path since the listing
  NoExtension,      // it has no extension and so no resource type
  OutsideCodePage,  // its name has characters outside Windows-1251
  Backslash,        // its name holds a "\", which separates folders in the program's names
  UnsafeName,       // its name holds a double quote or a control character
  Failed,           // reading or writing it failed otherwise
};

struct MissingFile {
  std::string name;  // relative to the source folder, "\" between folders; as shown
  MissingReason reason;
  std::string linkText;  // OutsideLink: what the link holds, as written
  bool operator==(const MissingFile&) const = default;
};

// Why the file is missing, in a few words; for a link out of the folder
// followed by " -> " and the link's text. Control bytes show as "\xHH".
std::string MissingWhy(const MissingFile& file);

// "name -> link text" for a link out of the folder, "name: why" otherwise.
std::string MissingFileLine(const MissingFile& file);

// The links out of the folder under "Не упакованы ссылки за пределы папки: N"
// and the other files under "Не упакованы файлы: N", each group with its first
// ten lines, without a line break after the last; empty when nothing is
// missing.
std::string MissingFilesSummary(const std::vector<MissingFile>& files);

}  // namespace pagefold
