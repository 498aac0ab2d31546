#include "kavrolib/weave.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstring>

#include "base/libraries/gcrypt_start.h"

namespace kavro {
namespace {

constexpr char kSalt[] = "kavrolib qweave 1";  // 17 bytes, no terminator used
constexpr unsigned long kScryptN = 32768;      // r is libgcrypt's fixed 8
constexpr unsigned long kScryptP = 1;
constexpr uint8_t kNonceDomain = 0x53;  // 'S'
constexpr uint8_t kHashDomain = 0x48;   // 'H'
constexpr size_t kNonceSize = 12;
constexpr size_t kHashSize = 32;

class CipherHandle {
 public:
  CipherHandle() = default;
  CipherHandle(const CipherHandle&) = delete;
  CipherHandle& operator=(const CipherHandle&) = delete;
  ~CipherHandle() { gcry_cipher_close(handle_); }
  bool Open(std::span<const uint8_t, 32> key) {
    return gcry_cipher_open(&handle_, GCRY_CIPHER_CHACHA20, GCRY_CIPHER_MODE_STREAM, 0) == 0 &&
           gcry_cipher_setkey(handle_, key.data(), key.size()) == 0;
  }
  gcry_cipher_hd_t get() const { return handle_; }

 private:
  gcry_cipher_hd_t handle_ = nullptr;
};

class HashHandle {
 public:
  HashHandle() = default;
  HashHandle(const HashHandle&) = delete;
  HashHandle& operator=(const HashHandle&) = delete;
  ~HashHandle() { gcry_md_close(handle_); }
  bool Open(std::span<const uint8_t, 32> key) {
    return gcry_md_open(&handle_, GCRY_MD_BLAKE2B_256, 0) == 0 &&
           gcry_md_setkey(handle_, key.data(), key.size()) == 0;
  }
  // Keyed BLAKE2b-256 of the domain byte followed by `text`.
  const uint8_t* Digest(uint8_t domain, std::span<const uint8_t> text) {
    gcry_md_putc(handle_, domain);
    gcry_md_write(handle_, text.data(), text.size());
    return gcry_md_read(handle_, GCRY_MD_BLAKE2B_256);
  }

 private:
  gcry_md_hd_t handle_ = nullptr;
};

// Everything a weave needs, opened before the first byte is touched, so that
// a failure can leave the buffer as it was. Each hash handle is used once.
struct WeaveTools {
  CipherHandle stream;
  HashHandle firstNonce, mix, secondNonce;
  bool Open(const MasterKey& key) {
    return stream.Open(key.StreamKey()) && firstNonce.Open(key.HashKey()) &&
           mix.Open(key.HashKey()) && secondNonce.Open(key.HashKey());
  }
};

// target ^= S(label, |target|): ChaCha20 under K1, nonce from the label.
void XorStream(CipherHandle& stream, HashHandle& nonceHash, std::span<const uint8_t> label,
               std::span<uint8_t> target) {
  const uint8_t* nonce = nonceHash.Digest(kNonceDomain, label);
  gcry_cipher_setiv(stream.get(), nonce, kNonceSize);  // 12 bytes: counter starts at 0
  gcry_cipher_encrypt(stream.get(), target.data(), target.size(), nullptr, 0);
}

}  // namespace

MasterKey::~MasterKey() {
  Wipe(bytes);
}

void Wipe(std::span<uint8_t> bytes) {
  volatile uint8_t* p = bytes.data();
  for (size_t i = 0; i < bytes.size(); ++i)
    p[i] = 0;
}

bool DeriveMasterKey(std::span<const uint8_t> passphrase, MasterKey& out) {
  if (!vtq::base::StartGcrypt())
    return false;
  MasterKey derived;
  // libgcrypt refuses a zero-length passphrase buffer pointer; any valid
  // address with length 0 is fine.
  static const uint8_t kEmpty = 0;
  const void* text = passphrase.empty() ? &kEmpty : passphrase.data();
  if (gcry_kdf_derive(text, passphrase.size(), GCRY_KDF_SCRYPT, kScryptN, kSalt, sizeof kSalt - 1,
                      kScryptP, derived.bytes.size(), derived.bytes.data()) != 0) {
    return false;
  }
  out = derived;
  return true;
}

bool Weave(std::span<uint8_t> data, const MasterKey& key) {
  if (data.empty())
    return true;
  if (!vtq::base::StartGcrypt())
    return false;
  WeaveTools tools;
  if (!tools.Open(key))
    return false;
  if (data.size() == 1) {
    XorStream(tools.stream, tools.firstNonce, {}, data);
    return true;
  }
  const size_t l = std::min<size_t>(kHashSize, data.size() / 2);
  const std::span<uint8_t> left = data.first(l);
  const std::span<uint8_t> right = data.subspan(l);
  XorStream(tools.stream, tools.firstNonce, left, right);
  const uint8_t* mask = tools.mix.Digest(kHashDomain, right);
  for (size_t i = 0; i < l; ++i)
    left[i] ^= mask[i];
  XorStream(tools.stream, tools.secondNonce, left, right);
  return true;
}

KeyCache::~KeyCache() {
  Wipe(std::span(reinterpret_cast<uint8_t*>(passphrase_.data()), passphrase_.size()));
}

const MasterKey* KeyCache::For(std::span<const uint8_t> passphrase) {
  const std::string_view asked(reinterpret_cast<const char*>(passphrase.data()), passphrase.size());
  if (valid_ && asked == passphrase_)
    return &key_;
  Wipe(std::span(reinterpret_cast<uint8_t*>(passphrase_.data()), passphrase_.size()));
  Wipe(key_.bytes);
  valid_ = false;
  if (!DeriveMasterKey(passphrase, key_))
    return nullptr;
  passphrase_.assign(asked);
  valid_ = true;
  return &key_;
}

}  // namespace kavro
