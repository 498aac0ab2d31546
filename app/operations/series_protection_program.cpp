#include "app/operations/series_protection.h"

#include "engine/program/protection.h"

namespace vtq {

bool SeriesProtectionChecked() {
  return true;
}

bool PassphraseAccepted(ActiveAssembler& assembler) {
  return assembler.KeyValid(1);
}

bool FragmentCheckDigitsMatch(Globals& globals, std::span<const uint8_t> fragment) {
  return CheckDigitsMatch(globals.Cipher(), fragment);
}

}  // namespace vtq
