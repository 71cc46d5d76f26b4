#include "core/link_rewriting.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <span>
#include <string_view>

#include "core/attribute_scan.h"
#include "core/link_resolution.h"
#include "core/name_conversion.h"
#include "core/page_style_areas.h"
#include "core/style_sheet_links.h"
#include "links/one_pass_replacement.h"
#include "platform/file_ops.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

constexpr size_t kLinksBetweenCheckpoints = 1024;
constexpr size_t kLinksLookedUpTogether = 16;  // divides kLinksBetweenCheckpoints

// A collected link that names registry entries.
struct NamedLink {
  std::string_view text;         // the text to replace, as written in the page (in the collected link)
  std::span<const int> numbers;  // the entries it names, ascending
  bool query;                    // the text ends with a query, which the resource link drops
  // Their name, lower-cased. Its extension gives their type, the same for
  // each: transliteration lower-cases first.
  std::string name;
};

// One replacement: an entry and the collected link that names it. For one
// entry the texts with a query come first, before their path alone can
// take the place of the path and leave the query behind.
struct Step {
  int number;
  bool plain;
  size_t link;
  bool operator<(const Step& other) const {
    if (number != other.number) return number < other.number;
    return plain != other.plain ? other.plain : link < other.link;
  }
};

// A part of a link that may name entries: the text it replaces, and the
// part looked up, its character references decoded.
struct Written {
  std::string_view text;
  std::string_view part;
  bool query = false;
  std::optional<std::string> decoded;  // the part decoded, when it holds "&"

  std::string_view Lookup() const { return decoded ? std::string_view(*decoded) : part; }
};

Written MakeWritten(std::string_view text, std::string_view part, bool query) {
  Written written{text, part, query, std::nullopt};
  if (part.find('&') != std::string_view::npos) written.decoded = DecodedCharacterReferences(part);
  return written;
}

// The entries that a text read one way names, resolved against the folder
// into `name`, lower-cased.
std::span<const int> EntriesNamed(std::string_view readable, const std::string& folder,
                                  const RegistryIndex& registry, std::string& name) {
  name = DUrl(folder, readable);
  text::LowerCp1251InPlace(name);
  return registry.Find(name);
}

enum class Reading { AsWritten, Utf8, PercentDecoded };

// The entries that a looked-up text names in one reading; none when the
// reading does not apply to it.
std::span<const int> EntriesRead(Reading reading, std::string_view lookup, const std::string& folder,
                                 const RegistryIndex& registry, std::string& name) {
  if (reading == Reading::AsWritten) return EntriesNamed(lookup, folder, registry, name);
  const auto readable = reading == Reading::Utf8 ? Utf8LinkToCp1251(lookup) : PercentDecodedLink(lookup);
  return readable ? EntriesNamed(*readable, folder, registry, name) : std::span<const int>();
}

// A link's first reading: the whole link as written, its character
// references decoded, resolved against the folder and lower-cased.
struct FirstReading {
  Written whole;
  std::string name;
};

FirstReading ReadWhole(std::string_view link, const std::string& folder) {
  FirstReading first{MakeWritten(link, link, false), {}};
  first.name = DUrl(folder, first.whole.Lookup());
  text::LowerCp1251InPlace(first.name);
  return first;
}

// The entries a link names, by the first reading that names any: the whole
// link, then its path before "#" or "?". Character references are decoded
// before the lookup. A link named by its path loses its query ("?" up to the
// fragment or the end) with the path, while a fragment stays.
// `named` holds what the first reading names.
std::optional<NamedLink> Resolve(std::string_view link, FirstReading first, std::span<const int> named,
                                 const std::string& folder, const RegistryIndex& registry) {
  if (!named.empty()) return NamedLink{link, named, false, std::move(first.name)};
  Written written[2] = {std::move(first.whole)};
  size_t parts = 1;
  const size_t cut = PathEnd(link);
  if (cut != std::string::npos && cut > 0) {
    const bool query = link[cut] == '?';
    const size_t end = query ? link.find('#', cut) : cut;
    written[parts++] = MakeWritten(link.substr(0, end), link.substr(0, cut), query);
  }
  // The whole link as written has been looked up above.
  for (Reading reading : {Reading::AsWritten, Reading::Utf8, Reading::PercentDecoded})
    for (size_t i = reading == Reading::AsWritten ? 1 : 0; i < parts; ++i) {
      std::string name;
      const std::span<const int> numbers = EntriesRead(reading, written[i].Lookup(), folder, registry, name);
      if (!numbers.empty()) return NamedLink{written[i].text, numbers, written[i].query, std::move(name)};
    }
  return std::nullopt;
}

// The links that name entries, in the order given; the others that could
// name a file but name no packed one go to `unlinked`.
std::vector<NamedLink> NamedLinks(const std::vector<std::string>& candidates, const std::string& folder,
                                  const RegistryIndex& registry, std::vector<std::string>& unlinked,
                                  const Checkpoint& checkpoint) {
  std::vector<NamedLink> links;
  links.reserve(candidates.size());
  // The registry is read at random places. The first readings of a run of
  // links are made and then looked up together, so that the run waits on
  // memory once, not once per link.
  std::vector<std::optional<FirstReading>> run(kLinksLookedUpTogether);
  std::vector<std::string_view> names(kLinksLookedUpTogether);
  std::vector<std::span<const int>> found(kLinksLookedUpTogether);
  for (size_t from = 0; from < candidates.size(); from += run.size()) {
    if (from % kLinksBetweenCheckpoints == 0) checkpoint();
    const size_t count = std::min(run.size(), candidates.size() - from);
    for (size_t k = 0; k < count; ++k) {
      const std::string& link = candidates[from + k];
      run[k].reset();
      names[k] = {};
      if (link.empty() || IsOutsideLink(link)) continue;
      run[k] = ReadWhole(link, folder);
      names[k] = run[k]->name;
    }
    registry.FindEach(std::span(names).first(count), std::span(found).first(count));
    for (size_t k = 0; k < count; ++k) {
      if (!run[k]) continue;
      const std::string& link = candidates[from + k];
      auto named = Resolve(link, std::move(*run[k]), found[k], folder, registry);
      if (!named || ExtWithDot(named->name).empty()) unlinked.push_back(link);
      if (named) links.push_back(std::move(*named));
    }
  }
  std::sort(unlinked.begin(), unlinked.end());
  unlinked.erase(std::unique(unlinked.begin(), unlinked.end()), unlinked.end());
  return links;
}

std::vector<Step> AllSteps(const std::vector<NamedLink>& links) {
  std::vector<Step> steps;
  for (size_t i = 0; i < links.size(); ++i)
    for (int number : links[i].numbers) steps.push_back({number, !links[i].query, i});
  std::sort(steps.begin(), steps.end());
  return steps;
}

// The replacements of the steps, in order, and the bytes of their resource
// links, which they view.
struct StepReplacements {
  std::string resourceLinks;
  std::vector<LinkReplacement> replacements;
};

// A type's resource link prefix. A page links few types: each one's prefix
// is made the first time it comes up.
class TypePrefixes {
 public:
  std::string_view Of(std::string_view type) {
    for (const auto& [known, prefix] : prefixes_)
      if (known == type) return prefix;
    const std::string name(type);
    return prefixes_.emplace_back(name, ResourceLinkPrefix(name)).second;
  }

 private:
  std::deque<std::pair<std::string, std::string>> prefixes_;  // stays in place as it grows
};

void MakeReplacements(const std::vector<Step>& steps, const std::vector<NamedLink>& links,
                      const std::string& groupType, StepReplacements& out) {
  TypePrefixes prefixes;
  std::vector<size_t> ends;
  ends.reserve(steps.size());
  for (const Step& step : steps) {
    const std::string type = groupType.empty() ? ExtNoDot(links[step.link].name) : groupType;
    AppendResourceLink(out.resourceLinks, prefixes.Of(type), step.number);
    ends.push_back(out.resourceLinks.size());
  }
  // Viewed once every link is in place.
  out.replacements.reserve(steps.size());
  size_t from = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    const std::string_view link = std::string_view(out.resourceLinks).substr(from, ends[i] - from);
    out.replacements.push_back({links[steps[i].link].text, link});
    from = ends[i];
  }
}

}  // namespace

std::vector<std::string> PageLinks(const std::string& page) {
  const std::vector<std::string_view> values = ValuesBetween(page, {"href=", "src=", "background="}, ">");
  std::vector<std::string> links;
  links.reserve(values.size());
  for (std::string_view value : values) links.push_back(Cnv(value));
  for (std::string_view area : PageStyleAreas(page))
    for (std::string& value : CssUrlValues(area)) links.push_back(std::move(value));
  return links;
}

LinkRewrite RewriteLinks(std::string& text, const std::vector<std::string>& candidates, const std::string& folder,
                         const RegistryIndex& registry, const std::string& groupType, const Checkpoint& checkpoint) {
  LinkRewrite rewrite;
  const std::vector<NamedLink> links = NamedLinks(candidates, folder, registry, rewrite.unlinked, checkpoint);
  if (links.empty()) return rewrite;
  const std::vector<Step> steps = AllSteps(links);
  StepReplacements replacements;
  MakeReplacements(steps, links, groupType, replacements);
  const std::vector<bool> made = ReplaceInOnePass(text, replacements.replacements, checkpoint);
  for (size_t i = 0; i < steps.size(); ++i) {
    if (!made[i]) continue;
    ++rewrite.count;
    // Steps come by ascending number.
    if (rewrite.marked.empty() || rewrite.marked.back() != steps[i].number) rewrite.marked.push_back(steps[i].number);
  }
  return rewrite;
}

LinkRewrite RewriteStagedFile(const std::string& path, LinkSource source, const std::string& folder,
                              const RegistryIndex& registry, const std::string& groupType) {
  std::string text = platform::ReadFileBytes(path);
  const std::vector<std::string> links = source == LinkSource::Page ? PageLinks(text) : StyleSheetLinks(text);
  LinkRewrite rewrite = RewriteLinks(text, links, folder, registry, groupType);
  if (rewrite.count > 0) platform::WriteFileBytes(path, text);
  return rewrite;
}

}  // namespace pagefold
