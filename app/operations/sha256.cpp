#include "app/operations/sha256.h"

#include <gcrypt.h>

#include <vector>

#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq {
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

struct Sha256::Handle {
  gcry_md_hd_t md = nullptr;
  ~Handle() {
    if (md != nullptr)
      gcry_md_close(md);
  }
};

Sha256::Sha256() : handle_(std::make_unique<Handle>()) {
  StartLibrary();
  if (gcry_md_open(&handle_->md, GCRY_MD_SHA256, 0) != 0)
    Raise(err::kOutOfMemory);
}

Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) {
  gcry_md_write(handle_->md, data, size);
}

std::string Sha256::HexDigest() {
  const unsigned char* digest = gcry_md_read(handle_->md, GCRY_MD_SHA256);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned i = 0; i < gcry_md_get_algo_dlen(GCRY_MD_SHA256); ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

std::string Sha256OfFile(const std::string& name) {
  File file(name, File::Mode::kRead);
  Sha256 sum;
  std::vector<char> buffer(size_t{1} << 20);
  for (size_t got; (got = file.Read(buffer.data(), buffer.size())) > 0;)
    sum.Update(buffer.data(), got);
  return sum.HexDigest();
}

}  // namespace vtq
