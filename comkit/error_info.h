#pragma once
// Errors at the COM edge: an HRESULT for the call and, for automation
// clients, the thread's error info with source and description (what a
// script reads as Err.Source and Err.Description).

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace vtq {
class VbError;
}

namespace vtq::comkit {

// Sets the thread's error info and returns hr, so that a member can
// `return Fail(...)`. No help file is named when helpFile is empty.
HRESULT Fail(HRESULT hr, std::wstring_view source, std::wstring_view description,
             std::wstring_view helpFile = {});

// The HRESULT that carries a classic run-time error number: numbers of the
// classic range (1 to 65535) as FACILITY_CONTROL errors, as the classic
// runtime's own servers raise them (53 becomes 0x800A0035, which a classic
// client reads back as 53); object errors (the object-error base 0x80040000
// plus a code, and any other negative number) are HRESULTs already and pass
// unchanged. Anything else (0, numbers beyond 16 bits) is no error a client
// could read back and becomes E_FAIL.
HRESULT HresultOfErrorNumber(int32_t number);

// An engine error as it leaves through a COM member: its number as above,
// its source and description (ANSI code page text) as the error info.
HRESULT Fail(const VbError& error);

}  // namespace vtq::comkit
