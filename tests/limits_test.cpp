// Link rewriting at sizes far beyond a normal site: each case must finish in
// bounded time and heap. The bounds hold with the sanitizers on and on a busy
// machine; a quadratic step, or a copy per link, breaks them by far.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <new>

#include "core/link_resolution.h"
#include "core/link_rewriting.h"
#include "core/registry_index.h"

// Heap accounting: every allocation of this program passes here.
namespace {
std::atomic<std::size_t> liveBytes{0}, peakBytes{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const std::size_t now = liveBytes += malloc_usable_size(p);
  for (std::size_t peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {
  }
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  liveBytes -= malloc_usable_size(p);
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace {

using pagefold::RegistryIndex;
constexpr std::size_t kMiB = 1 << 20;

struct Cost {
  double seconds;
  std::size_t heap;  // the most heap in use at once, beyond what was in use before
};

Cost Measure(const std::function<void()>& run) {
  const std::size_t before = liveBytes;
  peakBytes = before;
  const auto start = std::chrono::steady_clock::now();
  run();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {seconds, peakBytes - before};
}

std::ostream& operator<<(std::ostream& out, const Cost& cost) {
  return out << cost.seconds << " s, " << cost.heap / kMiB << " MiB of heap";
}

std::string Number(int i) { return std::to_string(i); }

// Rewrites a page with its own links, as ReplaceUrl does; the number of replacements.
int RewritePage(std::string& page, const std::string& folder, const RegistryIndex& registry) {
  return pagefold::RewriteLinks(page, pagefold::PageLinks(page), folder, registry, "").count;
}

TEST(Limits, APageOf50MiB) {
  // A long table: two links in every row of about a kilobyte, 100,000 links in all.
  const std::string block = "<tr><td>" + std::string(960, 'w') +
                            "</td><td><a href=\"pages/a.htm\">a</a></td><td><img src=\"img/b.gif\"></td></tr>\r\n";
  std::string page;
  page.reserve(50 * kMiB + block.size());
  while (page.size() < 50 * kMiB) page += block;
  const RegistryIndex registry({"pages\\a.htm", "img\\b.gif"});
  int made = 0;
  const Cost cost = Measure([&] { made = RewritePage(page, "", registry); });
  EXPECT_EQ(made, 2);
  EXPECT_EQ(page.find("pages/a.htm"), std::string::npos);
  EXPECT_LT(cost.seconds, 30) << cost;
  EXPECT_LT(cost.heap, 8 * page.size()) << cost;  // a few copies of the page, never one per link
  std::cout << "50 MiB page: " << cost << "\n";
}

TEST(Limits, APageWith100000Links) {
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) names.push_back("img\\p" + Number(i) + ".gif");
  std::string page;
  for (int i = 0; i < 100000; ++i) page += "<img src=\"img/p" + Number(i % 1000) + ".gif\" alt=\"" + Number(i) + "\">\n";
  const RegistryIndex registry(names);
  int made = 0;
  const Cost cost = Measure([&] { made = RewritePage(page, "", registry); });
  EXPECT_EQ(made, 1000);
  EXPECT_EQ(page.find("img/p"), std::string::npos);
  EXPECT_LT(cost.seconds, 20) << cost;
  EXPECT_LT(cost.heap, 64 * kMiB) << cost;
  std::cout << "100,000 links: " << cost << "\n";
}

TEST(Limits, ALinkOf100000Characters) {
  const std::string longName(100000, 'x');
  const std::string page = "<a href=\"" + longName + ".htm\">long</a><a href=\"" + longName + "y.htm\">other</a>";
  const RegistryIndex registry({longName + ".htm"});
  std::string rewritten = page;
  int made = 0;
  const Cost cost = Measure([&] { made = RewritePage(rewritten, "", registry); });
  EXPECT_EQ(made, 1);
  EXPECT_EQ(rewritten, "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">long</a><a href=\"" + longName + "y.htm\">other</a>");
  EXPECT_LT(cost.seconds, 5) << cost;
  EXPECT_LT(cost.heap, 16 * kMiB) << cost;
  std::cout << "100,000-character link: " << cost << "\n";
}

TEST(Limits, TenThousandNestedClimbs) {
  std::string folder = "d";
  for (int i = 1; i < 10000; ++i) folder += "\\d";
  std::string climb;
  for (int i = 0; i < 10000; ++i) climb += "../";
  std::string resolved, beyond;
  const Cost resolving = Measure([&] {
    resolved = pagefold::DUrl(folder, climb + "a.htm");
    beyond = pagefold::DUrl("d", climb + "a.htm");
  });
  EXPECT_EQ(resolved, "a.htm");
  EXPECT_EQ(beyond, "a.htm");  // never above the top
  EXPECT_LT(resolving.seconds, 2) << resolving;

  std::string page = "<a href=\"" + climb + "a.htm\">up</a>";
  const RegistryIndex registry({"a.htm"});
  int made = 0;
  const Cost cost = Measure([&] { made = RewritePage(page, folder, registry); });
  EXPECT_EQ(made, 1);
  EXPECT_EQ(page, "<a href=\"../HTM/SEARCH_FILE_NOMBER_1\">up</a>");
  EXPECT_LT(cost.seconds, 5) << cost;
  EXPECT_LT(cost.heap, 16 * kMiB) << cost;
  std::cout << "10,000 climbs: " << resolving << " resolving, " << cost << " rewriting\n";
}

TEST(Limits, ARegistryOf50000Entries) {
  std::vector<std::string> names;
  std::string page;
  for (int i = 1; i <= 50000; ++i) {
    names.push_back("f\\" + Number(i % 100) + "\\page" + Number(i) + ".htm");
    page += "<a href=\"../f/" + Number(i % 100) + "/page" + Number(i) + ".htm\">" + Number(i) + "</a>\n";
  }
  int made = 0;
  const Cost cost = Measure([&] {
    const RegistryIndex registry(names);
    made = RewritePage(page, "sub", registry);
  });
  EXPECT_EQ(made, 50000);
  EXPECT_EQ(page.find(".htm\""), std::string::npos);
  EXPECT_NE(page.find("<a href=\"../HTM/SEARCH_FILE_NOMBER_50000\">50000</a>"), std::string::npos);
  EXPECT_LT(cost.seconds, 20) << cost;
  EXPECT_LT(cost.heap, 128 * kMiB) << cost;
  std::cout << "50,000 entries: " << cost << "\n";
}

}  // namespace
