#include "resformat/sha256.h"
#include "resformat/sha256_blocks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The examples of FIPS 180-4 and lengths around the padding's block edge.
TEST(Sha256, KnownDigests) {
  using pagefold::resformat::Sha256Hex;
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_EQ(Sha256Hex(std::string(55, 'a')), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
  EXPECT_EQ(Sha256Hex(std::string(64, 'a')), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
  EXPECT_EQ(Sha256Hex(std::string("\0\xff", 2)), "06eb7d6a69ee19e5fbdf749018d3d2abfa04bcbd1365db312eb86dc7169389b8");
}

// Bytes that differ from block to block, so that a word of the schedule out
// of place changes the digest.
std::string Varied(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

TEST(Sha256, VariedBytesOfManyBlocks) {
  EXPECT_EQ(pagefold::resformat::Sha256Hex(Varied(100003)),
            "d21eb61b232e80a6d41416907c7241c95a5e983f6e1dc8d18b6420a7b7d6cda7");
}

// Both ways of compressing leave the same state after any number of blocks.
TEST(Sha256, TheShaExtensionsCompressAsThePortableCode) {
  using namespace pagefold::resformat;
  if (!HasShaExtensions()) GTEST_SKIP() << "this processor has no SHA extensions";
  const std::string bytes = Varied(64 * 40);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t count = 0; count <= 40; count += 1 + count / 4) {
    Sha256State portable = {1, 2, 3, 4, 5, 6, 7, 0xFFFFFFFF}, extensions = portable;
    CompressBlocks(portable, data, count);
    CompressBlocksWithShaExtensions(extensions, data, count);
    EXPECT_EQ(portable, extensions) << count << " blocks";
  }
}

}  // namespace
