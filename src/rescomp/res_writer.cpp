#include "rescomp/res_writer.h"

#include <algorithm>

#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "rescomp/read_ahead.h"
#include "rescomp/script_error.h"
#include "resformat/res_format.h"

namespace pagefold::rescomp {
namespace {

constexpr std::size_t kChunkSize = 1 << 16;
constexpr std::uint16_t kMemoryFlags = 0x0030;  // MOVEABLE | PURE, as resource compilers write

void PutU16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutString(std::string& out, const std::u16string& s) {
  for (char16_t c : s) PutU16(out, c);
  PutU16(out, 0);
}

void PutOrdinal(std::string& out, std::uint16_t ordinal) {
  PutU16(out, resformat::kOrdinalMark);
  PutU16(out, ordinal);
}

// The fields after type and name, in the order of the format's tail.
void PutTail(std::string& out, std::uint16_t memoryFlags, std::uint16_t language) {
  PutU32(out, 0);
  PutU16(out, memoryFlags);
  PutU16(out, language);
  PutU32(out, 0);
  PutU32(out, 0);
}

std::string SystemReason() { return platform::SystemErrorText(platform::LastErrorCode()); }

class ResFileWriter {
 public:
  ResFileWriter(platform::FileWriter& out, const std::string& outName) : out_(out), outName_(outName), chunk_(kChunkSize) {}

  void Put(const std::string& bytes) { Put(bytes.data(), bytes.size()); }

  void Put(const void* data, std::size_t size) {
    if (!out_.Write(data, size)) throw ScriptError(0, "cannot write \"" + outName_ + "\": " + SystemReason());
  }

  // Writes the run's bytes, then streams and pads its open file.
  void PutRun(ResourceRun& run) {
    Put(run.bytes);
    if (!run.streamed.open) return;
    Stream(*run.streamedResource, *run.streamed.open, run.streamed.size);
    Put(PaddingAfter(run.streamed.size));
    run.streamed.open.reset();
  }

 private:
  // Copies a file too large to hold through the chunk. Each read asks for
  // one byte past the size, so that a read short of that at the size is the
  // end and a file that grew shows at once.
  void Stream(const ResourceStatement& resource, platform::FileReader& file, std::uint64_t size) {
    std::uint64_t copied = 0;
    for (;;) {
      const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_.size(), size - copied + 1));
      const std::int64_t n = file.Read(chunk_.data(), wanted);
      if (n < 0) throw CannotRead(resource);
      if (n == 0) break;
      copied += static_cast<std::uint64_t>(n);
      if (copied > size) break;
      Put(chunk_.data(), static_cast<std::size_t>(n));
      if (copied == size && static_cast<std::size_t>(n) < wanted) break;
    }
    if (copied != size) throw ChangedSize(resource);
  }

  platform::FileWriter& out_;
  const std::string& outName_;
  std::vector<char> chunk_;
};

}  // namespace

std::string EmptyEntry() {
  std::string out;
  PutU32(out, 0);  // DataSize
  PutU32(out, resformat::kEmptyEntryHeaderSize);
  PutOrdinal(out, 0);  // type
  PutOrdinal(out, 0);  // name
  PutTail(out, 0, 0);
  return out;
}

std::string ResourceHeader(const std::u16string& type, const std::u16string& name,
                           std::uint16_t language, std::uint32_t dataSize) {
  std::string names;
  PutString(names, type);
  PutString(names, name);
  names.append(PaddingAfter(names.size()));
  std::string out;
  PutU32(out, dataSize);
  PutU32(out, static_cast<std::uint32_t>(resformat::StringHeaderSize(type.size(), name.size())));
  out += names;
  PutTail(out, kMemoryFlags, language);
  return out;
}

std::string PaddingAfter(std::uint64_t dataSize) {
  return std::string(static_cast<std::size_t>(resformat::PaddingAfter(dataSize)), '\0');
}

void WriteResFile(const std::vector<ResourceStatement>& resources, platform::FileWriter& out,
                  const std::string& outName, platform::FolderHandle* inside) {
  ResFileWriter writer(out, outName);
  writer.Put(EmptyEntry());
  ReadAhead files(resources, inside);
  for (;;) {
    ResourceRun run = files.Next();
    writer.PutRun(run);
    if (inside) {
      for (const std::string& name : run.packed) inside->Remove(name);
      if (run.streamedResource) inside->Remove(run.streamed.nameInside);
    }
    if (run.error) std::rethrow_exception(run.error);
    if (run.last) return;
  }
}

std::string DisplayPath(const std::string& path) {
  std::string shown = path;
  std::replace(shown.begin(), shown.end(), '\\', platform::NativeSeparator());
  return shown;
}

}  // namespace pagefold::rescomp
