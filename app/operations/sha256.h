#pragma once
// SHA-256 digests, from libgcrypt, as lowercase hexadecimal text (the form
// sha256sum prints and reads).

#include <cstddef>
#include <memory>
#include <string>

namespace vtq {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is spent afterwards.
  std::string HexDigest();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// The digest of a whole file; raises the engine's file errors.
std::string Sha256OfFile(const std::string& name);

}  // namespace vtq
