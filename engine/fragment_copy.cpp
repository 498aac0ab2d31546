#include "engine/fragment_copy.h"

#include <utility>

#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq {

FragmentCopy::FragmentCopy(WorkerThreads* workers, WorkingFile fragment, int16_t number,
                           std::string sourceName, uint64_t offset, uint64_t length)
    : fragment_(std::move(fragment)),
      onAWorker_(workers != nullptr),
      number_(number),
      sourceName_(std::move(sourceName)),
      offset_(offset),
      length_(length),
      copy_(workers != nullptr ? workers->Run([this] { Copy(); }) : RunHere([this] { Copy(); })) {}

FragmentCopy::~FragmentCopy() {
  if (copy_.valid())
    copy_.wait();
}

void FragmentCopy::Copy() {
  File source(sourceName_, File::Mode::kRead);
  source.Seek(offset_);
  fragment_.CopyFrom(source, length_);
}

void FragmentCopy::Finish() {
  if (finished_)
    return;
  bool copied = false;
  if (copy_.valid()) {
    try {
      copy_.get();
      copied = true;
    } catch (const VbError&) {
      // Made again below, where the error can be trapped and retried.
    }
  }
  if (!copied) {
    fragment_ = WorkingFile(fragment_.FinalName());
    Copy();
  }
  fragment_.Complete();
  finished_ = true;
}

}  // namespace vtq
