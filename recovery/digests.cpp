#include "recovery/digests.h"

#include <gcrypt.h>
#include <zlib.h>

#include <algorithm>

#include "engine/error.h"

namespace vtq::recovery {
namespace {

// libgcrypt wants its version checked once before its first use; digests
// need no secure memory.
void StartLibrary() {
  static const bool started = [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)started;
}

}  // namespace

struct Md5::Handle {
  gcry_md_hd_t md = nullptr;
  ~Handle() {
    if (md != nullptr)
      gcry_md_close(md);
  }
};

Md5::Md5() : handle_(std::make_unique<Handle>()) {
  StartLibrary();
  if (gcry_md_open(&handle_->md, GCRY_MD_MD5, 0) != 0)
    Raise(err::kOutOfMemory);
}

Md5::~Md5() = default;
Md5::Md5(Md5&&) noexcept = default;
Md5& Md5::operator=(Md5&&) noexcept = default;

void Md5::Update(const void* data, size_t size) {
  gcry_md_write(handle_->md, data, size);
}

Md5Digest Md5::Finish() {
  Md5Digest digest{};
  const unsigned char* bytes = gcry_md_read(handle_->md, GCRY_MD_MD5);
  std::copy(bytes, bytes + digest.size(), digest.begin());
  return digest;
}

Md5Digest Md5Of(const void* data, size_t size) {
  Md5 md5;
  md5.Update(data, size);
  return md5.Finish();
}

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto* bytes = static_cast<const Bytef*>(data);
  // zlib counts in uInt; a region larger than that goes in parts.
  while (size > 0) {
    const auto part = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = static_cast<uint32_t>(crc32(crc, bytes, part));
    bytes += part;
    size -= part;
  }
  return crc;
}

uint32_t Crc32OfZeros(uint64_t count, uint32_t crc) {
  static constexpr uint8_t kZeros[4096] = {};
  while (count > 0) {
    const auto part = static_cast<size_t>(std::min<uint64_t>(count, sizeof kZeros));
    crc = Crc32(kZeros, part, crc);
    count -= part;
  }
  return crc;
}

}  // namespace vtq::recovery
