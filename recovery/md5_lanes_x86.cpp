#include "recovery/md5_lanes_x86.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Spilled registers and the block's words on the stack: the build has the
// assembler make every aligned vector move an unaligned one on Windows,
// whose ABI does not promise the 32-byte stack alignment they would need.
#define VTQ_INLINE inline __attribute__((always_inline))

namespace vtq::recovery::x86 {
namespace {

__attribute__((target("avx2"))) VTQ_INLINE __m256i RotateLeft(__m256i x, int by) {
  return _mm256_or_si256(_mm256_sll_epi32(x, _mm_cvtsi32_si128(by)),
                         _mm256_srl_epi32(x, _mm_cvtsi32_si128(32 - by)));
}

// Word w of every lane's block in words[w]: two 8 x 8 transposes.
__attribute__((target("avx2"))) VTQ_INLINE void LoadWords(const uint8_t* const data[8], size_t at,
                                                          __m256i words[16]) {
  for (int half = 0; half < 2; ++half) {
    __m256i r[8];
    for (int l = 0; l < 8; ++l)
      r[l] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data[l] + at + 32 * half));
    __m256i t[8];
    for (int p = 0; p < 4; ++p) {
      t[2 * p] = _mm256_unpacklo_epi32(r[2 * p], r[2 * p + 1]);
      t[2 * p + 1] = _mm256_unpackhi_epi32(r[2 * p], r[2 * p + 1]);
    }
    __m256i u[8];
    for (int q = 0; q < 2; ++q) {
      u[4 * q] = _mm256_unpacklo_epi64(t[4 * q], t[4 * q + 2]);
      u[4 * q + 1] = _mm256_unpackhi_epi64(t[4 * q], t[4 * q + 2]);
      u[4 * q + 2] = _mm256_unpacklo_epi64(t[4 * q + 1], t[4 * q + 3]);
      u[4 * q + 3] = _mm256_unpackhi_epi64(t[4 * q + 1], t[4 * q + 3]);
    }
    __m256i* out = words + 8 * half;
    for (int w = 0; w < 4; ++w) {
      out[w] = _mm256_permute2x128_si256(u[w], u[w + 4], 0x20);
      out[w + 4] = _mm256_permute2x128_si256(u[w], u[w + 4], 0x31);
    }
  }
}

__attribute__((target("avx2"))) VTQ_INLINE void LoadStates(uint32_t* const states[8],
                                                           __m256i h[4]) {
  for (int s = 0; s < 4; ++s) {
    h[s] = _mm256_setr_epi32(static_cast<int>(states[0][s]), static_cast<int>(states[1][s]),
                             static_cast<int>(states[2][s]), static_cast<int>(states[3][s]),
                             static_cast<int>(states[4][s]), static_cast<int>(states[5][s]),
                             static_cast<int>(states[6][s]), static_cast<int>(states[7][s]));
  }
}

__attribute__((target("avx2"))) VTQ_INLINE void StoreStates(const __m256i h[4],
                                                            uint32_t* const states[8]) {
  for (int s = 0; s < 4; ++s) {
    uint32_t lanes[8];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), h[s]);
    for (int l = 0; l < 8; ++l)
      states[l][s] = lanes[l];
  }
}

// The four words of the state as the steps of one block move them.
struct Words {
  __m256i a, b, c, d;
};

// The end of a step: the words move round, b taking the rotated sum.
__attribute__((target("avx2"))) VTQ_INLINE void Advance(Words& w, __m256i rotated) {
  w.a = w.d;
  w.d = w.c;
  w.c = w.b;
  w.b = _mm256_add_epi32(w.b, rotated);
}

__attribute__((target("avx2"))) VTQ_INLINE void AddBlock(__m256i h[4], const Words& w) {
  h[0] = _mm256_add_epi32(h[0], w.a);
  h[1] = _mm256_add_epi32(h[1], w.b);
  h[2] = _mm256_add_epi32(h[2], w.c);
  h[3] = _mm256_add_epi32(h[3], w.d);
}

// The sum a step rotates, before its rotation.
__attribute__((target("avx2"))) VTQ_INLINE __m256i StepSum(__m256i a, __m256i f,
                                                           const __m256i m[16], int i) {
  return _mm256_add_epi32(
      _mm256_add_epi32(a, f),
      _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(md5::kAdded[i])), m[md5::WordOfStep(i)]));
}

__attribute__((target("avx2"))) void EightLanesAvx2(uint32_t* const states[8],
                                                    const uint8_t* const data[8], size_t blocks) {
  __m256i h[4];
  LoadStates(states, h);
  const __m256i ones = _mm256_set1_epi32(-1);
  for (size_t k = 0; k < blocks; ++k) {
    __m256i m[16];
    LoadWords(data, 64 * k, m);
    Words w{h[0], h[1], h[2], h[3]};
#pragma GCC unroll 64
    for (int i = 0; i < 64; ++i) {
      __m256i f;
      switch (i / 16) {
        case 0:  // d ^ (b & (c ^ d)): c where b is set, d elsewhere
          f = _mm256_xor_si256(w.d, _mm256_and_si256(w.b, _mm256_xor_si256(w.c, w.d)));
          break;
        case 1:  // c ^ (d & (b ^ c)): b where d is set, c elsewhere
          f = _mm256_xor_si256(w.c, _mm256_and_si256(w.d, _mm256_xor_si256(w.b, w.c)));
          break;
        case 2:
          f = _mm256_xor_si256(_mm256_xor_si256(w.b, w.c), w.d);
          break;
        default:
          f = _mm256_xor_si256(w.c, _mm256_or_si256(w.b, _mm256_xor_si256(w.d, ones)));
          break;
      }
      Advance(w, RotateLeft(StepSum(w.a, f, m, i), md5::kRotation[i / 16][i % 4]));
    }
    AddBlock(h, w);
  }
  StoreStates(h, states);
}

// The same steps with AVX-512's instructions on the same registers: each
// round's function of three words in one instruction (its truth table) and
// the rotation in one.
__attribute__((target("avx2,avx512f,avx512vl"))) void EightLanesAvx512(uint32_t* const states[8],
                                                                       const uint8_t* const data[8],
                                                                       size_t blocks) {
  __m256i h[4];
  LoadStates(states, h);
  for (size_t k = 0; k < blocks; ++k) {
    __m256i m[16];
    LoadWords(data, 64 * k, m);
    Words w{h[0], h[1], h[2], h[3]};
#pragma GCC unroll 64
    for (int i = 0; i < 64; ++i) {
      __m256i f;
      switch (i / 16) {
        case 0:
          f = _mm256_ternarylogic_epi32(w.b, w.c, w.d, 0xca);
          break;
        case 1:
          f = _mm256_ternarylogic_epi32(w.b, w.c, w.d, 0xe4);
          break;
        case 2:
          f = _mm256_ternarylogic_epi32(w.b, w.c, w.d, 0x96);
          break;
        default:
          f = _mm256_ternarylogic_epi32(w.b, w.c, w.d, 0x39);
          break;
      }
      Advance(w, _mm256_rolv_epi32(StepSum(w.a, f, m, i),
                                   _mm256_set1_epi32(md5::kRotation[i / 16][i % 4])));
    }
    AddBlock(h, w);
  }
  StoreStates(h, states);
}

}  // namespace

bool Supports(Md5Path path) {
  static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
  static const bool avx512 =
      avx2 && __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512vl") != 0;
  switch (path) {
    case Md5Path::kScalar:
      return true;
    case Md5Path::kAvx2:
      return avx2;
    case Md5Path::kAvx512:
      return avx512;
  }
  return false;
}

void Md5EightLanes(Md5Path path, uint32_t* const states[8], const uint8_t* const data[8],
                   size_t blocks) {
  if (path == Md5Path::kAvx512)
    EightLanesAvx512(states, data, blocks);
  else
    EightLanesAvx2(states, data, blocks);
}

}  // namespace vtq::recovery::x86

#else

namespace vtq::recovery::x86 {

bool Supports(Md5Path path) {
  return path == Md5Path::kScalar;
}
void Md5EightLanes(Md5Path, uint32_t* const[8], const uint8_t* const[8], size_t) {}

}  // namespace vtq::recovery::x86

#endif
