#include "cabinet/compressor.h"

#include <windows.h>

#include <utility>

#include "base/path_parts.h"
#include "base/utf8_text.h"
#include "base/win/handles.h"
#include "base/win/wide_path.h"
#include "cabinet/cabinet_error.h"
#include "cabinet/capacity.h"
#include "cabinet/empty_files_cabinet.h"
#include "cabinet/entry_name.h"
#include "cabinet/fci_writer.h"
#include "cabinet/file_stamp.h"

namespace vtq::cabinet {
namespace {

std::string TrimSeparators(std::string text) {
  while (!text.empty() && (text.back() == '\\' || text.back() == '/'))
    text.pop_back();
  size_t start = 0;
  while (start < text.size() && (text[start] == '\\' || text[start] == '/'))
    ++start;
  return text.substr(start);
}

bool FolderExists(const std::string& folder) {
  if (folder.empty())
    return true;  // the working folder
  const std::string probe = folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
  const DWORD attributes = GetFileAttributesW(base::win::WidePath(probe).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

[[noreturn]] void Fail(std::string description) {
  RaiseCabinetFailure(kCompressorSource, std::move(description));
}

PackPlan Plan(const std::string& cabinet, bool compress, const CabEntryList& files,
              const FileSizeQuery& sizes) {
  PackPlan plan;
  plan.cabinet = cabinet;
  plan.compress = compress;
  PackedSources counted;
  for (int32_t i = 1; i <= files.Count(); ++i) {
    const CabEntry& entry = files.Item(i);
    PackItem item;
    item.source = base::ToUtf8(entry.Source);
    const std::string dir = TrimSeparators(base::ToUtf8(entry.CabDir));
    item.storedName =
        dir.empty() ? base::NamePart(item.source) : dir + "\\" + base::NamePart(item.source);
    if (const std::string reason = UnsafeEntryReason(item.storedName); !reason.empty())
      Fail("The file " + Quoted(item.source) + " cannot be stored as " + Quoted(item.storedName) +
           ": " + reason + ".");
    if (item.storedName.size() > kLongestStoredName)
      Fail("The file " + Quoted(item.source) + " cannot be stored as " + Quoted(item.storedName) +
           ": the name takes " + std::to_string(item.storedName.size()) +
           " bytes, and a cabinet holds names of " + std::to_string(kLongestStoredName) +
           " at most.");
    const std::optional<uint64_t> size = sizes(item.source);
    if (!size)
      Fail("The file " + Quoted(item.source) + " to pack could not be found.");
    item.size = *size;
    counted.fileCount += 1;
    counted.totalBytes += item.size;
    counted.nameBytes += item.storedName.size();
    plan.items.push_back(std::move(item));
  }
  if (const std::string problem = CapacityProblem(counted); !problem.empty())
    Fail(problem);
  plan.totalBytes = counted.totalBytes;
  return plan;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  const std::wstring wide = base::win::WidePath(path);
  base::win::FileHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  const bool ok =
      file &&
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  file.Reset();
  if (!ok) {
    DeleteFileW(wide.c_str());
    Fail("The cabinet " + Quoted(path) +
         " could not be written; its disk may be full or its folder missing.");
  }
}

void WriteEmptyFilesCabinet(const PackPlan& plan) {
  std::vector<EmptyEntry> entries;
  for (const PackItem& item : plan.items) {
    const FileStamp stamp = ReadFileStamp(item.source);
    entries.push_back({item.storedName, stamp.dosDate, stamp.dosTime, stamp.attributes});
  }
  WriteWhole(plan.cabinet, EmptyFilesCabinet(entries, 0x5651));
}

}  // namespace

std::optional<uint64_t> SystemFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(base::win::WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Compressor::Compressor(CompressorEvents& events, FileSizeQuery sizes)
    : events_(events), sizes_(std::move(sizes)) {}

void Compressor::Reset() {
  compression_ = true;
  cabFile_.clear();
  files_.Clear();
}

void Compressor::Compress() {
  const std::string cabinet = base::ToUtf8(cabFile_);
  if (cabinet.empty())
    Fail("No name was given for the cabinet.");
  if (files_.Count() == 0)
    Fail("There are no files to pack into the cabinet " + Quoted(cabinet) + ".");
  const PackPlan plan = Plan(cabinet, compression_, files_, sizes_);
  if (!FolderExists(base::FolderPart(cabinet)))
    Fail("The folder of the cabinet " + Quoted(cabinet) + " does not exist.");

  events_.Progress(0);
  if (plan.totalBytes == 0) {
    WriteEmptyFilesCabinet(plan);
    events_.Progress(100);
    return;
  }
  WriteCabinetWithFci(plan, [this](int16_t percent) { events_.Progress(percent); });
}

}  // namespace vtq::cabinet
