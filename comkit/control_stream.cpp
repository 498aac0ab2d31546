#include "comkit/control_stream.h"

#include <array>
#include <cstdint>

#include "base/little_endian.h"

namespace vtq::comkit {

namespace {

constexpr std::array<BYTE, 4> kMarker = {'V', 'X', 'C', 'S'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kExtentBody = 8;
constexpr LONG kLargestExtent = 10'000'000;  // HIMETRIC: 100 m

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
  base::LeWriter(bytes).Bytes(kMarker).U16(kVersion).U16(kExtentBody).I32(extent.cx).I32(extent.cy);
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
  base::LeReader fields(bytes, 4);
  const uint16_t version = fields.U16();
  const uint16_t body = fields.U16();
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
  const int32_t cx = fields.I32();
  const SIZEL read = {cx, fields.I32()};
  if (read.cx <= 0 || read.cy <= 0 || read.cx > kLargestExtent || read.cy > kLargestExtent)
    return E_FAIL;
  *extent = read;
  return S_OK;
}

}  // namespace vtq::comkit
