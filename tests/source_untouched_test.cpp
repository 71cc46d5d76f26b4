// Packing never changes the source: after pagefold-cli has packed the sample
// site and a generated site of 2,000 files, every file below them has the
// same bytes, size, rights and modification time as before, and nothing was
// added or removed there.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::TreeFingerprint;
using testing_support::Utf8Path;
using testing_support::WriteFile;
namespace fs = std::filesystem;

// Packs the folder with pagefold-cli into a fresh target; returns its exit code.
int Pack(const fs::path& site, const std::string& startPage, std::string& err) {
  ScratchDir target, temp;
  const fs::path errFile = temp.path() / "stderr.txt";
  const std::string command = "TMPDIR='" + temp.str() + "' '" PAGEFOLD_CLI_PATH "' --start '" + startPage + "' '" +
                              site.string() + "' '" + (target.path() / "site.res").string() + "' 2> '" +
                              errFile.string() + "'";
  const int status = std::system(command.c_str());
  err = ReadFile(errFile);
  if (!fs::exists(target.path() / "site.res")) err += "(no site.res)";
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SourceUntouched, TheSampleSite) {
  const fs::path site = PAGEFOLD_SAMPLE_SITE;
  const std::string before = TreeFingerprint(site);
  std::string err;
  EXPECT_EQ(Pack(site, "index.htm", err), 0) << err;
  EXPECT_TRUE(err.ends_with("Сбор закончен !!!\n")) << err;
  EXPECT_EQ(TreeFingerprint(site), before);
}

TEST(SourceUntouched, AGeneratedSiteOf2000Files) {
  ScratchDir site;
  // 50 folders of 40 files: pages that link up, across and to pictures, some
  // pictures that no page links to, Cyrillic names, read-only files, and
  // times far in the past, so that any write or touch would show.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 5);
  for (int folder = 0; folder < 50; ++folder) {
    const std::string dir = "part" + std::to_string(folder);
    for (int i = 0; i < 40; ++i) {
      const bool page = i % 4 == 0;
      const std::string name = (i % 10 == 1 ? "рисунок" : "file") + std::to_string(i) + (page ? ".htm" : ".gif");
      const fs::path path = site.path() / dir / Utf8Path(name);
      WriteFile(path, page ? "<a href=\"../part" + std::to_string((folder + 1) % 50) + "/file0.htm\">next</a>"
                                 "<img src=\"file" + std::to_string(i + 2) + ".gif\"><a href=\"../index.htm\">up</a>"
                           : std::string(100 + i, static_cast<char>('a' + i % 26)));
      if (i % 7 == 3) fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      fs::last_write_time(path, old);
    }
  }
  WriteFile(site.path() / "index.htm", "<a href=\"part0/file0.htm\">start</a>");
  ASSERT_EQ(std::distance(fs::recursive_directory_iterator(site.path()), {}), 2000 + 1 + 50);
  const std::string before = TreeFingerprint(site.path());
  std::string err;
  EXPECT_EQ(Pack(site.path(), "index.htm", err), 0) << err;
  EXPECT_TRUE(err.ends_with("Сбор закончен !!!\n")) << err;
  EXPECT_EQ(TreeFingerprint(site.path()), before);
}

}  // namespace
