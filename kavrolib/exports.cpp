// The library's two exported routines. Callers load the library by name and
// look the routines up by their plain names (stdcall on Windows).

#include <cstring>
#include <mutex>

#include "kavrolib/kavrolib_api.h"
#include "kavrolib/weave.h"

namespace {

// The library's one piece of state: the last passphrase's master key, wiped
// when the library is unloaded.
struct LibraryState {
  std::mutex lock;
  kavro::KeyCache keys;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

}  // namespace

int32_t KAVROLIB_CALL qweave(uint8_t* data, const char* key, uint32_t length) {
  if (key == nullptr || (data == nullptr && length != 0))
    return kavrolib_status_bad_argument;
  if (length == 0)
    return kavrolib_status_ok;
  LibraryState& state = State();
  const std::lock_guard guard(state.lock);
  const kavro::MasterKey* master =
      state.keys.For({reinterpret_cast<const uint8_t*>(key), std::strlen(key)});
  if (master == nullptr)
    return kavrolib_status_failed;
  return kavro::Weave({data, length}, *master) ? kavrolib_status_ok : kavrolib_status_failed;
}

int32_t KAVROLIB_CALL getcheck(const uint8_t* data, uint32_t length) {
  if (data == nullptr)
    length = 0;
  return kavro::Getcheck({data, length});
}
