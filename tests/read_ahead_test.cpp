#include "rescomp/read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/platform_error.h"
#include "test_support.h"

namespace {

using pagefold::rescomp::kHeldLimit;
using pagefold::rescomp::kWholeFileLimit;
using pagefold::rescomp::ReadAhead;
using pagefold::rescomp::ResourceFile;
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

// The whole content as the writer gets it, held or still to stream.
std::string Content(ResourceFile& file) {
  if (!file.open) return file.bytes;
  std::string bytes(file.size + 1, '\0');
  const std::int64_t n = file.open->Read(bytes.data(), bytes.size());
  bytes.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return bytes;
}

std::vector<ResourceStatement> Statements(const ScratchDir& dir, const std::vector<std::string>& names) {
  std::vector<ResourceStatement> resources;
  for (const std::string& name : names)
    resources.push_back({u"T", u"N", dir.str() + OsPath("/" + name), 0x0409, 10 + static_cast<int>(resources.size())});
  return resources;
}

// Files of every size around the limit of a file held whole, and more of them
// than the limit of what is held at once, come in order with every byte.
TEST(ReadAhead, GivesEveryFileInOrderHeldOrOpen) {
  ScratchDir dir;
  const std::vector<std::size_t> sizes = {0, 1, 3, kWholeFileLimit - 1, kWholeFileLimit, kWholeFileLimit + 1,
                                          3 * kWholeFileLimit, 5, kHeldLimit + 7};
  std::vector<std::string> names;
  for (std::size_t i = 0; i < 3 * sizes.size(); ++i) {
    names.push_back("f" + std::to_string(i));
    WriteFile(dir.path() / names.back(), Pattern(sizes[i % sizes.size()], static_cast<int>(i)));
  }
  const std::vector<ResourceStatement> resources = Statements(dir, names);
  ReadAhead files(resources, nullptr);
  for (std::size_t i = 0; i < names.size(); ++i) {
    ResourceFile file = files.Next();
    const std::size_t size = sizes[i % sizes.size()];
    EXPECT_EQ(file.size, size);
    EXPECT_EQ(file.open != nullptr, size > kWholeFileLimit) << names[i];
    EXPECT_EQ(Content(file), Pattern(size, static_cast<int>(i))) << names[i];
    EXPECT_EQ(file.nameInside, "");
  }
}

// A file that cannot be opened fails at its own turn, after the files before
// it, with its line; nothing is read past it.
TEST(ReadAhead, AFileThatCannotBeOpenedFailsInItsTurn) {
  ScratchDir dir;
  WriteFile(dir.path() / "a", "AAA");
  WriteFile(dir.path() / "b", "");
  WriteFile(dir.path() / "d", "DDD");
  const std::vector<ResourceStatement> resources = Statements(dir, {"a", "b", "c", "d"});
  ReadAhead files(resources, nullptr);
  EXPECT_EQ(files.Next().bytes, "AAA");
  EXPECT_EQ(files.Next().size, 0u);
  try {
    files.Next();
    ADD_FAILURE() << "the missing file was read";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.line(), 12);
    EXPECT_EQ(std::string(e.what()), "cannot open file \"" + dir.str() + OsPath("/c") + "\": " + kFileNotFound);
  }
}

// The reader stops ahead of the writer once the limit is held: files removed
// while the writer is still at the first are missed, not read long before.
TEST(ReadAhead, ReadsNoFurtherAheadThanTheLimit) {
  ScratchDir dir;
  constexpr std::size_t kSize = kWholeFileLimit / 2;
  const std::size_t count = 4 * kHeldLimit / kSize;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) {
    names.push_back("f" + std::to_string(i));
    WriteFile(dir.path() / names.back(), Pattern(kSize, static_cast<int>(i)));
  }
  const std::vector<ResourceStatement> resources = Statements(dir, names);
  ReadAhead files(resources, nullptr);
  EXPECT_EQ(files.Next().bytes, Pattern(kSize, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (std::size_t i = 1; i < count; ++i) fs::remove(dir.path() / names[i]);
  // What the limit holds, and the file in the reader's hand.
  const std::size_t mostRead = kHeldLimit / kSize + 1;
  std::size_t read = 1;
  try {
    for (; read < count; ++read) EXPECT_EQ(files.Next().bytes, Pattern(kSize, static_cast<int>(read)));
  } catch (const ScriptError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot open file \"" + dir.str() + OsPath("/" + names[read]) + "\": " + kFileNotFound);
  }
  EXPECT_LE(read, mostRead);
}

// Ended early, with files still to read and the reader waiting for room.
TEST(ReadAhead, EndsWhileTheReaderWaits) {
  ScratchDir dir;
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back("f" + std::to_string(i));
    WriteFile(dir.path() / names.back(), Pattern(kWholeFileLimit, i));
  }
  const std::vector<ResourceStatement> resources = Statements(dir, names);
  for (int taken = 0; taken < 3; ++taken) {
    ReadAhead files(resources, nullptr);
    for (int i = 0; i < taken; ++i) EXPECT_EQ(files.Next().bytes, Pattern(kWholeFileLimit, i));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace
