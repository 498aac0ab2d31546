// A stand-in for kavrolib that refuses every cipher call and answers a check
// value outside 16 bits, for the engine's failure paths.

#include "kavrolib/kavrolib_api.h"

int32_t KAVROLIB_CALL qweave(uint8_t*, const char*, uint32_t) {
  return kavrolib_status_failed;
}

int32_t KAVROLIB_CALL getcheck(const uint8_t*, uint32_t length) {
  return length == 0 ? -40000 : 70000;
}
