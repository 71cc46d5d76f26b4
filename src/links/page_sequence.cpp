#include "links/page_sequence.h"

#include <algorithm>

namespace pagefold {

PageSequence::PageSequence(const std::string& first, size_t replacements)
    : first_(first), taken_(first.size() / 64 + 1), head_(first.empty() ? kNone : 0) {
  // Each replacement leaves the order of places at most twice in each direction.
  next_.Reserve(2 * replacements);
  prev_.Reserve(2 * replacements);
}

size_t PageSequence::Next(size_t place) const {
  if (const size_t* jump = next_.Find(place)) return *jump;
  return place + 1 == first_.size() ? kNone : place + 1;
}

size_t PageSequence::Prev(size_t place) const {
  if (const size_t* jump = prev_.Find(place)) return *jump;
  return place == 0 ? kNone : place - 1;
}

bool PageSequence::AnyTaken(size_t from, size_t to) const { return FirstTakenFrom(from, to) < to; }

void PageSequence::Take(size_t place) { taken_[place / 64] |= uint64_t{1} << (place % 64); }

// The first taken place in [place, limit), or limit.
size_t PageSequence::FirstTakenFrom(size_t place, size_t limit) const {
  while (place < limit) {
    const uint64_t bits = taken_[place / 64] >> (place % 64);
    if (bits != 0) return std::min(limit, place + static_cast<size_t>(__builtin_ctzll(bits)));
    place = (place / 64 + 1) * 64;
  }
  return limit;
}

size_t PageSequence::Replace(size_t start, size_t last, std::string_view link) {
  const size_t before = Prev(start), after = Next(last);
  if (last < first_.size() && start <= last && !AnyTaken(start, last + 1)) {
    for (size_t place = start; place <= last; ++place) Take(place);  // a stretch of the first page
  } else {
    for (size_t place = start;; place = Next(place)) {
      Take(place);
      if (place == last) break;
    }
  }
  const size_t begin = first_.size() + added_.size(), end = begin + link.size();
  added_.append(link);
  linkStarts_.push_back(begin);
  taken_.resize(end / 64 + 1);
  if (before == kNone)
    head_ = begin;
  else
    next_.Set(before, begin);
  prev_.Set(begin, before);
  next_.Set(end - 1, after);
  if (after != kNone) prev_.Set(after, end - 1);
  return begin;
}

std::string PageSequence::Text() const {
  std::string text;
  text.reserve(first_.size() + added_.size());
  for (size_t place = head_; place != kNone;) {
    // A run of places in order: to the next taken one, or to the end of the
    // first page or of the link that holds it.
    size_t limit = first_.size();
    if (place >= first_.size()) {
      const auto link = std::upper_bound(linkStarts_.begin(), linkStarts_.end(), place);
      limit = link == linkStarts_.end() ? first_.size() + added_.size() : *link;
    }
    const size_t last = FirstTakenFrom(place, limit) - 1;
    if (place < first_.size())
      text.append(first_, place, last + 1 - place);
    else
      text.append(added_, place - first_.size(), last + 1 - place);
    place = Next(last);
  }
  return text;
}

}  // namespace pagefold
