#pragma once
// The packets of the PAR 2.0 format, byte by byte. Every packet is a 64-byte
// header (magic, length, the MD5 of everything after the first 32 bytes,
// the recovery set's identity, the packet's type) and a body whose length
// is a multiple of 4; numbers are little-endian.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "recovery/digests.h"

namespace vtq::recovery {

using Id16 = Md5Digest;
using PacketType = std::array<uint8_t, 16>;

inline constexpr size_t kPacketHeaderSize = 64;
inline constexpr std::array<uint8_t, 8> kPacketMagic = {'P', 'A', 'R', '2', 0, 'P', 'K', 'T'};
// The body of a recovery slice packet before its data: the exponent.
inline constexpr size_t kRecoverySliceLead = 4;
// The leading part of a file that the file's identity hashes.
inline constexpr size_t kFirstBytesHashed = 16384;

PacketType MainPacketType();
PacketType FileDescriptionType();
PacketType SliceChecksumType();
PacketType RecoverySliceType();
PacketType CreatorType();
// The optional Unicode file name of a file (UTF-16LE), beside its file
// description packet, whose name par2cmdline and its kin read.
PacketType UnicodeFileNameType();

struct SliceChecksum {
  Md5Digest md5{};
  uint32_t crc = 0;
  bool operator==(const SliceChecksum&) const = default;
};

// One file of a recovery set as its file description and slice checksum
// packets describe it.
struct DescribedFile {
  Id16 id{};
  Md5Digest md5{};
  Md5Digest md5First16k{};
  uint64_t length = 0;
  std::string name;
  std::vector<SliceChecksum> slices;
};

struct RecoverySet {
  Id16 setId{};
  uint64_t sliceSize = 0;
  // The files of the set in the main packet's order, which is the order of
  // their slices in the code.
  std::vector<DescribedFile> files;
  std::string creator;
};

uint64_t SliceCount(uint64_t length, uint64_t sliceSize);

// A file's identity: the MD5 of its first 16 KiB's MD5, its length and its name.
Id16 FileIdOf(const Md5Digest& md5First16k, uint64_t length, const std::string& name);
// The main packet's order of file identities: as 128-bit little-endian numbers.
bool FileIdBefore(const Id16& a, const Id16& b);

// Whole packets.
std::vector<uint8_t> MainBody(uint64_t sliceSize, const std::vector<Id16>& fileIds);
std::vector<uint8_t> FileDescriptionBody(const DescribedFile& file);
std::vector<uint8_t> SliceChecksumBody(const DescribedFile& file);
std::vector<uint8_t> CreatorBody(const std::string& text);
// The file's identity, then its name (UTF-8 here) in UTF-16LE, padded with
// zero bytes to a multiple of 4.
std::vector<uint8_t> UnicodeFileNameBody(const Id16& fileId, const std::string& name);
std::vector<uint8_t> MakePacket(const Id16& setId, const PacketType& type,
                                std::span<const uint8_t> body);

// The header and exponent of a recovery slice packet whose `sliceSize` data
// bytes have the MD5 `md5` when hashed after them (see RecoverySliceHash).
std::vector<uint8_t> RecoverySliceLead(const Id16& setId, uint32_t exponent, uint64_t sliceSize,
                                       const Md5Digest& md5);
// The hash of a recovery slice packet, to be fed its data next.
Md5 RecoverySliceHash(const Id16& setId, uint32_t exponent);

struct PacketHeader {
  uint64_t length = 0;
  Md5Digest md5{};
  Id16 setId{};
  PacketType type{};
};
// The header at the start of `bytes` (64 of them): none when the magic is
// not there or the length cannot be a packet's.
std::optional<PacketHeader> ReadPacketHeader(std::span<const uint8_t> bytes);

struct MainPacket {
  uint64_t sliceSize = 0;
  std::vector<Id16> fileIds;  // the recovery set's files only
};
std::optional<MainPacket> ReadMainBody(std::span<const uint8_t> body);
std::optional<DescribedFile> ReadFileDescriptionBody(std::span<const uint8_t> body);
// The identity a Unicode name is of, and the name in UTF-8.
std::optional<std::pair<Id16, std::string>> ReadUnicodeFileNameBody(std::span<const uint8_t> body);
// The identity the checksums are of, and the checksums.
std::optional<std::pair<Id16, std::vector<SliceChecksum>>> ReadSliceChecksumBody(
    std::span<const uint8_t> body);

}  // namespace vtq::recovery
