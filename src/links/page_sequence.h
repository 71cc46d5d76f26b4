// A page as its replacements leave it, without copying it at each one. Every
// byte keeps a fixed place: the bytes of the first page at their positions,
// the bytes of each inserted link after them, in the order inserted. The page
// is the chain of the places not taken, from the first.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "links/place_map.h"

namespace pagefold {

class PageSequence {
 public:
  static constexpr size_t kNone = std::numeric_limits<size_t>::max();

  // Room is made for `replacements` calls of Replace at once.
  PageSequence(const std::string& first, size_t replacements);

  char At(size_t place) const { return place < first_.size() ? first_[place] : added_[place - first_.size()]; }
  size_t Next(size_t place) const;  // kNone after the last byte
  size_t Prev(size_t place) const;  // kNone before the first byte
  bool AnyTaken(size_t from, size_t to) const;  // in places [from, to)

  // Replaces the bytes from `start` through `last` (a place reached from
  // `start` by Next) with `link`, which must not be empty. Returns the place
  // of the link's first byte.
  size_t Replace(size_t start, size_t last, std::string_view link);

  // The page as it is now.
  std::string Text() const;

  // The bytes of all links inserted so far.
  size_t AddedSize() const { return added_.size(); }

 private:
  void Take(size_t place);
  size_t FirstTakenFrom(size_t place, size_t limit) const;

  const std::string& first_;
  std::string added_;
  std::vector<size_t> linkStarts_;  // the place of each inserted link, ascending
  std::vector<uint64_t> taken_;     // a bit a place
  size_t head_;
  PlaceMap next_, prev_;  // where the chain leaves the order of places
};

}  // namespace pagefold
