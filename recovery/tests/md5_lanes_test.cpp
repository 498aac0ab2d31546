// Our MD5 against libgcrypt's: one message in pieces of every size, and many
// messages of unequal lengths hashed together in uneven pieces, so that
// lanes join and leave the vector loop mid-way and blocks straddle pieces.

#include "recovery/md5_lanes.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/tests/support/scratch.h"

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Md5Lanes, OneMessageInPiecesIsLibgcryptsMd5) {
  // Lengths about the block and the padding's two blocks.
  for (const size_t size : {0, 1, 55, 56, 63, 64, 65, 119, 120, 128, 1000, 70001}) {
    const Bytes data = test::PatternBytes(size, 3);
    for (const size_t piece : {size_t{1}, size_t{7}, size_t{64}, size_t{100000}}) {
      Md5Stream stream;
      for (size_t at = 0; at < size; at += piece)
        stream.Update(std::span<const uint8_t>(data.data() + at, std::min(piece, size - at)));
      EXPECT_EQ(stream.Finish(), Md5Of(data.data(), size)) << size << " in " << piece;
    }
  }
  // Finish starts the stream over.
  Md5Stream stream;
  stream.Update(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("abc"), 3));
  stream.Finish();
  EXPECT_EQ(stream.Finish(), Md5Of("", 0));
}

TEST(Md5Lanes, ManyMessagesTogetherAreEachLibgcryptsMd5OnEveryPath) {
  for (const Md5Path path : AvailableMd5Paths()) {
    for (const size_t count : {1, 2, 3, 8, 9, 17}) {
      std::vector<Bytes> messages;
      for (size_t i = 0; i < count; ++i)
        messages.push_back(test::PatternBytes(20000 + 1237 * i * (i % 3), static_cast<int>(i)));
      std::vector<Md5Stream> streams(count);
      std::vector<Md5Stream*> pointers;
      for (Md5Stream& s : streams)
        pointers.push_back(&s);
      std::vector<size_t> at(count, 0);
      for (size_t round = 0;; ++round) {
        std::vector<std::span<const uint8_t>> pieces;
        bool any = false;
        for (size_t i = 0; i < count; ++i) {
          // Each message's pieces of its own size, some empty.
          const size_t want = (round + i) % 4 == 0 ? 0 : 640 * (i % 5 + 1) + 13 * i;
          const size_t part = std::min(want, messages[i].size() - at[i]);
          pieces.emplace_back(messages[i].data() + at[i], part);
          at[i] += part;
          any = any || at[i] < messages[i].size();
        }
        Md5Stream::UpdateTogether(pointers, pieces, path);
        if (!any)
          break;
      }
      for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(streams[i].Finish(), Md5Of(messages[i].data(), messages[i].size()))
            << i << " of " << count << " (" << Md5PathName(path) << ")";
    }
  }
}

}  // namespace
}  // namespace vtq::recovery
