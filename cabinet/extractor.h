#pragma once
// The cabinet reader (the window's Extractor): a cabinet name, its entries
// and Extract, which recreates the entries with their stored folders below a
// destination folder. Failures are the component's (base + 1000) with a
// description. A cabinet is outside input: any entry that would land
// outside the destination refuses the whole cabinet before a byte is written.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtq::cabinet {

class ExtractorEvents {
 public:
  virtual ~ExtractorEvents() = default;
  virtual void Progress(const std::wstring& /*name*/, int16_t /*percent*/) {}
};

struct CabinetEntry {
  std::wstring Name;  // as stored, folders included ("docs\readme.txt")
  uint32_t Size = 0;
};

class CabinetEntries {
 public:
  CabinetEntries() = default;
  explicit CabinetEntries(std::vector<CabinetEntry> entries) : entries_(std::move(entries)) {}

  int32_t Count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  // 1-based; any other index is error 9.
  const CabinetEntry& Item(int32_t index) const;

 private:
  std::vector<CabinetEntry> entries_;
};

class Extractor {
 public:
  explicit Extractor(ExtractorEvents& events) : events_(events) {}

  // Forgets the cabinet and its entries.
  void Reset();

  const std::wstring& CabFile() const noexcept { return cabFile_; }
  void SetCabFile(std::wstring path);

  // The cabinet's entries, read on first use after CabFile changes.
  const CabinetEntries& Entries();

  // `folder` without a trailing "\"; it is created when missing.
  void Extract(const std::wstring& folder);

 private:
  ExtractorEvents& events_;
  std::wstring cabFile_;
  std::optional<CabinetEntries> entries_;
};

}  // namespace vtq::cabinet
