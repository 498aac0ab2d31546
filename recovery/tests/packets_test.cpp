// The packets byte by byte, their reading back and refusal of what cannot
// be a packet, the main packet's order of files, the names of the volumes
// and the choice of slice size and count.

#include "recovery/packets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "recovery/recovery_writer.h"
#include "recovery/volume_names.h"

namespace vtq::recovery {
namespace {

uint64_t U64At(const std::vector<uint8_t>& bytes, size_t at) {
  uint64_t value = 0;
  std::memcpy(&value, bytes.data() + at, 8);
  return value;
}

TEST(Packets, AFileDescriptionPacketHasTheFormatsLayout) {
  DescribedFile file;
  file.name = "data.001";  // 8 bytes: no padding
  file.length = 30000;
  file.md5.fill(0x11);
  file.md5First16k.fill(0x22);
  file.id = FileIdOf(file.md5First16k, file.length, file.name);
  Id16 setId;
  setId.fill(0x5A);
  const std::vector<uint8_t> packet =
      MakePacket(setId, FileDescriptionType(), FileDescriptionBody(file));
  ASSERT_EQ(packet.size(), 64u + 56u + 8u);
  EXPECT_EQ(std::memcmp(packet.data(), "PAR2\0PKT", 8), 0);
  EXPECT_EQ(U64At(packet, 8), packet.size());
  const Md5Digest md5 = Md5Of(packet.data() + 32, packet.size() - 32);
  EXPECT_EQ(std::memcmp(packet.data() + 16, md5.data(), 16), 0);
  EXPECT_EQ(std::memcmp(packet.data() + 32, setId.data(), 16), 0);
  EXPECT_EQ(std::memcmp(packet.data() + 48, "PAR 2.0\0FileDesc", 16), 0);
  EXPECT_EQ(std::memcmp(packet.data() + 64, file.id.data(), 16), 0);
  EXPECT_EQ(U64At(packet, 64 + 48), 30000u);
  EXPECT_EQ(std::memcmp(packet.data() + 64 + 56, "data.001", 8), 0);

  // The identity: MD5 of the first 16 KiB's MD5, the length, the name.
  std::vector<uint8_t> hashed(16, 0x22);
  const uint64_t length = 30000;
  hashed.insert(hashed.end(), reinterpret_cast<const uint8_t*>(&length),
                reinterpret_cast<const uint8_t*>(&length) + 8);
  hashed.insert(hashed.end(), file.name.begin(), file.name.end());
  EXPECT_EQ(file.id, Md5Of(hashed.data(), hashed.size()));

  const auto header = ReadPacketHeader(packet);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->type, FileDescriptionType());
  const auto back =
      ReadFileDescriptionBody(std::span<const uint8_t>(packet.data() + 64, packet.size() - 64));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, "data.001");
  EXPECT_EQ(back->md5, file.md5);
}

TEST(Packets, NamesAndTextsArePaddedWithZerosToFourBytes) {
  DescribedFile file;
  file.name = "a.1";
  EXPECT_EQ(FileDescriptionBody(file).size(), 56u + 4u);
  EXPECT_EQ(FileDescriptionBody(file).back(), 0);
  EXPECT_EQ(CreatorBody("Created by Vantrelloquin.").size(), 28u);
  file.name = "abcd.123";
  EXPECT_EQ(FileDescriptionBody(file).size(), 56u + 8u);
}

// A name outside ASCII also goes as UTF-16LE in the optional Unicode packet:
// the identity, then the units, padded to four bytes.
TEST(Packets, AUnicodeNamePacketHoldsTheNameInUtf16) {
  Id16 id;
  id.fill(0x33);
  const std::string name = "\xCE\xA9 \xF0\x9F\x8E\x89.001";  // Ω 🎉.001
  std::vector<uint8_t> expected(16, 0x33);
  for (const uint8_t b : {0xA9, 0x03, 0x20, 0x00, 0x3C, 0xD8, 0x89, 0xDF,   // Ω, blank, 🎉
                          0x2E, 0x00, 0x30, 0x00, 0x30, 0x00, 0x31, 0x00})  // .001
    expected.push_back(b);
  EXPECT_EQ(UnicodeFileNameBody(id, name), expected);
  const auto read = ReadUnicodeFileNameBody(expected);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->first, id);
  EXPECT_EQ(read->second, name);

  // Three units take six bytes, padded to eight; the padding is no part of
  // the name.
  const std::vector<uint8_t> padded = UnicodeFileNameBody(id, "\xCE\xA9.1");
  ASSERT_EQ(padded.size(), 16u + 8u);
  EXPECT_EQ(padded[22], 0);
  EXPECT_EQ(padded[23], 0);
  EXPECT_EQ(ReadUnicodeFileNameBody(padded)->second, "\xCE\xA9.1");
  EXPECT_EQ(std::memcmp(UnicodeFileNameType().data(), "PAR 2.0\0UniFileN", 16), 0);
  EXPECT_FALSE(ReadUnicodeFileNameBody(std::vector<uint8_t>(16, 0)));
  EXPECT_FALSE(ReadUnicodeFileNameBody(std::vector<uint8_t>(20, 0)));
}

TEST(Packets, WhatCannotBeAPacketIsRefused) {
  Id16 setId{};
  std::vector<uint8_t> packet = MakePacket(setId, CreatorType(), CreatorBody("x"));
  EXPECT_TRUE(ReadPacketHeader(packet));
  std::vector<uint8_t> badMagic = packet;
  badMagic[3] = '3';
  EXPECT_FALSE(ReadPacketHeader(badMagic));
  std::vector<uint8_t> oddLength = packet;
  oddLength[8] = 70;
  EXPECT_FALSE(ReadPacketHeader(oddLength));
  std::vector<uint8_t> tooShort = packet;
  tooShort[8] = 60;
  EXPECT_FALSE(ReadPacketHeader(tooShort));
  EXPECT_FALSE(ReadPacketHeader(std::span<const uint8_t>(packet.data(), 63)));
  // A main packet that claims more files than it holds.
  std::vector<uint8_t> main = MainBody(4096, {Id16{}});
  main[8] = 2;
  EXPECT_FALSE(ReadMainBody(main));
  EXPECT_FALSE(ReadMainBody(MainBody(4094, {})));  // no multiple of 4
  EXPECT_FALSE(ReadSliceChecksumBody(std::vector<uint8_t>(16 + 19)));
}

TEST(Packets, FilesAreOrderedAsLittleEndianNumbers) {
  Id16 low{};
  Id16 high{};
  low[0] = 0xFF;    // least significant byte
  high[15] = 0x01;  // most significant byte
  EXPECT_TRUE(FileIdBefore(low, high));
  EXPECT_FALSE(FileIdBefore(high, low));
  EXPECT_FALSE(FileIdBefore(low, low));
}

TEST(VolumeNames, FollowPar2cmdlinesNumbering) {
  const auto names = [](uint32_t slices) {
    std::vector<std::string> result;
    for (const Volume& v : PlanVolumes("report.", 0, slices))
      result.push_back(v.name);
    return result;
  };
  EXPECT_EQ(IndexFileName("report."), "report.par2");
  EXPECT_EQ(names(1), (std::vector<std::string>{"report.vol0+1.par2"}));
  EXPECT_EQ(names(5), (std::vector<std::string>{"report.vol0+1.par2", "report.vol1+2.par2",
                                                "report.vol3+2.par2"}));
  EXPECT_EQ(names(15), (std::vector<std::string>{"report.vol00+1.par2", "report.vol01+2.par2",
                                                 "report.vol03+4.par2", "report.vol07+8.par2"}));
  const std::vector<std::string> many = names(150);
  ASSERT_EQ(many.size(), 8u);
  EXPECT_EQ(many.front(), "report.vol000+01.par2");
  EXPECT_EQ(many.back(), "report.vol127+23.par2");
}

TEST(SliceChoice, AFragmentIsOneSliceUnlessTheSetWouldHaveTooMany) {
  EXPECT_EQ(SliceSizeFor(1457664, std::vector<uint64_t>(20, 1457664)), 1457664u);
  EXPECT_EQ(SliceSizeFor(10241, std::vector<uint64_t>(20, 10241)), 10244u);
  // A first fragment of 100 MiB would be 10,240 slices of 10,240 bytes.
  std::vector<uint64_t> lengths(23000, 10240);
  lengths.front() = 104857600;
  EXPECT_EQ(SliceSizeFor(10240, lengths), 20480u);
  EXPECT_EQ(RecoverySlicesFor(10, 20), 2u);
  EXPECT_EQ(RecoverySlicesFor(10, 21), 3u);
  EXPECT_EQ(RecoverySlicesFor(1, 3), 1u);
  EXPECT_EQ(RecoverySlicesFor(100, 7), 7u);
}

}  // namespace
}  // namespace vtq::recovery
