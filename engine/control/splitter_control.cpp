// The control's splitter: plain fragments only. Its container cannot set the
// program's options, and whatever the C++ object holds, none of them acts:
// no check digits, no cipher, no regeneration, no multisize event.

#include "engine/error.h"
#include "engine/splitter.h"

namespace vtq {

int32_t ActiveSplitter::CheckDigitBytes() const {
  return 0;
}

bool ActiveSplitter::Encrypting() const {
  return false;
}

bool ActiveSplitter::CabinetIsMultifile() const {
  return false;
}

int16_t ActiveSplitter::FragmentToRegenerate() const {
  return 0;
}

void ActiveSplitter::ReportMultisizeFlag(bool /*multisize*/) {}

// Never reached, since nothing is enciphered or checked here; should a
// change reach them, the run fails loudly rather than write unprotected
// bytes as protected ones.
void ActiveSplitter::Encipher(std::span<uint8_t> /*data*/) {
  Raise(err::kInvalidArgument);
}

std::string ActiveSplitter::CheckDigitsFor(std::span<const uint8_t> /*data*/) {
  Raise(err::kInvalidArgument);
}

std::string ActiveSplitter::EncryptionRecordBytes() {
  Raise(err::kInvalidArgument);
}

}  // namespace vtq
