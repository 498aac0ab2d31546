#pragma once
// One message digest of libgcrypt, the library started on its first use.
// The recovery packets' MD5 and the checksum files' SHA-256 go through it;
// the MD5s of the files and slices of a recovery set, many hashed at once,
// are recovery/md5_lanes.h's.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vtq {

enum class DigestKind { kMd5, kSha256 };

class GcryptDigest {
 public:
  explicit GcryptDigest(DigestKind kind);
  ~GcryptDigest();
  GcryptDigest(const GcryptDigest&) = delete;
  GcryptDigest& operator=(const GcryptDigest&) = delete;
  GcryptDigest(GcryptDigest&&) noexcept;
  GcryptDigest& operator=(GcryptDigest&&) noexcept;

  void Update(const void* data, size_t size);
  // The digest of everything given so far; the object is then spent.
  std::vector<uint8_t> Finish();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace vtq
