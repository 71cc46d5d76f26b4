// Whole builds through pagefold-cli in every combination of its packing keys,
// compared byte for byte with the outputs of an earlier, trusted build: the
// sample site against files kept in tests/data/build_identity, a generated site
// of a few thousand files against digests of its outputs.
//
// PAGEFOLD_WRITE_EXPECTED=1 writes the expected files from the program as it
// is now instead of comparing, and skips the tests.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const fs::path kExpected = PAGEFOLD_IDENTITY_DATA;

// The builds' folders on a memory file system where there is one: a disk's
// write-back would make the thousands of small files take minutes.
struct MemoryTempFolder : ::testing::Environment {
  void SetUp() override {
    std::error_code ignored;
    if (fs::is_directory("/dev/shm", ignored)) setenv("TMPDIR", "/dev/shm", 1);
  }
};
const auto* const kMemoryTempFolder = ::testing::AddGlobalTestEnvironment(new MemoryTempFolder);

bool WritingExpected() { return std::getenv("PAGEFOLD_WRITE_EXPECTED") != nullptr; }

struct Combination {
  std::string name;  // names the expected files
  std::string keys;
};

// Every combination of group type, keep-all and start page, and a build of
// a few named files.
std::vector<Combination> Combinations(const std::string& startPage, const std::string& named) {
  std::vector<Combination> all;
  for (const bool group : {false, true})
    for (const bool keepAll : {false, true})
      for (const bool start : {false, true})
        all.push_back({std::string(group ? "group" : "types") + (keepAll ? "-keepall" : "-used") +
                           (start ? "-start" : "-filelist"),
                       std::string(group ? "--group Html " : "") + (keepAll ? "--keep-all " : "") +
                           (start ? "--start " + startPage : "--yes")});
  all.push_back({"named-files", "--start " + startPage + " @SITE@ @OUT@ " + named});
  return all;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

struct BuildOutputs {
  std::string text;  // exit code, messages, script and report, paths made neutral
  std::string res;
};

// Builds SITE into a fresh folder with the given keys and collects everything
// the build leaves: the messages, the .rc beside the target, the report and
// the .res.
BuildOutputs Build(const fs::path& site, const std::string& keys) {
  ScratchDir out;
  const fs::path target = out.path() / "site.res";
  const fs::path report = out.path() / "report.txt";
  std::string args = keys.find("@SITE@") == std::string::npos ? keys + " @SITE@ @OUT@" : keys;
  args = Replaced(Replaced(args, "@SITE@", "\"" + site.string() + "\""), "@OUT@", "\"" + target.string() + "\"");
  const fs::path stdoutFile = out.path() / "stdout.txt", stderrFile = out.path() / "stderr.txt";
  const int status = std::system(("\"" PAGEFOLD_CLI_PATH "\" --report \"" + report.string() + "\" " + args +
                                  " > \"" + stdoutFile.string() + "\" 2> \"" + stderrFile.string() + "\"")
                                     .c_str());
  const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::string text = "exit " + std::to_string(exitCode) + "\n--- stdout\n" + ReadFile(stdoutFile) +
                     "--- stderr\n" + ReadFile(stderrFile) + "--- script\n" +
                     ReadFile(out.path() / "site.rc") + "--- report\n" + ReadFile(report);
  text = Replaced(Replaced(text, out.path().string(), "@OUT@"), site.string(), "@SITE@");
  return {text, ReadFile(target)};
}

std::string Digest(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  std::ostringstream hex;
  hex << std::hex << std::setw(16) << std::setfill('0') << hash;
  return hex.str();
}

// A site of 2,700 files that touches every rule the build applies to names
// and links: pages in folders linking up and across, style sheets with url()
// and @import, names in other letter cases, Cyrillic names with blanks and
// parentheses, links to nothing, fragments, external links, files nothing
// links to and names without an extension.
class GeneratedSite {
 public:
  explicit GeneratedSite(const fs::path& root) : root_(root) {
    for (int n = 0; n < kPictures; ++n) Write(Picture(n), Bytes(20 + Next() % 300));
    for (int n = 0; n < kSheets; ++n) Write(Sheet(n), SheetText(n));
    for (int n = 0; n < kPages; ++n) Write(Page(n), PageText(n));
    for (int n = 0; n < 20; ++n) Write("d" + std::to_string(n % kFolders) + "/README" + std::to_string(n), "plain");
  }

 private:
  static constexpr int kFolders = 8, kPictures = 1900, kSheets = 60, kPages = 720;

  std::uint32_t Next() { return state_ = state_ * 1664525u + 1013904223u, state_ >> 8; }
  std::string Bytes(std::uint32_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(Next());
    return bytes;
  }
  static std::string Folder(int n) { return n % 11 == 0 ? "Папка (2)" : "d" + std::to_string(n % kFolders); }
  static std::string Picture(int n) {
    static const char* const kExt[] = {".gif", ".jpg", ".png", ".GIF", ".bmp"};
    const std::string name = n % 13 == 0 ? "фото " + std::to_string(n) : n % 7 == 0 ? "Pic" + std::to_string(n)
                                                                                    : "pic" + std::to_string(n);
    return Folder(n) + "/" + name + kExt[n % 5];
  }
  static std::string Sheet(int n) { return Folder(n) + "/style" + std::to_string(n) + ".css"; }
  static std::string Page(int n) {
    if (n < 10) return "top" + std::to_string(n) + (n % 2 ? ".html" : ".htm");
    return Folder(n) + "/page" + std::to_string(n) + (n % 3 ? ".htm" : ".HTML");
  }
  // A link to a file of the site, from a file in a folder or at the top.
  static std::string From(const std::string& from, const std::string& to) {
    return from.find('/') == std::string::npos ? to : "../" + to;
  }
  // A link that matches its file only without regard to case.
  static std::string OtherCase(std::string link) {
    for (char& c : link)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return link;
  }
  std::string SheetText(int n) {
    std::string text = "body { color: #123; }\n";
    for (int i = 0; i < 4; ++i)
      text += ".c" + std::to_string(i) + " { background: url(" + From(Sheet(n), Picture(Next() % kPictures)) +
              ") }\n";
    if (n % 4 == 0) text = "@import \"" + From(Sheet(n), Sheet((n + 1) % kSheets)) + "\";\n" + text;
    if (n % 9 == 0) text += ".x { background: url('missing" + std::to_string(n) + ".gif') }\n";
    return text;
  }
  std::string PageText(int n) {
    const std::string self = Page(n);
    std::string text = "<html><head><title>page " + std::to_string(n) + "</title>\n<link rel=\"stylesheet\" href=\"" +
                       From(self, Sheet(Next() % kSheets)) + "\"></head>\n<body>\n";
    for (int i = 0; i < 14; ++i) {
      const std::uint32_t kind = Next() % 10;
      if (kind < 5) {
        text += "<img src=\"" + From(self, Picture(Next() % kPictures)) + "\">\n";
      } else if (kind < 7) {
        text += "<a href=\"" + From(self, Page(Next() % kPages)) + "\">next</a>\n";
      } else if (kind == 7) {
        text += "<a href='" + OtherCase(From(self, Picture(Next() % kPictures))) + "#part'>cased</a>\n";
      } else if (kind == 8) {
        text += "<a href=\"http://example.com/" + std::to_string(Next() % 100) + ".htm\">out</a>\n";
      } else {
        text += "<img src=\"gone/nothing" + std::to_string(Next() % 50) + ".gif\">\n";
      }
    }
    return text + "</body></html>\n";
  }
  void Write(const std::string& name, const std::string& bytes) {
    WriteFile(testing_support::Utf8Path((root_ / name).string()), bytes);
  }

  fs::path root_;
  std::uint32_t state_ = 12345;
};

TEST(BuildIdentity, SampleSiteBuildsAsBeforeInEveryCombination) {
  const fs::path site = PAGEFOLD_SAMPLE_SITE;
  for (const Combination& c : Combinations("index.htm", "index.htm pages/about.htm style.css img/bg.gif")) {
    SCOPED_TRACE(c.name);
    const BuildOutputs outputs = Build(site, c.keys);
    const fs::path text = kExpected / ("sample-" + c.name + ".txt"), res = kExpected / ("sample-" + c.name + ".res");
    if (WritingExpected()) {
      WriteFile(text, outputs.text);
      WriteFile(res, outputs.res);
      continue;
    }
    EXPECT_EQ(outputs.text, ReadFile(text));
    EXPECT_FALSE(outputs.res.empty());
    EXPECT_TRUE(outputs.res == ReadFile(res)) << "the .res differs from " << res;
  }
  if (WritingExpected()) GTEST_SKIP() << "expected files written";
}

TEST(BuildIdentity, GeneratedSiteBuildsAsBeforeInEveryCombination) {
  ScratchDir site;
  GeneratedSite generated(site.path());
  std::string digests;
  for (const Combination& c : Combinations("d1/page17.htm", "top0.htm top1.html d2/page10.htm d2/pic2.png")) {
    const BuildOutputs outputs = Build(site.path(), c.keys);
    digests += c.name + " " + Digest(outputs.text) + " " + Digest(outputs.res) + " " +
               std::to_string(outputs.res.size()) + "\n";
  }
  const fs::path expected = kExpected / "generated-digests.txt";
  if (WritingExpected()) {
    WriteFile(expected, digests);
    GTEST_SKIP() << "expected digests written";
  }
  EXPECT_EQ(digests, ReadFile(expected));
}

}  // namespace
