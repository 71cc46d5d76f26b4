#include "core/staging.h"

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/file_registry.h"
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

}  // namespace

void StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own) {
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
  RegistryText registry(work.PathOf(kRegistryFile));
  const int ticked = static_cast<int>(items.size());
  host.SetProgressMax(ticked);
  for (const std::string& item : items) {
    platform::SourceFile file;
    const bool opened = !BelowWorkFolder(own, item) && file.Open(JoinPath(source, item));
    if (opened && own.script && file.Identity() == *own.script)
      throw platform::PlatformError(texts::ScriptAmongSources(own.scriptPath));
    const bool isResourceFile = opened && own.resourceFile && file.Identity() == *own.resourceFile;
    const bool staged = opened && !isResourceFile && work.CopyIn(file, StagedName(number));
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (staged) {
      registry.Add(StagedName(number), item);
      ++number;
      host.SetStatusText(0, texts::Counter(number - 1, ticked));
    }
  }
  registry.Add(kRegistryCount, std::to_string(number - 1));
  registry.WriteTo(work);
  host.SetCheckListEnabled(true);
}

}  // namespace pagefold
