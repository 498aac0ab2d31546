// The program's assembler: the passphrase check, the check digits' question
// and the cipher, all on the process's one kavrolib.

#include "engine/assembler.h"
#include "engine/globals.h"
#include "engine/program/protection.h"

namespace vtq {

bool ActiveAssembler::KeyValid(const ItemIndex& filename) {
  const SeriesHeader header = ReadSeriesHeaders(filename);
  if (!header.file.encrypted)
    return true;
  return header.encryption &&
         KeyCheck(globals_.Cipher(), decryptionKey_) == header.encryption->keyCheck;
}

void ActiveAssembler::WarnOfUnsupportedHeader(const SeriesHeader& /*header*/) {}

bool ActiveAssembler::AcceptEncryptedSeries(const std::string& firstFragment) {
  if (KeyValid(firstFragment))
    return true;
  ShowPassphraseIncorrect(globals_.GetPlatform().boxes);
  return false;
}

void ActiveAssembler::VerifyFragment(std::span<const uint8_t> fragment, int32_t number,
                                     const std::function<void()>& closeFiles) {
  if (CheckDigitsMatch(globals_.Cipher(), fragment))
    return;
  if (!ConfirmDamagedFragment(globals_.GetPlatform().boxes, number)) {
    closeFiles();
    throw CheckabilityFailed();
  }
}

void ActiveAssembler::Decipher(std::span<uint8_t> data) {
  globals_.Cipher().Qweave(data, decryptionKey_);
}

}  // namespace vtq
