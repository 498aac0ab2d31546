#pragma once
// Passphrases are overwritten before their memory is given back, so that a
// freed buffer, a swap file or a crash dump does not keep them. The writes go
// through a volatile pointer: an optimiser may drop a plain memset of memory
// that is about to be freed, but never these.

#include <cstddef>
#include <optional>
#include <string>

namespace vtq {

void SecureWipe(void* data, size_t size);
// The whole buffer the text owns (its capacity, not only its length), then
// the text is emptied.
void SecureWipe(std::string& text);
void SecureWipe(std::optional<std::string>& text);

// Wipes a string when the scope ends, on every way out.
class WipeOnExit {
 public:
  explicit WipeOnExit(std::string& text) : text_(text) {}
  ~WipeOnExit() { SecureWipe(text_); }
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;

 private:
  std::string& text_;
};

}  // namespace vtq
