#pragma once
// The "position or key" argument of the object model's collection members.
// A number is a 1-based position; a text is always a key, even when it reads
// as a number ("3" is the file named 3, never the third entry).

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vtq {

class ItemIndex {
 public:
  ItemIndex(int32_t position) : value_(position) {}              // NOLINT: implicit on purpose
  ItemIndex(std::string key) : value_(std::move(key)) {}         // NOLINT
  ItemIndex(const char* key) : value_(std::string(key)) {}       // NOLINT
  ItemIndex(std::string_view key) : value_(std::string(key)) {}  // NOLINT

  bool IsPosition() const { return std::holds_alternative<int32_t>(value_); }
  int32_t Position() const { return std::get<int32_t>(value_); }
  const std::string& Key() const { return std::get<std::string>(value_); }

 private:
  std::variant<int32_t, std::string> value_;
};

}  // namespace vtq
