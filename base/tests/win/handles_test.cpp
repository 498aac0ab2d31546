// Each Win32 handle kind with its own "none" value: a failed call is never
// closed, a real handle is given back to the system exactly once.
#include "base/win/handles.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win/module_path.h"

namespace vtq::base::win {
namespace {

std::wstring OwnPath() {
  return ModulePath(nullptr);
}

FileHandle OpenForReading(const std::wstring& name) {
  return FileHandle(
      CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(Win32Handles, AFailedCreateFileIsNoFileAndIsNotClosed) {
  const FileHandle file = OpenForReading(L"Z:\\no such folder\\no such file");
  EXPECT_FALSE(file);
  EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
}

TEST(Win32Handles, AFileIsClosedWhenItsOwnerGoes) {
  HANDLE raw = nullptr;
  {
    const FileHandle file = OpenForReading(OwnPath());
    ASSERT_TRUE(file);
    raw = file.Get();
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

TEST(Win32Handles, ATakenFileStaysOpen) {
  FileHandle file = OpenForReading(OwnPath());
  ASSERT_TRUE(file);
  const HANDLE raw = file.Take();
  file.Reset();
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(raw, &flags));
  EXPECT_TRUE(CloseHandle(raw));
}

TEST(Win32Handles, KernelHandlesFailWithNull) {
  const KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_TRUE(event);
  const KernelHandle failed;
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.Get(), nullptr);
}

TEST(Win32Handles, AFindThatFoundNothingIsNoHandle) {
  WIN32_FIND_DATAW data{};
  const FindHandle none(FindFirstFileW(L"Z:\\no such folder\\*", &data));
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
  const FindHandle found(FindFirstFileW(OwnPath().c_str(), &data));
  EXPECT_TRUE(found);
}

TEST(Win32Handles, AKeyOpenedThroughReceiveIsHeld) {
  RegKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, key.Receive()),
            ERROR_SUCCESS);
  EXPECT_TRUE(key);
  RegKey missing;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\No such key at all", 0, KEY_READ,
                          missing.Receive()),
            ERROR_SUCCESS);
  EXPECT_FALSE(missing);
}

TEST(Win32Handles, ALoadedLibraryIsFreedWhenItsOwnerGoes) {
  {
    const LoadedModule module(LoadLibraryW(L"msacm32.dll"));
    ASSERT_TRUE(module);
    EXPECT_NE(GetModuleHandleW(L"msacm32.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleW(L"msacm32.dll"), nullptr);
}

TEST(Win32Handles, AGdiObjectIsDeletedWhenItsOwnerGoes) {
  HBRUSH raw = nullptr;
  {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush);
    raw = brush.Get();
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

// A COM object that counts its references.
class Counted final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = riid == IID_IUnknown ? this : nullptr;
    if (!*out)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  ULONG refs = 1;
};

TEST(Win32Handles, AComReferenceIsReleasedOnce) {
  Counted object;
  {
    ComRef<IUnknown> first(&object);
    ComRef<IUnknown> second(std::move(first));
    EXPECT_EQ(object.refs, 1u);
  }
  EXPECT_EQ(object.refs, 0u);
}

}  // namespace
}  // namespace vtq::base::win
