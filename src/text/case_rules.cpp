#include "text/case_rules.h"

#include <array>

namespace text {
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

}  // namespace

unsigned char LowerCp1251(unsigned char byte) { return kLower[byte]; }

std::string LowerCp1251(const std::string& s) {
  std::string out(s);
  LowerCp1251InPlace(out);
  return out;
}

void LowerCp1251InPlace(std::string& s) {
  for (char& c : s) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

std::string UpperAscii(const std::string& s) {
  std::string out(s);
  UpperAsciiInPlace(out);
  return out;
}

void UpperAsciiInPlace(std::string& s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
}

std::string LowerAscii(const std::string& s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

}  // namespace text
