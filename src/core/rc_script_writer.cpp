#include "core/rc_script_writer.h"

#include "core/name_conversion.h"
#include "platform/file_ops.h"
#include "platform/platform_error.h"
#include "text/case_rules.h"

namespace pagefold {

bool FitsInQuotes(const std::string& path) {
  for (char c : path)
    if (c == '"' || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

std::string WriteRcScript(const std::string& groupType, const std::string& scriptPath, const StringList& list) {
  std::string script;
  for (const std::string& entry : list) {
    // Name and extension come from the file's own name: on POSIX the folders
    // are separated by "/", which the name rules do not know.
    const std::string file = FileNamePart(entry);
    const std::string ext = ExtNoDot(file);
    // A file without an extension has a type only when the files are grouped.
    if (file.empty() || (ext.empty() && groupType.empty())) continue;
    if (!FitsInQuotes(entry))
      throw platform::PlatformError("Cannot create file \"" + scriptPath +
                                    "\". The file name cannot be written into the script: " + entry);
    const std::string name = text::UpperAscii(Translit(NameNoExt(file)));
    const std::string type = text::UpperAscii(Translit(groupType.empty() ? ext : groupType));
    script += name + " " + type + " \"" + entry + "\"\r\n";
  }
  platform::WriteFileBytes(scriptPath, script);
  return script;
}

}  // namespace pagefold
