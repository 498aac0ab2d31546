#pragma once
// Fragment protection: the passphrase key check and the check digits, on the
// cipher and checksum routines of kavrolib, which is loaded by name on first
// use; and the reader's messages about a wrong passphrase and a damaged
// fragment. Not part of the control's build.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/error.h"
#include "engine/platform/platform.h"

namespace vtq {

// kavrolib, loaded on the first call of either routine. A missing library
// raises 53, a missing entry point 453.
class Kavrolib {
 public:
  // The library by its own name: "kavrolib.dll" on Windows, "libkavrolib.so"
  // natively (looked for beside the running program first).
  Kavrolib();
  // Loads the library of this name instead (tests point it elsewhere).
  explicit Kavrolib(std::string libraryName);
  ~Kavrolib();
  Kavrolib(const Kavrolib&) = delete;
  Kavrolib& operator=(const Kavrolib&) = delete;

  // Enciphers (and, called again, deciphers) `data` in place under `key`
  // (UTF-8; the library gets PassphraseBytes). `key` itself is never changed. Raises 7 when the
  // library cannot do it (it then leaves the data as it was).
  void Qweave(std::span<uint8_t> data, const std::string& key);
  int32_t Getcheck(std::span<const uint8_t> data);

 private:
  struct Library;
  Library& Loaded();
  std::string libraryName_;
  std::unique_ptr<Library> library_;
};

// What kavrolib enciphers with for a passphrase (UTF-8): its bytes in the
// system's ANSI code page, as every earlier version handed them over, so
// that their series open with the same passphrase; a passphrase the code
// page cannot carry gives its UTF-8 bytes, so that two such passphrases
// never become the same "?" bytes.
std::string PassphraseBytes(const std::string& passphrase);

// getcheck of the passphrase's bytes as a 16-bit number (overflow 6 when
// outside the range).
int16_t KeyCheck(Kavrolib& library, const std::string& passphrase);

// c in decimal (minus sign first), left-padded with "0" to four characters,
// its last four characters: 7 -> "0007", 123456 -> "3456", -5 -> "00-5".
std::string CheckDigits(int32_t c);
// The check digits of `data`.
std::string CheckDigitsOf(Kavrolib& library, std::span<const uint8_t> data);
// True when the last 4 bytes of `fragment` are the check digits of the bytes
// before them. A fragment shorter than 4 bytes has no check digits to match.
bool CheckDigitsMatch(Kavrolib& library, std::span<const uint8_t> fragment);

// --- The reader's messages ---

inline constexpr const char* kAccessDeniedTitle = "Access denied";
inline constexpr const char* kPassphraseIncorrectText = "Passphrase incorrect";
// The wrong-passphrase box: critical stop, OK.
void ShowPassphraseIncorrect(MessageBoxes& boxes);

inline constexpr const char* kCheckabilityWarningTitle = "Warning";
std::string CheckabilityWarningText(int32_t fragmentNumber);
// Asks whether to go on with a fragment whose check digits do not match
// (exclamation, Yes and No). True for Yes: use the fragment unchanged.
// Anything else means No: the caller closes its files and raises
// CheckabilityFailed().
bool ConfirmDamagedFragment(MessageBoxes& boxes, int32_t fragmentNumber);

extern const char kCheckabilityFailedDescription[];
// The error of a refused fragment, to throw.
VbError CheckabilityFailed();

// The reader's whole check of one fragment of a checkable series (`fragment`
// still ends in its 4 check digits): returns when the digits match or the
// user chooses to go on with it; throws CheckabilityFailed() when the user
// refuses it, so that the reader's file guards close everything on the way out.
void VerifyCheckDigits(Kavrolib& library, MessageBoxes& boxes, std::span<const uint8_t> fragment,
                       int32_t fragmentNumber);

}  // namespace vtq
