#include "links/place_map.h"

#include <utility>

namespace pagefold {

void PlaceMap::Set(size_t key, size_t value) {
  if (2 * (count_ + 1) > slots_.size()) Resize(slots_.empty() ? 64 : 2 * slots_.size());
  size_t slot = SlotOf(key);
  while (slots_[slot].key != kEmpty && slots_[slot].key != key) slot = (slot + 1) & (slots_.size() - 1);
  if (slots_[slot].key == kEmpty) ++count_;
  slots_[slot] = {key, value};
}

void PlaceMap::Reserve(size_t count) {
  size_t slots = 64;
  while (slots < 2 * count) slots *= 2;
  if (slots > slots_.size()) Resize(slots);
}

void PlaceMap::Resize(size_t slots) {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots));
  shift_ = 64 - __builtin_ctzll(slots_.size());
  count_ = 0;
  for (const Slot& slot : old)
    if (slot.key != kEmpty) Set(slot.key, slot.value);
}

}  // namespace pagefold
