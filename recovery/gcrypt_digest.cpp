#include "recovery/gcrypt_digest.h"

#include <gcrypt.h>

#include "base/libraries/gcrypt_start.h"
#include "engine/error.h"

namespace vtq {
namespace {

int AlgorithmOf(DigestKind kind) {
  return kind == DigestKind::kMd5 ? GCRY_MD_MD5 : GCRY_MD_SHA256;
}

}  // namespace

struct GcryptDigest::Handle {
  gcry_md_hd_t md = nullptr;
  int algorithm = 0;
  ~Handle() {
    if (md != nullptr)
      gcry_md_close(md);
  }
};

GcryptDigest::GcryptDigest(DigestKind kind) : handle_(std::make_unique<Handle>()) {
  base::StartGcrypt();
  handle_->algorithm = AlgorithmOf(kind);
  if (gcry_md_open(&handle_->md, handle_->algorithm, 0) != 0)
    Raise(err::kOutOfMemory);
}

GcryptDigest::~GcryptDigest() = default;
GcryptDigest::GcryptDigest(GcryptDigest&&) noexcept = default;
GcryptDigest& GcryptDigest::operator=(GcryptDigest&&) noexcept = default;

void GcryptDigest::Update(const void* data, size_t size) {
  gcry_md_write(handle_->md, data, size);
}

std::vector<uint8_t> GcryptDigest::Finish() {
  const unsigned char* bytes = gcry_md_read(handle_->md, handle_->algorithm);
  return std::vector<uint8_t>(bytes, bytes + gcry_md_get_algo_dlen(handle_->algorithm));
}

}  // namespace vtq
