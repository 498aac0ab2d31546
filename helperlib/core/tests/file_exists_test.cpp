#include "helperlib/core/file_exists.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/tests/support/scratch.h"

namespace orrin {
namespace {

std::wstring Wide(const std::string& ansi) {
  return std::wstring(ansi.begin(), ansi.end());
}

TEST(FileExists, ExistingMissingAndFolder) {
  vtq::test::ScratchDir dir;
  vtq::test::WriteText(dir / "here.txt", "x");
  EXPECT_TRUE(FileExists(Wide(dir / "here.txt")));
  EXPECT_FALSE(FileExists(Wide(dir / "gone.txt")));
  EXPECT_FALSE(FileExists(Wide(dir / "nofolder\\gone.txt")));
  EXPECT_FALSE(FileExists(L""));
  vtq::test::MakeFolder(dir / "sub");
  EXPECT_FALSE(FileExists(Wide(dir / "sub")));
}

TEST(FileExists, FileHeldOpenWithoutSharingExists) {
  vtq::test::ScratchDir dir;
  const std::wstring name = Wide(dir / "held.txt");
  HANDLE held = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(FileExists(name));
  CloseHandle(held);
  EXPECT_TRUE(FileExists(name));
}

}  // namespace
}  // namespace orrin
