#pragma once
// System routines newer than the oldest systems the program runs on, looked
// up once while it runs, all in this one list. A member is null where the
// system lacks the routine, and callers take their older way then.

#include <windows.h>

namespace vtq::base::win {

// A routine of a loaded module by name, as its real type; null when absent.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
  if (module == nullptr)
    return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct Kernel32Calls {
  // Free space beyond 2 GiB; without it only the cluster counts are known.
  using GetDiskFreeSpaceExWFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                              PULARGE_INTEGER);
  GetDiskFreeSpaceExWFn getDiskFreeSpaceExW = nullptr;
};

// Looked up on first use; the same answers for the life of the process.
const Kernel32Calls& Kernel32();

struct Shell32Calls {
  // A folder's path of any length (from Vista on); SHGetPathFromIDListW
  // stops at MAX_PATH characters.
  using SHGetPathFromIDListExFn = BOOL(WINAPI*)(const void* /*PCIDLIST_ABSOLUTE*/, LPWSTR, DWORD,
                                                int /*GPFIDL_FLAGS*/);
  SHGetPathFromIDListExFn shGetPathFromIDListEx = nullptr;
};

// Shell32 as the process has it loaded (the window's build links it);
// every member null where it is not.
const Shell32Calls& Shell32();

}  // namespace vtq::base::win
