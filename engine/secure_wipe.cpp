#include "engine/secure_wipe.h"

namespace vtq {

void SecureWipe(void* data, size_t size) {
  volatile auto* bytes = static_cast<volatile unsigned char*>(data);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = 0;
}

void SecureWipe(std::string& text) {
  // The terminating null sits at data()[capacity()] at most.
  SecureWipe(text.data(), text.capacity());
  text.clear();
}

void SecureWipe(std::optional<std::string>& text) {
  if (text)
    SecureWipe(*text);
}

}  // namespace vtq
