#pragma once
// Little-endian fields, as every stored format of ours (fragment headers,
// cabinets, recovery packets, a control's saved state) lays them out: one
// reader over bytes that may be damaged or hostile, and one writer.

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vtq::base {

// Reads fields front to back and never past the end of its bytes. A field
// that does not fit reads as zero (an empty span for Bytes), takes nothing
// and leaves the reader failed, so that a record may be read whole and
// tested once.
class LeReader {
 public:
  // Starts at `at`; a start past the end is a failed reader.
  explicit LeReader(std::span<const uint8_t> bytes, size_t at = 0)
      : bytes_(bytes), pos_(at <= bytes.size() ? at : bytes.size()), failed_(at > bytes.size()) {}

  uint8_t U8() { return Take<uint8_t>(); }
  uint16_t U16() { return Take<uint16_t>(); }
  uint32_t U32() { return Take<uint32_t>(); }
  uint64_t U64() { return Take<uint64_t>(); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }

  std::span<const uint8_t> Bytes(size_t count) {
    if (!Fits(count))
      return {};
    const std::span<const uint8_t> part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
  }
  void Skip(size_t count) { Bytes(count); }

  size_t Position() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool Failed() const { return failed_; }

 private:
  bool Fits(size_t count) {
    if (count <= Remaining())
      return true;
    failed_ = true;
    return false;
  }

  template <std::unsigned_integral T>
  T Take() {
    if (!Fits(sizeof(T)))
      return 0;
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      value |= static_cast<T>(static_cast<T>(bytes_[pos_ + i]) << (8 * i));
    pos_ += sizeof(T);
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t pos_;
  bool failed_;
};

// Writes fields at the end of a byte vector or a string, or over a span from
// its start. Over a span, a field that does not fit is not written and
// leaves the writer failed; the calls chain.
class LeWriter {
 public:
  explicit LeWriter(std::vector<uint8_t>& out) : vector_(&out) {}
  explicit LeWriter(std::string& out) : string_(&out) {}
  explicit LeWriter(std::span<uint8_t> into) : span_(into) {}

  LeWriter& U8(uint8_t value) { return Put(value); }
  LeWriter& U16(uint16_t value) { return Put(value); }
  LeWriter& U32(uint32_t value) { return Put(value); }
  LeWriter& U64(uint64_t value) { return Put(value); }
  LeWriter& I16(int16_t value) { return Put(static_cast<uint16_t>(value)); }
  LeWriter& I32(int32_t value) { return Put(static_cast<uint32_t>(value)); }

  LeWriter& Bytes(std::span<const uint8_t> bytes) {
    Append(bytes.data(), bytes.size());
    return *this;
  }
  LeWriter& Text(std::string_view text) {
    Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return *this;
  }
  LeWriter& Zeros(size_t count) {
    static constexpr std::array<uint8_t, 16> kZeros{};
    for (size_t part = 0; count > 0; count -= part) {
      part = std::min(count, kZeros.size());
      Append(kZeros.data(), part);
    }
    return *this;
  }

  // Over a span: how much of it is written.
  size_t Position() const { return pos_; }
  bool Failed() const { return failed_; }

 private:
  template <std::unsigned_integral T>
  LeWriter& Put(T value) {
    std::array<uint8_t, sizeof(T)> bytes;
    for (size_t i = 0; i < sizeof(T); ++i)
      bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    Append(bytes.data(), bytes.size());
    return *this;
  }

  void Append(const uint8_t* bytes, size_t count) {
    if (vector_) {
      // Byte by byte: GCC 12 takes an insert of a few bytes at -O3 for an
      // overflow (-Warray-bounds, -Wstringop-overflow).
      for (size_t i = 0; i < count; ++i)
        vector_->push_back(bytes[i]);
    } else if (string_) {
      string_->append(reinterpret_cast<const char*>(bytes), count);
    } else if (count <= span_.size() - pos_) {
      std::copy_n(bytes, count, span_.begin() + static_cast<std::ptrdiff_t>(pos_));
      pos_ += count;
    } else {
      failed_ = true;
    }
  }

  std::vector<uint8_t>* vector_ = nullptr;
  std::string* string_ = nullptr;
  std::span<uint8_t> span_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace vtq::base
