#include "comkit/control_stream.h"

#include <array>
#include <cstdint>

namespace vtq::comkit {

namespace {

constexpr std::array<BYTE, 4> kMarker = {'V', 'X', 'C', 'S'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kExtentBody = 8;
constexpr LONG kLargestExtent = 10'000'000;  // HIMETRIC: 100 m

void PutU16(BYTE* at, uint16_t value) {
  at[0] = static_cast<BYTE>(value);
  at[1] = static_cast<BYTE>(value >> 8);
}
void PutI32(BYTE* at, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<BYTE>(bits >> (8 * i));
}
uint16_t GetU16(const BYTE* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}
int32_t GetI32(const BYTE* at) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// Reads exactly `size` bytes; a stream that ends first is a read fault.
HRESULT ReadExactly(IStream* stream, BYTE* into, ULONG size) {
  ULONG read = 0;
  const HRESULT hr = stream->Read(into, size, &read);
  if (FAILED(hr))
    return hr;
  return read == size ? S_OK : STG_E_READFAULT;
}

}  // namespace

HRESULT WriteControlState(IStream* stream, SIZEL extent) {
  if (!stream)
    return E_POINTER;
  std::array<BYTE, kControlStateSize> bytes = {};
  for (size_t i = 0; i < kMarker.size(); ++i)
    bytes[i] = kMarker[i];
  PutU16(&bytes[4], kVersion);
  PutU16(&bytes[6], kExtentBody);
  PutI32(&bytes[8], extent.cx);
  PutI32(&bytes[12], extent.cy);
  ULONG written = 0;
  const HRESULT hr = stream->Write(bytes.data(), kControlStateSize, &written);
  if (FAILED(hr))
    return hr;
  return written == kControlStateSize ? S_OK : STG_E_WRITEFAULT;
}

HRESULT ReadControlState(IStream* stream, SIZEL* extent) {
  if (!stream || !extent)
    return E_POINTER;
  std::array<BYTE, kControlStateSize> bytes = {};
  HRESULT hr = ReadExactly(stream, bytes.data(), 8);
  if (FAILED(hr))
    return hr;
  for (size_t i = 0; i < kMarker.size(); ++i) {
    if (bytes[i] != kMarker[i])
      return E_FAIL;
  }
  const uint16_t version = GetU16(&bytes[4]);
  const uint16_t body = GetU16(&bytes[6]);
  if (version == 0 || body < kExtentBody)
    return E_FAIL;
  hr = ReadExactly(stream, &bytes[8], kExtentBody);
  if (FAILED(hr))
    return hr;
  // What a later version added is passed over, so that the container's
  // next reader starts where this state ends.
  for (ULONG rest = body - kExtentBody; rest > 0;) {
    BYTE skipped[256];
    const ULONG chunk = rest < sizeof skipped ? rest : sizeof skipped;
    hr = ReadExactly(stream, skipped, chunk);
    if (FAILED(hr))
      return hr;
    rest -= chunk;
  }
  const SIZEL read = {GetI32(&bytes[8]), GetI32(&bytes[12])};
  if (read.cx <= 0 || read.cy <= 0 || read.cx > kLargestExtent || read.cy > kLargestExtent)
    return E_FAIL;
  *extent = read;
  return S_OK;
}

}  // namespace vtq::comkit
