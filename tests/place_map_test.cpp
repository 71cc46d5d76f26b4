// PlaceMap against std::map over keys that crowd the same slots: runs of
// neighbours, multiples of the table sizes, the smallest and the largest
// places, values overwritten, through many doublings of the table.
#include "links/place_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

namespace {

void ExpectKeepsEveryValue(pagefold::PlaceMap& map) {
  EXPECT_EQ(map.Find(0), nullptr);
  std::map<size_t, size_t> expected;
  std::mt19937_64 random(27);
  const auto set = [&](size_t key, size_t value) {
    map.Set(key, value);
    expected[key] = value;
  };
  for (size_t i = 0; i < 3000; ++i) {
    set(i, i + 1);
    set(i * 64, SIZE_MAX);  // a value no place has, as a page's end gives
    set(i << 20, i);
    set(SIZE_MAX - 1 - i, 0);
    set(random() % 5000, random());  // overwrites many of the above
  }
  for (const auto& [key, value] : expected) {
    const size_t* found = map.Find(key);
    ASSERT_NE(found, nullptr) << key;
    EXPECT_EQ(*found, value) << key;
  }
  // Keys next to the ones set, and ones never set, have no value.
  size_t absent = 0;
  for (size_t key : {size_t{3000} << 20, size_t{3001} * 64 + 1, SIZE_MAX - 3001, size_t{1} << 40})
    absent += map.Find(key) == nullptr && !expected.contains(key);
  EXPECT_EQ(absent, 4u);
}

TEST(PlaceMap, KeepsEveryValueThroughGrowingAndOverwriting) {
  pagefold::PlaceMap map;
  ExpectKeepsEveryValue(map);
}

TEST(PlaceMap, KeepsEveryValueWithRoomMadeAhead) {
  pagefold::PlaceMap map;
  map.Reserve(10000);  // a little less than the keys set
  ExpectKeepsEveryValue(map);
  map.Reserve(40000);  // room made later keeps the values
  EXPECT_NE(map.Find(2999), nullptr);
}

}  // namespace
