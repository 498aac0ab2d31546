#pragma once
// Named text values under HKEY_CURRENT_USER, as the settings store needs
// them. On Windows this is the helper library's registry routines
// (ReggingValues); MemoryValues keeps them in memory for builds without a
// registry and for tests.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vtq::settings {

class RegistryValues {
 public:
  virtual ~RegistryValues() = default;
  // nullopt when the key or the value does not exist.
  virtual std::optional<std::wstring> Find(std::wstring_view keyPath,
                                           std::wstring_view valueName) = 0;
  // Creates the key path when it is missing.
  virtual bool Write(std::wstring_view keyPath, std::wstring_view valueName,
                     std::wstring_view text) = 0;
  virtual bool Remove(std::wstring_view keyPath, std::wstring_view valueName) = 0;
  // The description of the last failure; empty after a success.
  virtual std::wstring LastError() const = 0;
};

// Key paths and value names compare without regard to case, as in the
// registry; one leading "\" of a key path is dropped.
class MemoryValues final : public RegistryValues {
 public:
  std::optional<std::wstring> Find(std::wstring_view keyPath, std::wstring_view valueName) override;
  bool Write(std::wstring_view keyPath, std::wstring_view valueName,
             std::wstring_view text) override;
  bool Remove(std::wstring_view keyPath, std::wstring_view valueName) override;
  std::wstring LastError() const override { return lastError_; }

  bool Empty() const { return keys_.empty(); }

 private:
  std::map<std::wstring, std::map<std::wstring, std::wstring>> keys_;
  std::wstring lastError_;
};

}  // namespace vtq::settings
