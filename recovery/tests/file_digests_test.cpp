// The digests of a file as the format records them, computed in one pass:
// against digests of the padded slices computed directly, for files of one
// whole slice (whose slice digest is its own), of several and of a part.

#include "recovery/file_digests.h"

#include <gtest/gtest.h>

#include "engine/tests/support/scratch.h"

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

FileDigests Direct(const Bytes& data, uint64_t sliceSize) {
  FileDigests d;
  d.length = data.size();
  d.md5 = Md5Of(data.data(), data.size());
  d.md5First16k = Md5Of(data.data(), std::min<size_t>(data.size(), kFirstBytesHashed));
  for (size_t at = 0; at < data.size(); at += sliceSize) {
    Bytes slice(data.begin() + static_cast<std::ptrdiff_t>(at),
                data.begin() +
                    static_cast<std::ptrdiff_t>(std::min<uint64_t>(data.size(), at + sliceSize)));
    slice.resize(sliceSize, 0);
    d.slices.push_back({Md5Of(slice.data(), slice.size()), Crc32(slice.data(), slice.size())});
  }
  return d;
}

void ExpectSame(const FileDigests& a, const FileDigests& b) {
  EXPECT_EQ(a.length, b.length);
  EXPECT_EQ(a.md5, b.md5);
  EXPECT_EQ(a.md5First16k, b.md5First16k);
  EXPECT_EQ(a.slices, b.slices);
}

TEST(FileDigests, MatchTheDigestsOfThePaddedSlices) {
  test::ScratchDir dir;
  for (const size_t size : {size_t{20000}, size_t{40000}, size_t{17}, size_t{40004}}) {
    const Bytes data = test::PatternBytes(size, 5);
    test::WriteBytes(dir / "f", data);
    ExpectSame(DigestFile(dir / "f", 20000), Direct(data, 20000));
    // In pieces of every kind, length known or not.
    for (const std::optional<uint64_t> length : {std::optional<uint64_t>{}, {size}}) {
      StreamDigester digester(20000, length);
      for (size_t at = 0; at < size; at += 7777)
        digester.Update(
            std::span<const uint8_t>(data.data() + at, std::min<size_t>(7777, size - at)));
      ExpectSame(digester.Finish(), Direct(data, 20000));
    }
  }
  // The CRC-32 of a known text, and of zeros continued.
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  for (const size_t count : {size_t{0}, size_t{1}, size_t{5000}, size_t{65537}, size_t{1} << 20}) {
    const Bytes zeros(count, 0);
    EXPECT_EQ(Crc32OfZeros(count, Crc32("ab", 2)),
              Crc32(zeros.data(), zeros.size(), Crc32("ab", 2)))
        << count;
  }
}

TEST(FileDigests, AFileLongerThanItWasSaidToBeIsNotTakenForIt) {
  const Bytes data = test::PatternBytes(30000, 6);
  StreamDigester digester(20000, 20000);
  digester.Update(std::span<const uint8_t>(data.data(), 20000));
  digester.Update(std::span<const uint8_t>(data.data() + 20000, 10000));
  const FileDigests found = digester.Finish();
  EXPECT_EQ(found.length, 30000u);
  EXPECT_EQ(found.slices.front(), Direct(data, 20000).slices.front());
}

TEST(FileDigests, FilesReadSideBySideHaveTheDigestsEachHasAlone) {
  // More files than lanes, of every shape: empty, short, one whole slice,
  // several slices and a part; one missing among them.
  test::ScratchDir dir;
  std::vector<std::string> names;
  std::vector<Bytes> contents;
  for (const size_t size : {0, 17, 20000, 20000, 40000, 40004, 20000, 65536, 100003, 20000, 3}) {
    contents.push_back(test::PatternBytes(size, static_cast<uint32_t>(names.size() + 9)));
    // Appended rather than "f" + ...: GCC 12 takes that insert at the front
    // for an overlap in the 32-bit build.
    names.push_back(dir / std::string("f").append(std::to_string(names.size())));
    test::WriteBytes(names.back(), contents.back());
  }
  names.insert(names.begin() + 4, dir / "missing");
  contents.insert(contents.begin() + 4, Bytes{});
  std::vector<uint64_t> told(names.size(), 0);
  const std::vector<std::optional<FileDigests>> found =
      DigestFiles(names, 20000, [&](size_t file, uint64_t done) { told[file] = done; });
  ASSERT_EQ(found.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    if (i == 4) {
      EXPECT_FALSE(found[i]);
      continue;
    }
    ASSERT_TRUE(found[i]) << names[i];
    ExpectSame(*found[i], Direct(contents[i], 20000));
    EXPECT_EQ(told[i], contents[i].size());
  }
}

}  // namespace
}  // namespace vtq::recovery
