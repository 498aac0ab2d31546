#include "app/operations/sha256.h"

#include <vector>

#include "engine/platform/file_io.h"

namespace vtq {

std::string Sha256::HexDigest() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (const uint8_t byte : digest_.Finish()) {
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

std::string Sha256OfFile(const std::string& name) {
  File file(name, File::Mode::kRead);
  Sha256 sum;
  std::vector<char> buffer(size_t{1} << 20);
  for (size_t got; (got = file.Read(buffer.data(), buffer.size())) > 0;)
    sum.Update(buffer.data(), got);
  return sum.HexDigest();
}

}  // namespace vtq
