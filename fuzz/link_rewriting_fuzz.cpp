// The link rewriting of a page over any bytes. The input is
//   the page's folder \n the group type \n registry names, one a line \n \n the page
// The attribute scan (FindBetween), the style areas, the link reading (Cnv, DUrl) and the
// rewrite that ReplaceUrl makes (RewriteLinks) must finish on every input, and
// the one-pass replacement must give what replacing one text after the other gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/attribute_scan.h"
#include "core/link_resolution.h"
#include "core/link_rewriting.h"
#include "core/name_conversion.h"
#include "core/page_style_areas.h"
#include "core/registry_index.h"
#include "links/link_replacement.h"
#include "links/one_pass_replacement.h"

namespace {

constexpr size_t kMaxEntries = 256;

std::string NextLine(const std::string& input, size_t& pos) {
  if (pos >= input.size()) return "";
  const size_t end = std::min(input.find('\n', pos), input.size());
  std::string line = input.substr(pos, end - pos);
  pos = end + 1;
  return line;
}

// Views into the page, each behind the one before it: what a scan gives stays
// within the page however many start texts it holds.
void CheckInOrderApart(const std::string& page, const std::vector<std::string_view>& views) {
  const char* behind = page.data();
  for (std::string_view view : views) {
    if (view.data() < behind || view.data() + view.size() > page.data() + page.size()) std::abort();
    behind = view.data() + view.size();
  }
}

void CheckScan(const std::string& page, const std::string& folder) {
  for (std::string_view prefix : {"href=", "src=", "background="})
    CheckInOrderApart(page, pagefold::ValuesBetween(page, {prefix}, ">"));
  CheckInOrderApart(page, pagefold::PageStyleAreas(page));
  pagefold::StringList values;
  for (const char* prefix : {"href=", "src=", "background="})
    pagefold::FindBetween(page, prefix, ">", values);
  for (const std::string& value : values) {
    if (value.size() >= page.size()) std::abort();
    const std::string link = pagefold::Cnv(value);
    if (value.find(link) == std::string::npos) std::abort();
    pagefold::DUrl(folder, link);
  }
}

// Each name, and each name as a page would write it with "/" between
// folders, replaced by a resource link of its type or the group type.
// Returns false, and compares nothing, when replacing one text after the
// other grows the page past kMaxGrownPage: a type that a name can end inside
// lets each inserted link be taken again, and a few bytes grow to megabytes,
// whose replacement takes longer than the fuzzer's time per input. The rule
// is stopped at the first replacement that finds the page grown so far.
constexpr size_t kMaxGrownPage = 1 << 18;

struct GrownTooLarge {};

// The rewrite is given up, and nothing more checked, at its third
// checkpoint: it comes before the links are read, before they are replaced,
// and then after every 1,024 links or steps or MiB inserted, and a page whose
// links meet the ones inserted before them can grow without end.
constexpr int kMaxCheckpoints = 2;

bool CheckReplacements(const std::string& page, const std::vector<std::string>& names,
                       const std::string& groupType) {
  std::vector<pagefold::LinkReplacement> replacements;
  std::deque<std::string> bytes;  // viewed by the replacements
  for (size_t i = 0; i < names.size(); ++i) {
    std::string& written = bytes.emplace_back(names[i]);
    for (char& c : written)
      if (c == '\\') c = '/';
    const std::string type = groupType.empty() ? pagefold::ExtNoDot(names[i]) : groupType;
    const std::string& link = bytes.emplace_back(pagefold::ResourceLink(type, static_cast<int>(i) + 1));
    replacements.push_back({names[i], link});
    if (written != names[i]) replacements.push_back({written, link});
  }
  std::string inOrder = page, onePass = page;
  std::vector<bool> madeInOrder;
  try {
    madeInOrder = pagefold::ReplaceInOrder(inOrder, replacements, [&] {
      if (inOrder.size() > kMaxGrownPage) throw GrownTooLarge{};
    });
  } catch (const GrownTooLarge&) {
    return false;
  }
  if (inOrder.size() > kMaxGrownPage) return false;
  const std::vector<bool> madeOnePass = pagefold::ReplaceInOnePass(onePass, replacements, [] {});
  if (inOrder != onePass || madeInOrder != madeOnePass) std::abort();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  const std::string folder = NextLine(input, pos);
  const std::string groupType = NextLine(input, pos);
  std::vector<std::string> names;
  while (pos < input.size() && names.size() < kMaxEntries) {
    std::string name = NextLine(input, pos);
    if (name.empty()) break;
    names.push_back(std::move(name));
  }
  const std::string page = pos < input.size() ? input.substr(pos) : "";

  CheckScan(page, folder);
  if (!CheckReplacements(page, names, groupType)) return 0;

  const pagefold::RegistryIndex registry(names);
  std::string rewritten = page;
  int checkpoints = 0;
  pagefold::LinkRewrite rewrite;
  try {
    rewrite = pagefold::RewriteLinks(rewritten, pagefold::PageLinks(rewritten), folder, registry, groupType, [&] {
      if (++checkpoints > kMaxCheckpoints) throw GrownTooLarge{};
    });
  } catch (const GrownTooLarge&) {
    return 0;
  }
  if (rewrite.count < 0 || (rewrite.count == 0 && rewritten != page)) std::abort();
  if (rewrite.count > 0 && rewrite.marked.empty()) std::abort();
  // The entries marked: ascending, each once, each a registry entry.
  for (size_t i = 0; i < rewrite.marked.size(); ++i) {
    const int number = rewrite.marked[i];
    if (number < 1 || number > registry.Count() || (i > 0 && number <= rewrite.marked[i - 1])) std::abort();
  }
  return 0;
}
