#include "engine/current_failure.h"

#include <new>

namespace vtq {

VbError CurrentFailure() noexcept {
  try {
    throw;
  } catch (const VbError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return VbError(err::kOutOfMemory);
  } catch (...) {
    return VbError(kInternalErrorNumber, {}, kInternalErrorText);
  }
}

}  // namespace vtq
