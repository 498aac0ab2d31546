// The control's persisted state as bytes in a container's stream: the
// exact layout, round trips, several states one after another, a later
// version's longer body, and streams that are short, foreign or hostile.
#include "comkit/control_stream.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "comkit/control_extent.h"

namespace vtq::comkit {
namespace {

using Microsoft::WRL::ComPtr;
using Bytes = std::vector<uint8_t>;

ComPtr<IStream> StreamOf(const Bytes& bytes) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ULONG written = 0;
  if (!bytes.empty())
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

Bytes ContentsOf(IStream* stream) {
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  Bytes bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty())
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

ULONGLONG PositionOf(IStream* stream) {
  LARGE_INTEGER none = {};
  ULARGE_INTEGER position = {};
  stream->Seek(none, STREAM_SEEK_CUR, &position);
  return position.QuadPart;
}

// The product control's extent, 2,250 x 570 twips.
const Bytes kProductState = {'V',  'X',  'C', 'S', 1, 0, 8, 0, 0x81, 0x0F, 0, 0,  // 3969
                             0xED, 0x03, 0,   0};                                 // 1005

TEST(ControlStream, WritesTheVersionedHeaderAndTheExtentLittleEndian) {
  auto stream = StreamOf({});
  ASSERT_EQ(WriteControlState(stream.Get(), {3969, 1005}), S_OK);
  EXPECT_EQ(ContentsOf(stream.Get()), kProductState);
  EXPECT_EQ(kControlStateSize, kProductState.size());
}

TEST(ControlStream, ReadsBackWhatItWroteAndEndsWhereTheStateEnds) {
  auto stream = StreamOf({});
  ASSERT_EQ(WriteControlState(stream.Get(), {3969, 1005}), S_OK);
  ASSERT_EQ(WriteControlState(stream.Get(), {1, 10'000'000}), S_OK);
  ULONG trailer = 0xC0FFEE;
  stream->Write(&trailer, sizeof trailer, nullptr);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);

  SIZEL first = {}, second = {};
  ASSERT_EQ(ReadControlState(stream.Get(), &first), S_OK);
  EXPECT_EQ(PositionOf(stream.Get()), 16u);
  ASSERT_EQ(ReadControlState(stream.Get(), &second), S_OK);
  EXPECT_EQ(first.cx, 3969);
  EXPECT_EQ(first.cy, 1005);
  EXPECT_EQ(second.cx, 1);
  EXPECT_EQ(second.cy, 10'000'000);
  ULONG read = 0;
  ULONG after = 0;
  stream->Read(&after, sizeof after, &read);
  EXPECT_EQ(after, trailer) << "the next reader starts right after the state";
}

TEST(ControlStream, ALaterVersionsLongerBodyIsPassedOver) {
  Bytes bytes = kProductState;
  bytes[4] = 2;     // version 2
  bytes[6] = 0x2C;  // body of 300 bytes: 8 of ours and 292 more
  bytes[7] = 0x01;
  bytes.resize(8 + 300, 0xAB);
  bytes.push_back(0x5A);  // the next state's first byte
  auto stream = StreamOf(bytes);
  SIZEL extent = {};
  ASSERT_EQ(ReadControlState(stream.Get(), &extent), S_OK);
  EXPECT_EQ(extent.cx, 3969);
  EXPECT_EQ(extent.cy, 1005);
  EXPECT_EQ(PositionOf(stream.Get()), 308u);
}

TEST(ControlStream, ShortForeignAndHostileStreamsFailAndLeaveTheExtent) {
  std::vector<Bytes> refused;
  for (size_t length = 0; length < kProductState.size(); ++length)
    refused.emplace_back(kProductState.begin(), kProductState.begin() + length);
  Bytes foreign = kProductState;
  foreign[0] = 'v';
  refused.push_back(foreign);
  Bytes version0 = kProductState;
  version0[4] = 0;
  refused.push_back(version0);
  Bytes shortBody = kProductState;
  shortBody[6] = 7;
  refused.push_back(shortBody);
  Bytes longerThanStream = kProductState;
  longerThanStream[6] = 9;  // promises one byte more than there is
  refused.push_back(longerThanStream);
  for (const auto& [cx, cy] : {std::pair<uint8_t, uint8_t>{0, 1}, {1, 0}}) {
    Bytes zero = kProductState;
    zero[8] = cx, zero[9] = 0;
    zero[12] = cy, zero[13] = 0;
    refused.push_back(zero);
  }
  Bytes negative = kProductState;
  negative[11] = 0x80;
  refused.push_back(negative);
  Bytes huge = kProductState;  // 10,000,001 HIMETRIC wide
  huge[8] = 0x81, huge[9] = 0x96, huge[10] = 0x98, huge[11] = 0x00;
  refused.push_back(huge);

  for (size_t i = 0; i < refused.size(); ++i) {
    auto stream = StreamOf(refused[i]);
    SIZEL extent = {-7, -7};
    EXPECT_TRUE(FAILED(ReadControlState(stream.Get(), &extent))) << "case " << i;
    EXPECT_EQ(extent.cx, -7) << "case " << i;
    EXPECT_EQ(extent.cy, -7) << "case " << i;
  }
}

TEST(ControlStream, NullArgumentsAreRefused) {
  auto stream = StreamOf(kProductState);
  SIZEL extent = {};
  EXPECT_EQ(ReadControlState(nullptr, &extent), E_POINTER);
  EXPECT_EQ(ReadControlState(stream.Get(), nullptr), E_POINTER);
  EXPECT_EQ(WriteControlState(nullptr, extent), E_POINTER);
}

TEST(ControlExtent, TwipsBecomeHimetricAndPixelsRoundedToTheNearest) {
  const SIZEL himetric = TwipsToHimetric({2250, 570});
  EXPECT_EQ(himetric.cx, 3969);  // 3968.75
  EXPECT_EQ(himetric.cy, 1005);  // 1005.4
  const SIZE normal = TwipsToPixels({2250, 570}, {96, 96});
  EXPECT_EQ(normal.cx, 150);
  EXPECT_EQ(normal.cy, 38);
  const SIZE large = TwipsToPixels({2250, 570}, {120, 120});
  EXPECT_EQ(large.cx, 188);  // 187.5
  EXPECT_EQ(large.cy, 48);   // 47.5
  const SIZE mixed = TwipsToPixels({2250, 570}, {144, 72});
  EXPECT_EQ(mixed.cx, 225);
  EXPECT_EQ(mixed.cy, 29);  // 28.5
}

}  // namespace
}  // namespace vtq::comkit
