#include "app/operations/component_packer.h"

namespace vtq {

void ComponentPacker::Pack(const PackRequest& request, const PackProgress& progress) {
  compressor_.Reset();
  compressor_.SetCompression(request.compress);
  compressor_.SetCabFile(request.cabinet);
  for (const std::wstring& file : request.files)
    compressor_.Files().Add(file, L"");
  for (const std::wstring& folder : request.folders)
    compressor_.Files().AddFolder(folder, true);
  const ProgressRoute route(progress_, progress);
  compressor_.Compress();
}

PackedEntry ComponentPacker::FirstEntry() const {
  const cabinet::CabEntryList& files = compressor_.Files();
  if (files.Count() == 0)
    return {};
  const cabinet::CabEntry& first = files.Item(1);
  return {first.Source, first.CabDir};
}

void ComponentPacker::Progress(int16_t percent) {
  if (progress_ != nullptr && *progress_)
    (*progress_)(percent);
}

}  // namespace vtq
