#pragma once
// The checks verify makes of a protected series: the passphrase's key check
// and each fragment's check digits. The program's build makes them through
// kavrolib (series_protection_program.cpp). The control's library uses no
// other deliverable and has neither (series_protection_control.cpp): it
// refuses a checkable or encrypted series before verifying or repairing it,
// so that no verdict is given without the checks.

#include <cstdint>
#include <span>

#include "engine/assembler.h"
#include "engine/globals.h"

namespace vtq {

// Whether this build checks check digits and passphrases at all.
bool SeriesProtectionChecked();
// The key check of the assembler's first fragment against its passphrase.
bool PassphraseAccepted(ActiveAssembler& assembler);
// True when the fragment's last 4 bytes are the check digits of the rest.
bool FragmentCheckDigitsMatch(Globals& globals, std::span<const uint8_t> fragment);

}  // namespace vtq
