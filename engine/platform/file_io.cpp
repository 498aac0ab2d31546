// The parts of file access that need no system call; the rest lives in
// platform/*/file_io_*.cpp.

#include "engine/platform/file_io.h"

#include "engine/error.h"

namespace vtq {

void File::ReadExactly(void* data, size_t size) {
  if (Read(data, size) != size)
    Raise(err::kInputPastEnd);
}

bool CanOpenForReading(const std::string& name) {
  try {
    File probe(name, File::Mode::kRead);
    return true;
  } catch (const VbError&) {
    return false;
  }
}

}  // namespace vtq
