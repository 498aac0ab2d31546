#pragma once
// FileVersion: one string of a file's version resource.

#include <string>

namespace orrin {

// The values of fv_Return, in order.
enum class VersionItem {
  kCompanyName = 0,
  kFileDescription,
  kFileVersion,
  kInternalName,
  kLegalCopyright,
  kOriginalFileName,
  kProductName,
  kProductVersion,
};

// The item's name in the resource ("CompanyName", ...).
const wchar_t* VersionItemName(VersionItem item);

// The item from the string table that the resource's first translation
// names; "" when the file, the resource or the item is missing.
std::wstring FileVersionString(const std::wstring& file, VersionItem item);

}  // namespace orrin
