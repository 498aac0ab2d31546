#include "comkit/com_barrier.h"

#include <new>

#include "base/vb_error.h"
#include "comkit/error_info.h"

namespace vtq::comkit {

HRESULT FailCurrentException(std::wstring_view source) noexcept {
  HRESULT hr = E_FAIL;
  try {
    try {
      throw;
    } catch (const VbError& error) {
      hr = HresultOfErrorNumber(error.Number());
      return Fail(error);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
      return Fail(hr, source, kOutOfMemoryText);
    } catch (...) {
      return Fail(hr, source, kInternalErrorText);
    }
  } catch (...) {
    // Setting the error info failed in turn (memory again): the code alone.
    return hr;
  }
}

}  // namespace vtq::comkit
