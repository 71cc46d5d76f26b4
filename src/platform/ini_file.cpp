#include "platform/ini_file.h"

#include <string_view>

#include "platform/file_ops.h"
#include "platform/platform_error.h"
#include "text/case_rules.h"

namespace pagefold::platform {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::string KeyLine(const std::string& key, const std::string& value) {
  return key + "=" + value + "\r\n";
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  if (FileExists(path_)) Parse(ReadFileBytes(path_));
}

IniFile::IniFile(std::string path, const std::string& content) : path_(std::move(path)) { Parse(content); }

// Lines are read in place: only a key and its value are copied.
void IniFile::Parse(const std::string& content) {
  Section* current = nullptr;
  const std::string_view all(content);
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find('\n', pos);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed[0] == '[') {
      const auto close = trimmed.find(']');
      const std::string name(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
      const auto found = sectionIndex_.find(text::LowerAscii(name));
      current = found != sectionIndex_.end() ? &sections_[found->second] : &AddSection(name);
      continue;
    }
    const auto eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string key(TrimBlanks(line.substr(0, eq)));
    // The first of duplicate keys wins.
    if (!current->index.try_emplace(text::LowerAscii(key), current->keys.size()).second) continue;
    current->keys.emplace_back(std::move(key), line.substr(eq + 1));
  }
  endsWithLineBreak_ = content.empty() || content.back() == '\n';
}

IniFile::Section& IniFile::AddSection(const std::string& name) {
  sectionIndex_[text::LowerAscii(name)] = sections_.size();
  sections_.push_back(Section{name, {}, {}});
  return sections_.back();
}

const std::string* IniFile::Find(const std::string& section, const std::string& key) const {
  const auto s = sectionIndex_.find(text::LowerAscii(section));
  if (s == sectionIndex_.end()) return nullptr;
  const Section& sec = sections_[s->second];
  const auto k = sec.index.find(text::LowerAscii(key));
  return k == sec.index.end() ? nullptr : &sec.keys[k->second].second;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  const std::string* value = Find(section, key);
  if (!value) return defaultValue;
  const std::string_view s = TrimBlanks(*value);
  size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
  if (i == s.size()) return defaultValue;
  long long n = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return defaultValue;
    n = n * 10 + (s[i] - '0');
    if (n > 2147483648LL) return defaultValue;
  }
  if (s[0] == '-') n = -n;
  if (n > 2147483647LL) return defaultValue;
  return static_cast<int>(n);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const std::string* value = Find(section, key);
  return value ? *value : defaultValue;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos || key.find_first_of("\r\n=[") != std::string::npos)
    RaiseWriteError();
  const auto s = sectionIndex_.find(text::LowerAscii(section));
  const bool newSection = s == sectionIndex_.end();
  Section& sec = newSection ? AddSection(section) : sections_[s->second];
  const std::string lowered = text::LowerAscii(key);
  const auto k = sec.index.find(lowered);
  if (k != sec.index.end()) {
    if (sec.keys[k->second].second == value) return;
    sec.keys[k->second].second = value;
    Rewrite();
    return;
  }
  sec.index[lowered] = sec.keys.size();
  sec.keys.emplace_back(key, value);
  const bool lastSection = &sec == &sections_.back();
  if (!lastSection) {
    Rewrite();
    return;
  }
  std::string tail = endsWithLineBreak_ ? "" : "\r\n";
  if (newSection) tail += "[" + section + "]\r\n";
  tail += KeyLine(key, value);
  if (!AppendFileBytes(path_, tail)) RaiseWriteError();
  endsWithLineBreak_ = true;
}

void IniFile::Rewrite() {
  try {
    WriteFileBytes(path_, Render());
  } catch (const PlatformError&) {
    RaiseWriteError();
  }
  endsWithLineBreak_ = true;
}

std::string IniFile::Render() const {
  std::string out;
  for (const Section& sec : sections_) {
    out += "[" + sec.name + "]\r\n";
    for (const auto& [key, value] : sec.keys) out += KeyLine(key, value);
  }
  return out;
}

void IniFile::RaiseWriteError() const { throw PlatformError("Unable to write to " + path_); }

}  // namespace pagefold::platform
