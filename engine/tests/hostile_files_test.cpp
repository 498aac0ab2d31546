// What someone who can plant files where the engine looks may try: a library
// of the cipher's name in the current folder, a FIFO or a device given as a
// fragment, links that make a folder walk endless.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/globals.h"
#include "engine/platform/file_io.h"
#include "engine/program/protection.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/scratch.h"

// Last: windows.h defines Yield, a member name of the platform seam.
#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

fs::path ProgramFolder() {
#ifdef _WIN32
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

// Changes the working folder for its lifetime.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) : saved_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~WorkingFolder() { fs::current_path(saved_); }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  fs::path saved_;
};

#ifdef _WIN32
constexpr const char* kRealLibrary = "kavrolib_refusing.dll";
constexpr const char* kPlantedName = "planted_kavrolib.dll";
#else
constexpr const char* kRealLibrary = "libkavrolib_refusing.so";
constexpr const char* kPlantedName = "libplanted_kavrolib.so";
#endif

TEST(HostileFiles, ALibraryPlantedInTheWorkingFolderIsNeverLoaded) {
  const ScratchDir scratch;
  fs::copy_file(ProgramFolder() / kRealLibrary, fs::path(scratch.Path()) / kPlantedName);
  const WorkingFolder here(scratch.Path());
  Kavrolib planted(kPlantedName);
  std::vector<uint8_t> data(10, 1);
  EXPECT_EQ(test::ErrorOf([&] { planted.Getcheck(data); }), err::kFileNotFound);
  // The one beside the program is still found by its bare name.
  Kavrolib beside(kRealLibrary);
  EXPECT_EQ(beside.Getcheck(data), 70000);
}

#ifdef _WIN32
TEST(HostileFiles, ADeviceIsRefusedAsAFile) {
  EXPECT_EQ(test::ErrorOf([&] { File("NUL", File::Mode::kRead); }), err::kPathFileAccess);
}
#else
TEST(HostileFiles, AFifoIsRefusedWithoutWaitingForAWriter) {
  const ScratchDir scratch;
  const std::string fifo = scratch / "pipe.001";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(test::ErrorOf([&] { File(fifo, File::Mode::kRead); }), err::kPathFileAccess);
  EXPECT_EQ(test::ErrorOf([&] { FileLength(fifo); }), err::kPathFileAccess);
  EXPECT_EQ(test::ErrorOf([&] { File("/dev/null", File::Mode::kRead); }), err::kPathFileAccess);

  // Given to the assembler as a first fragment, it is refused by the list.
  test::AssemblerHarness harness;
  EXPECT_EQ(harness.assembler.FilesToAssemble().Add(fifo), err::kPathFileAccess);
  ASSERT_EQ(harness.Boxes().size(), 1u);
  EXPECT_EQ(harness.Boxes()[0].text,
            "Unable to find " + fifo + "\rThis file will not be processed.");
}

// Two links back to their parents would make a walk that follows them
// endless; linked folders are reported as such and not walked, linked files
// are ordinary files.
TEST(HostileFiles, LinksToFoldersAreNotWalked) {
  const ScratchDir scratch;
  test::MakeFolder(scratch / "a");
  test::MakeFolder(scratch / "a/b");
  test::WriteText(scratch / "a/b/data.bin", "x");
  test::WriteText(scratch / "a/top.txt", "y");
  ASSERT_EQ(symlink("..", (scratch / "a/b/up").c_str()), 0);
  ASSERT_EQ(symlink("../..", (scratch / "a/b/upup").c_str()), 0);
  ASSERT_EQ(symlink("top.txt", (scratch / "a/linked.txt").c_str()), 0);

  std::map<std::string, uint32_t> seen;
  ASSERT_TRUE(SystemFolders().Enumerate(scratch / "a/b/*", [&](const FindEntry& entry) {
    seen[std::string(entry.name.data())] = entry.attributes;
  }));
  EXPECT_EQ(seen.at("up"), FindEntry::kDirectory | FindEntry::kReparsePoint);
  EXPECT_EQ(seen.at("data.bin") & FindEntry::kDirectory, 0u);

  std::vector<std::string> found;
  CollectFolderFiles(SystemFolders(), scratch / "a", "*", "*", found);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{scratch / "a/b/data.bin", scratch / "a/linked.txt",
                                             scratch / "a/top.txt"}));
}
#endif

}  // namespace
}  // namespace vtq
