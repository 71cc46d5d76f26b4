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

// Puts the file in under its number with its extension, or else bare; the
// first bool tells whether it went in, the second whether with its extension.
std::pair<bool, bool> Stage(platform::FolderHandle& work, platform::SourceFile& file, int number,
                            const std::string& item, StagedNames names) {
  const std::string ext = names == StagedNames::WithExtension ? ExtWithDot(item) : "";
  if (!ext.empty() && work.LinkOrCopyIn(file, StagedName(number) + ext)) return {true, true};
  return {work.LinkOrCopyIn(file, StagedName(number)), false};
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
    platform::SourceFile file;
    const bool opened = !BelowWorkFolder(own, item) && file.Open(JoinPath(source, item));
    if (opened && own.script && file.Identity() == *own.script)
      throw platform::PlatformError(texts::ScriptAmongSources(own.scriptPath));
    const bool isResourceFile = opened && own.resourceFile && file.Identity() == *own.resourceFile;
    const auto [in, full] =
        opened && !isResourceFile ? Stage(work, file, number, item, names) : std::pair{false, false};
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (in) {
      registry.Add(StagedName(number), item);
      staged.push_back({full, file.Size()});
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
