#include "recovery/packets.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"
#include "base/utf8_text.h"

namespace vtq::recovery {
namespace {

PacketType TypeNamed(const char (&text)[17]) {
  PacketType type{};
  std::memcpy(type.data(), text, type.size());
  return type;
}

// Names and texts are padded with zero bytes to a multiple of 4.
void PutPaddedText(base::LeWriter& out, const std::string& text) {
  out.Text(text).Zeros((4 - text.size() % 4) % 4);
}

Id16 GetId(std::span<const uint8_t> bytes, size_t at) {
  Id16 id{};
  const std::span<const uint8_t> field = base::LeReader(bytes, at).Bytes(id.size());
  std::copy(field.begin(), field.end(), id.begin());
  return id;
}

// A padded text up to its first zero byte.
std::string GetText(std::span<const uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  return std::string(bytes.begin(), end);
}

}  // namespace

PacketType MainPacketType() {
  return TypeNamed("PAR 2.0\0Main\0\0\0\0");
}
PacketType FileDescriptionType() {
  return TypeNamed("PAR 2.0\0FileDesc");
}
PacketType SliceChecksumType() {
  return TypeNamed("PAR 2.0\0IFSC\0\0\0\0");
}
PacketType RecoverySliceType() {
  return TypeNamed("PAR 2.0\0RecvSlic");
}
PacketType CreatorType() {
  return TypeNamed("PAR 2.0\0Creator\0");
}
PacketType UnicodeFileNameType() {
  return TypeNamed("PAR 2.0\0UniFileN");
}

uint64_t SliceCount(uint64_t length, uint64_t sliceSize) {
  return (length + sliceSize - 1) / sliceSize;
}

Id16 FileIdOf(const Md5Digest& md5First16k, uint64_t length, const std::string& name) {
  std::vector<uint8_t> bytes;
  base::LeWriter(bytes).Bytes(md5First16k).U64(length).Text(name);
  return Md5Of(bytes.data(), bytes.size());
}

bool FileIdBefore(const Id16& a, const Id16& b) {
  return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
}

std::vector<uint8_t> MainBody(uint64_t sliceSize, const std::vector<Id16>& fileIds) {
  std::vector<uint8_t> body;
  base::LeWriter out(body);
  out.U64(sliceSize).U32(static_cast<uint32_t>(fileIds.size()));
  for (const Id16& id : fileIds)
    out.Bytes(id);
  return body;
}

std::vector<uint8_t> FileDescriptionBody(const DescribedFile& file) {
  std::vector<uint8_t> body;
  base::LeWriter out(body);
  out.Bytes(file.id).Bytes(file.md5).Bytes(file.md5First16k).U64(file.length);
  PutPaddedText(out, file.name);
  return body;
}

std::vector<uint8_t> SliceChecksumBody(const DescribedFile& file) {
  std::vector<uint8_t> body;
  base::LeWriter out(body);
  out.Bytes(file.id);
  for (const SliceChecksum& slice : file.slices)
    out.Bytes(slice.md5).U32(slice.crc);
  return body;
}

std::vector<uint8_t> CreatorBody(const std::string& text) {
  std::vector<uint8_t> body;
  base::LeWriter out(body);
  PutPaddedText(out, text);
  return body;
}

std::vector<uint8_t> UnicodeFileNameBody(const Id16& fileId, const std::string& name) {
  std::vector<uint8_t> body;
  base::LeWriter out(body);
  out.Bytes(fileId);
  for (const char16_t unit : base::ToUtf16(name))
    out.U16(unit);
  out.Zeros((4 - body.size() % 4) % 4);
  return body;
}

std::vector<uint8_t> MakePacket(const Id16& setId, const PacketType& type,
                                std::span<const uint8_t> body) {
  std::vector<uint8_t> packet;
  base::LeWriter(packet)
      .Bytes(kPacketMagic)
      .U64(kPacketHeaderSize + body.size())
      .Zeros(16)  // the hash, filled in below
      .Bytes(setId)
      .Bytes(type)
      .Bytes(body);
  const Md5Digest md5 = Md5Of(packet.data() + 32, packet.size() - 32);
  std::copy(md5.begin(), md5.end(), packet.begin() + 16);
  return packet;
}

std::vector<uint8_t> RecoverySliceLead(const Id16& setId, uint32_t exponent, uint64_t sliceSize,
                                       const Md5Digest& md5) {
  std::vector<uint8_t> lead;
  base::LeWriter(lead)
      .Bytes(kPacketMagic)
      .U64(kPacketHeaderSize + kRecoverySliceLead + sliceSize)
      .Bytes(md5)
      .Bytes(setId)
      .Bytes(RecoverySliceType())
      .U32(exponent);
  return lead;
}

Md5 RecoverySliceHash(const Id16& setId, uint32_t exponent) {
  Md5 md5;
  std::vector<uint8_t> start;
  base::LeWriter(start).Bytes(setId).Bytes(RecoverySliceType()).U32(exponent);
  md5.Update(start.data(), start.size());
  return md5;
}

std::optional<PacketHeader> ReadPacketHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kPacketHeaderSize ||
      !std::equal(kPacketMagic.begin(), kPacketMagic.end(), bytes.begin())) {
    return std::nullopt;
  }
  PacketHeader header;
  header.length = base::LeReader(bytes, 8).U64();
  if (header.length < kPacketHeaderSize || header.length % 4 != 0)
    return std::nullopt;
  header.md5 = GetId(bytes, 16);
  header.setId = GetId(bytes, 32);
  std::copy_n(bytes.begin() + 48, 16, header.type.begin());
  return header;
}

std::optional<MainPacket> ReadMainBody(std::span<const uint8_t> body) {
  if (body.size() < 12)
    return std::nullopt;
  MainPacket main;
  base::LeReader in(body);
  main.sliceSize = in.U64();
  const uint64_t count = in.U32();
  if (main.sliceSize == 0 || main.sliceSize % 4 != 0 || count > (body.size() - 12) / 16)
    return std::nullopt;
  for (uint64_t i = 0; i < count; ++i)
    main.fileIds.push_back(GetId(body, 12 + 16 * i));
  return main;
}

std::optional<DescribedFile> ReadFileDescriptionBody(std::span<const uint8_t> body) {
  if (body.size() < 56)
    return std::nullopt;
  DescribedFile file;
  file.id = GetId(body, 0);
  file.md5 = GetId(body, 16);
  file.md5First16k = GetId(body, 32);
  file.length = base::LeReader(body, 48).U64();
  file.name = GetText(body.subspan(56));
  return file;
}

std::optional<std::pair<Id16, std::string>> ReadUnicodeFileNameBody(std::span<const uint8_t> body) {
  if (body.size() < 20 || body.size() % 2 != 0)
    return std::nullopt;
  std::u16string name;
  for (size_t at = 16; at + 1 < body.size(); at += 2)
    name += static_cast<char16_t>(base::LeReader(body, at).U16());
  // The padding, and a terminator where a writer put one.
  name.resize(std::min(name.size(), name.find(u'\0')));
  if (name.empty())
    return std::nullopt;
  return std::pair<Id16, std::string>(GetId(body, 0), base::FromUtf16(name));
}

std::optional<std::pair<Id16, std::vector<SliceChecksum>>> ReadSliceChecksumBody(
    std::span<const uint8_t> body) {
  if (body.size() < 16 || (body.size() - 16) % 20 != 0)
    return std::nullopt;
  std::pair<Id16, std::vector<SliceChecksum>> result;
  result.first = GetId(body, 0);
  for (size_t at = 16; at < body.size(); at += 20) {
    SliceChecksum slice;
    slice.md5 = GetId(body, at);
    slice.crc = base::LeReader(body, at + 16).U32();
    result.second.push_back(slice);
  }
  return result;
}

}  // namespace vtq::recovery
