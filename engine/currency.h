#pragma once
// The 64-bit fixed-point currency type (four decimal places) that holds byte
// counts beyond 32 bits: free space, capacity, the largest fragment size.
// Arithmetic that leaves its range raises the overflow error, as the classic
// type does, instead of wrapping.

#include <compare>
#include <cstdint>
#include <limits>

#include "engine/error.h"

namespace vtq {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;
  static Currency FromWhole(int64_t whole) {
    Currency c;
    if (__builtin_mul_overflow(whole, kScale, &c.scaled_))
      Raise(err::kOverflow);
    return c;
  }
  static constexpr Currency FromScaled(int64_t scaled) {
    Currency c;
    c.scaled_ = scaled;
    return c;
  }

  constexpr int64_t Scaled() const { return scaled_; }
  // Whole bytes; the engine only ever stores whole numbers.
  constexpr int64_t Whole() const { return scaled_ / kScale; }

  Currency operator+(Currency other) const {
    Currency c;
    if (__builtin_add_overflow(scaled_, other.scaled_, &c.scaled_))
      Raise(err::kOverflow);
    return c;
  }
  Currency operator*(int64_t factor) const {
    Currency c;
    if (__builtin_mul_overflow(scaled_, factor, &c.scaled_))
      Raise(err::kOverflow);
    return c;
  }
  constexpr auto operator<=>(const Currency&) const = default;

 private:
  int64_t scaled_ = 0;
};

}  // namespace vtq
