#pragma once
// SHA-256 digests, from libgcrypt, as lowercase hexadecimal text (the form
// sha256sum prints and reads).

#include <cstddef>
#include <string>

#include "recovery/gcrypt_digest.h"

namespace vtq {

class Sha256 {
 public:
  void Update(const void* data, size_t size) { digest_.Update(data, size); }
  // The digest of everything given so far; the object is spent afterwards.
  std::string HexDigest();

 private:
  GcryptDigest digest_{DigestKind::kSha256};
};

// The digest of a whole file; raises the engine's file errors.
std::string Sha256OfFile(const std::string& name);

}  // namespace vtq
