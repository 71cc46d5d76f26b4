// Times ReplaceUrl over a generated site: files in 50 folders, a quarter of
// them pages with 50 links each to files anywhere in the site, resolved
// from the page's own folder. Prints one line per site size, then the time
// of one page far larger than real ones.
//
//   link_rewriting_bench [files...]    (default: 5000 10000 20000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/build_command.h"
#include "core/link_rewriting.h"
#include "core/registry_index.h"
#include "platform/ini_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Site {
  std::vector<std::string> names;  // registry names; entries 1 to pages are pages
  std::vector<std::string> pages;  // their texts
};

std::string FolderOf(const std::string& name) { return name.substr(0, name.rfind('\\')); }

// A link from a page in the folder to the name: "../folder/file" or "file".
std::string LinkTo(const std::string& name, const std::string& folder) {
  const std::string target = FolderOf(name), file = name.substr(target.size() + 1);
  return target == folder ? file : "../" + target + "/" + file;
}

Site MakeSite(int files) {
  std::mt19937 random(42);
  Site site;
  const int pages = files / 4;
  const char* const kExtensions[] = {".jpg", ".gif", ".png", ".css"};
  for (int i = 0; i < files; ++i) {
    const std::string folder = "section" + std::to_string(i % 50);
    site.names.push_back(folder + "\\" +
                         (i < pages ? "page" + std::to_string(i) + ".htm"
                                    : "picture" + std::to_string(i) + kExtensions[i % 4]));
  }
  std::uniform_int_distribution<int> anyFile(0, files - 1);
  for (int p = 0; p < pages; ++p) {
    const std::string folder = FolderOf(site.names[p]);
    std::string page = "<html><head><title>Page " + std::to_string(p) + "</title></head><body>\n";
    for (int link = 0; link < 50; ++link) {
      const std::string& target = site.names[anyFile(random)];
      const std::string text = LinkTo(target, folder);
      page += link % 2 ? "<p>Some words about the picture, <img src=\"" + text + "\" alt=\"\"> and more.</p>\n"
                       : "<p>A paragraph with a link to <a href=\"" + text + "\">the next part</a>.</p>\n";
    }
    site.pages.push_back(page + "</body></html>\n");
  }
  return site;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void Measure(int files, const fs::path& work) {
  const Site site = MakeSite(files);
  const int pages = static_cast<int>(site.pages.size());

  // The registry as staging writes it, read back the way the build reads it.
  std::string ini = "[data]\r\n";
  for (size_t i = 0; i < site.names.size(); ++i)
    ini += "search_file_nomber_" + std::to_string(i + 1) + "=" + site.names[i] + "\r\n";
  ini += "count=" + std::to_string(files) + "\r\n";
  WriteBytes(work / "fillist.ini", ini);
  auto start = Clock::now();
  const pagefold::RegistryIndex registry{pagefold::platform::IniFile((work / "fillist.ini").string())};
  const double indexSeconds = SecondsSince(start);

  // In memory: the rewriting alone.
  long long replacements = 0;
  start = Clock::now();
  for (int p = 0; p < pages; ++p) {
    std::string page = site.pages[p];
    const std::vector<std::string> links = pagefold::PageLinks(page);
    replacements += pagefold::RewriteLinks(page, links, FolderOf(site.names[p]), registry, "").count;
  }
  const double memorySeconds = SecondsSince(start);

  // Through the page files, as the build calls it.
  std::vector<std::string> paths;
  for (int p = 0; p < pages; ++p) {
    paths.push_back((work / ("search_file_nomber_" + std::to_string(p + 1) + ".htm")).string());
    WriteBytes(paths.back(), site.pages[p]);
  }
  pagefold::BuildCommand build;
  build.UsedFlags.assign(files + 1, 0);
  start = Clock::now();
  for (int p = 0; p < pages; ++p) build.ReplaceUrl(paths[p], FolderOf(site.names[p]), registry);
  const double fileSeconds = SecondsSince(start);
  for (const std::string& path : paths) fs::remove(path);

  std::printf("%6d files %5d pages %8lld replacements: index %.3f s, rewriting in memory %.3f s, "
              "ReplaceUrl with page files %.3f s\n",
              files, pages, replacements, indexSeconds, memorySeconds, fileSeconds);
}

// One page far beyond real ones: 50 MiB with 100,000 links to a registry
// of 50,000 entries, half of them named like "IMG (12).jpg", one link of
// 100,000 characters and one of 10,000 "../".
void MeasureLargePage() {
  std::vector<std::string> names;
  for (int i = 0; i < 50000; ++i)
    names.push_back(i % 2 ? "f\\IMG (" + std::to_string(i) + ").jpg" : "f\\file" + std::to_string(i) + ".jpg");
  const pagefold::RegistryIndex registry(names);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> anyFile(0, 49999);
  std::string page;
  for (int link = 0; link < 100000; ++link) {
    const std::string& name = names[anyFile(random)];
    page += "<img src=\"../f/" + name.substr(2) + "\"> " + names[anyFile(random)].substr(2) + " ";
  }
  std::string climb;
  for (int i = 0; i < 10000; ++i) climb += "../";
  page += "<a href=\"" + std::string(100000, 'x') + "\"><a href=\"" + climb + "f/file1.jpg\">";
  while (page.size() < 50u * 1024 * 1024) page += "Filler text without links, the same again and again. ";
  const auto start = Clock::now();
  const int replacements = pagefold::RewriteLinks(page, pagefold::PageLinks(page), "sub", registry, "").count;
  std::printf("one page of %zu MiB: %d replacements in %.3f s\n", page.size() >> 20, replacements,
              SecondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {5000, 10000, 20000};
  const fs::path work = fs::temp_directory_path() / ("pagefold-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(work);
  for (int files : sizes) Measure(files, work);
  fs::remove_all(work);
  MeasureLargePage();
  return 0;
}
