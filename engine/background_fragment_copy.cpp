#include "engine/background_fragment_copy.h"

#include <system_error>
#include <utility>

#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq {

BackgroundFragmentCopy::BackgroundFragmentCopy(WorkingFile fragment, int16_t number,
                                               std::string sourceName, uint64_t offset,
                                               uint64_t length)
    : fragment_(std::move(fragment)),
      number_(number),
      sourceName_(std::move(sourceName)),
      offset_(offset),
      length_(length) {
  try {
    copy_ = std::async(std::launch::async, [this] { Copy(); });
  } catch (const std::system_error&) {
    // No thread to be had: Finish copies on the caller's thread.
  }
}

BackgroundFragmentCopy::~BackgroundFragmentCopy() {
  if (copy_.valid())
    copy_.wait();
}

void BackgroundFragmentCopy::Copy() {
  File source(sourceName_, File::Mode::kRead);
  source.Seek(offset_);
  fragment_.CopyFrom(source, length_);
}

void BackgroundFragmentCopy::Finish() {
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
