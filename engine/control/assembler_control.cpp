// The control's assembler: it neither verifies nor deciphers. An encrypted
// series is refused with the control's own messages; check digits are
// dropped unread.

#include "engine/assembler.h"
#include "engine/globals.h"

namespace vtq {

void ActiveAssembler::WarnOfUnsupportedHeader(const SeriesHeader& header) {
  if (header.file.encrypted) {
    globals_.GetPlatform().boxes.Show(
        "Encryption / decryption unsupported in this version of ActiveVantrelloquin",
        "Feature unsupported", mb::kIconCritical);
  }
}

bool ActiveAssembler::AcceptEncryptedSeries(const std::string& /*firstFragment*/) {
  globals_.GetPlatform().boxes.Show("Feature unsupported in ActiveVantrelloquin",
                                    "Decryption failed", mb::kIconCritical);
  return false;
}

void ActiveAssembler::VerifyFragment(std::span<const uint8_t> /*fragment*/, int32_t /*number*/,
                                     const std::function<void()>& /*closeFiles*/) {}

// Never reached: an encrypted series is refused before its data is read.
void ActiveAssembler::Decipher(std::span<uint8_t> /*data*/) {
  Raise(err::kInvalidArgument);
}

}  // namespace vtq
