#include "engine/tests/support/hand_series.h"

#include <algorithm>

#include "engine/path.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {

void PutInt16(Bytes& out, int16_t value) {
  const auto bits = static_cast<uint16_t>(value);
  out.push_back(static_cast<uint8_t>(bits & 0xFF));
  out.push_back(static_cast<uint8_t>(bits >> 8));
}

void PutText(Bytes& out, const std::string& text) {
  PutInt16(out, static_cast<int16_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

static void PutBool(Bytes& out, bool value) {
  PutInt16(out, value ? -1 : 0);
}

Bytes HandHeaderBytes(const HandHeader& header) {
  Bytes out;
  PutText(out, "Quorvelle Extendable Fragment Format");
  for (int16_t word : {3, 0, 0, 2, 0, 0})
    PutInt16(out, word);
  PutInt16(out, header.count);
  PutText(out, header.name);
  PutBool(out, header.multisize);
  PutBool(out, header.encrypted);
  PutBool(out, header.encodable);
  PutBool(out, header.reserved);
  PutBool(out, header.checkable);
  if (header.encrypted) {
    PutText(out, header.notice);
    PutInt16(out, 0);
    PutInt16(out, 1);
    PutInt16(out, header.keyCheck);
  }
  return out;
}

Bytes Concat(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

Bytes Slice(const Bytes& data, size_t from, size_t count) {
  from = std::min(from, data.size());
  count = std::min(count, data.size() - from);
  return Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
               data.begin() + static_cast<std::ptrdiff_t>(from + count));
}

std::string WriteFragments(const std::string& stem, const std::vector<Bytes>& fragments) {
  for (size_t i = 0; i < fragments.size(); ++i) {
    WriteBytes(stem + FragmentNumber(static_cast<int>(i + 1)), fragments[i]);
  }
  return stem + FragmentNumber(1);
}

std::vector<Bytes> Pieces(const Bytes& data, size_t size) {
  std::vector<Bytes> pieces;
  for (size_t at = 0; at < data.size() || pieces.empty(); at += size)
    pieces.push_back(Slice(data, at, size));
  return pieces;
}

std::vector<Bytes> OwnSeries(const Bytes& data, size_t size, const std::string& name) {
  HandHeader header;
  header.name = name;
  const Bytes head = HandHeaderBytes(header);
  const size_t firstData = std::min(data.size(), size - head.size());
  std::vector<Bytes> pieces = {Concat(head, Slice(data, 0, firstData))};
  for (size_t at = firstData; at < data.size(); at += size)
    pieces.push_back(Slice(data, at, size));
  // The count field is fixed in width, so it can be patched in afterwards.
  const auto count = static_cast<uint16_t>(pieces.size());
  pieces[0][50] = static_cast<uint8_t>(count & 0xFF);
  pieces[0][51] = static_cast<uint8_t>(count >> 8);
  return pieces;
}

}  // namespace vtq::test
