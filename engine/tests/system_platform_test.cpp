// The system layer on the machine the tests run on: the temp folder's drive,
// a real folder enumeration and the system's naming of paths and libraries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/disk_space.h"
#include "engine/path.h"
#include "engine/platform/platform.h"
#include "engine/platform/remembered_drive_types.h"
#include "engine/platform/shared_library.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

namespace vtq {
namespace {

using test::ScratchDir;

std::string NameOf(const FindEntry& entry) {
  return std::string(entry.name.data(), strnlen(entry.name.data(), entry.name.size()));
}

TEST(SystemDrives, TempFolderIsAFixedDriveWithRoom) {
  const ScratchDir scratch;
  const std::string root = DriveRoot(scratch.Path());
  Drives& drives = SystemDrives();
  EXPECT_EQ(drives.TypeOf(root), DriveType::kFixed);
  ASSERT_TRUE(drives.HasExtendedFreeSpace());
  const auto freeBytes = drives.FreeBytesAvailable(root);
  ASSERT_TRUE(freeBytes.has_value());
  EXPECT_GT(*freeBytes, 0u);
  const auto clusters = drives.Clusters(root);
  ASSERT_TRUE(clusters.has_value());
  EXPECT_GT(clusters->bytesPerSector, 0u);
  EXPECT_GT(clusters->sectorsPerCluster, 0u);
  EXPECT_GE(clusters->totalClusters, clusters->freeClusters);
  EXPECT_GT(DiskFreeSpace(drives, root), Currency());
}

#ifndef _WIN32
TEST(SystemDrives, NativeDriveOfANameYetToBeWrittenIsItsFolder) {
  const ScratchDir scratch;
  Drives& drives = SystemDrives();
  const std::string missing = scratch / "not/yet/there.001";
  EXPECT_EQ(drives.TypeOf(missing), DriveType::kFixed);
  EXPECT_TRUE(drives.FreeBytesAvailable(missing).has_value());
  EXPECT_EQ(drives.TypeOf(""), DriveType::kNoRootDir);
  EXPECT_FALSE(drives.FreeBytesAvailable("").has_value());
  EXPECT_FALSE(drives.Clusters("").has_value());
}

#endif

// The console's drives: each type asked of the system once, free space
// every time (it changes with every fragment and every disk).
TEST(RememberedDriveTypes, AskEachDrivesTypeOnceAndTheFreeSpaceEveryTime) {
  test::FakeDrives system;
  system.drives["A:\\"] = {DriveType::kRemovable, 1000, std::nullopt};
  system.drives["C:\\"] = {DriveType::kFixed, 5000, std::nullopt};
  RememberedDriveTypes drives(system);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(drives.TypeOf("A:\\"), DriveType::kRemovable);
    EXPECT_EQ(drives.TypeOf("C:\\"), DriveType::kFixed);
    EXPECT_EQ(drives.TypeOf("Q:\\"), DriveType::kNoRootDir);
  }
  EXPECT_EQ(system.typeQueries, (std::vector<std::string>{"A:\\", "C:\\", "Q:\\"}));
  system.drives["A:\\"].freeBytes = 10;
  EXPECT_EQ(drives.FreeBytesAvailable("A:\\"), 10u);
  EXPECT_TRUE(drives.HasExtendedFreeSpace());
}

TEST(SystemFolders, EnumeratesDotEntriesFoldersAndFiles) {
  const ScratchDir scratch;
  test::WriteText(scratch / "a.txt", "a");
  test::WriteText(scratch / "README", "");
  test::MakeFolder(scratch / "sub.dir");
  std::map<std::string, uint32_t> seen;
  std::vector<std::string> order;
  ASSERT_TRUE(SystemFolders().Enumerate(scratch.Path() + "*", [&](const FindEntry& entry) {
    EXPECT_EQ(entry.name.back(), '\0');
    seen[NameOf(entry)] = entry.attributes;
    order.push_back(NameOf(entry));
  }));
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(order.size(), 5u);
  EXPECT_NE(seen.at(".") & FindEntry::kDirectory, 0u);
  EXPECT_NE(seen.at("..") & FindEntry::kDirectory, 0u);
  EXPECT_NE(seen.at("sub.dir") & FindEntry::kDirectory, 0u);
  EXPECT_EQ(seen.at("a.txt") & FindEntry::kDirectory, 0u);
  EXPECT_EQ(seen.at("README") & FindEntry::kDirectory, 0u);
}

TEST(SystemFolders, EnumerationCanNestWhileTheOuterOneIsOpen) {
  const ScratchDir scratch;
  test::MakeFolder(scratch / "one");
  test::WriteText(scratch / "one" + kPathSeparator + "inner.bin", "x");
  std::vector<std::string> inner;
  ASSERT_TRUE(SystemFolders().Enumerate(scratch.Path() + "*", [&](const FindEntry& entry) {
    if (NameOf(entry) != "one")
      return;
    SystemFolders().Enumerate(scratch / "one" + kPathSeparator + "*",
                              [&](const FindEntry& e) { inner.push_back(NameOf(e)); });
  }));
  EXPECT_NE(std::find(inner.begin(), inner.end(), "inner.bin"), inner.end());
}

TEST(SystemFolders, MissingFolderCannotBeEnumerated) {
  const ScratchDir scratch;
  int visits = 0;
  EXPECT_FALSE(SystemFolders().Enumerate(scratch / "gone" + kPathSeparator + "*",
                                         [&](const FindEntry&) { ++visits; }));
  EXPECT_EQ(visits, 0);
}

TEST(SystemPlatform, IsTheNtFamilyUnderWindowsOnly) {
#ifdef _WIN32
  EXPECT_TRUE(IsNtFamily());
#else
  EXPECT_FALSE(IsNtFamily());
#endif
}

TEST(SystemNames, SeparatorAndLibraryFileNamesFollowTheSystem) {
#ifdef _WIN32
  EXPECT_EQ(kPathSeparator, '\\');
  EXPECT_EQ(SharedLibrary::FileName("kavrolib"), "kavrolib.dll");
  EXPECT_EQ(SharedLibrary::FileName(""), ".dll");
#else
  EXPECT_EQ(kPathSeparator, '/');
  EXPECT_EQ(SharedLibrary::FileName("kavrolib"), "libkavrolib.so");
  EXPECT_EQ(SharedLibrary::FileName(""), "lib.so");
#endif
}

TEST(SystemNames, TheLibraryByItsSystemNameLoadsBesideTheProgram) {
  const SharedLibrary library = SharedLibrary::Open(SharedLibrary::FileName("kavrolib"));
  ASSERT_TRUE(library.IsLoaded());
  EXPECT_NE(library.Find("getcheck"), nullptr);
  EXPECT_EQ(library.Find("no_such_routine"), nullptr);
}

}  // namespace
}  // namespace vtq
