#pragma once
/* The exported routines of kavrolib, for programs that load it by name.
 *
 * qweave(data, key, length): enciphers or deciphers `length` bytes of `data`
 *   in place under the NUL-terminated ANSI passphrase `key` (the same call does
 *   both). Returns kavrolib_status_ok; on any other result the bytes are
 *   unchanged. The key text is never written.
 * getcheck(data, length): a 16-bit check value of the bytes, sign-extended to
 *   32 bits (always within -32768 ... 32767).
 * Both are __stdcall on Windows, exported under their plain names. */

#include <stdint.h>

#if defined(_WIN32)
#define KAVROLIB_CALL __stdcall
#define KAVROLIB_EXPORT
#else
#define KAVROLIB_CALL
#define KAVROLIB_EXPORT __attribute__((visibility("default")))
#endif

#define kavrolib_status_ok 0
#define kavrolib_status_bad_argument 1
#define kavrolib_status_failed 2

#ifdef __cplusplus
extern "C" {
#endif

KAVROLIB_EXPORT int32_t KAVROLIB_CALL qweave(uint8_t* data, const char* key, uint32_t length);
KAVROLIB_EXPORT int32_t KAVROLIB_CALL getcheck(const uint8_t* data, uint32_t length);

/* The same routines as a program finds them with GetProcAddress / dlsym. */
typedef int32_t(KAVROLIB_CALL* kavrolib_qweave_fn)(uint8_t* data, const char* key, uint32_t length);
typedef int32_t(KAVROLIB_CALL* kavrolib_getcheck_fn)(const uint8_t* data, uint32_t length);

#ifdef __cplusplus
}
#endif
