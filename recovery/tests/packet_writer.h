#pragma once
// Recovery sets written packet by packet, as a damaged or hostile set may
// hold them: files described from their content or from nothing at all,
// main packets that list what they like, recovery slices of any length,
// and packets whose header claims what it likes. Hashes are right unless a
// test spoils them.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "recovery/file_digests.h"
#include "recovery/packets.h"

namespace vtq::recovery::test {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& to, const Bytes& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

inline void PutLe(Bytes& to, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    to.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

class SetWriter {
 public:
  explicit SetWriter(uint64_t sliceSize) : sliceSize_(sliceSize) {}

  // A file of the set with the digests of `content`; without `padded`, the
  // last slice's MD5 (over the zeros that fill it) is left zero.
  DescribedFile& Describe(const std::string& name, const Bytes& content, bool padded = true) {
    StreamDigester digester(sliceSize_, content.size());
    digester.Update(content);
    const FileDigests digests =
        padded ? digester.Finish() : digester.Finish([](uint64_t) { return false; });
    DescribedFile file;
    file.name = name;
    file.length = content.size();
    file.md5 = digests.md5;
    file.md5First16k = digests.md5First16k;
    file.slices = digests.slices;
    file.id = FileIdOf(file.md5First16k, file.length, file.name);
    files_.push_back(std::move(file));
    return files_.back();
  }
  // A file of `length` bytes with made-up digests: enough for the reader.
  DescribedFile& DescribeUnseen(const std::string& name, uint64_t length) {
    DescribedFile file;
    file.name = name;
    file.length = length;
    file.id = FileIdOf(file.md5First16k, file.length, file.name);
    file.slices.resize(static_cast<size_t>(SliceCount(length, sliceSize_)));
    files_.push_back(std::move(file));
    return files_.back();
  }

  // The main packet's list: every file once unless told otherwise.
  std::vector<Id16> listed;

  Id16 SetId() const {
    const Bytes main = MainBody(sliceSize_, List());
    return Md5Of(main.data(), main.size());
  }
  // The main, description and checksum packets.
  Bytes Critical() const {
    const Id16 id = SetId();
    Bytes bytes = MakePacket(id, MainPacketType(), MainBody(sliceSize_, List()));
    for (const DescribedFile& file : files_) {
      Append(bytes, MakePacket(id, FileDescriptionType(), FileDescriptionBody(file)));
      Append(bytes, MakePacket(id, SliceChecksumType(), SliceChecksumBody(file)));
    }
    return bytes;
  }
  // A recovery slice packet of the set holding `data`, whatever its length.
  Bytes RecoverySlice(uint32_t exponent, const Bytes& data) const {
    Bytes body;
    PutLe(body, exponent, 4);
    Append(body, data);
    return MakePacket(SetId(), RecoverySliceType(), body);
  }

 private:
  std::vector<Id16> List() const {
    if (!listed.empty())
      return listed;
    std::vector<Id16> ids;
    for (const DescribedFile& file : files_)
      ids.push_back(file.id);
    return ids;
  }

  uint64_t sliceSize_;
  std::vector<DescribedFile> files_;
};

// A packet header alone: magic, the length it claims, a hash of nothing in
// particular, the set and the type.
inline Bytes BareHeader(uint64_t claimedLength, const Id16& setId, const PacketType& type) {
  Bytes bytes(kPacketMagic.begin(), kPacketMagic.end());
  PutLe(bytes, claimedLength, 8);
  bytes.resize(bytes.size() + 16, 0x5A);
  bytes.insert(bytes.end(), setId.begin(), setId.end());
  bytes.insert(bytes.end(), type.begin(), type.end());
  return bytes;
}

}  // namespace vtq::recovery::test
