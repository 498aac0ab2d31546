#include "base/win/dyn_calls.h"

namespace vtq::base::win {
namespace {

Kernel32Calls LookUpKernel32() {
  // kernel32 is in every process and never unloaded: no reference is taken.
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  Kernel32Calls calls;
  calls.getDiskFreeSpaceExW =
      ProcAddress<Kernel32Calls::GetDiskFreeSpaceExWFn>(kernel, "GetDiskFreeSpaceExW");
  return calls;
}

Shell32Calls LookUpShell32() {
  const HMODULE shell = GetModuleHandleW(L"shell32.dll");
  Shell32Calls calls;
  calls.shGetPathFromIDListEx =
      ProcAddress<Shell32Calls::SHGetPathFromIDListExFn>(shell, "SHGetPathFromIDListEx");
  return calls;
}

}  // namespace

const Kernel32Calls& Kernel32() {
  static const Kernel32Calls calls = LookUpKernel32();
  return calls;
}

const Shell32Calls& Shell32() {
  static const Shell32Calls calls = LookUpShell32();
  return calls;
}

}  // namespace vtq::base::win
