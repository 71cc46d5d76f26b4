#include "cli/depfile.h"

#include "platform/file_ops.h"
#include "text/cp1251.h"

namespace pagefold::cli {
namespace {

// Neither tool can read a path across lines; such a name is never packed.
bool HasLineBreak(const std::string& path) { return path.find_first_of("\r\n") != std::string::npos; }

std::string Escaped(const std::string& path) {
  const std::string utf8 = text::Cp1251ToUtf8(path).value_or(path);
  std::string escaped;
  for (const char c : utf8) {
    if (c == ' ' || c == '\t' || c == '#') escaped += '\\';
    if (c == '$') escaped += '$';
    escaped += c;
  }
  // A folder without its closing separator: Ninja compares paths as written.
  if (escaped.size() > 1 && (escaped.back() == '/' || escaped.back() == '\\')) escaped.pop_back();
  return escaped;
}

}  // namespace

std::string DepfileText(const std::string& target, const std::vector<std::string>& paths) {
  std::string text = Escaped(target) + ":";
  for (const std::string& path : paths)
    if (!HasLineBreak(path)) text += " \\\n  " + Escaped(path);
  return text + "\n";
}

void WriteDepfile(const std::string& file, const std::string& target, const std::vector<std::string>& paths) {
  platform::WriteFileBytes(file, DepfileText(target, paths));
}

}  // namespace pagefold::cli
