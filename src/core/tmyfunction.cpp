#include "core/tmyfunction.h"

#include "core/attribute_scan.h"
#include "core/find_files.h"
#include "core/name_conversion.h"
#include "core/rc_script_writer.h"
#include "core/size_text.h"
#include "platform/folder_listing.h"

namespace pagefold {

std::string TMyFunction::ExtNoDot(const std::string& name) { return pagefold::ExtNoDot(name); }

std::string TMyFunction::NameNoExt(const std::string& name) { return pagefold::NameNoExt(name); }

std::string TMyFunction::Translit(const std::string& name) { return pagefold::Translit(name); }

void TMyFunction::ListDirFiles(const std::string& folder, const std::string& mask, StringList& list) {
  FindFiles(folder, mask, list, true);
}

void TMyFunction::FindBetween(const std::string& text, const std::string& start, const std::string& end,
                              StringList& list) {
  pagefold::FindBetween(text, start, end, list);
}

std::int64_t TMyFunction::FileSize64(const std::string& path) { return platform::EntrySize(path); }

std::string TMyFunction::SizeToText(const std::string& size) { return pagefold::SizeToText(size); }

std::string TMyFunction::WriteRcScript(const std::string& groupType, const std::string& scriptPath,
                                       const StringList& list) {
  return pagefold::WriteRcScript(groupType, scriptPath, list);
}

}  // namespace pagefold
