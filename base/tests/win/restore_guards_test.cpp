// The guards put back what they changed on every way out, and COM is
// uninitialised only by the guard that initialised it.
#include "base/win/restore_guards.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "base/win/handles.h"

namespace vtq::base::win {
namespace {

std::wstring WorkingFolder() {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH * 2, buffer);
  return std::wstring(buffer, length);
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return std::wstring(buffer, length);
}

bool SameFolder(std::wstring a, std::wstring b) {
  for (auto* s : {&a, &b}) {
    while (s->size() > 3 && (s->back() == L'\\' || s->back() == L'/'))
      s->pop_back();
  }
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

TEST(ScopedWorkingFolder, ChangesTheFolderAndPutsItBack) {
  const std::wstring before = WorkingFolder();
  const std::wstring temp = TempFolder();
  ASSERT_FALSE(SameFolder(before, temp)) << "the test needs two different folders";
  {
    const ScopedWorkingFolder guard(temp);
    EXPECT_TRUE(guard.Changed());
    EXPECT_TRUE(SameFolder(WorkingFolder(), temp));
  }
  EXPECT_EQ(WorkingFolder(), before);
}

TEST(ScopedWorkingFolder, PutsTheFolderBackWhenAnExceptionLeaves) {
  const std::wstring before = WorkingFolder();
  EXPECT_THROW(
      {
        const ScopedWorkingFolder guard(TempFolder());
        throw std::runtime_error("command failed");
      },
      std::runtime_error);
  EXPECT_EQ(WorkingFolder(), before);
}

TEST(ScopedWorkingFolder, AFolderThatIsNotThereChangesNothing) {
  const std::wstring before = WorkingFolder();
  {
    const ScopedWorkingFolder guard(L"Z:\\no such folder anywhere");
    EXPECT_FALSE(guard.Changed());
    EXPECT_EQ(WorkingFolder(), before);
  }
  EXPECT_EQ(WorkingFolder(), before);
}

TEST(ScopedCursor, PutsTheCursorBackAlsoWhenAnExceptionLeaves) {
  const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  const HCURSOR wait = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
  ASSERT_NE(arrow, wait);
  SetCursor(arrow);
  {
    const ScopedCursor guard(wait);
    EXPECT_EQ(GetCursor(), wait);
  }
  EXPECT_EQ(GetCursor(), arrow);
  try {
    const ScopedCursor guard(wait);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(GetCursor(), arrow);
}

TEST(ScopedSelectObject, PutsTheDeviceContextsObjectBackSoOursCanBeDeleted) {
  const HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const HGDIOBJ original = GetCurrentObject(dc, OBJ_BRUSH);
  {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(10, 20, 30)));
    {
      const ScopedSelectObject selected(dc, brush.Get());
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), original);
  }
  DeleteDC(dc);
}

// COM state is per thread: each case runs on a fresh thread of its own.
template <class Body>
void OnNewThread(Body body) {
  std::thread(body).join();
}

// Whether the thread has COM initialised, without changing that: a probe in
// a multithreaded apartment answers RPC_E_CHANGED_MODE in a single-threaded
// one, S_FALSE in a multithreaded one, S_OK where there was none.
bool ComInitialised() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(hr))
    CoUninitialize();
  return hr != S_OK;
}

TEST(ScopedCom, InitialisesAndUninitialisesTheThread) {
  OnNewThread([] {
    {
      const ScopedCom com;
      EXPECT_EQ(com.Result(), S_OK);
      EXPECT_TRUE(com.Initialised());
      EXPECT_TRUE(ComInitialised());
    }
    EXPECT_FALSE(ComInitialised());
  });
}

TEST(ScopedCom, ANestedGuardLeavesTheOuterInitialisationInPlace) {
  OnNewThread([] {
    const ScopedCom outer;
    {
      const ScopedCom inner;
      EXPECT_EQ(inner.Result(), S_FALSE);
      EXPECT_TRUE(inner.Initialised());
    }
    EXPECT_TRUE(ComInitialised());
  });
}

TEST(ScopedCom, AThreadInAnotherApartmentIsNotUninitialised) {
  OnNewThread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      const ScopedCom com;  // wants a single-threaded apartment
      EXPECT_EQ(com.Result(), RPC_E_CHANGED_MODE);
      EXPECT_FALSE(com.Initialised());
      EXPECT_TRUE(com.Usable());
    }
    // Still the caller's: uninitialising once more brings it to its end.
    EXPECT_TRUE(ComInitialised());
    CoUninitialize();
    EXPECT_FALSE(ComInitialised());
  });
}

TEST(ScopedOle, InitialisesAndUninitialisesTheThread) {
  OnNewThread([] {
    {
      const ScopedOle ole;
      EXPECT_TRUE(ole.Initialised());
      EXPECT_TRUE(ComInitialised());
    }
    EXPECT_FALSE(ComInitialised());
  });
}

}  // namespace
}  // namespace vtq::base::win
