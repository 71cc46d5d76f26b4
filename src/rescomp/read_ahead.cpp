#include "rescomp/read_ahead.h"

#include <system_error>

#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "rescomp/res_writer.h"
#include "resformat/compile_handover.h"
#include "resformat/res_format.h"

namespace pagefold::rescomp {
namespace {

// A run ends once it holds this much, which the writer writes without
// copying it into a buffer of its own.
constexpr std::size_t kRunSize = 64 * 1024;

// The writer, once waiting, is woken when this much is ready, so that it
// does not sleep and wake for each run.
constexpr std::size_t kWakeWeight = 256 * 1024;

std::string SystemReason() { return platform::SystemErrorText(platform::LastErrorCode()); }

// The name of the file inside the folder, which its path must name.
std::string NameInside(const ResourceStatement& resource, const platform::FolderHandle& inside) {
  const std::string shown = DisplayPath(resource.file);
  const std::size_t cut = shown.rfind(platform::NativeSeparator());
  std::string folder = DisplayPath(inside.Path());
  while (!folder.empty() && folder.back() == platform::NativeSeparator()) folder.pop_back();
  if (cut == std::string::npos || shown.compare(0, cut, folder) != 0 || cut != folder.size() ||
      cut + 1 == shown.size())
    throw ScriptError(resource.line, "file \"" + shown + "\" is not in the build's work folder \"" + folder + "\"",
                      resformat::kFileNotTheBuilds);
  return shown.substr(cut + 1);
}

// Appends the whole content of the open file, which must hold its size
// exactly. The read asks for one byte past the size, so that a file that grew
// shows.
void AppendWhole(std::string& bytes, ResourceFile& file, const ResourceStatement& resource) {
  const std::size_t start = bytes.size(), size = static_cast<std::size_t>(file.size);
  bytes.resize(start + size + 1);
  std::size_t used = 0;
  do {
    const std::int64_t n = file.open->Read(bytes.data() + start + used, size + 1 - used);
    if (n < 0) throw CannotRead(resource);
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  } while (used < size);
  if (used != size) throw ChangedSize(resource);
  bytes.resize(start + size);
}

}  // namespace

ResourceFile OpenResourceFile(const ResourceStatement& resource, const platform::FolderHandle* inside) {
  ResourceFile file;
  file.open = std::make_unique<platform::FileReader>();
  if (inside) file.nameInside = NameInside(resource, *inside);
  if (!(inside ? file.open->OpenInside(*inside, file.nameInside) : file.open->Open(resource.file)))
    throw ScriptError(resource.line, "cannot open file \"" + DisplayPath(resource.file) + "\": " + SystemReason());
  file.size = file.open->Size();
  if (file.size > resformat::kMaxDataSize)
    throw ScriptError(resource.line, "file \"" + DisplayPath(resource.file) + "\" is too large for a resource: " +
                                         std::to_string(file.size) + " bytes, at most " +
                                         std::to_string(resformat::kMaxDataSize));
  return file;
}

ScriptError ChangedSize(const ResourceStatement& resource) {
  return ScriptError(resource.line, "file \"" + DisplayPath(resource.file) + "\" changed its size while it was read");
}

ScriptError CannotRead(const ResourceStatement& resource) {
  return ScriptError(resource.line, "cannot read file \"" + DisplayPath(resource.file) + "\": " + SystemReason());
}

ReadAhead::ReadAhead(const std::vector<ResourceStatement>& resources, const platform::FolderHandle* inside)
    : resources_(resources), inside_(inside) {
  try {
    thread_ = std::thread(&ReadAhead::Read, this);
  } catch (const std::system_error& e) {
    throw ScriptError(0, std::string("cannot start the thread that reads the files: ") + e.what());
  }
}

ReadAhead::~ReadAhead() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  emptied_.notify_one();
  thread_.join();
}

ResourceRun ReadAhead::Next() {
  std::unique_lock<std::mutex> lock(mutex_);
  writerWaits_ = true;
  filled_.wait(lock, [this] { return !ready_.empty(); });
  writerWaits_ = false;
  ResourceRun run = std::move(ready_.front());
  ready_.pop_front();
  held_ -= Weight(run);
  if (readerWaits_ && held_ <= kHeldLimit / 2) emptied_.notify_one();
  return run;
}

void ReadAhead::Read() {
  ResourceRun run;
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    const bool full = !Add(resources_[i], run);
    const bool last = run.error || i + 1 == resources_.size();
    if (!full && !last) continue;
    run.last = last;
    if (!Hand(std::move(run)) || last) return;
    run = ResourceRun();
  }
  run.last = true;
  Hand(std::move(run));
}

bool ReadAhead::Add(const ResourceStatement& resource, ResourceRun& run) const {
  try {
    ResourceFile file = OpenResourceFile(resource, inside_);
    run.bytes += ResourceHeader(resource.type, resource.name, resource.language, static_cast<std::uint32_t>(file.size));
    if (file.size > kWholeFileLimit) {
      run.streamedResource = &resource;
      run.streamed = std::move(file);
      return false;
    }
    AppendWhole(run.bytes, file, resource);
    run.bytes += PaddingAfter(file.size);
    if (inside_) run.packed.push_back(std::move(file.nameInside));
  } catch (...) {
    run.error = std::current_exception();
    return false;
  }
  return run.bytes.size() < kRunSize;
}

bool ReadAhead::Hand(ResourceRun run) {
  const std::size_t weight = Weight(run);
  const bool last = run.last;
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_ && !ready_.empty() && held_ + weight > kHeldLimit) {
    if (writerWaits_) filled_.notify_one();
    readerWaits_ = true;
    emptied_.wait(lock);
    readerWaits_ = false;
  }
  if (stopping_) return false;
  ready_.push_back(std::move(run));
  held_ += weight;
  if (writerWaits_ && (last || held_ >= kWakeWeight)) filled_.notify_one();
  return true;
}

// What a run takes of the limit: its bytes, and for an open file as much as
// the largest file held, so that few files stay open at once.
std::size_t ReadAhead::Weight(const ResourceRun& run) {
  return run.bytes.size() + (run.streamed.open ? kWholeFileLimit : 0);
}

}  // namespace pagefold::rescomp
