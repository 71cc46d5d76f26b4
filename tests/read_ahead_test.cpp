#include "rescomp/read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/platform_error.h"
#include "rescomp/res_writer.h"
#include "test_support.h"

namespace {

using pagefold::rescomp::kHeldLimit;
using pagefold::rescomp::kWholeFileLimit;
using pagefold::rescomp::ReadAhead;
using pagefold::rescomp::ResourceRun;
using pagefold::rescomp::ResourceStatement;
using pagefold::rescomp::ScriptError;
using testing_support::OsPath;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

#ifdef _WIN32
const std::string kFileNotFound = pagefold::platform::SystemErrorText(2);  // ERROR_FILE_NOT_FOUND
#else
const std::string kFileNotFound = "No such file or directory";
#endif

// Bytes that differ at every position, so that a piece out of place shows.
std::string Pattern(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251 + seed);
  return bytes;
}

// Files named f0, f1, ... of the sizes, each of its own pattern, and their
// statements, types and names differing too.
std::vector<ResourceStatement> WriteFiles(const ScratchDir& dir, const std::vector<std::size_t>& sizes) {
  std::vector<ResourceStatement> resources;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const std::string name = "f" + std::to_string(i);
    WriteFile(dir.path() / name, Pattern(sizes[i], static_cast<int>(i)));
    resources.push_back({i % 2 ? u"GIF" : u"HTM", u"N" + std::u16string(i % 5, u'X'), dir.str() + OsPath("/" + name),
                         static_cast<std::uint16_t>(0x0409 + i % 3), 10 + static_cast<int>(i)});
  }
  return resources;
}

// The .res's resources as they must come: header, data, padding.
std::string Layout(const std::vector<ResourceStatement>& resources, const std::vector<std::size_t>& sizes) {
  std::string bytes;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const ResourceStatement& r = resources[i];
    bytes += pagefold::rescomp::ResourceHeader(r.type, r.name, r.language, static_cast<std::uint32_t>(sizes[i]));
    bytes += Pattern(sizes[i], static_cast<int>(i)) + pagefold::rescomp::PaddingAfter(sizes[i]);
  }
  return bytes;
}

// What the runs hold up to the last one or the first error, streamed files
// read and padded as the writer does; the names packed whole and streamed.
struct Drained {
  std::string bytes;
  std::vector<std::string> packed, streamed;
  std::size_t runs = 0;
  std::exception_ptr error;
};

Drained Drain(ReadAhead& files) {
  Drained out;
  for (;;) {
    ResourceRun run = files.Next();
    ++out.runs;
    out.bytes += run.bytes;
    out.packed.insert(out.packed.end(), run.packed.begin(), run.packed.end());
    if (run.streamed.open) {
      std::string data(run.streamed.size + 1, '\0');
      data.resize(static_cast<std::size_t>(std::max<std::int64_t>(run.streamed.open->Read(data.data(), data.size()), 0)));
      out.bytes += data + pagefold::rescomp::PaddingAfter(run.streamed.size);
      out.streamed.push_back(run.streamed.nameInside);
    }
    if (run.error) out.error = run.error;
    if (run.error || run.last) return out;
  }
}

std::string ErrorText(const std::exception_ptr& error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const ScriptError& e) {
    return std::to_string(e.line()) + ": " + e.what();
  }
  return "";
}

// Files of every size around the limit of a file held whole, and more of them
// than the limit of what is held at once, come in order in the .res's layout;
// only those over the limit come open.
TEST(ReadAhead, GivesEveryResourceInTheResLayout) {
  ScratchDir dir;
  std::vector<std::size_t> sizes;
  for (int round = 0; round < 3; ++round)
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3}, kWholeFileLimit - 1, kWholeFileLimit,
                             kWholeFileLimit + 1, 3 * kWholeFileLimit, std::size_t{5}, kHeldLimit + 7})
      sizes.push_back(size);
  const std::vector<ResourceStatement> resources = WriteFiles(dir, sizes);
  ReadAhead files(resources, nullptr);
  const Drained drained = Drain(files);
  EXPECT_EQ(ErrorText(drained.error), "");
  EXPECT_TRUE(drained.bytes == Layout(resources, sizes)) << "the layout differs";
  EXPECT_EQ(drained.streamed.size(), 3u * 3u);
  EXPECT_TRUE(drained.packed.empty());

  const std::vector<ResourceStatement> none;
  ReadAhead nothing(none, nullptr);
  const Drained empty = Drain(nothing);
  EXPECT_EQ(empty.bytes, "");
  EXPECT_EQ(empty.runs, 1u);
}

// With a folder, files are opened by their names in it, which come back to
// be removed once written.
TEST(ReadAhead, NamesTheFilesOfTheFolder) {
  ScratchDir dir;
  const std::vector<std::size_t> sizes = {10, kWholeFileLimit + 1, 20, 30};
  const std::vector<ResourceStatement> resources = WriteFiles(dir, sizes);
  pagefold::platform::FolderHandle folder;
  ASSERT_TRUE(folder.Open(dir.str()));
  ReadAhead files(resources, &folder);
  const Drained drained = Drain(files);
  EXPECT_EQ(ErrorText(drained.error), "");
  EXPECT_TRUE(drained.bytes == Layout(resources, sizes));
  EXPECT_EQ(drained.packed, (std::vector<std::string>{"f0", "f2", "f3"}));
  EXPECT_EQ(drained.streamed, (std::vector<std::string>{"f1"}));
}

// A file that cannot be opened fails at its own turn, after the files before
// it, with its line; nothing is read past it.
TEST(ReadAhead, AFileThatCannotBeOpenedFailsInItsTurn) {
  ScratchDir dir;
  const std::vector<std::size_t> sizes = {3, 0, 4, 5};
  const std::vector<ResourceStatement> resources = WriteFiles(dir, sizes);
  fs::remove(dir.path() / "f2");
  ReadAhead files(resources, nullptr);
  const Drained drained = Drain(files);
  EXPECT_EQ(ErrorText(drained.error), "12: cannot open file \"" + dir.str() + OsPath("/f2") + "\": " + kFileNotFound);
  EXPECT_TRUE(drained.bytes == Layout(resources, {3, 0}));
}

// The reader stops ahead of the writer once the limit is held: files removed
// while the writer is still at the first are missed, not read long before.
TEST(ReadAhead, ReadsNoFurtherAheadThanTheLimit) {
  ScratchDir dir;
  constexpr std::size_t kSize = kWholeFileLimit / 2;  // a run each
  const std::vector<std::size_t> sizes(4 * kHeldLimit / kSize, kSize);
  const std::vector<ResourceStatement> resources = WriteFiles(dir, sizes);
  ReadAhead files(resources, nullptr);
  EXPECT_EQ(files.Next().packed.size(), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (std::size_t i = 1; i < sizes.size(); ++i) fs::remove(dir.path() / ("f" + std::to_string(i)));
  const Drained drained = Drain(files);
  // What the limit holds, and the run in the reader's hand, then the error.
  EXPECT_LE(drained.runs, kHeldLimit / kSize + 2);
  EXPECT_NE(ErrorText(drained.error).find(": cannot open file \""), std::string::npos);
}

// Ended early, with files still to read and the reader waiting for room.
TEST(ReadAhead, EndsWhileTheReaderWaits) {
  ScratchDir dir;
  const std::vector<ResourceStatement> resources = WriteFiles(dir, std::vector<std::size_t>(40, kWholeFileLimit));
  for (int taken = 0; taken < 3; ++taken) {
    ReadAhead files(resources, nullptr);
    for (int i = 0; i < taken; ++i) EXPECT_FALSE(files.Next().last);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace
