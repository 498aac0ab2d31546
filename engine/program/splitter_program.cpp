// The program's splitter: the protection options (check digits and cipher on
// kavrolib), regeneration, the cabinet flag and the multisize event.

#include "engine/globals.h"
#include "engine/program/protection.h"
#include "engine/splitter.h"

namespace vtq {

int32_t ActiveSplitter::CheckDigitBytes() const {
  return checkability_ ? static_cast<int32_t>(kCheckDigitCount) : 0;
}

bool ActiveSplitter::Encrypting() const {
  return useEncryption_;
}

bool ActiveSplitter::CabinetIsMultifile() const {
  return cabIsMultifile_;
}

int16_t ActiveSplitter::FragmentToRegenerate() const {
  return regenerateFragment_;
}

void ActiveSplitter::ReportMultisizeFlag(bool multisize) {
  events_.MultisizeFlagChange(multisize);
}

void ActiveSplitter::Encipher(std::span<uint8_t> data) {
  globals_.Cipher().Qweave(data, encryptionKey_);
}

std::string ActiveSplitter::CheckDigitsFor(std::span<const uint8_t> data) {
  return CheckDigitsOf(globals_.Cipher(), data);
}

std::string ActiveSplitter::EncryptionRecordBytes() {
  EncryptionRecord record;
  record.keyCheck = KeyCheck(globals_.Cipher(), encryptionKey_);
  return EncodeEncryptionRecord(record);
}

}  // namespace vtq
