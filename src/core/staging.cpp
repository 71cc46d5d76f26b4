#include "core/staging.h"

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/file_registry.h"
#include "core/name_conversion.h"
#include "core/paths.h"
#include "core/string_list.h"
#include "platform/platform_error.h"

namespace pagefold {
namespace {

// The registry's text, built while the copies are made and written once.
class RegistryText {
 public:
  explicit RegistryText(std::string path) : path_(std::move(path)) {}

  void Add(const std::string& key, const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos) RaiseWriteError();
    text_ += key + "=" + value + "\r\n";
  }

  void WriteTo(platform::FolderHandle& work) const {
    try {
      work.Write(kRegistryFile, text_);
    } catch (const platform::PlatformError&) {
      RaiseWriteError();
    }
  }

 private:
  [[noreturn]] void RaiseWriteError() const { throw platform::PlatformError("Unable to write to " + path_); }

  const std::string path_;
  std::string text_ = std::string("[") + kRegistrySection + "]\r\n";
};

bool BelowWorkFolder(const OwnOutputs& own, const std::string& item) {
  return !own.workFolderItem.empty() && item.rfind(own.workFolderItem, 0) == 0;
}

std::string Extension(const std::string& item, StagedNames names) {
  return names == StagedNames::WithExtension ? ExtWithDot(item) : "";
}

bool IsOwnOutput(const OwnOutputs& own, const platform::FileIdentity& identity) {
  return (own.script && identity == *own.script) || (own.resourceFile && identity == *own.resourceFile);
}

// The file under its first name as a second name made from its path, which
// spares opening it; nothing when that does not serve or the file is one of
// the build's own outputs, and then the caller opens it.
std::optional<StagedFile> LinkFirstName(platform::FolderHandle& work, const OwnOutputs& own,
                                        const std::string& path, int number, const std::string& item,
                                        StagedNames names) {
  const std::string ext = Extension(item, names);
  const std::string name = StagedName(number) + ext;
  const auto linked = work.LinkIn(path, name);
  if (!linked) return std::nullopt;
  if (IsOwnOutput(own, linked->identity)) {
    work.Remove(name);
    return std::nullopt;
  }
  return StagedFile{!ext.empty(), linked->size};
}

// Puts the file in under its number with its extension, or else bare; the
// first bool tells whether it went in, the second whether with its extension.
std::pair<bool, bool> Stage(platform::FolderHandle& work, platform::SourceFile& file, int number,
                            const std::string& item, StagedNames names) {
  const std::string ext = Extension(item, names);
  if (!ext.empty() && work.LinkOrCopyIn(file, StagedName(number) + ext)) return {true, true};
  return {work.LinkOrCopyIn(file, StagedName(number)), false};
}

// Stages the file under its number: by a second name made from its path
// where that serves, else through the opened file. Nothing when it is
// missing, unreadable, not a regular file or the resource file; the script
// ends the build.
std::optional<StagedFile> StageOne(platform::FolderHandle& work, const OwnOutputs& own,
                                   const std::string& path, int number, const std::string& item,
                                   StagedNames names) {
  if (auto linked = LinkFirstName(work, own, path, number, item, names)) return linked;
  platform::SourceFile file;
  if (!file.Open(path)) return std::nullopt;
  if (own.script && file.Identity() == *own.script)
    throw platform::PlatformError(texts::ScriptAmongSources(own.scriptPath));
  if (own.resourceFile && file.Identity() == *own.resourceFile) return std::nullopt;
  const auto [in, full] = Stage(work, file, number, item, names);
  if (!in) return std::nullopt;
  return StagedFile{full, file.Size()};
}

}  // namespace

std::vector<StagedFile> StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own,
                             StagedNames names) {
  // The window hands out events while staging runs; the user may pick another
  // folder or change ticks meanwhile, so the loop works on this snapshot.
  const std::string source = host.SourceFolder();
  const StringList items = host.TickedItems();

  host.PumpAllEvents();
  StopWhenClosing(host);
  host.SetStatusText(1, texts::kCopying);
  work.Clear();
  host.SetCheckListEnabled(false);
  int number = 1;
  std::vector<StagedFile> staged(1);
  RegistryText registry(work.PathOf(kRegistryFile));
  const int ticked = static_cast<int>(items.size());
  host.SetProgressMax(ticked);
  for (const std::string& item : items) {
    const auto file =
        BelowWorkFolder(own, item) ? std::nullopt : StageOne(work, own, JoinPath(source, item), number, item, names);
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (file) {
      registry.Add(StagedName(number), item);
      staged.push_back(*file);
      ++number;
      host.SetStatusText(0, texts::Counter(number - 1, ticked));
    }
  }
  registry.Add(kRegistryCount, std::to_string(number - 1));
  registry.WriteTo(work);
  host.SetCheckListEnabled(true);
  return staged;
}

}  // namespace pagefold
