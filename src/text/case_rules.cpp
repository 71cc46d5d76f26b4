#include "text/case_rules.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace pagefold::text {
namespace {

constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDF; ++c) t[c] = static_cast<unsigned char>(c + 32);
  // The capitals outside the two runs, each with its small letter.
  constexpr unsigned char kPairs[][2] = {
      {0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
      {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC},
      {0xA5, 0xB4}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
  };
  for (const auto& pair : kPairs) t[pair[0]] = pair[1];
  return t;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x80 * kOnes;

// The bytes of eight ASCII bytes that lie from `from` to `to`, as their 0x20 bit.
std::uint64_t AsciiRange(std::uint64_t word, char from, char to) {
  // No byte carries into the next: each is below 0x80 and each addend below 0x80.
  const std::uint64_t atLeastFrom = word + (0x80 - static_cast<unsigned char>(from)) * kOnes;
  const std::uint64_t aboveTo = word + (0x80 - static_cast<unsigned char>(to) - 1) * kOnes;
  return ((atLeastFrom & ~aboveTo) & kHighBits) >> 2;
}

// Runs through the text eight bytes at a time: a word of ASCII bytes has its
// letters from `from` to `to` flipped by their 0x20 bit at once, any other
// word goes byte by byte.
template <typename ByteRule>
void ChangeCase(std::string& s, char from, char to, ByteRule rule) {
  char* bytes = s.data();
  const size_t size = s.size();
  size_t pos = 0;
  for (; pos + 8 <= size; pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + pos, 8);
    if ((word & kHighBits) != 0) {
      for (size_t k = pos; k < pos + 8; ++k) bytes[k] = rule(bytes[k]);
      continue;
    }
    word ^= AsciiRange(word, from, to);
    std::memcpy(bytes + pos, &word, 8);
  }
  for (; pos < size; ++pos) bytes[pos] = rule(bytes[pos]);
}

struct LowerByte {
  char operator()(char c) const { return static_cast<char>(kLower[static_cast<unsigned char>(c)]); }
};

struct UpperAsciiByte {
  char operator()(char c) const { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
};

}  // namespace

unsigned char LowerCp1251(unsigned char byte) { return kLower[byte]; }

std::string LowerCp1251(const std::string& s) {
  std::string out(s);
  LowerCp1251InPlace(out);
  return out;
}

void LowerCp1251InPlace(std::string& s) { ChangeCase(s, 'A', 'Z', LowerByte{}); }

std::string UpperAscii(const std::string& s) {
  std::string out(s);
  UpperAsciiInPlace(out);
  return out;
}

void UpperAsciiInPlace(std::string& s) { ChangeCase(s, 'a', 'z', UpperAsciiByte{}); }

std::string LowerAscii(const std::string& s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

}  // namespace pagefold::text
