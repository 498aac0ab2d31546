#pragma once
// Fragment protection: the passphrase key check and the check digits, on the
// cipher and checksum routines of kavrolib, which is loaded by name on first
// use. Not part of the control's build.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vtq {

// kavrolib, loaded on the first call of either routine. A missing library
// raises 53, a missing entry point 453.
class Kavrolib {
 public:
  Kavrolib();
  ~Kavrolib();
  Kavrolib(const Kavrolib&) = delete;
  Kavrolib& operator=(const Kavrolib&) = delete;

  // Enciphers (and, called again, deciphers) `data` in place under `key`.
  void Qweave(std::span<uint8_t> data, const std::string& key);
  int32_t Getcheck(std::span<const uint8_t> data);

 private:
  struct Library;
  Library& Loaded();
  std::unique_ptr<Library> library_;
};

// getcheck of the passphrase's ANSI bytes as a 16-bit number (overflow 6
// when outside the range).
int16_t KeyCheck(Kavrolib& library, const std::string& passphrase);

// c in decimal (minus sign first), left-padded with "0" to four characters,
// its last four characters: 7 -> "0007", 123456 -> "3456", -5 -> "00-5".
std::string CheckDigits(int32_t c);
// The check digits of `data`.
std::string CheckDigitsOf(Kavrolib& library, std::span<const uint8_t> data);

}  // namespace vtq
