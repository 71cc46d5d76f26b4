#include "core/link_rewriting.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "core/indexed_replacement.h"
#include "core/link_replacement.h"
#include "core/link_resolution.h"
#include "core/name_conversion.h"
#include "core/style_sheet_links.h"
#include "core/tmyfunction.h"
#include "core/word_replacement.h"
#include "platform/file_ops.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

constexpr size_t kLinksBetweenCheckpoints = 1024;

// A collected link that names registry entries.
struct NamedLink {
  std::string text;                 // the text to replace, as written in the page
  const std::vector<int>* numbers;  // the entries it names, ascending
  bool query;                       // the text ends with a query, which the resource link drops
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

std::optional<std::string> AsWritten(const std::string& link) { return link; }

// The entries a link names, by the first reading that names any: the whole
// link, then its path before "#" or "?". Character references are decoded
// before the lookup. A link named by its path loses its query ("?" up to the
// fragment or the end) with the path, while a fragment stays.
std::optional<NamedLink> Resolve(const std::string& link, const std::string& folder,
                                 const RegistryIndex& registry) {
  struct Written {
    std::string lookup, text;
    bool query;
  };
  std::vector<Written> written = {{DecodedCharacterReferences(link), link, false}};
  const size_t cut = PathEnd(link);
  if (cut != std::string::npos && cut > 0) {
    const bool query = link[cut] == '?';
    const size_t end = query ? link.find('#', cut) : cut;
    written.push_back({DecodedCharacterReferences(link.substr(0, cut)), link.substr(0, end), query});
  }
  using Reading = std::optional<std::string> (*)(const std::string&);
  for (Reading read : {AsWritten, Utf8LinkToCp1251, PercentDecodedLink})
    for (const Written& w : written)
      if (const auto readable = read(w.lookup)) {
        const std::vector<int>& numbers = registry.Find(text::LowerCp1251(DUrl(folder, *readable)));
        if (!numbers.empty()) return NamedLink{w.text, &numbers, w.query};
      }
  return std::nullopt;
}

// The links that name entries, in the order given; the others that could
// name a file but name no packed one go to `unlinked`.
std::vector<NamedLink> NamedLinks(const std::vector<std::string>& candidates, const std::string& folder,
                                  const RegistryIndex& registry, std::vector<std::string>& unlinked,
                                  const Checkpoint& checkpoint) {
  std::vector<NamedLink> links;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (i % kLinksBetweenCheckpoints == 0) checkpoint();
    const std::string& link = candidates[i];
    if (link.empty() || IsOutsideLink(link)) continue;
    auto named = Resolve(link, folder, registry);
    if (!named || ExtWithDot(registry.Name(named->numbers->front())).empty()) unlinked.push_back(link);
    if (named) links.push_back(std::move(*named));
  }
  std::sort(unlinked.begin(), unlinked.end());
  unlinked.erase(std::unique(unlinked.begin(), unlinked.end()), unlinked.end());
  return links;
}

// The first step of every distinct link text. Once its first step has been
// tried, a text no longer occurs for any later step, unless it can meet the
// resource links inserted meanwhile (see ReplacementsStayApart). Equal texts
// resolve alike, so the first link with a text holds its first step.
std::vector<Step> FirstStepOfEachText(const std::vector<NamedLink>& links) {
  std::unordered_map<std::string_view, Step> first;
  for (size_t i = 0; i < links.size(); ++i) first.try_emplace(links[i].text, Step{links[i].numbers->front(), !links[i].query, i});
  std::vector<Step> steps;
  for (const auto& [text, step] : first) steps.push_back(step);
  std::sort(steps.begin(), steps.end());
  return steps;
}

std::vector<Step> AllSteps(const std::vector<NamedLink>& links) {
  std::vector<Step> steps;
  for (size_t i = 0; i < links.size(); ++i)
    for (int number : *links[i].numbers) steps.push_back({number, !links[i].query, i});
  std::sort(steps.begin(), steps.end());
  return steps;
}

std::vector<LinkReplacement> Replacements(const std::vector<Step>& steps,
                                          const std::vector<NamedLink>& links,
                                          const RegistryIndex& registry, const std::string& groupType) {
  std::vector<LinkReplacement> replacements;
  for (const Step& step : steps) {
    const std::string type =
        groupType.empty() ? TMyFunction::ExtNoDot(registry.Name(step.number)) : groupType;
    replacements.push_back({links[step.link].text, ResourceLink(type, step.number)});
  }
  return replacements;
}

}  // namespace

std::vector<std::string> PageLinks(const std::string& page) {
  StringList values;
  for (const char* prefix : {"href=", "src=", "background="})
    TMyFunction::FindBetween(page, prefix, ">", values);
  std::vector<std::string> links;
  for (const std::string& value : values) links.push_back(Cnv(value));
  for (std::string& value : CssUrlValues(page)) links.push_back(std::move(value));
  return links;
}

LinkRewrite RewriteLinks(std::string& text, const std::vector<std::string>& candidates, const std::string& folder,
                         const RegistryIndex& registry, const std::string& groupType, const Checkpoint& checkpoint) {
  LinkRewrite rewrite;
  const std::vector<NamedLink> links = NamedLinks(candidates, folder, registry, rewrite.unlinked, checkpoint);
  if (links.empty()) return rewrite;
  std::vector<Step> steps = FirstStepOfEachText(links);
  std::vector<LinkReplacement> replacements = Replacements(steps, links, registry, groupType);
  std::vector<bool> made;
  if (ReplacementsStayApart(replacements)) {
    made = ReplaceIndexed(text, replacements, checkpoint);
  } else {
    steps = AllSteps(links);
    replacements = Replacements(steps, links, registry, groupType);
    made = LinksAreWords(replacements) ? ReplaceInOrderByWords(text, replacements, checkpoint)
                                       : ReplaceInOrder(text, replacements, checkpoint);
  }
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
