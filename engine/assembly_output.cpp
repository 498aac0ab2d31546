#include "engine/assembly_output.h"

#include "engine/error.h"

namespace vtq {

namespace {

// A name beside `finalName` that no file has yet.
std::string FreeWorkingName(const std::string& finalName) {
  const std::string base = finalName + ".vtq-part";
  std::string candidate = base;
  for (int attempt = 2; FileExists(candidate); ++attempt)
    candidate = base + std::to_string(attempt);
  return candidate;
}

}  // namespace

AssemblyOutput::AssemblyOutput(std::string finalName)
    : finalName_(std::move(finalName)),
      workingName_(FreeWorkingName(finalName_)),
      finalExisted_(FileExists(finalName_)),
      file_(workingName_, File::Mode::kReplace) {}

AssemblyOutput::~AssemblyOutput() {
  if (finished_)
    return;
  try {
    KeepPartial();
  } catch (...) {
    // Already leaving on an error; the working file stays where it is.
  }
}

void AssemblyOutput::Append(const void* data, size_t size) {
  file_.Write(data, size);
}

void AssemblyOutput::Complete() {
  file_.Close();
  finished_ = true;
  ReplaceFile(workingName_, finalName_);
}

void AssemblyOutput::Discard() {
  file_.Close();
  finished_ = true;
  RemoveFile(workingName_);
}

std::string AssemblyOutput::KeepPartial() {
  file_.Close();
  finished_ = true;
  const std::string kept = finalExisted_ ? finalName_ + kPartialSuffix : finalName_;
  ReplaceFile(workingName_, kept);
  return kept;
}

}  // namespace vtq
