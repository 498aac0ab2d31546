#include "app/operations/component_unpacker.h"

#include "engine/error.h"

namespace vtq {

void ComponentUnpacker::Open(const std::wstring& cabinet) {
  extractor_.Reset();
  extractor_.SetCabFile(cabinet);
}

std::wstring ComponentUnpacker::Cabinet() const {
  return extractor_.CabFile();
}

int32_t ComponentUnpacker::EntryCount() {
  return extractor_.Entries().Count();
}

std::wstring ComponentUnpacker::FirstEntryName() {
  // The failure message is being built: a cabinet that cannot be read
  // names no entry rather than failing again.
  try {
    const cabinet::CabinetEntries& entries = extractor_.Entries();
    if (entries.Count() == 0)
      return {};
    return entries.Item(1).Name;
  } catch (const VbError&) {
    return {};
  }
}

void ComponentUnpacker::Extract(const std::wstring& folder, const PackProgress& progress) {
  const ProgressRoute route(progress_, progress);
  extractor_.Extract(folder);
}

void ComponentUnpacker::Progress(const std::wstring& /*name*/, int16_t percent) {
  if (progress_ != nullptr && *progress_)
    (*progress_)(percent);
}

}  // namespace vtq
