// Times ReplaceInOnePass on pages like those of bench/make_site.py: 50 links
// each to pictures anywhere in a site of 15,000, every one replaced, in the
// order of the pictures' numbers as the build gives them. Prints the median
// time per page over the rounds.
//
//   one_pass_bench [pages] [rounds]    (default: 5000 15)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "links/one_pass_replacement.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Page {
  std::string text;
  std::vector<pagefold::LinkReplacement> replacements;
  std::deque<std::string> bytes;  // viewed by the replacements
};

Page MakePage(std::mt19937& random) {
  constexpr int kPictures = 15000, kFolders = 20;
  const char* const kTypes[] = {"gif", "jpg", "png"};
  std::uniform_int_distribution<int> anyPicture(0, kPictures - 1);
  std::vector<int> numbers;
  for (int link = 0; link < 50; ++link) numbers.push_back(anyPicture(random));
  Page page{"<html><body>", {}, {}};
  for (int n : numbers)
    page.text += "<a href=\"../d" + std::to_string(n % kFolders) + "/f" + std::to_string(n) + "." + kTypes[n % 3] +
                 "\">x</a>\n";
  page.text += "</body></html>\n";
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  for (int n : numbers) {
    std::string type = kTypes[n % 3];
    for (char& c : type) c = static_cast<char>(c - 'a' + 'A');
    const std::string& text =
        page.bytes.emplace_back("../d" + std::to_string(n % kFolders) + "/f" + std::to_string(n) + "." + kTypes[n % 3]);
    page.replacements.push_back({text, page.bytes.emplace_back("../" + type + "/SEARCH_FILE_NOMBER_" + std::to_string(n + 1))});
  }
  return page;
}

}  // namespace

int main(int argc, char** argv) {
  const int pages = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
  std::mt19937 random(7);
  std::deque<Page> site;  // in place, as the replacements view their pages' bytes
  for (int p = 0; p < pages; ++p) site.push_back(MakePage(random));

  std::vector<double> perPage;
  size_t bytes = 0;
  for (int round = 0; round < rounds; ++round) {
    bytes = 0;
    const auto start = Clock::now();
    for (const Page& page : site) {
      std::string text = page.text;
      pagefold::ReplaceInOnePass(text, page.replacements, [] {});
      bytes += text.size();
    }
    perPage.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / pages);
  }
  std::sort(perPage.begin(), perPage.end());
  std::printf("%d pages, %zu bytes after: median %.2f us a page (fastest %.2f, slowest %.2f)\n", pages, bytes,
              perPage[perPage.size() / 2], perPage.front(), perPage.back());
  return 0;
}
