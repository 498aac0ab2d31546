// The module's own path, the system's error texts and the list of routines
// looked up while the program runs.
#include "base/win/module_path.h"

#include <gtest/gtest.h>

#include "base/utf8_text.h"
#include "base/win/dyn_calls.h"
#include "base/win/system_error_text.h"

namespace vtq::base::win {
namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() &&
         lstrcmpiW(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

TEST(ModulePath, TheProgramsPathNamesThisTestProgram) {
  const std::wstring path = ModulePath(nullptr);
  EXPECT_TRUE(EndsWith(path, L"\\base_tests.exe")) << base::ToUtf8(path);
  EXPECT_EQ(ModulePathUtf8(nullptr), base::ToUtf8(path));
}

TEST(ModulePath, ALoadedSystemLibraryHasItsPath) {
  EXPECT_TRUE(EndsWith(ModulePath(GetModuleHandleW(L"kernel32.dll")), L"\\kernel32.dll"));
}

TEST(SystemErrorText, TheSystemsTextWithoutItsLineEnd) {
  const std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  EXPECT_NE(text.back(), L'\r');
  EXPECT_EQ(text.find(L"System error"), std::wstring::npos);
}

TEST(SystemErrorText, ACodeWithoutTextSaysItsNumber) {
  EXPECT_EQ(SystemErrorText(0x2000FFFF), L"System error 536936447");
}

TEST(DynCalls, TheFreeSpaceRoutineIsTheSystemsOwn) {
  const auto call = Kernel32().getDiskFreeSpaceExW;
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(call),
            reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetDiskFreeSpaceExW")));
  EXPECT_EQ(&Kernel32(), &Kernel32());
}

TEST(DynCalls, AnAbsentRoutineIsNull) {
  using Fn = void(WINAPI*)();
  EXPECT_EQ(ProcAddress<Fn>(GetModuleHandleW(L"kernel32.dll"), "NoSuchRoutineAnywhere"), nullptr);
  EXPECT_EQ(ProcAddress<Fn>(nullptr, "GetDiskFreeSpaceExA"), nullptr);
}

}  // namespace
}  // namespace vtq::base::win
