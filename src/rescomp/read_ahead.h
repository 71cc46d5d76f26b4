// The resources' files read on a thread of its own, ahead of the writing and
// in the script's order, and laid out as the .res holds them (header, data,
// padding), so that opening and reading the next files costs the writer no
// time and the writer writes what it is handed as it stands. What waits for
// the writer is bounded: a file up to kWholeFileLimit is held whole, a larger
// one is handed over open for the writer to stream, and the reader stops
// ahead once kHeldLimit is taken.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_reader.h"
#include "platform/folder_handle.h"
#include "rescomp/script_error.h"
#include "rescomp/script_parser.h"

namespace pagefold::rescomp {

constexpr std::size_t kWholeFileLimit = 256 * 1024;
constexpr std::size_t kHeldLimit = 2 * 1024 * 1024;

// A file of a resource, opened.
struct ResourceFile {
  std::unique_ptr<platform::FileReader> open;
  std::uint64_t size = 0;  // when it was opened
  std::string nameInside;  // with a folder, the file's name in it
};

// Opens the resource's file: by its path, or with a folder by its name right
// inside that folder, never through a link. Raises ScriptError when it lies
// elsewhere (exit code resformat::kFileNotTheBuilds), cannot be opened or is
// too large for a resource.
ResourceFile OpenResourceFile(const ResourceStatement& resource, const platform::FolderHandle* inside);

// The message of a file that held more or fewer bytes than its size.
ScriptError ChangedSize(const ResourceStatement& resource);
// The message of a file whose read failed, with the system's reason.
ScriptError CannotRead(const ResourceStatement& resource);

// The next resources in the .res's layout: `bytes` holds the resources of
// `packed` whole, then, when a file is too large to hold, its header, and the
// file comes open in `streamed` for the writer to copy and pad. `error` is
// what the resource after those raised; `last` marks the end of the resources.
struct ResourceRun {
  std::string bytes;
  std::vector<std::string> packed;  // with a folder, the names of the files held whole
  const ResourceStatement* streamedResource = nullptr;
  ResourceFile streamed;
  std::exception_ptr error;
  bool last = false;
};

class ReadAhead {
 public:
  // Starts reading the files of the resources, which must outlive it.
  ReadAhead(const std::vector<ResourceStatement>& resources, const platform::FolderHandle* inside);
  // Stops the reading after the file in hand and waits for it.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next run, in the resources' order; called until one is the last or
  // carries an error.
  ResourceRun Next();

 private:
  void Read();
  // Adds the resource to the run; false when it ends the run.
  bool Add(const ResourceStatement& resource, ResourceRun& run) const;
  // Queues the run once there is room for it; false when the writer has gone.
  bool Hand(ResourceRun run);
  static std::size_t Weight(const ResourceRun& run);

  const std::vector<ResourceStatement>& resources_;
  const platform::FolderHandle* inside_;
  std::mutex mutex_;
  std::condition_variable filled_;
  std::condition_variable emptied_;
  std::deque<ResourceRun> ready_;
  std::size_t held_ = 0;  // the weight of what is ready
  bool readerWaits_ = false;
  bool writerWaits_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pagefold::rescomp
