#pragma once
// What the assemble command asks of the cabinet component when it unpacks.
// The window's build extracts through the component; tests record what was
// asked and fail where they choose.

#include <cstdint>
#include <string>

#include "app/operations/cabinet_packing.h"

namespace vtq {

inline constexpr const char* kSoundExtract = "WexlorExtract";

class CabinetUnpacker {
 public:
  virtual ~CabinetUnpacker() = default;
  // Forgets the previous cabinet and reads `cabinet` from now on.
  virtual void Open(const std::wstring& cabinet) = 0;
  // The cabinet read, as the failure message names it.
  virtual std::wstring Cabinet() const = 0;
  // How many entries the cabinet holds. A failure is raised as a VbError
  // (the component's own is cabinet::kCabinetFailure).
  virtual int32_t EntryCount() = 0;
  // The name of the first entry as stored; empty when it has none or the
  // cabinet cannot be read.
  virtual std::wstring FirstEntryName() = 0;
  // Recreates the entries below `folder` (no trailing separator) and
  // returns when it is done; `progress` follows the component's progress.
  // Failures as for EntryCount.
  virtual void Extract(const std::wstring& folder, const PackProgress& progress) = 0;
};

// The message of a failed extraction, naming the component's description,
// the cabinet and its first entry.
std::string ExtractFailureText(const std::string& description, const std::wstring& cabinet,
                               const std::wstring& firstEntry);

}  // namespace vtq
