// A map from places to places in one flat table (open addressing, linear
// probing), so that adding an entry allocates nothing but, now and then, a
// table twice as large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagefold {

class PlaceMap {
 public:
  // The value of `key`, or nullptr when it has none.
  const size_t* Find(size_t key) const {
    if (slots_.empty()) return nullptr;
    for (size_t slot = SlotOf(key);; slot = (slot + 1) & (slots_.size() - 1)) {
      if (slots_[slot].key == kEmpty) return nullptr;
      if (slots_[slot].key == key) return &slots_[slot].value;
    }
  }

  // Gives `key` the value, in place of any it had.
  void Set(size_t key, size_t value);

  // Makes room for `count` keys at once.
  void Reserve(size_t count);

 private:
  static constexpr size_t kEmpty = SIZE_MAX;  // no place is this large
  struct Slot {
    size_t key = kEmpty;
    size_t value = 0;
  };

  size_t SlotOf(size_t key) const {
    // Fibonacci hashing: the high bits of the product, as many as the table needs.
    return static_cast<size_t>((uint64_t{key} * 0x9E3779B97F4A7C15u) >> shift_);
  }
  void Resize(size_t slots);

  std::vector<Slot> slots_;  // a power of two of them, at most half taken
  size_t count_ = 0;
  int shift_ = 64;
};

}  // namespace pagefold
