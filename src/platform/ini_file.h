// An INI file (sections in brackets, key=value lines) that is written through:
// every write reaches the file before it returns. Section and key names match
// without regard to ASCII case; values read back byte for byte as written.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace pagefold::platform {

class IniFile {
 public:
  // Reads the file when it exists; a missing file is created by the first write.
  explicit IniFile(std::string path);
  // Takes the content as the file's bytes, without reading the disk; writes
  // still go to the path.
  IniFile(std::string path, const std::string& content);

  // The value as an integer (optional blanks, optional sign, decimal digits),
  // or the default when the key is missing or not such a number.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

  // The value, or the default when the key is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

  // Writes a key. A new key of the last section, or of a new section, is
  // appended to the file; any other change rewrites it. Raises
  // "Unable to write to %s" when the file cannot be written or the value
  // holds a line break.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;  // in file order
    std::unordered_map<std::string, size_t> index;          // lower-cased key -> position
  };

  void Parse(const std::string& content);
  Section& AddSection(const std::string& name);
  const std::string* Find(const std::string& section, const std::string& key) const;
  std::string Render() const;
  void Rewrite();
  [[noreturn]] void RaiseWriteError() const;

  std::string path_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // lower-cased name -> position
  bool endsWithLineBreak_ = true;
};

}  // namespace pagefold::platform
