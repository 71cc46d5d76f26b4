#include "core/staging.h"

#include "core/build_cancelled.h"
#include "core/build_texts.h"
#include "core/file_registry.h"
#include "core/name_conversion.h"
#include "core/ordered_run.h"
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

// Items from this many up are staged on two threads: the build's own takes
// the first half, a second thread the rest.
constexpr size_t kTwoThreadsFrom = 400;

// The staging of the ticked items, in their order, on the build's thread.
class Stager {
 public:
  Stager(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own, StagedNames names,
         bool followLinks, std::vector<MissingFile>& missing)
      : host_(host),
        work_(work),
        own_(own),
        names_(names),
        missing_(missing),
        source_(host.SourceFolder()),
        items_(host.TickedItems()),
        tree_(source_, followLinks),
        registry_(work.PathOf(kRegistryFile)) {}

  std::vector<StagedFile> Run() {
    host_.PumpAllEvents();
    StopWhenClosing(host_);
    host_.SetStatusText(1, texts::kCopying);
    work_.Clear();
    host_.SetCheckListEnabled(false);
    host_.SetProgressMax(static_cast<int>(items_.size()));
    platform::FolderHandle second;
    if (items_.size() >= kTwoThreadsFrom && second.OpenSame(work_)) {
      StageInTwoHalves(second);
    } else {
      for (const std::string& item : items_) Record(item, StageItem(work_, tree_, item, number_));
    }
    registry_.Add(kRegistryCount, std::to_string(number_ - 1));
    registry_.WriteTo(work_);
    host_.SetCheckListEnabled(true);
    return std::move(staged_);
  }

 private:
  StageResult StageItem(platform::FolderHandle& work, platform::SourceTree& tree, const std::string& item,
                        int number) const {
    return BelowWorkFolder(own_, item) ? StageResult{} : StageOne(work, source_, tree, number, item, names_);
  }

  // The second half is staged meanwhile, through the second handle, under
  // numbers that count on the first half staging every item it may; the
  // files of the first half that fail move its files down by as many numbers.
  void StageInTwoHalves(platform::FolderHandle& work) {
    const size_t half = items_.size() / 2;
    int first = 1;  // of the second half, when the first loses no file
    for (size_t i = 0; i < half; ++i)
      if (!BelowWorkFolder(own_, items_[i])) ++first;
    platform::SourceTree tree(platform::SourceTree::SameBoundsAs{tree_});
    int next = first;
    OrderedRun<StageResult> second(items_.size() - half, [&](size_t i) {
      StageResult result = StageItem(work, tree, items_[half + i], next);
      if (result.file) ++next;
      return result;
    });
    for (size_t i = 0; i < half; ++i) Record(items_[i], StageItem(work_, tree_, items_[i], number_));
    const int lost = first - number_;
    for (size_t i = 0; i < items_.size() - half;) {
      std::optional<StageResult> result = second.Take(i, std::chrono::milliseconds(20));
      if (!result) {
        host_.PumpAllEvents();
        StopWhenClosing(host_);
        continue;
      }
      const std::string& item = items_[half + i++];
      if (result->file && lost > 0) MoveDown(*result->file, item, number_ + lost);
      Record(item, std::move(*result));
    }
  }

  // Gives the file staged under that number the next number, in the same form.
  void MoveDown(const StagedFile& file, const std::string& item, int from) {
    const std::string ext = file.withExtension ? ExtWithDot(item) : "";
    const std::string to = StagedName(number_) + ext;
    if (!work_.Rename(StagedName(from) + ext, to))
      throw platform::PlatformError("Unable to write to " + work_.PathOf(to));
  }

  // Records the item's result as the next, between the window's events.
  void Record(const std::string& item, StageResult result) {
    if (result.missing) missing_.push_back({item, *result.missing, ""});
    host_.AdvanceProgress();
    host_.PumpAllEvents();
    StopWhenClosing(host_);
    if (result.file) {
      registry_.Add(StagedName(number_), item);
      staged_.push_back(std::move(*result.file));
      ++number_;
      host_.SetStatusText(0, texts::Counter(number_ - 1, static_cast<int>(items_.size())));
    }
  }

  BuildHost& host_;
  platform::FolderHandle& work_;
  const OwnOutputs& own_;
  const StagedNames names_;
  std::vector<MissingFile>& missing_;
  // The window hands out events while staging runs; the user may pick another
  // folder or change ticks meanwhile, so staging works on this snapshot.
  const std::string source_;
  const StringList items_;
  platform::SourceTree tree_;
  RegistryText registry_;
  int number_ = 1;
  std::vector<StagedFile> staged_ = std::vector<StagedFile>(1);
};

}  // namespace

std::vector<StagedFile> StageFiles(BuildHost& host, platform::FolderHandle& work, const OwnOutputs& own,
                                   StagedNames names, bool followLinks, std::vector<MissingFile>& missing) {
  return Stager(host, work, own, names, followLinks, missing).Run();
}

}  // namespace pagefold
