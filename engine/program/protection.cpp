#include "engine/program/protection.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "base/code_page.h"
#include "base/utf8_text.h"
#include "engine/platform/shared_library.h"
#include "engine/secure_wipe.h"
#include "kavrolib/kavrolib_api.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kCheckabilityFailedDescription[] = "Checkability check failed";

// The loaded library and its routines, each looked up on its first call so
// that a library without one routine still serves the other.
struct Kavrolib::Library {
  SharedLibrary module;
  kavrolib_qweave_fn qweave = nullptr;
  kavrolib_getcheck_fn getcheck = nullptr;

  template <typename Routine>
  Routine Resolve(Routine& slot, const char* name) {
    if (slot == nullptr) {
      slot = reinterpret_cast<Routine>(module.Find(name));
      if (slot == nullptr)
        Raise(err::kDllEntryPointNotFound);
    }
    return slot;
  }
};

Kavrolib::Kavrolib() : Kavrolib(SharedLibrary::FileName("kavrolib")) {}
Kavrolib::Kavrolib(std::string libraryName) : libraryName_(std::move(libraryName)) {}
Kavrolib::~Kavrolib() = default;

Kavrolib::Library& Kavrolib::Loaded() {
  if (!library_) {
    SharedLibrary module = SharedLibrary::Open(libraryName_);
    // Not remembered: a later call looks for the library again.
    if (!module.IsLoaded())
      Raise(err::kFileNotFound);
    library_ = std::make_unique<Library>();
    library_->module = std::move(module);
  }
  return *library_;
}

namespace {

uint32_t LengthOf(size_t size) {
  if (size > std::numeric_limits<uint32_t>::max())
    Raise(err::kOverflow);
  return static_cast<uint32_t>(size);
}

}  // namespace

void Kavrolib::Qweave(std::span<uint8_t> data, const std::string& key) {
  Library& library = Loaded();
  const auto qweave = library.Resolve(library.qweave, "qweave");
  const uint32_t length = LengthOf(data.size());
  // The library gets a copy, so whatever it does to the text, the caller's
  // stored passphrase stays as it was.
  std::string keyCopy = PassphraseBytes(key);
  const WipeOnExit wipe(keyCopy);
  uint8_t none = 0;
  const int32_t status = qweave(data.empty() ? &none : data.data(), keyCopy.c_str(), length);
  if (status != kavrolib_status_ok)
    Raise(err::kOutOfMemory);
}

int32_t Kavrolib::Getcheck(std::span<const uint8_t> data) {
  Library& library = Loaded();
  const auto getcheck = library.Resolve(library.getcheck, "getcheck");
  static const uint8_t kNone = 0;
  return getcheck(data.empty() ? &kNone : data.data(), LengthOf(data.size()));
}

std::string PassphraseBytes(const std::string& passphrase) {
  // Plain ASCII needs no conversion, and leaves no converted copies behind.
  if (base::IsAscii(passphrase))
    return passphrase;
  std::optional<std::string> bytes = base::AnsiCodePage().Encode(passphrase);
  return bytes ? std::move(*bytes) : passphrase;
}

int16_t KeyCheck(Kavrolib& library, const std::string& passphrase) {
  std::string bytes = PassphraseBytes(passphrase);
  const WipeOnExit wipe(bytes);
  const int32_t c =
      library.Getcheck({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  if (c < std::numeric_limits<int16_t>::min() || c > std::numeric_limits<int16_t>::max()) {
    Raise(err::kOverflow);
  }
  return static_cast<int16_t>(c);
}

std::string CheckDigits(int32_t c) {
  std::string text = std::to_string(c);
  if (text.size() < 4)
    text.insert(0, 4 - text.size(), '0');
  return text.substr(text.size() - 4);
}

std::string CheckDigitsOf(Kavrolib& library, std::span<const uint8_t> data) {
  return CheckDigits(library.Getcheck(data));
}

bool CheckDigitsMatch(Kavrolib& library, std::span<const uint8_t> fragment) {
  if (fragment.size() < 4)
    return false;
  const std::string expected = CheckDigitsOf(library, fragment.first(fragment.size() - 4));
  const std::span<const uint8_t> stored = fragment.last(4);
  return std::equal(stored.begin(), stored.end(), expected.begin(),
                    [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); });
}

void ShowPassphraseIncorrect(MessageBoxes& boxes) {
  boxes.Show(kPassphraseIncorrectText, kAccessDeniedTitle, mb::kOk | mb::kIconCritical);
}

std::string CheckabilityWarningText(int32_t fragmentNumber) {
  return "The checkability verification on fragment " + std::to_string(fragmentNumber) +
         " failed indicating that the fragment is probably corrupted. Are you sure you wish to "
         "continue?";
}

bool ConfirmDamagedFragment(MessageBoxes& boxes, int32_t fragmentNumber) {
  // No is the default: going on joins a damaged fragment into the file.
  return boxes.Show(CheckabilityWarningText(fragmentNumber), kCheckabilityWarningTitle,
                    mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2) == mb::kIdYes;
}

VbError CheckabilityFailed() {
  return VbError(kCheckabilityFailed, kAssemblerSource, kCheckabilityFailedDescription);
}

void VerifyCheckDigits(Kavrolib& library, MessageBoxes& boxes, std::span<const uint8_t> fragment,
                       int32_t fragmentNumber) {
  if (CheckDigitsMatch(library, fragment))
    return;
  if (!ConfirmDamagedFragment(boxes, fragmentNumber))
    throw CheckabilityFailed();
}

}  // namespace vtq
