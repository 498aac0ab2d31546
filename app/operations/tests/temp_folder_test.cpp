// The temporary folder as the system reports it, and as the commands use it.
#include "app/operations/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vtq {
namespace {

TEST(TempFolderFrom, KeepsTheReportedLengthAndDropsOneBackslash) {
  std::string buffer(kTempPathBuffer, '\0');
  const std::string reported = "C:\\WINDOWS\\TEMP\\";
  buffer.replace(0, reported.size(), reported);
  EXPECT_EQ(TempFolderFrom(buffer, static_cast<uint32_t>(reported.size())), "C:\\WINDOWS\\TEMP");
  // Only the reported characters count, whatever else the buffer holds.
  buffer.replace(reported.size(), 4, "JUNK");
  EXPECT_EQ(TempFolderFrom(buffer, 10), "C:\\WINDOWS");
  // One backslash only, and none at all stays as it is.
  EXPECT_EQ(TempFolderFrom("C:\\\\", 4), "C:\\");
  EXPECT_EQ(TempFolderFrom("D:\\SCRATCH", 10), "D:\\SCRATCH");
  // The call failed, or the folder did not fit the buffer.
  EXPECT_EQ(TempFolderFrom(buffer, 0), "");
  EXPECT_EQ(TempFolderFrom(buffer, kTempPathBuffer + 40), "");
}

TEST(TempFolder, IsAnExistingFolderWithoutTrailingSeparator) {
  const std::string folder = TempFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
}

}  // namespace
}  // namespace vtq
