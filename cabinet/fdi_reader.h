#pragma once
// Reads a cabinet through the system's FDI (cabinet.dll): its table of
// entries, and its files written below a folder. Only single cabinets: a
// request for a next cabinet is refused at once, since Wine's FDI asks for a
// missing one for ever otherwise.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vtq::cabinet {

struct StoredEntry {
  std::string name;  // as stored, ANSI code page
  uint32_t size = 0;
};

std::vector<StoredEntry> ReadCabinetTable(const std::string& cabinet);

using ExtractProgress = std::function<void(const std::string& name, int16_t percent)>;

// Writes every entry below `folder` (which exists), creating the entries'
// folders. The names must have been checked. On failure, files left
// incomplete are deleted and the component's failure is raised.
void ExtractCabinetFiles(const std::string& cabinet, const std::string& folder, uint64_t totalBytes,
                         const ExtractProgress& progress);

}  // namespace vtq::cabinet
