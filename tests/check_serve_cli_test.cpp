// pagefold-cli --check and --serve on .res files from our build and from
// llvm-rc, run as the user runs them.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/res_reader.h"
#include "test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const char kLlvmRc[] = "/usr/bin/llvm-rc-14";

struct Result {
  int exitCode;
  std::string out, err;
};

Result Cli(const ScratchDir& dir, const std::string& args) {
  const fs::path out = dir.path() / "stdout.txt", err = dir.path() / "stderr.txt";
  const int status = std::system(("\"" PAGEFOLD_CLI_PATH "\" " + args + " > \"" + out.string() + "\" 2> \"" +
                                  err.string() + "\"")
                                     .c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// The sample site packed with index.htm as its start page.
fs::path PackSample(const ScratchDir& dir, const std::string& options = "--start index.htm") {
  const fs::path res = dir.path() / "site.res";
  const Result r = Cli(dir, options + " " + Quoted(PAGEFOLD_SAMPLE_SITE) + " " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return res;
}

// The .res file without the resources of the given TYPE/NAME.
void RemoveResources(const fs::path& res, const std::vector<std::string>& removed) {
  const std::string bytes = ReadFile(res);
  pagefold::MemoryResSource source(bytes);
  const pagefold::ResListing listing = pagefold::ListResources(source);
  ASSERT_EQ(listing.error, "");
  std::string kept = bytes.substr(0, 32);
  for (const pagefold::ResEntry& entry : listing.entries) {
    const std::string id = *entry.type.Cp1251() + "/" + *entry.name.Cp1251();
    const size_t end = std::min<size_t>((entry.dataOffset + entry.dataSize + 3) & ~size_t{3}, bytes.size());
    if (std::find(removed.begin(), removed.end(), id) == removed.end())
      kept += bytes.substr(entry.headerOffset, end - entry.headerOffset);
  }
  WriteFile(res, kept);
}

TEST(CheckCommand, TheSampleSiteIsCleanAndRemovedResourcesAreListed) {
  ScratchDir dir;
  const fs::path res = PackSample(dir);
  Result r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Ссылок без ресурса: 0\n");
  EXPECT_EQ(r.err, "");

  // The logo and the style sheet's stripe, taken out after the build.
  RemoveResources(res, {"GIF/SEARCH_FILE_NOMBER_2", "GIF/SEARCH_FILE_NOMBER_3"});
  r = Cli(dir, "--check " + Quoted(res));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "HTML/FILELIST -> ../gif/SEARCH_FILE_NOMBER_2\n"
            "HTML/FILELIST -> ../gif/SEARCH_FILE_NOMBER_3\n"
            "HTML/INDEX -> ../GIF/SEARCH_FILE_NOMBER_2\n"
            "style.css -> ../GIF/SEARCH_FILE_NOMBER_3\n"  // resources in file order
            "index.htm -> ../GIF/SEARCH_FILE_NOMBER_2\n"
            "Ссылок без ресурса: 5\n");
}

TEST(CheckCommand, FilesItCannotReadAndBadArguments) {
  ScratchDir dir;
  const fs::path res = PackSample(dir);
  const std::string bytes = ReadFile(res);
  WriteFile(dir.path() / "short.res", bytes.substr(0, bytes.size() - 10));
  WriteFile(dir.path() / "text.res", "<html></html>\n");
  Result r = Cli(dir, "--check " + Quoted(dir.path() / "short.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, (dir.path() / "short.res").string() + ": data runs past the end of the file at offset 3980\n");
  r = Cli(dir, "--check " + Quoted(dir.path() / "text.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, (dir.path() / "text.res").string() +
                       ": not a 32-bit resource file: it does not start with the empty entry\n");
  r = Cli(dir, "--check " + Quoted(dir.path() / "none.res"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Cannot open file \"" + (dir.path() / "none.res").string() + "\". No such file or directory\n");

  r = Cli(dir, "--check");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Нет значения для --check\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --list b.res");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключи --list, --check и --serve не сочетаются\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --port 80");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --port нужен только с --serve\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--check a.res --yes");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Ключ --check не сочетается с упаковкой\nСправка: pagefold-cli --help\n");
  r = Cli(dir, "--serve a.res --port 65536");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Неверный номер порта: 65536\nСправка: pagefold-cli --help\n");
}

TEST(CheckCommand, ResFilesFromLlvmRc) {
  if (!fs::exists(kLlvmRc)) GTEST_SKIP() << kLlvmRc << " is not installed";
  ScratchDir dir;
  const fs::path& d = dir.path();
  WriteFile(d / "index.htm",
            "<link rel=stylesheet href=\"../css/Style\"><img src=\"../GIF/LOGO\"><img src='../gif/missing'>"
            "<a href=\"#top\">top</a><a href=\"http://example.com/x\">out</a><a href=\"/abs/x\">abs</a>"
            "<a href=\"../ABOUT\">no type: the type 23</a><a href=\"sub/deep/page\">too deep</a>"
            "<a href=\"../HTM/INDEX?x=1#y\">itself</a><a href=\"../../../HTM/IN%44EX\">climbs</a>"
            "<a href=\"\">empty</a><a href=\"..\\GIF\\LOGO\">backslashes</a>");
  WriteFile(d / "style.css", "body { background: url(../GIF/LOGO) } h1 { background: url('none.png') }");
  WriteFile(d / "logo.gif", "GIF89a");
  // llvm-rc files the type HTML under the ordinal 23 (RT_HTML); HTM stays a string.
  WriteFile(d / "site.rc", "INDEX HTM \"" + (d / "index.htm").string() + "\"\nSTYLE CSS \"" +
                               (d / "style.css").string() + "\"\nLOGO GIF \"" + (d / "logo.gif").string() + "\"\n");
  const auto compile = [&] {
    return std::system((std::string(kLlvmRc) + " -no-preprocess -fo " + Quoted(d / "site.res") + " " +
                        Quoted(d / "site.rc") + " > /dev/null")
                           .c_str());
  };
  ASSERT_EQ(compile(), 0);
  Result r = Cli(dir, "--check " + Quoted(d / "site.res"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "HTM/INDEX -> ../ABOUT\n"
            "HTM/INDEX -> ../gif/missing\n"
            "HTM/INDEX -> sub/deep/page\n"
            "CSS/STYLE -> none.png\n"
            "Ссылок без ресурса: 4\n");

  // ../ABOUT names ABOUT under the ordinal type 23.
  WriteFile(d / "site.rc", ReadFile(d / "site.rc") + "ABOUT HTML \"" + (d / "index.htm").string() + "\"\n");
  ASSERT_EQ(compile(), 0);
  r = Cli(dir, "--check " + Quoted(d / "site.res"));
  EXPECT_EQ(r.out,
            "HTM/INDEX -> ../gif/missing\n"
            "HTM/INDEX -> sub/deep/page\n"
            "CSS/STYLE -> none.png\n"
            "#23/ABOUT -> ../gif/missing\n"
            "#23/ABOUT -> sub/deep/page\n"
            "Ссылок без ресурса: 5\n");
}

}  // namespace
