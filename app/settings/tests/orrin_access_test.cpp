// The program's access to orrinlib: beside the program without
// registration, and through the registration once the library is
// registered (in the build tree's Wine prefix).
#include "app/settings/orrin_access.h"

#include <gtest/gtest.h>

#include "base/win/restore_guards.h"

namespace vtq::settings {
namespace {

using ComThread = base::win::ScopedCom;

HRESULT CallServer(const char* entry) {
  HMODULE dll = LoadLibraryW(L"orrinlib.dll");
  if (!dll)
    return E_FAIL;
  const auto call =
      reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(dll, entry)));
  const HRESULT hr = call ? call() : E_FAIL;
  FreeLibrary(dll);
  return hr;
}

std::wstring SecondField(_OrrinModules* modules) {
  BSTR list = SysAllocString(L"first,second");
  VARIANT missing, result;
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  VariantInit(&result);
  std::wstring field = L"<failed>";
  if (SUCCEEDED(modules->GetParam(list, 2, missing, missing, &result)) &&
      V_VT(&result) == VT_BSTR) {
    field = V_BSTR(&result);
  }
  VariantClear(&result);
  SysFreeString(list);
  return field;
}

TEST(OrrinAccess, BesideTheProgramWithoutRegistration) {
  ComThread com;
  OrrinAccess access(OrrinAccess::Routes::kBesideProgramOnly);
  ASSERT_NE(access.Modules(), nullptr) << std::hex << access.LastResult();
  EXPECT_EQ(access.LastRoute(), OrrinAccess::Route::kBesideProgram);
  ASSERT_NE(access.Regging(), nullptr);
  EXPECT_EQ(access.Modules(), access.Modules());  // one instance for the run
  EXPECT_EQ(SecondField(access.Modules()), L"second");
  BSTR text = nullptr;
  EXPECT_EQ(access.Regging()->get_RegLastErr(&text), S_OK);
  SysFreeString(text);
}

TEST(OrrinAccess, RegisteredFirstElseBesideTheProgram) {
  ComThread com;
  ASSERT_EQ(CallServer("DllUnregisterServer"), S_OK);
  {
    OrrinAccess access;
    ASSERT_NE(access.Modules(), nullptr);
    EXPECT_EQ(access.LastRoute(), OrrinAccess::Route::kBesideProgram);
  }
  ASSERT_EQ(CallServer("DllRegisterServer"), S_OK);
  {
    OrrinAccess access;
    ASSERT_NE(access.Modules(), nullptr);
    EXPECT_EQ(access.LastRoute(), OrrinAccess::Route::kRegistered);
    EXPECT_EQ(SecondField(access.Modules()), L"second");
  }
  EXPECT_EQ(CallServer("DllUnregisterServer"), S_OK);
}

TEST(OrrinAccess, NullOutputIsRefused) {
  OrrinAccess access;
  EXPECT_EQ(access.Create(CLSID_Regging, IID__Regging, nullptr), E_POINTER);
}

}  // namespace
}  // namespace vtq::settings
