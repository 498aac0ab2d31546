#pragma once
// The registry routines behind Regging, usable without COM: the program's
// settings store and the automation class both go through this one class, so
// that both read, write and report errors the same way. A section is a key
// path below a root, "\"-separated; one leading "\" is dropped. Every routine
// that succeeds empties the last-error text; one that meets a system error
// keeps the system's description of it.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/win/system_error_text.h"

namespace orrin {

// The registry's own value-type codes, as Reg_ValType names them.
enum class ValueType : uint32_t { kString = REG_SZ, kBinary = REG_BINARY, kLong = REG_DWORD };

class Registry {
 public:
  static constexpr REGSAM kReadAccess = 0x20019;  // KEY_READ
  static constexpr REGSAM kFullAccess = 0x3F;     // KEY_ALL_ACCESS without the standard rights
  static constexpr size_t kTextBufferChars = 32768;

  // Creates every missing level of the key path.
  bool CreateTree(HKEY root, std::wstring_view section);
  // nullopt when the key or the value does not exist. A number stored as
  // REG_DWORD reads as its decimal text.
  std::optional<std::wstring> GetText(HKEY root, std::wstring_view section, std::wstring_view name);
  // nullopt when missing. A text value reads as its leading number.
  std::optional<int32_t> GetNumber(HKEY root, std::wstring_view section, std::wstring_view name);
  // Write the value, creating the key path first when it does not exist.
  bool SetText(HKEY root, std::wstring_view section, std::wstring_view name,
               std::wstring_view value);
  bool SetNumber(HKEY root, std::wstring_view section, std::wstring_view name, int32_t value);
  bool SetBinary(HKEY root, std::wstring_view section, std::wstring_view name,
                 const std::vector<uint8_t>& bytes);
  // Deletes one value of the key.
  bool RemoveValue(HKEY root, std::wstring_view section, std::wstring_view name);

  // The name of the index-th subkey (from 0); nullopt past the last one.
  std::optional<std::wstring> EnumSection(HKEY root, std::wstring_view section, DWORD index);
  struct NamedValue {
    std::wstring name;
    std::wstring data;  // as text: numbers in decimal, binary data as ANSI characters
  };
  // The index-th value of the key (from 0); nullopt past the last one.
  std::optional<NamedValue> EnumValue(HKEY root, std::wstring_view section, DWORD index);
  // Deletes the key with everything below it, as far as permissions allow:
  // what can be deleted is, and the result says whether the key is gone. An
  // empty section (the root itself) is refused.
  bool RemoveTree(HKEY root, std::wstring_view section);

  const std::wstring& LastError() const noexcept { return lastError_; }

 private:
  bool SetRaw(HKEY root, std::wstring_view section, std::wstring_view name, DWORD type,
              const BYTE* data, DWORD size);
  bool Succeeded();
  bool Failed(LONG code);

  std::wstring lastError_;
};

// The system's text for a Win32 error code, without its line end.
using vtq::base::win::SystemErrorText;

// A section without its one leading "\".
std::wstring_view SectionPath(std::wstring_view section);

}  // namespace orrin
