#include "core/link_summary.h"

#include "core/build_texts.h"
#include "core/escaped_text.h"

namespace pagefold {
namespace {

constexpr size_t kSummaryLines = 10;

}  // namespace

std::string LinkSummary(const std::vector<UnlinkedLink>& links) {
  if (links.empty()) return "";
  std::string summary = texts::kLinksWithoutResource + std::to_string(links.size());
  for (size_t i = 0; i < links.size() && i < kSummaryLines; ++i) summary += "\n" + LinkLine(links[i]);
  return summary;
}

std::string LinkLine(const UnlinkedLink& link) {
  return EscapedControlBytes(link.page) + " -> " + EscapedControlBytes(link.link);
}

}  // namespace pagefold
