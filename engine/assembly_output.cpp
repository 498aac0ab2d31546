#include "engine/assembly_output.h"

#include <utility>

namespace vtq {

AssemblyOutput::AssemblyOutput(std::string finalName, KeptPartial onKeptPartial)
    : file_(std::move(finalName)), onKeptPartial_(std::move(onKeptPartial)) {}

AssemblyOutput::~AssemblyOutput() {
  if (finished_)
    return;
  try {
    KeepPartial();
  } catch (...) {
    // Already leaving on an error; the working file goes with the object.
  }
}

void AssemblyOutput::Append(const void* data, size_t size) {
  file_.Write(data, size);
}

void AssemblyOutput::AppendFrom(File& source, uint64_t length) {
  file_.CopyFrom(source, length);
}

void AssemblyOutput::Complete() {
  // A whole output that cannot take its name is kept beside it instead.
  file_.Complete();
  finished_ = true;
}

void AssemblyOutput::Discard() {
  finished_ = true;
  file_.Discard();
}

std::string AssemblyOutput::KeepPartial() {
  finished_ = true;
  const std::string kept = file_.KeepBeside(kPartialSuffix);
  if (onKeptPartial_)
    onKeptPartial_(kept);
  return kept;
}

}  // namespace vtq
