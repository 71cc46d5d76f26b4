#include "links/link_contact.h"

#include <algorithm>

#include "links/name_bytes.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

// Every resource link ends with this and a number, lower-cased.
constexpr std::string_view kMark = "/search_file_nomber_";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The numbers that follow the mark in a lower-cased text, each as long as its
// digits run, with where its mark begins.
std::vector<std::pair<std::string_view, size_t>> LinkEnds(std::string_view lower) {
  std::vector<std::pair<std::string_view, size_t>> ends;
  for (size_t mark = lower.find(kMark); mark != std::string_view::npos; mark = lower.find(kMark, mark + 1)) {
    const size_t from = mark + kMark.size();
    size_t end = from;
    while (end < lower.size() && IsDigit(lower[end])) ++end;
    if (end > from) ends.emplace_back(lower.substr(from, end - from), mark);
  }
  return ends;
}

// Where the lower-cased text can end inside the stem, before a byte that is
// not a name byte: ending with the stem cut there, or as a stretch of it that
// begins after such a byte.
void AddStemCuts(std::string_view text, std::string_view stem, int number,
                 std::vector<std::pair<int, size_t>>& cuts) {
  for (size_t end = 1; end < stem.size(); ++end) {
    if (IsNameByte(stem[end])) continue;
    const bool endsWithCut = text.ends_with(stem.substr(0, end));
    const bool stretch = text.size() < end && !IsNameByte(stem[end - text.size() - 1]) &&
                         stem.substr(end - text.size(), text.size()) == text;
    if (endsWithCut || stretch) cuts.emplace_back(number, end);
  }
}

bool HasOtherBytes(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return !IsNameByte(c); });
}

}  // namespace

LinkContacts::LinkContacts(std::span<const LinkReplacement> replacements) {
  std::string lower;
  for (const LinkReplacement& r : replacements) {
    lower = r.resourceLink;
    text::LowerCp1251InPlace(lower);
    const size_t mark = lower.rfind(kMark);
    if (mark == std::string::npos) continue;
    const std::string_view stem = std::string_view(lower).substr(0, mark);
    if (HasOtherBytes(stem) && !stems_.contains(stem)) stems_.emplace(stem, static_cast<int>(stems_.size()));
  }
}

LinkForm LinkContacts::Form(std::string_view link, std::string& lower) const {
  lower = link;
  text::LowerCp1251InPlace(lower);
  const size_t mark = lower.rfind(kMark);
  const size_t from = mark == std::string::npos ? 0 : mark + kMark.size();
  const bool ofThisForm = mark != std::string::npos && from < lower.size() &&
                          std::all_of(lower.begin() + from, lower.end(), IsDigit) && IsNameByte(lower[0]) &&
                          lower.find('\0') == std::string::npos;
  LinkForm form;
  if (!ofThisForm) return form;
  form.number = std::string_view(link).substr(from);
  form.markOffset = mark;
  const auto stem = stems_.find(std::string_view(lower).substr(0, mark));
  if (stem != stems_.end()) form.stem = stem->second;
  return form;
}

TextContact LinkContacts::Contact(std::string_view lower) const {
  TextContact contact{LinkEnds(lower), {}};
  for (const auto& [stem, number] : stems_) AddStemCuts(lower, stem, number, contact.stemCuts);
  return contact;
}

}  // namespace pagefold
