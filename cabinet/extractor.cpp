#include "cabinet/extractor.h"

#include <windows.h>

#include "base/path_parts.h"
#include "base/utf8_text.h"
#include "base/win/wide_path.h"
#include "cabinet/cabinet_error.h"
#include "cabinet/entry_name.h"
#include "cabinet/fdi_reader.h"

namespace vtq::cabinet {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(base::win::WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `folder` and the folders above it that are missing.
bool MakeFolder(const std::string& folder) {
  if (folder.empty() || IsFolder(folder) || (folder.size() == 2 && folder[1] == ':'))
    return true;
  const std::string above = base::FolderPart(folder);
  // Without its trailing separators, so that each call goes one folder up.
  const size_t end = above.find_last_not_of("\\/");
  if (end != std::string::npos && !MakeFolder(above.substr(0, end + 1)))
    return false;
  return CreateDirectoryW(base::win::WidePath(folder).c_str(), nullptr) || IsFolder(folder);
}

}  // namespace

const CabinetEntry& CabinetEntries::Item(int32_t index) const {
  if (index < 1 || index > Count())
    Raise(err::kSubscriptOutOfRange, kExtractorSource);
  return entries_[static_cast<size_t>(index - 1)];
}

void Extractor::Reset() {
  cabFile_.clear();
  entries_.reset();
}

void Extractor::SetCabFile(std::wstring path) {
  cabFile_ = std::move(path);
  entries_.reset();
}

const CabinetEntries& Extractor::Entries() {
  if (!entries_) {
    std::vector<CabinetEntry> entries;
    for (const StoredEntry& stored : ReadCabinetTable(base::ToUtf8(cabFile_)))
      entries.push_back({base::FromUtf8(stored.name), stored.size});
    entries_.emplace(std::move(entries));
  }
  return *entries_;
}

void Extractor::Extract(const std::wstring& folder) {
  const std::string cabinet = base::ToUtf8(cabFile_);
  if (cabinet.empty())
    RaiseCabinetFailure(kExtractorSource, "No cabinet was named to extract.");
  const std::vector<StoredEntry> table = ReadCabinetTable(cabinet);
  uint64_t totalBytes = 0;
  for (const StoredEntry& entry : table) {
    if (const std::string reason = UnsafeEntryReason(entry.name); !reason.empty())
      RaiseCabinetFailure(kExtractorSource,
                          "The cabinet " + Quoted(cabinet) + " was refused: its entry " +
                              Quoted(entry.name) +
                              " would be written outside the destination folder (" + reason +
                              "). Nothing was extracted.");
    totalBytes += entry.size;
  }

  std::string destination = base::ToUtf8(folder);
  while (destination.size() > 1 && (destination.back() == '\\' || destination.back() == '/'))
    destination.pop_back();
  if (!MakeFolder(destination))
    RaiseCabinetFailure(kExtractorSource,
                        "The destination folder " + Quoted(destination) + " could not be created.");

  events_.Progress(std::wstring(), 0);
  ExtractCabinetFiles(cabinet, destination, totalBytes,
                      [this](const std::string& name, int16_t percent) {
                        events_.Progress(base::FromUtf8(name), percent);
                      });
  if (totalBytes == 0)  // nothing was written to count
    events_.Progress(std::wstring(), 100);
}

}  // namespace vtq::cabinet
