#include "base/libraries/gcrypt_start.h"

#include <gcrypt.h>

namespace vtq::base {

bool StartGcrypt() {
  static const bool started = [] {
    if (gcry_check_version(GCRYPT_VERSION) == nullptr)
      return false;
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  return started;
}

}  // namespace vtq::base
