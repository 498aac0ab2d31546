#pragma once
// The two routines of kavrolib as plain C++: the keyed whole-buffer
// involution behind qweave and the 16-bit folded CRC-32 behind getcheck.
// docs/fragment-protection.md defines both byte for byte; fragments written
// with one build are only readable by a build with the same definition.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kavro {

// scrypt output for one passphrase: the stream key K1 and the hash key K2.
struct MasterKey {
  static constexpr size_t kSize = 64;
  std::array<uint8_t, kSize> bytes{};

  MasterKey() = default;
  MasterKey(const MasterKey&) = default;
  MasterKey& operator=(const MasterKey&) = default;
  ~MasterKey();

  std::span<const uint8_t, 32> StreamKey() const { return std::span(bytes).first<32>(); }
  std::span<const uint8_t, 32> HashKey() const { return std::span(bytes).last<32>(); }
};

// Overwrites key material so that it does not linger in freed memory.
void Wipe(std::span<uint8_t> bytes);

// scrypt(passphrase, "kavrolib qweave 1", N = 32768, r = 8, p = 1) into
// `out`. False (and `out` untouched) when the derivation fails.
bool DeriveMasterKey(std::span<const uint8_t> passphrase, MasterKey& out);

// Applies the involution to `data` in place. Either the whole buffer is
// transformed and true returned, or nothing is changed and false returned.
bool Weave(std::span<uint8_t> data, const MasterKey& key);

// CRC-32 of `data` folded to 16 bits and sign-extended.
int32_t Getcheck(std::span<const uint8_t> data);
// The CRC-32 of zlib (ISO-HDLC) through libgcrypt; base::Crc32, zlib's own,
// is both the fallback and the reference this one is checked against.
uint32_t Crc32(std::span<const uint8_t> data);

// Remembers the master key of the last passphrase, since one series enciphers
// every fragment under the same passphrase and scrypt is slow on purpose.
class KeyCache {
 public:
  KeyCache() = default;
  KeyCache(const KeyCache&) = delete;
  KeyCache& operator=(const KeyCache&) = delete;
  ~KeyCache();

  // The master key of `passphrase`; nullptr when the derivation failed.
  const MasterKey* For(std::span<const uint8_t> passphrase);

 private:
  std::string passphrase_;
  MasterKey key_;
  bool valid_ = false;
};

}  // namespace kavro
