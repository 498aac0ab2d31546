#include "engine/working_file.h"

#include <cstdio>
#include <random>
#include <utility>

#include "engine/error.h"
#include "engine/path.h"

namespace vtq {

namespace {

// Names are tried, not tested first: another program may take a name
// between a test and the creation, and a test would not see a dangling link.
constexpr int kNameAttempts = 1000;

// ".vtq" + 8 hex digits + ".tmp": short, so that it fits wherever the final
// name fits, and unlike any name the engine gives a finished file.
std::string WorkingNameIn(const std::string& folder, uint32_t number) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(number));
  return folder + ".vtq" + hex + ".tmp";
}

File CreateNew(const std::string& name) {
  return File(name, File::Mode::kCreateNew);
}

}  // namespace

WorkingFile::WorkingFile(std::string finalName) : finalName_(std::move(finalName)) {
  if (FolderExists(finalName_))
    RaiseAbout(finalName_, err::kPermissionDenied);
  const std::string folder = FolderPart(finalName_);
  std::random_device random;
  const uint32_t start = random();
  for (int attempt = 0;; ++attempt) {
    const std::string candidate = WorkingNameIn(folder, start + static_cast<uint32_t>(attempt));
    try {
      file_ = CreateNew(candidate);
    } catch (const VbError& error) {
      if (error.Number() == err::kFileAlreadyExists && attempt + 1 < kNameAttempts)
        continue;
      throw;
    }
    name_ = candidate;
    pending_ = true;
    return;
  }
}

WorkingFile WorkingFile::InPlace(std::string finalName) {
  WorkingFile in(std::move(finalName));
  // The empty working file takes the name at once and is written under it:
  // whatever had the name is replaced, never truncated, written or deleted
  // through (a link included, whose target a deletion may take on some
  // systems), and its room is free for the new data.
  ReplaceFile(in.name_, in.finalName_);
  in.name_ = in.finalName_;
  return in;
}

WorkingFile::~WorkingFile() {
  Forget();
}

WorkingFile::WorkingFile(WorkingFile&& other) noexcept
    : finalName_(std::move(other.finalName_)),
      name_(std::move(other.name_)),
      file_(std::move(other.file_)),
      pending_(std::exchange(other.pending_, false)) {}

WorkingFile& WorkingFile::operator=(WorkingFile&& other) noexcept {
  if (this != &other) {
    Forget();
    finalName_ = std::move(other.finalName_);
    name_ = std::move(other.name_);
    file_ = std::move(other.file_);
    pending_ = std::exchange(other.pending_, false);
  }
  return *this;
}

void WorkingFile::Forget() {
  if (!pending_)
    return;
  try {
    Discard();
  } catch (const VbError&) {
    // Already leaving; a working file that cannot go stays under its own
    // name, which no finished file ever has.
  }
}

void WorkingFile::Write(const void* data, size_t size) {
  file_.Write(data, size);
}

void WorkingFile::Seek(uint64_t offset) {
  file_.Seek(offset);
}

void WorkingFile::CopyFrom(File& source, uint64_t length, File::CopyPath path) {
  source.CopyTo(file_, length, path);
}

void WorkingFile::Close() {
  file_.Close();
}

void WorkingFile::Complete() {
  file_.Close();
  // Still ours until the rename succeeds: a failed one leaves it to Discard.
  if (name_ != finalName_)
    ReplaceFile(name_, finalName_);
  pending_ = false;
}

void WorkingFile::Discard() {
  file_.Close();
  pending_ = false;
  RemoveFile(name_);
}

std::string WorkingFile::KeepBeside(const std::string& suffix) {
  file_.Close();
  for (int number = 1; number <= kNameAttempts; ++number) {
    const std::string candidate =
        WithSuffixThatFits(finalName_, number == 1 ? suffix : suffix + std::to_string(number));
    if (MoveToFreeName(name_, candidate)) {
      pending_ = false;
      return candidate;
    }
  }
  Raise(err::kFileAlreadyExists);
}

std::string WithSuffixThatFits(const std::string& fullName, const std::string& suffix) {
  const size_t baseLength = BaseName(fullName).size();
  if (baseLength + suffix.size() <= kLongestBaseName)
    return fullName + suffix;
  size_t keep = fullName.size() - baseLength + (kLongestBaseName - suffix.size());
  // Not inside a character of several bytes (UTF-8 continuation bytes).
  while (keep > fullName.size() - baseLength &&
         (static_cast<unsigned char>(fullName[keep]) & 0xC0) == 0x80) {
    --keep;
  }
  return fullName.substr(0, keep) + suffix;
}

}  // namespace vtq
