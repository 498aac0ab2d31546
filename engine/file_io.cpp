// The parts of file access that need no system call; the rest lives in
// platform/*/file_io_*.cpp.

#include "engine/file_io.h"

#include "engine/error.h"

namespace vtq {

void File::ReadExactly(void* data, size_t size) {
  if (Read(data, size) != size)
    Raise(err::kInputPastEnd);
}

}  // namespace vtq
