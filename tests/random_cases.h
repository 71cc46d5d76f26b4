// Random choices for generated test cases, and a text shown with its zero
// bytes visible in a failure message.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace testing_support {

class RandomCases {
 public:
  explicit RandomCases(unsigned seed) : random_(seed) {}

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random_)];
  }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random_) < percent; }
  int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 protected:
  std::mt19937 random_;
};

inline std::string ShownWithZeros(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\0' ? std::string("\\0") : std::string(1, c);
  return out;
}

}  // namespace testing_support
