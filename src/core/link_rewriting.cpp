#include "core/link_rewriting.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "core/build_command.h"
#include "core/link_replacement.h"
#include "core/link_resolution.h"
#include "core/tmyfunction.h"
#include "platform/file_ops.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// A collected link that names registry entries.
struct NamedLink {
  std::string text;                 // the text to replace, as written in the page
  const std::vector<int>* numbers;  // the entries it names, ascending
};

// One replacement: an entry and the collected link that names it.
struct Step {
  int number;
  size_t link;
  bool operator<(const Step& other) const {
    return number != other.number ? number < other.number : link < other.link;
  }
};

std::optional<std::string> AsWritten(const std::string& link) { return link; }

std::optional<NamedLink> Resolve(const std::string& link, const std::string& folder,
                                 const RegistryIndex& registry) {
  if (link.empty()) return std::nullopt;
  std::vector<std::string> written = {link};
  const size_t cut = link.find_first_of("#?");
  if (cut != std::string::npos && cut > 0) written.push_back(link.substr(0, cut));
  using Reading = std::optional<std::string> (*)(const std::string&);
  for (Reading read : {AsWritten, Utf8LinkToCp1251, PercentDecodedLink})
    for (const std::string& text : written)
      if (const auto readable = read(text)) {
        const std::vector<int>& numbers = registry.Find(text::LowerCp1251(DUrl(folder, *readable)));
        if (!numbers.empty()) return NamedLink{text, &numbers};
      }
  return std::nullopt;
}

std::vector<NamedLink> CollectNamedLinks(const std::string& page, const std::string& folder,
                                         const RegistryIndex& registry) {
  StringList values;
  for (const char* prefix : {"href=", "src=", "background="})
    TMyFunction::FindBetween(page, prefix, ">", values);
  std::vector<NamedLink> links;
  for (const std::string& value : values)
    if (auto named = Resolve(Cnv(value), folder, registry)) links.push_back(std::move(*named));
  return links;
}

// The first step of every distinct link text. Once its first step has been
// tried, a text no longer occurs for any later step, unless it can meet the
// resource links inserted meanwhile (see ReplacementsStayApart). Equal texts
// resolve alike, so the first link with a text holds its first step.
std::vector<Step> FirstStepOfEachText(const std::vector<NamedLink>& links) {
  std::unordered_map<std::string_view, Step> first;
  for (size_t i = 0; i < links.size(); ++i) first.try_emplace(links[i].text, Step{links[i].numbers->front(), i});
  std::vector<Step> steps;
  for (const auto& [text, step] : first) steps.push_back(step);
  std::sort(steps.begin(), steps.end());
  return steps;
}

std::vector<Step> AllSteps(const std::vector<NamedLink>& links) {
  std::vector<Step> steps;
  for (size_t i = 0; i < links.size(); ++i)
    for (int number : *links[i].numbers) steps.push_back({number, i});
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

int RewriteLinks(std::string& page, const std::string& pageFolder, const RegistryIndex& registry,
                 const std::string& groupType, std::vector<unsigned char>& usedFlags) {
  if (registry.Count() <= 0) return 0;
  const std::vector<NamedLink> links = CollectNamedLinks(page, pageFolder, registry);
  std::vector<Step> steps = FirstStepOfEachText(links);
  std::vector<LinkReplacement> replacements = Replacements(steps, links, registry, groupType);
  std::vector<bool> made;
  if (ReplacementsStayApart(replacements)) {
    made = ReplaceIndexed(page, replacements);
  } else {
    steps = AllSteps(links);
    replacements = Replacements(steps, links, registry, groupType);
    made = ReplaceInOrder(page, replacements);
  }
  int count = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (!made[i]) continue;
    ++count;
    const auto number = static_cast<size_t>(steps[i].number);
    if (usedFlags.size() <= number) usedFlags.resize(static_cast<size_t>(registry.Count()) + 1);
    usedFlags[number] = 1;
  }
  return count;
}

int BuildCommand::ReplaceUrl(const std::string& pagePath, const std::string& pageFolder,
                             const RegistryIndex& registry) {
  std::string page = platform::ReadFileBytes(pagePath);
  const int count = RewriteLinks(page, pageFolder, registry, GroupType, UsedFlags);
  if (count > 0) platform::WriteFileBytes(pagePath, page);
  return count;
}

}  // namespace pagefold
