#include "recovery/region_multiply_x86.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Every vector stays in registers or in the caller's buffers: the Windows
// ABI cannot promise the 32-byte stack alignment a spilled AVX register
// would need (the build also has the assembler turn aligned moves into
// unaligned ones there).
#define VTQ_INLINE inline __attribute__((always_inline))

namespace vtq::recovery::x86 {
namespace {

// Within each 128-bit lane: the eight words' low bytes, then their high bytes.
#define VTQ_SPLIT_WORDS 0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15

__attribute__((target("ssse3"))) size_t ToLayoutSsse3(uint8_t* data, size_t bytes) {
  const __m128i split = _mm_setr_epi8(VTQ_SPLIT_WORDS);
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    auto* p = reinterpret_cast<__m128i*>(data + i);
    const __m128i a0 = _mm_shuffle_epi8(_mm_loadu_si128(p), split);
    const __m128i a1 = _mm_shuffle_epi8(_mm_loadu_si128(p + 1), split);
    const __m128i b0 = _mm_shuffle_epi8(_mm_loadu_si128(p + 2), split);
    const __m128i b1 = _mm_shuffle_epi8(_mm_loadu_si128(p + 3), split);
    _mm_storeu_si128(p, _mm_unpacklo_epi64(a0, b0));
    _mm_storeu_si128(p + 1, _mm_unpacklo_epi64(a1, b1));
    _mm_storeu_si128(p + 2, _mm_unpackhi_epi64(a0, b0));
    _mm_storeu_si128(p + 3, _mm_unpackhi_epi64(a1, b1));
  }
  return i;
}

__attribute__((target("ssse3"))) size_t FromLayoutSsse3(uint8_t* data, size_t bytes) {
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    auto* p = reinterpret_cast<__m128i*>(data + i);
    const __m128i l0 = _mm_loadu_si128(p);
    const __m128i l1 = _mm_loadu_si128(p + 1);
    const __m128i h0 = _mm_loadu_si128(p + 2);
    const __m128i h1 = _mm_loadu_si128(p + 3);
    _mm_storeu_si128(p, _mm_unpacklo_epi8(l0, h0));
    _mm_storeu_si128(p + 1, _mm_unpacklo_epi8(l1, h1));
    _mm_storeu_si128(p + 2, _mm_unpackhi_epi8(l0, h0));
    _mm_storeu_si128(p + 3, _mm_unpackhi_epi8(l1, h1));
  }
  return i;
}

__attribute__((target("avx2"))) size_t ToLayoutAvx2(uint8_t* data, size_t bytes) {
  const __m256i split = _mm256_setr_epi8(VTQ_SPLIT_WORDS, VTQ_SPLIT_WORDS);
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    auto* p = reinterpret_cast<__m256i*>(data + i);
    const __m256i a = _mm256_shuffle_epi8(_mm256_loadu_si256(p), split);
    const __m256i b = _mm256_shuffle_epi8(_mm256_loadu_si256(p + 1), split);
    _mm256_storeu_si256(p, _mm256_unpacklo_epi64(a, b));
    _mm256_storeu_si256(p + 1, _mm256_unpackhi_epi64(a, b));
  }
  return i;
}

__attribute__((target("avx2"))) size_t FromLayoutAvx2(uint8_t* data, size_t bytes) {
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    auto* p = reinterpret_cast<__m256i*>(data + i);
    const __m256i low = _mm256_loadu_si256(p);
    const __m256i high = _mm256_loadu_si256(p + 1);
    _mm256_storeu_si256(p, _mm256_unpacklo_epi8(low, high));
    _mm256_storeu_si256(p + 1, _mm256_unpackhi_epi8(low, high));
  }
  return i;
}

// The products' low and high bytes of 16 words, from their low and high bytes.
struct Nibbles128 {
  __m128i low[4];
  __m128i high[4];
};

__attribute__((target("ssse3"))) VTQ_INLINE void NibbleProduct(const Nibbles128& t, __m128i l,
                                                               __m128i h, __m128i& productLow,
                                                               __m128i& productHigh) {
  const __m128i mask = _mm_set1_epi8(0x0F);
  const __m128i n0 = _mm_and_si128(l, mask);
  const __m128i n1 = _mm_and_si128(_mm_srli_epi16(l, 4), mask);
  const __m128i n2 = _mm_and_si128(h, mask);
  const __m128i n3 = _mm_and_si128(_mm_srli_epi16(h, 4), mask);
  productLow =
      _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(t.low[0], n0), _mm_shuffle_epi8(t.low[1], n1)),
                    _mm_xor_si128(_mm_shuffle_epi8(t.low[2], n2), _mm_shuffle_epi8(t.low[3], n3)));
  productHigh = _mm_xor_si128(
      _mm_xor_si128(_mm_shuffle_epi8(t.high[0], n0), _mm_shuffle_epi8(t.high[1], n1)),
      _mm_xor_si128(_mm_shuffle_epi8(t.high[2], n2), _mm_shuffle_epi8(t.high[3], n3)));
}

__attribute__((target("ssse3"))) size_t NibbleSsse3(const uint8_t (*low)[16],
                                                    const uint8_t (*high)[16], const uint8_t* in,
                                                    uint8_t* out, size_t bytes) {
  Nibbles128 t;
  for (int k = 0; k < 4; ++k) {
    t.low[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low[k]));
    t.high[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high[k]));
  }
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    const auto* src = reinterpret_cast<const __m128i*>(in + i);
    auto* dst = reinterpret_cast<__m128i*>(out + i);
    // Two halves of a block: bytes 0-15 with 32-47, 16-31 with 48-63.
    for (int half = 0; half < 2; ++half) {
      __m128i productLow;
      __m128i productHigh;
      NibbleProduct(t, _mm_loadu_si128(src + half), _mm_loadu_si128(src + 2 + half), productLow,
                    productHigh);
      _mm_storeu_si128(dst + half, _mm_xor_si128(_mm_loadu_si128(dst + half), productLow));
      _mm_storeu_si128(dst + 2 + half, _mm_xor_si128(_mm_loadu_si128(dst + 2 + half), productHigh));
    }
  }
  return i;
}

__attribute__((target("avx2"))) size_t NibbleAvx2(const uint8_t (*low)[16],
                                                  const uint8_t (*high)[16], const uint8_t* in,
                                                  uint8_t* out, size_t bytes) {
  __m256i tl[4];
  __m256i th[4];
  for (int k = 0; k < 4; ++k) {
    tl[k] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low[k])));
    th[k] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high[k])));
  }
  const __m256i mask = _mm256_set1_epi8(0x0F);
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    const auto* src = reinterpret_cast<const __m256i*>(in + i);
    auto* dst = reinterpret_cast<__m256i*>(out + i);
    const __m256i l = _mm256_loadu_si256(src);
    const __m256i h = _mm256_loadu_si256(src + 1);
    const __m256i n0 = _mm256_and_si256(l, mask);
    const __m256i n1 = _mm256_and_si256(_mm256_srli_epi16(l, 4), mask);
    const __m256i n2 = _mm256_and_si256(h, mask);
    const __m256i n3 = _mm256_and_si256(_mm256_srli_epi16(h, 4), mask);
    const __m256i productLow = _mm256_xor_si256(
        _mm256_xor_si256(_mm256_shuffle_epi8(tl[0], n0), _mm256_shuffle_epi8(tl[1], n1)),
        _mm256_xor_si256(_mm256_shuffle_epi8(tl[2], n2), _mm256_shuffle_epi8(tl[3], n3)));
    const __m256i productHigh = _mm256_xor_si256(
        _mm256_xor_si256(_mm256_shuffle_epi8(th[0], n0), _mm256_shuffle_epi8(th[1], n1)),
        _mm256_xor_si256(_mm256_shuffle_epi8(th[2], n2), _mm256_shuffle_epi8(th[3], n3)));
    _mm256_storeu_si256(dst, _mm256_xor_si256(_mm256_loadu_si256(dst), productLow));
    _mm256_storeu_si256(dst + 1, _mm256_xor_si256(_mm256_loadu_si256(dst + 1), productHigh));
  }
  return i;
}

}  // namespace

__attribute__((target("avx2,gfni"))) size_t AffineMultiplyAdd(const uint64_t* matrices,
                                                              const uint8_t* in, uint8_t* out,
                                                              size_t bytes) {
  const __m256i lowFromLow = _mm256_set1_epi64x(static_cast<long long>(matrices[0]));
  const __m256i lowFromHigh = _mm256_set1_epi64x(static_cast<long long>(matrices[1]));
  const __m256i highFromLow = _mm256_set1_epi64x(static_cast<long long>(matrices[2]));
  const __m256i highFromHigh = _mm256_set1_epi64x(static_cast<long long>(matrices[3]));
  size_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    const auto* src = reinterpret_cast<const __m256i*>(in + i);
    auto* dst = reinterpret_cast<__m256i*>(out + i);
    const __m256i l = _mm256_loadu_si256(src);
    const __m256i h = _mm256_loadu_si256(src + 1);
    const __m256i productLow = _mm256_xor_si256(_mm256_gf2p8affine_epi64_epi8(l, lowFromLow, 0),
                                                _mm256_gf2p8affine_epi64_epi8(h, lowFromHigh, 0));
    const __m256i productHigh = _mm256_xor_si256(_mm256_gf2p8affine_epi64_epi8(l, highFromLow, 0),
                                                 _mm256_gf2p8affine_epi64_epi8(h, highFromHigh, 0));
    _mm256_storeu_si256(dst, _mm256_xor_si256(_mm256_loadu_si256(dst), productLow));
    _mm256_storeu_si256(dst + 1, _mm256_xor_si256(_mm256_loadu_si256(dst + 1), productHigh));
  }
  return i;
}

bool Supports(MultiplyPath path) {
  static const struct Features {
    bool ssse3;
    bool avx2;
    bool gfni;
  } has = [] {
    __builtin_cpu_init();
    // The checks of AVX2 include the system's saving of the wide registers.
    const bool avx2 = __builtin_cpu_supports("avx2");
    return Features{__builtin_cpu_supports("ssse3") != 0, avx2,
                    avx2 && __builtin_cpu_supports("gfni")};
  }();
  switch (path) {
    case MultiplyPath::kTables:
      return true;
    case MultiplyPath::kSsse3:
      return has.ssse3;
    case MultiplyPath::kAvx2:
      return has.avx2;
    case MultiplyPath::kGfni:
      return has.gfni;
  }
  return false;
}

size_t ToLayout(MultiplyPath path, uint8_t* data, size_t bytes) {
  return path == MultiplyPath::kSsse3 ? ToLayoutSsse3(data, bytes) : ToLayoutAvx2(data, bytes);
}

size_t FromLayout(MultiplyPath path, uint8_t* data, size_t bytes) {
  return path == MultiplyPath::kSsse3 ? FromLayoutSsse3(data, bytes) : FromLayoutAvx2(data, bytes);
}

size_t NibbleMultiplyAdd(MultiplyPath path, const uint8_t (*low)[16], const uint8_t (*high)[16],
                         const uint8_t* in, uint8_t* out, size_t bytes) {
  return path == MultiplyPath::kSsse3 ? NibbleSsse3(low, high, in, out, bytes)
                                      : NibbleAvx2(low, high, in, out, bytes);
}

}  // namespace vtq::recovery::x86

#else

namespace vtq::recovery::x86 {

bool Supports(MultiplyPath path) {
  return path == MultiplyPath::kTables;
}
size_t ToLayout(MultiplyPath, uint8_t*, size_t) {
  return 0;
}
size_t FromLayout(MultiplyPath, uint8_t*, size_t) {
  return 0;
}
size_t NibbleMultiplyAdd(MultiplyPath, const uint8_t (*)[16], const uint8_t (*)[16], const uint8_t*,
                         uint8_t*, size_t) {
  return 0;
}
size_t AffineMultiplyAdd(const uint64_t*, const uint8_t*, uint8_t*, size_t) {
  return 0;
}

}  // namespace vtq::recovery::x86

#endif
