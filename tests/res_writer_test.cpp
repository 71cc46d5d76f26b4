#include "rescomp/res_writer.h"

#include <gtest/gtest.h>

namespace {

using pagefold::rescomp::ResourceHeader;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(ResWriter, TheEmptyEntryOpensEveryFile) {
  EXPECT_EQ(pagefold::rescomp::EmptyEntry(), Bytes({0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ResWriter, HeadersHoldStringsPaddedToFourBytes) {
  // Type "AB" (6 bytes) and name "C" (4 bytes): 10 bytes, padded to 12.
  EXPECT_EQ(ResourceHeader(u"AB", u"C", 0x0419, 0x01020304),
            Bytes({4, 3, 2, 1, 36, 0, 0, 0, 'A', 0, 'B', 0, 0, 0, 'C', 0, 0, 0, 0, 0,
                   0, 0, 0, 0, 0x30, 0, 0x19, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}));
  // Type "ABC" and name "D": 8 + 4 bytes, already aligned.
  EXPECT_EQ(ResourceHeader(u"ABC", u"D", 0x0409, 0).size(), 8u + 12u + 16u);
  // Cyrillic and digits stay UTF-16 strings; no ordinal 0xFFFF marker appears.
  const std::string header = ResourceHeader(u"Я", u"12", 0x0409, 5);
  EXPECT_EQ(header.substr(8, 10), Bytes({0x2F, 0x04, 0, 0, '1', 0, '2', 0, 0, 0}));
  EXPECT_EQ(header.size(), 8u + 12u + 16u);
}

TEST(ResWriter, DataIsPaddedToFourBytes) {
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(0), "");
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(1), std::string(3, '\0'));
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(2), std::string(2, '\0'));
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(3), std::string(1, '\0'));
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(4), "");
  EXPECT_EQ(pagefold::rescomp::PaddingAfter(0xFFFFFFFFull), std::string(1, '\0'));
}

}  // namespace
