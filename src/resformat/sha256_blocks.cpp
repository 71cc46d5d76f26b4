#include "resformat/sha256_blocks.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace pagefold::resformat {
namespace {

constexpr std::array<std::uint32_t, 64> kRounds = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void Compress(Sha256State& state, const unsigned char* block) {
  std::array<std::uint32_t, 64> w;
  for (int i = 0; i < 16; ++i)
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | std::uint32_t{block[4 * i + 3]};
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = state;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + kRounds[i] + w[i];
    const std::uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::array<std::uint32_t, 8> added = {a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) state[i] += added[i];
}

}  // namespace

void CompressBlocks(Sha256State& state, const unsigned char* blocks, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) Compress(state, blocks + 64 * i);
}

#if defined(__x86_64__) || defined(__i386__)

bool HasShaExtensions() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSSE3) || !(c & bit_SSE4_1)) return false;
  return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_SHA);
}

// The state travels as two vectors, ABEF and CDGH, as the round instruction
// takes it; each step does four rounds on four words of the schedule, the
// schedule's words kept as the last four such groups.
__attribute__((target("sha,ssse3,sse4.1"))) void CompressBlocksWithShaExtensions(Sha256State& state,
                                                                                  const unsigned char* blocks,
                                                                                  std::size_t count) {
  const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
  for (std::size_t block = 0; block < count; ++block) {
    const unsigned char* in = blocks + 64 * block;
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i words[4];
    for (int step = 0; step < 16; ++step) {
      __m128i& group = words[step % 4];
      if (step < 4) {
        group = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * step)), byteOrder);
      } else {
        const __m128i& previous = words[(step + 3) % 4];
        const __m128i sevenBack = _mm_alignr_epi8(previous, words[(step + 2) % 4], 4);
        group = _mm_sha256msg2_epu32(
            _mm_add_epi32(_mm_sha256msg1_epu32(group, words[(step + 1) % 4]), sevenBack), previous);
      }
      __m128i sums = _mm_add_epi32(group, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kRounds[4 * step])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, sums);
      sums = _mm_shuffle_epi32(sums, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, sums);
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

#else

bool HasShaExtensions() { return false; }

void CompressBlocksWithShaExtensions(Sha256State& state, const unsigned char* blocks, std::size_t count) {
  CompressBlocks(state, blocks, count);
}

#endif

}  // namespace pagefold::resformat
