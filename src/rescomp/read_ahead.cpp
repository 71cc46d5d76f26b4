#include "rescomp/read_ahead.h"

#include <system_error>

#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "rescomp/res_writer.h"
#include "resformat/compile_handover.h"
#include "resformat/res_format.h"

namespace pagefold::rescomp {
namespace {

// The writer, once waiting, is woken for this many files at least, so that
// it does not sleep and wake for each small file.
constexpr std::size_t kWakeCount = 32;

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

// The whole content of the open file, which must hold its size exactly.
// The read asks for one byte past the size, so that a file that grew shows.
std::string ReadWhole(platform::FileReader& file, const ResourceStatement& resource) {
  const std::size_t size = static_cast<std::size_t>(file.Size());
  std::string bytes(size + 1, '\0');
  std::size_t used = 0;
  do {
    const std::int64_t n = file.Read(bytes.data() + used, bytes.size() - used);
    if (n < 0)
      throw ScriptError(resource.line, "cannot read file \"" + DisplayPath(resource.file) + "\": " + SystemReason());
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  } while (used < size);
  if (used != size) throw ChangedSize(resource);
  bytes.resize(size);
  return bytes;
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

ResourceFile ReadAhead::Next() {
  std::unique_lock<std::mutex> lock(mutex_);
  writerWaits_ = true;
  filled_.wait(lock, [this] { return !ready_.empty(); });
  writerWaits_ = false;
  Entry entry = std::move(ready_.front());
  ready_.pop_front();
  held_ -= Weight(entry);
  if (readerWaits_ && held_ <= kHeldLimit / 2) emptied_.notify_one();
  lock.unlock();
  if (entry.error) std::rethrow_exception(entry.error);
  return std::move(entry.file);
}

void ReadAhead::Read() {
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    Entry entry = Take(resources_[i], inside_);
    const bool failed = entry.error != nullptr;
    if (!Hand(std::move(entry), failed || i + 1 == resources_.size()) || failed) return;
  }
}

ReadAhead::Entry ReadAhead::Take(const ResourceStatement& resource, const platform::FolderHandle* inside) {
  Entry entry;
  try {
    entry.file = OpenResourceFile(resource, inside);
    if (entry.file.size <= kWholeFileLimit) {
      entry.file.bytes = ReadWhole(*entry.file.open, resource);
      entry.file.open.reset();
    }
  } catch (...) {
    entry.error = std::current_exception();
  }
  return entry;
}

bool ReadAhead::Hand(Entry entry, bool last) {
  const std::size_t weight = Weight(entry);
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_ && !ready_.empty() && held_ + weight > kHeldLimit) {
    if (writerWaits_) filled_.notify_one();
    readerWaits_ = true;
    emptied_.wait(lock);
    readerWaits_ = false;
  }
  if (stopping_) return false;
  ready_.push_back(std::move(entry));
  held_ += weight;
  if (writerWaits_ && (last || ready_.size() >= kWakeCount || held_ >= kHeldLimit / 2)) filled_.notify_one();
  return true;
}

// What an entry takes of the limit: its bytes, and for an open file as much
// as the largest file held, so that few files stay open at once. Each entry
// counts for something, so that the number waiting is bounded too.
std::size_t ReadAhead::Weight(const Entry& entry) {
  constexpr std::size_t kEntryWeight = 1024;
  return kEntryWeight + (entry.file.open ? kWholeFileLimit : entry.file.bytes.size());
}

}  // namespace pagefold::rescomp
