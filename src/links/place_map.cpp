#include "links/place_map.h"

#include <utility>

namespace pagefold {

void PlaceMap::Set(size_t key, size_t value) {
  if (2 * (count_ + 1) > slots_.size()) Grow();
  size_t slot = SlotOf(key);
  while (slots_[slot].key != kEmpty && slots_[slot].key != key) slot = (slot + 1) & (slots_.size() - 1);
  if (slots_[slot].key == kEmpty) ++count_;
  slots_[slot] = {key, value};
}

void PlaceMap::Grow() {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.empty() ? 64 : 2 * slots_.size()));
  shift_ = 64 - __builtin_ctzll(slots_.size());
  count_ = 0;
  for (const Slot& slot : old)
    if (slot.key != kEmpty) Set(slot.key, slot.value);
}

}  // namespace pagefold
