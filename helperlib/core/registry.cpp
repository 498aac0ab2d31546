#include "helperlib/core/registry.h"

#include <cstring>
#include <cwchar>

#include "base/ansi_text.h"
#include "base/win/handles.h"

namespace orrin {
namespace {

using vtq::base::win::RegKey;

LONG OpenKey(HKEY root, std::wstring_view section, REGSAM access, RegKey& key) {
  const std::wstring path(SectionPath(section));
  return RegOpenKeyExW(root, path.c_str(), 0, access, key.Receive());
}

// Deletes what it can below `key`, then the subkey `name` of `parent`.
LONG DeleteTree(HKEY parent, const std::wstring& name) {
  LONG firstFailure = ERROR_SUCCESS;
  {
    RegKey key;
    LONG rc = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, key.Receive());
    if (rc != ERROR_SUCCESS)
      rc = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, key.Receive());
    if (rc != ERROR_SUCCESS)
      return rc;
    DWORD longest = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    std::vector<wchar_t> child(longest + 2);
    // Subkeys that cannot be deleted stay at the front: step over them.
    DWORD index = 0;
    for (;;) {
      DWORD length = static_cast<DWORD>(child.size());
      rc = RegEnumKeyExW(key.Get(), index, child.data(), &length, nullptr, nullptr, nullptr,
                         nullptr);
      if (rc == ERROR_MORE_DATA) {
        child.resize(child.size() * 2);
        continue;
      }
      if (rc != ERROR_SUCCESS)
        break;
      if (const LONG sub = DeleteTree(key.Get(), std::wstring(child.data(), length));
          sub != ERROR_SUCCESS) {
        if (firstFailure == ERROR_SUCCESS)
          firstFailure = sub;
        ++index;
      }
    }
  }
  const LONG rc = RegDeleteKeyW(parent, name.c_str());
  return firstFailure != ERROR_SUCCESS ? firstFailure : rc;
}

}  // namespace

std::wstring_view SectionPath(std::wstring_view section) {
  if (section.starts_with(L'\\'))
    section.remove_prefix(1);
  return section;
}

bool Registry::Succeeded() {
  lastError_.clear();
  return true;
}

bool Registry::Failed(LONG code) {
  lastError_ = SystemErrorText(static_cast<DWORD>(code));
  return false;
}

bool Registry::CreateTree(HKEY root, std::wstring_view section) {
  const std::wstring path(SectionPath(section));
  RegKey key;
  const LONG rc = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  kFullAccess, nullptr, key.Receive(), nullptr);
  return rc == ERROR_SUCCESS ? Succeeded() : Failed(rc);
}

std::optional<std::wstring> Registry::GetText(HKEY root, std::wstring_view section,
                                              std::wstring_view name) {
  RegKey key;
  LONG rc = OpenKey(root, section, kReadAccess, key);
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  const std::wstring valueName(name);
  std::vector<BYTE> buffer(kTextBufferChars * sizeof(wchar_t));
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(buffer.size());
  rc = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, buffer.data(), &size);
  if (rc == ERROR_MORE_DATA) {
    // A text longer than the usual buffer is read whole rather than lost.
    buffer.resize(size + sizeof(wchar_t));
    size = static_cast<DWORD>(buffer.size());
    rc = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, buffer.data(), &size);
  }
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  Succeeded();
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, buffer.data(), sizeof number);
    return std::to_wstring(static_cast<int32_t>(number));
  }
  std::wstring text(reinterpret_cast<const wchar_t*>(buffer.data()), size / sizeof(wchar_t));
  if (const auto nul = text.find(L'\0'); nul != std::wstring::npos)
    text.resize(nul);
  return text;
}

std::optional<int32_t> Registry::GetNumber(HKEY root, std::wstring_view section,
                                           std::wstring_view name) {
  LONG rc = ERROR_SUCCESS;
  DWORD type = 0;
  DWORD number = 0;
  {
    RegKey key;
    rc = OpenKey(root, section, kReadAccess, key);
    if (rc == ERROR_SUCCESS) {
      const std::wstring valueName(name);
      DWORD size = sizeof number;
      rc = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&number), &size);
    }
  }
  if (rc == ERROR_SUCCESS && type == REG_DWORD) {
    Succeeded();
    return static_cast<int32_t>(number);
  }
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    // Stored as something else: take the leading number of its text.
    const auto text = GetText(root, section, name);
    if (!text)
      return std::nullopt;
    return static_cast<int32_t>(std::wcstol(text->c_str(), nullptr, 10));
  }
  Failed(rc);
  return std::nullopt;
}

bool Registry::SetRaw(HKEY root, std::wstring_view section, std::wstring_view name, DWORD type,
                      const BYTE* data, DWORD size) {
  RegKey key;
  LONG rc = OpenKey(root, section, kFullAccess, key);
  if (rc == ERROR_FILE_NOT_FOUND) {
    if (!CreateTree(root, section))
      return false;
    rc = OpenKey(root, section, kFullAccess, key);
  }
  if (rc != ERROR_SUCCESS)
    return Failed(rc);
  const std::wstring valueName(name);
  rc = RegSetValueExW(key.Get(), valueName.c_str(), 0, type, data, size);
  return rc == ERROR_SUCCESS ? Succeeded() : Failed(rc);
}

bool Registry::SetText(HKEY root, std::wstring_view section, std::wstring_view name,
                       std::wstring_view value) {
  const std::wstring text(value);
  return SetRaw(root, section, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool Registry::SetNumber(HKEY root, std::wstring_view section, std::wstring_view name,
                         int32_t value) {
  const DWORD number = static_cast<DWORD>(value);
  return SetRaw(root, section, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                sizeof number);
}

bool Registry::SetBinary(HKEY root, std::wstring_view section, std::wstring_view name,
                         const std::vector<uint8_t>& bytes) {
  return SetRaw(root, section, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

bool Registry::RemoveValue(HKEY root, std::wstring_view section, std::wstring_view name) {
  RegKey key;
  LONG rc = OpenKey(root, section, kFullAccess, key);
  if (rc != ERROR_SUCCESS)
    return Failed(rc);
  const std::wstring valueName(name);
  rc = RegDeleteValueW(key.Get(), valueName.c_str());
  return rc == ERROR_SUCCESS ? Succeeded() : Failed(rc);
}

std::optional<std::wstring> Registry::EnumSection(HKEY root, std::wstring_view section,
                                                  DWORD index) {
  RegKey key;
  LONG rc = OpenKey(root, section, kReadAccess, key);
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  DWORD longest = 0;
  RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
  std::vector<wchar_t> name(longest + 2);
  DWORD length = static_cast<DWORD>(name.size());
  rc = RegEnumKeyExW(key.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  Succeeded();
  return std::wstring(name.data(), length);
}

std::optional<Registry::NamedValue> Registry::EnumValue(HKEY root, std::wstring_view section,
                                                        DWORD index) {
  RegKey key;
  LONG rc = OpenKey(root, section, kReadAccess, key);
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  DWORD longestName = 0, longestData = 0;
  RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   &longestName, &longestData, nullptr, nullptr);
  std::vector<wchar_t> name(longestName + 2);
  std::vector<BYTE> data(longestData + sizeof(wchar_t));
  DWORD nameLength = static_cast<DWORD>(name.size());
  DWORD size = static_cast<DWORD>(data.size());
  DWORD type = 0;
  rc =
      RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
  if (rc != ERROR_SUCCESS) {
    Failed(rc);
    return std::nullopt;
  }
  Succeeded();
  NamedValue value{std::wstring(name.data(), nameLength), {}};
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    value.data = std::to_wstring(static_cast<int32_t>(number));
  } else if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    value.data.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    if (const auto nul = value.data.find(L'\0'); nul != std::wstring::npos)
      value.data.resize(nul);
  } else {
    // The counterpart of RegSetValue's binary values, written from text.
    value.data =
        vtq::base::FromAnsi(std::string_view(reinterpret_cast<const char*>(data.data()), size));
  }
  return value;
}

bool Registry::RemoveTree(HKEY root, std::wstring_view section) {
  const std::wstring path(SectionPath(section));
  if (path.empty() || path.find_first_not_of(L'\\') == std::wstring::npos)
    return Failed(ERROR_INVALID_PARAMETER);
  const LONG rc = DeleteTree(root, path);
  return rc == ERROR_SUCCESS ? Succeeded() : Failed(rc);
}

}  // namespace orrin
