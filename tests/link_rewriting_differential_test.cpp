// The link rewriting against a direct loop over every entry and every
// collected link on generated pages and registries, which hands each pair to
// ReplaceInOrder: the rewrite must make the same replacements, in the same
// order, with the same count and marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <optional>
#include <random>
#include <string_view>

#include "core/attribute_scan.h"
#include "core/build_command.h"
#include "core/link_resolution.h"
#include "core/link_rewriting.h"
#include "core/name_conversion.h"
#include "core/page_style_areas.h"
#include "core/registry_index.h"
#include "core/style_sheet_links.h"
#include "links/link_replacement.h"
#include "test_support.h"
#include "text/case_rules.h"
#include "text/cp1251.h"

namespace {

using pagefold::BuildCommand;
using pagefold::DUrl;
using pagefold::ExtNoDot;
using pagefold::FindBetween;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;

// ---- The direct loop --------------------------------------------------------

bool NamesAnEntry(const std::string& resolved, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (!resolved.empty() && pagefold::text::LowerCp1251(resolved) == pagefold::text::LowerCp1251(name)) return true;
  return false;
}

struct Reading {
  std::string text;      // replaced in the page
  std::string resolved;  // compared with the names
  bool query = false;    // the text ends with a query
};

// The first reading of a link that names an entry: as written, then the part
// before "#" or "?", each of these as written, as UTF-8, percent-decoded,
// after character references are decoded. The part before "?" replaces the
// query with it. A link with a scheme, an absolute path or a fragment alone
// names nothing.
std::optional<Reading> Resolve(const std::string& link, const std::string& folder,
                               const std::vector<std::string>& names) {
  if (link.empty() || pagefold::IsOutsideLink(link)) return std::nullopt;
  std::vector<Reading> written = {{link, pagefold::DecodedCharacterReferences(link)}};
  const size_t cut = pagefold::PathEnd(link);
  if (cut != std::string::npos && cut > 0) {
    const bool query = link[cut] == '?';
    written.push_back({link.substr(0, query ? link.find('#', cut) : cut),
                       pagefold::DecodedCharacterReferences(link.substr(0, cut)), query});
  }
  std::vector<Reading> readings;
  for (const Reading& w : written) readings.push_back({w.text, DUrl(folder, w.resolved), w.query});
  for (const Reading& w : written)
    if (auto r = pagefold::Utf8LinkToCp1251(w.resolved)) readings.push_back({w.text, DUrl(folder, *r), w.query});
  for (const Reading& w : written)
    if (auto r = pagefold::PercentDecodedLink(w.resolved)) readings.push_back({w.text, DUrl(folder, *r), w.query});
  for (const Reading& r : readings)
    if (NamesAnEntry(r.resolved, names)) return r;
  return std::nullopt;
}

struct Outcome {
  std::string page;
  int count = 0;
  std::vector<unsigned char> flags;
};

Outcome DirectLoop(std::string page, const std::string& folder, const std::vector<std::string>& names,
                   const std::string& groupType) {
  pagefold::StringList values;
  for (const char* prefix : {"href=", "src=", "background="})
    FindBetween(page, prefix, ">", values);
  std::vector<std::string> candidates;
  for (const std::string& value : values) candidates.push_back(pagefold::Cnv(value));
  for (std::string_view area : pagefold::PageStyleAreas(page))
    for (const std::string& value : pagefold::CssUrlValues(area)) candidates.push_back(value);
  std::vector<std::optional<Reading>> links;
  for (const std::string& candidate : candidates) links.push_back(Resolve(candidate, folder, names));
  std::vector<pagefold::LinkReplacement> replacements;
  std::deque<std::string> resourceLinks;  // viewed by the replacements
  std::vector<size_t> numbers;
  for (size_t n = 1; n <= names.size(); ++n) {
    const std::string& name = names[n - 1];
    const std::string type = groupType.empty() ? ExtNoDot(name) : groupType;
    const std::string& link = resourceLinks.emplace_back(pagefold::ResourceLink(type, static_cast<int>(n)));
    // The links with a query first, then the others, each in list order.
    for (int pass = 0; pass < 2; ++pass)
      for (const auto& reading : links) {
        if (!reading || reading->query != (pass == 0)) continue;
        if (pagefold::text::LowerCp1251(reading->resolved) != pagefold::text::LowerCp1251(name)) continue;
        replacements.push_back({reading->text, link});
        numbers.push_back(n);
      }
  }
  Outcome out;
  out.flags.assign(names.size() + 1, 0);
  const std::vector<bool> made = pagefold::ReplaceInOrder(page, replacements, [] {});
  for (size_t i = 0; i < made.size(); ++i) {
    out.count += made[i];
    if (made[i]) out.flags[numbers[i]] = 1;
  }
  out.page = page;
  return out;
}

// A text with its control bytes escaped, for failure messages.
std::string Shown(const std::string& s) {
  std::string out;
  for (char c : s) {
    const unsigned char b = static_cast<unsigned char>(c);
    out += b < 32 ? "\\x" + std::to_string(b) : std::string(1, c);
  }
  return out;
}

// ---- Generated sites --------------------------------------------------------

// What generated sites are made of.
struct Pools {
  std::vector<std::string> folders, bases, extensions, groupTypes, strayLinks, neighbours, texts;
};

// Everyday sites: overlapping names, case variants, blanks, Cyrillic names.
const Pools kEveryday = {
    {"", "", "sub", "Sub", "a b", W("папка"), "sub\\deep", "htm"},
    {"a", "A", "1", "11", "data", "x", "index", "my file", W("фото"), W("Мой файл"), "a'b", "ob",
     "search_file_nomber_1", "x.htm", "(2)", "R&D", W("ф&ы")},
    {".htm", ".htm", ".HTM", ".html", ".jpg", ".JPG", ".gif", "", ".htm#top", ".a'b", ".x y"},
    {"", "", "", "", "pics", W("Мои файлы"), W("Объект"), "#", "a=b"},
    {"http://host/a.htm", "#top", "..", "../", "", "missing.htm", "../HTM/SEARCH_FILE_NOMBER_1", "../ob",
     "x ../", "/a.htm", "a.htm ", "'"},
    {" ", "(", ")", ",", "x", "_", ".", "\r\n", "#", "?", "=", "\"", "'", ">", "/", "%", W("ё")},
    {"Hello ", "href=", "src=x", "<p>", W("Привет "), "a.htm", "</a>", "data.htm", "11.jpg"},
};

// Sites whose link texts meet each other and the resource links inserted
// before them: names that read like resource links, types with bytes that end
// a name, names that begin or end with such bytes or overlap themselves.
const Pools kCrowded = {
    {"", "", "sub", "htm", "pics"},
    {"search_file_nomber_1", "search_file_nomber_2", "ob", "y", "x", "a", "a a", "a (", "(b", "a .ob"},
    {".htm", ".HTM", "", "", ".jpg"},
    {"", "", W("Объект"), "x=y=z", "#x#", "pics"},
    {"../HTM/SEARCH_FILE_NOMBER_1", "../PICS/SEARCH_FILE_NOMBER_2", "../ob", "x", "y", "a ../ob"},
    {" ", "a ", "\"", "'", "=", "#", "x", "/"},
    {"a ", "<p>", "x=", "#", "a a a", "a ((b", "(b a ("},
};

class Generator {
 public:
  Generator(const Pools& pools, unsigned seed) : pools_(pools), random_(seed) {}

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random_)];
  }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random_) < percent; }
  int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Folder() { return Pick(pools_.folders); }

  std::string Name() {
    const std::string folder = Folder();
    return (folder.empty() ? "" : folder + "\\") + Pick(pools_.bases) + Pick(pools_.extensions);
  }

  std::string GroupType() { return Pick(pools_.groupTypes); }

  // A link from a page in the folder to the name, in one of the ways pages
  // write links; sometimes one that names nothing or a resource link itself.
  std::string LinkTo(const std::string& name, const std::string& folder) {
    if (Chance(12)) return Pick(pools_.strayLinks);
    std::string relative = name;
    if (!folder.empty() && name.rfind(folder + "\\", 0) == 0 && Chance(60)) {
      relative = name.substr(folder.size() + 1);
    } else {
      const int depth = folder.empty() ? 0 : 1 + static_cast<int>(std::count(folder.begin(), folder.end(), '\\'));
      for (int i = 0, climbs = depth + (Chance(15) ? 1 : 0); i < climbs; ++i) relative = "..\\" + relative;
    }
    std::string link;
    for (char c : relative) link += c == '\\' ? '/' : c;
    if (Chance(10)) link = "./" + link;
    if (Chance(25)) link = ChangeCase(link);
    if (Chance(15)) link = BlanksEscaped(link);
    if (Chance(15)) link = pagefold::text::Cp1251ToUtf8(link).value_or(link);
    if (Chance(10)) link = PercentEncode(link);
    if (Chance(15)) link = References(link);
    if (Chance(15)) link += Pick(std::vector<std::string>{"#top", "?a=1", "#", "?", "?a=1&amp;b#x", "&#1;"});
    return link;
  }

  // A page of tags and text around links to the names.
  std::string Page(const std::vector<std::string>& names, const std::string& folder) {
    std::string page;
    for (int i = 0, pieces = Number(1, 30); i < pieces; ++i) {
      const std::string link = LinkTo(Pick(names), folder);
      switch (Number(0, 11)) {
        case 0: page += "<a href=\"" + link + "\">"; break;
        case 1: page += "<a HREF='" + link + "' target=_top>"; break;
        case 2: page += "<img src=" + link + (Chance(50) ? ">" : " alt=x>"); break;
        case 3: page += "<td background=\"" + link + "\">"; break;
        case 4: page += "<img lowsrc=\"" + link + "\" src=\"" + LinkTo(Pick(names), folder) + "\">"; break;
        case 5: page += Pick(pools_.neighbours) + link + Pick(pools_.neighbours); break;
        case 6: page += Pick(pools_.texts); break;
        case 7: page += Chance(20) ? std::string(1, '\0') : Pick(pools_.neighbours); break;
        case 8: page += "<a href=" + link + "\n>"; break;
        case 9: page += "<div style=\"background:url(" + link + ")\">"; break;
        case 10: page += "<style>h1{background:url( '" + link + "' )}</style>"; break;
        default: page += "<a href=\"" + link + "\">" + link + "</a>"; break;
      }
    }
    if (Chance(5)) page += "<a href=\"x.htm";  // a value with no ">" behind it
    return page;
  }

 private:
  std::string ChangeCase(const std::string& s) {
    std::string out;
    for (char c : s) {
      const unsigned char b = static_cast<unsigned char>(c);
      if (Chance(50) && b >= 'a' && b <= 'z') c = static_cast<char>(b - 32);
      if (Chance(50) && b >= 0xE0) c = static_cast<char>(b - 32);  // Cyrillic а to я
      out += c;
    }
    return out;
  }
  // Some characters as character references, a few of them beyond the code page.
  std::string References(const std::string& s) {
    std::string out;
    for (char c : s) {
      if (c == '&') out += Pick(std::vector<std::string>{"&amp;", "&#38;", "&#x26;", "&"});
      else if (c == 'a' && Chance(20)) out += Pick(std::vector<std::string>{"&#97;", "&#x61;", "&#x4E00;"});
      else out += c;
    }
    return out;
  }
  static std::string BlanksEscaped(const std::string& s) {
    std::string out;
    for (char c : s) out += c == ' ' ? std::string("%20") : std::string(1, c);
    return out;
  }
  std::string PercentEncode(const std::string& s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : s) {
      const unsigned char b = static_cast<unsigned char>(c);
      if (b >= 0x80 || c == ' ' || (Chance(10) && std::isalpha(b)))
        out += std::string("%") + kHex[b >> 4] + kHex[b & 15];
      else
        out += c;
    }
    return out;
  }

  const Pools& pools_;
  std::mt19937 random_;
};

// Compares the rewrite with the direct loop on generated cases; returns how
// many pages were rewritten and how many replacements were made in all.
std::pair<int, int> Compare(const Pools& pools, unsigned seed, int cases) {
  ScratchDir work;
  const std::string path = (work.path() / "search_file_nomber_1.htm").string();
  Generator generate(pools, seed);
  int rewritten = 0, replacements = 0;
  for (int i = 0; i < cases; ++i) {
    std::vector<std::string> names;
    for (int n = 0, count = generate.Number(1, 25); n < count; ++n) names.push_back(generate.Name());
    const std::string folder = generate.Chance(50) ? generate.Folder() : pagefold::up(generate.Pick(names));
    const std::string page = generate.Page(names, folder);
    const std::string groupType = generate.GroupType();
    const Outcome expected = DirectLoop(page, folder, names, groupType);
    const pagefold::RegistryIndex registry(names);

    std::string actual = page;
    const pagefold::LinkRewrite rewrite =
        pagefold::RewriteLinks(actual, pagefold::PageLinks(actual), folder, registry, groupType);
    const int count = rewrite.count;
    std::vector<unsigned char> flags(names.size() + 1, 0);
    for (const int number : rewrite.marked) flags[number] = 1;
    if (actual != expected.page || count != expected.count || flags != expected.flags) {
      ADD_FAILURE() << "case " << i << " in folder \"" << Shown(folder) << "\", group type \""
                    << Shown(groupType) << "\"\npage:     " << Shown(page) << "\nexpected: "
                    << Shown(expected.page) << " (" << expected.count << ")\nactual:   " << Shown(actual)
                    << " (" << count << ")";
      return {};
    }
    rewritten += count > 0;
    replacements += count;

    // Every tenth case through the page file as well (rewriting a file in
    // place costs a disk flush on some file systems).
    if (i % 10 != 0) continue;
    BuildCommand build;
    build.GroupType = groupType;
    build.UsedFlags.assign(names.size() + 1, 0);
    WriteFile(path, page);
    const int fileCount = build.ReplaceUrl(path, folder, registry);
    if (fileCount != expected.count || ReadFile(path) != expected.page || build.UsedFlags != expected.flags) {
      ADD_FAILURE() << "case " << i << " differs through the page file";
      return {};
    }
  }
  return {rewritten, replacements};
}

TEST(LinkRewritingDifferential, RewriteMatchesTheDirectLoop) {
  // The generated pages are worth comparing: most have links rewritten.
  const auto [everydayPages, everydayReplacements] = Compare(kEveryday, 20261208, 2000);
  EXPECT_GT(everydayPages, 1000);
  EXPECT_GT(everydayReplacements, 4000);
  const auto [crowdedPages, crowdedReplacements] = Compare(kCrowded, 7, 1500);
  EXPECT_GT(crowdedPages, 750);
  EXPECT_GT(crowdedReplacements, 3000);
}

}  // namespace
