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

// The file under its first name as a second name made from its path, which
// spares opening it; nothing when that does not serve, and then the caller
// opens it.
std::optional<StagedFile> LinkFirstName(platform::FolderHandle& work, const std::string& path,
                                        platform::SourceTree& tree, int number, const std::string& item,
                                        StagedNames names) {
  const std::string ext = Extension(item, names);
  const auto linked = work.LinkIn(path, StagedName(number) + ext, tree);
  if (!linked) return std::nullopt;
  return StagedFile{!ext.empty(), linked->size, item};
}

// Puts the file in under its number with its extension, or else bare; the
// first bool tells whether it went in, the second whether with its extension.
std::pair<bool, bool> Stage(platform::FolderHandle& work, platform::SourceFile& file, int number,
                            const std::string& item, StagedNames names) {
  const std::string ext = Extension(item, names);
  if (!ext.empty() && work.LinkOrCopyIn(file, StagedName(number) + ext)) return {true, true};
  return {work.LinkOrCopyIn(file, StagedName(number)), false};
}

MissingReason ReasonOf(platform::FileFault fault) {
  switch (fault) {
    case platform::FileFault::Unreadable: return MissingReason::Unreadable;
    case platform::FileFault::Gone: return MissingReason::Gone;
    case platform::FileFault::NotAFile: return MissingReason::NotAFile;
    case platform::FileFault::NoRoom: return MissingReason::NoRoom;
    case platform::FileFault::NameTooLong: return MissingReason::NameTooLong;
    case platform::FileFault::LeadsOut: return MissingReason::LinkSwapped;
    default: return MissingReason::Failed;
  }
}

// A file staged, or why not.
struct StageResult {
  std::optional<StagedFile> file;
  std::optional<MissingReason> missing;  // nothing for a file passed over on purpose
};

// Stages the file under its number: by a second name made from its path
// where that serves, else through the opened file. Nothing when it is
// missing, unreadable, not a regular file or outside the source folder.
StageResult StageOne(platform::FolderHandle& work, const std::string& source, platform::SourceTree& tree,
                     int number, const std::string& item, StagedNames names) {
  const std::string path = JoinPath(source, item);
  if (auto linked = LinkFirstName(work, path, tree, number, item, names)) return {linked, {}};
  platform::SourceFile file;
  if (!file.Open(path, tree)) return {{}, ReasonOf(platform::LastFileFault())};
  const auto [in, full] = Stage(work, file, number, item, names);
  if (!in) return {{}, ReasonOf(platform::LastFileFault())};
  return {StagedFile{full, file.Size(), item}, {}};
}

}  // namespace

std::vector<StagedFile> StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own,
                                   StagedNames names, bool followLinks, std::vector<MissingFile>& missing) {
  // The window hands out events while staging runs; the user may pick another
  // folder or change ticks meanwhile, so the loop works on this snapshot.
  const std::string source = host.SourceFolder();
  const StringList items = host.TickedItems();
  platform::SourceTree tree(source, followLinks);

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
    const StageResult result =
        BelowWorkFolder(own, item) ? StageResult{} : StageOne(work, source, tree, number, item, names);
    if (result.missing) missing.push_back({item, *result.missing, ""});
    host.AdvanceProgress();
    host.PumpAllEvents();
    StopWhenClosing(host);
    if (result.file) {
      registry.Add(StagedName(number), item);
      staged.push_back(*result.file);
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
