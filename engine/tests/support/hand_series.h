#pragma once
// Fragment files built by hand from the format's byte layout, independent of
// the engine's own encoders, so that reader and writer check each other.

#include <cstdint>
#include <string>
#include <vector>

namespace vtq::test {

using Bytes = std::vector<uint8_t>;

struct HandHeader {
  int16_t count = 1;
  std::string name = "notes.txt";
  bool multisize = false;
  bool encrypted = false;
  bool encodable = false;
  bool reserved = false;
  bool checkable = false;
  int16_t keyCheck = 0;
  std::string notice = std::string(77, 'N');
};

// Format record, file record and (when encrypted) encryption record.
Bytes HandHeaderBytes(const HandHeader& header);

void PutInt16(Bytes& out, int16_t value);
void PutText(Bytes& out, const std::string& text);
Bytes Concat(const Bytes& a, const Bytes& b);
Bytes Slice(const Bytes& data, size_t from, size_t count);

// Writes stem + 001, 002, ... with the given contents; returns the first name.
std::string WriteFragments(const std::string& stem, const std::vector<Bytes>& fragments);

// An unprotected own-format series of `data` cut into pieces of `size` bytes
// (the first piece holds the header too).
std::vector<Bytes> OwnSeries(const Bytes& data, size_t size, const std::string& name = "notes.txt");

// Cuts `data` into pieces of `size` bytes (at least one piece).
std::vector<Bytes> Pieces(const Bytes& data, size_t size);

}  // namespace vtq::test
