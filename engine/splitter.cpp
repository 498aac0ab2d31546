#include "engine/splitter.h"

#include "engine/disk_space.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"
#include "engine/stored_name.h"

namespace vtq {

ActiveSplitter::ActiveSplitter(Globals& globals, SplitterEvents& events)
    : globals_(globals), events_(events) {}

ActiveSplitter::~ActiveSplitter() {
  SecureWipe(encryptionKey_);
}

FileList& ActiveSplitter::FilesToSplit() {
  if (!files_)
    files_ = std::make_unique<FileList>(globals_);
  return *files_;
}

void ActiveSplitter::SetDestinationFolder(const std::string& folder) {
  destination_ = WithTrailingSeparator(folder);
}

void ActiveSplitter::SetFileFormat(int32_t format) {
  format_ =
      (format < aftQuorvelle || format > aftBrannock) ? aftRaw : static_cast<AftFileFormat>(format);
}

int32_t ActiveSplitter::Clamped(int32_t size) const {
  const Currency largest = globals_.MaxFragSizeSupported();
  if (Currency::FromWhole(size) > largest)
    size = static_cast<int32_t>(largest.Whole());
  if (size < globals_.MinFragSizeSupported())
    size = globals_.MinFragSizeSupported();
  return size;
}

void ActiveSplitter::SetFragmentSize(int32_t& size) {
  size = Clamped(size);
  fragmentSize_ = size;
  if (!multisize_)
    firstFragmentSize_ = size;
}

void ActiveSplitter::SetFragmentSizeAtStart(int32_t& size) {
  size = Clamped(size);
  firstFragmentSize_ = size;
  if (!multisize_) {
    ReportMultisizeFlag(true);
    multisize_ = true;
  }
}

void ActiveSplitter::SetDifferentSizeAtStart(bool different) {
  // The older format has no field for a first size of its own.
  if (format_ == aftBrannock)
    different = false;
  if (!different)
    firstFragmentSize_ = fragmentSize_;
  if (different != multisize_) {
    ReportMultisizeFlag(different);
    multisize_ = different;
  }
}

std::string ActiveSplitter::HeaderText(const ItemIndex& file, bool estimate) {
  (void)estimate;  // changes the fragment-count field only, never a length
  const std::string name = StoredSourceName(file);
  switch (format_) {
    case aftRaw:
      return {};
    case aftBrannock:
      return name + kEscape;
    case aftQuorvelle:
      break;
  }
  // Only measured: the records themselves are written by the run.
  return std::string(HeaderLength(name.size(), Encrypting()), '#');
}

std::string ActiveSplitter::StoredSourceName(const ItemIndex& file) {
  return StoredName(BaseName(FilesToSplit().Item(file)), *globals_.GetPlatform().codePage);
}

std::string ActiveSplitter::FormatRecordBytes() const {
  return EncodeFormatRecord(FormatRecord{});
}

std::string ActiveSplitter::FileRecordBytes(const ItemIndex& file, bool estimate) {
  FileRecord record;
  // The estimate breaks the circle: counting fragments needs the header's
  // length, which the count field cannot change.
  record.fragmentCount = estimate ? int16_t{999} : FragsNeeded(file);
  record.sourceName = StoredSourceName(file);
  record.multisize = multisize_;
  record.encrypted = Encrypting();
  record.checkable = CheckDigitBytes() != 0;
  return EncodeFileRecord(record);
}

int16_t ActiveSplitter::FragsNeeded(const ItemIndex& file) {
  const int64_t prefix = static_cast<int64_t>(HeaderText(file, true).size());
  const int64_t source = static_cast<int64_t>(FileLength(FilesToSplit().Item(file)));
  const int64_t c = CheckDigitBytes();
  const int64_t count = FragmentCountFor(prefix, source, firstFragmentSize_, fragmentSize_, c);
  if (count > INT16_MAX)
    Raise(err::kOverflow);
  return static_cast<int16_t>(count);
}

bool ActiveSplitter::EnoughDiskSpace(const std::string& drive, const ItemIndex& file,
                                     bool freespace) {
  const std::string root = DriveRoot(drive);
  const Currency needed =
      Currency::FromWhole(static_cast<int64_t>(FileLength(FilesToSplit().Item(file)))) +
      Currency::FromWhole(static_cast<int64_t>(HeaderText(file, true).size()));
  Drives& drives = globals_.GetPlatform().drives;
  // The destination decides the rule, whatever drive is measured.
  if (globals_.DiskRemovable(destination_)) {
    Currency perDisk = freespace ? DiskFreeSpace(drives, root) : DiskCapacity(drives, root);
    // The capacity query reads 0 for a disk beyond 2 GB (its figures overflow
    // 32 bits). Such a disk is not "none": judge it by what is free on it now,
    // so that large removable media are not refused outright.
    if (!freespace && perDisk == Currency())
      perDisk = DiskFreeSpace(drives, root);
    return perDisk * FragsNeeded(file) >= needed;
  }
  return DiskFreeSpace(drives, root) >= needed;
}

void ActiveSplitter::Split() {
  if (!files_)
    return;
  // Copied: an event handler may change the list while a run goes on.
  const std::vector<std::string> names(files_->begin(), files_->end());
  for (const std::string& name : names)
    SplitFile(name);
}

void ActiveSplitter::SetEncryptionKey(const std::string& key) {
  // A longer key would move to a new buffer and leave the old one unwiped.
  SecureWipe(encryptionKey_);
  encryptionKey_ = key;
  SetUseEncryption(true);
}

void ActiveSplitter::SetUseEncryption(bool use) {
  useEncryption_ = use && !encryptionKey_.empty();
}

}  // namespace vtq
