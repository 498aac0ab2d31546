// File versions, copies, times and INI files, on real files in a scratch
// folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "engine/tests/support/scratch.h"
#include "helperlib/core/file_copy.h"
#include "helperlib/core/file_time.h"
#include "helperlib/core/file_version.h"
#include "helperlib/core/ini_file.h"

namespace orrin {
namespace {

using vtq::test::ReadBytes;
using vtq::test::WriteText;

std::wstring Wide(const std::string& path) {
  return vtq::base::FromUtf8(path);
}

std::string Text(const std::string& file) {
  const auto bytes = ReadBytes(file);
  return std::string(bytes.begin(), bytes.end());
}

// The DLL built beside the tests, with its version resource.
std::wstring OrrinlibPath() {
  return Wide(std::string(VTQ_BINARY_DIR) + "/bin/orrinlib.dll");
}

TEST(FileVersionTest, ReadsEveryItemOfOurDll) {
  const std::wstring dll = OrrinlibPath();
  ASSERT_NE(GetFileAttributesW(dll.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FileVersionString(dll, VersionItem::kFileVersion), L"1.0.0.2");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kProductVersion), L"1.0.0.2");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kInternalName), L"OrrinModules32");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kOriginalFileName), L"orrinlib.dll");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kFileDescription),
            L"OrrinModules32 general helper routines");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kCompanyName), L"Vantrelloquin");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kProductName), L"Vantrelloquin");
  EXPECT_EQ(FileVersionString(dll, VersionItem::kLegalCopyright), L"Vantrelloquin developers");
}

TEST(FileVersionTest, FilesWithoutAResourceGiveNothing) {
  vtq::test::ScratchDir dir;
  WriteText(dir / "plain.txt", "no resource here");
  EXPECT_EQ(FileVersionString(Wide(dir / "plain.txt"), VersionItem::kFileVersion), L"");
  EXPECT_EQ(FileVersionString(Wide(dir / "missing.dll"), VersionItem::kFileVersion), L"");
}

class FileCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(source_, "new content");
    SetAge(source_, 2000);
  }
  // Sets the last-written time `minutes` after a fixed day.
  static void SetAge(const std::string& file, int minutes) {
    ASSERT_TRUE(WriteFileTime(Wide(file), FileTimeKind::kAll, 45000.0 + minutes / 1440.0));
  }
  static double Written(const std::string& file) {
    return ReadFileTime(Wide(file), FileTimeKind::kLastWritten).value_or(-1);
  }
  CopyResult Copy(unsigned flags, bool answer = false) {
    CopyOptions options;
    options.flags = flags;
    options.askReplace = [this, answer] {
      ++questions_;
      return answer;
    };
    return CopyWithOptions(Wide(source_), Wide(dest_), options);
  }
  vtq::test::ScratchDir dir_;
  std::string source_ = dir_ / "source.dat";
  std::string dest_ = dir_ / "dest.dat";
  int questions_ = 0;
};

TEST_F(FileCopyTest, CopiesWithTheSourcesTimesUnlessTold) {
  std::vector<int> steps;
  CopyOptions options;
  options.progress = [&](int percent) { steps.push_back(percent); };
  ASSERT_EQ(CopyWithOptions(Wide(source_), Wide(dest_), options), CopyResult::kNoError);
  EXPECT_EQ(Text(dest_), "new content");
  EXPECT_DOUBLE_EQ(Written(dest_), Written(source_));
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.front(), 0);
  EXPECT_EQ(steps.back(), 100);
  ASSERT_EQ(Copy(kCopyDontSyncDate), CopyResult::kNoError);
  EXPECT_GT(Written(dest_), Written(source_) + 1);  // now, years after the source
  EXPECT_EQ(vtq::test::NamesIn(dir_.Path()), (std::vector<std::string>{"dest.dat", "source.dat"}));
}

TEST_F(FileCopyTest, ExistingDestinationByOption) {
  WriteText(dest_, "old");
  EXPECT_EQ(Copy(kCopyDontReplace), CopyResult::kDestExists);
  EXPECT_EQ(Text(dest_), "old");
  SetAge(dest_, 3000);  // newer than the source
  EXPECT_EQ(Copy(kCopyReplaceIfNewer), CopyResult::kDestNewer);
  EXPECT_EQ(Text(dest_), "old");
  SetAge(dest_, 2000);  // as old as the source
  EXPECT_EQ(Copy(kCopyReplaceIfNewer), CopyResult::kDestExists);
  SetAge(dest_, 1000);  // older
  EXPECT_EQ(Copy(kCopyReplaceIfNewer), CopyResult::kNoError);
  EXPECT_EQ(Text(dest_), "new content");
  WriteText(dest_, "old");
  EXPECT_EQ(Copy(kCopyPromptReplace, false), CopyResult::kDestExists);
  EXPECT_EQ(Text(dest_), "old");
  EXPECT_EQ(Copy(kCopyPromptReplace, true), CopyResult::kNoError);
  EXPECT_EQ(Text(dest_), "new content");
  EXPECT_EQ(questions_, 2);
  // No question without an existing destination.
  DeleteFileW(Wide(dest_).c_str());
  EXPECT_EQ(Copy(kCopyPromptReplace, false), CopyResult::kNoError);
  EXPECT_EQ(questions_, 2);
  EXPECT_EQ(Copy(0), CopyResult::kNoError);  // fc_replace
}

TEST_F(FileCopyTest, FailuresAndTheirResults) {
  EXPECT_EQ(CopyWithOptions(Wide(dir_ / "none.dat"), Wide(dest_), {}), CopyResult::kSourceNotFound);
  EXPECT_EQ(CopyWithOptions(Wide(dir_ / "no\\folder.dat"), Wide(dest_), {}),
            CopyResult::kSourceNotFound);
  {
    // Held open without sharing: the source cannot be read.
    const HANDLE held =
        CreateFileW(Wide(source_).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CopyWithOptions(Wide(source_), Wide(dest_), {}), CopyResult::kSourceAccessDenied);
    CloseHandle(held);
  }
  EXPECT_EQ(CopyWithOptions(Wide(source_), Wide(dir_ / "no\\such\\dest.dat"), {}),
            CopyResult::kDestNotCreatable);
  vtq::test::MakeFolder(dir_ / "folder");
  EXPECT_EQ(CopyWithOptions(Wide(source_), Wide(dir_ / "folder"), {}),
            CopyResult::kDestNotCreatable);
  EXPECT_EQ(vtq::test::NamesIn(dir_.Path()), (std::vector<std::string>{"folder", "source.dat"}));
}

TEST_F(FileCopyTest, CopyOntoItselfKeepsTheData) {
  EXPECT_EQ(CopyWithOptions(Wide(source_), Wide(source_), {}), CopyResult::kDestExists);
  EXPECT_EQ(CopyWithOptions(Wide(source_), Wide(dir_.Path() + ".\\source.dat"), {}),
            CopyResult::kDestExists);
  EXPECT_EQ(Text(source_), "new content");
}

TEST_F(FileCopyTest, RegistrationCommands) {
  EXPECT_EQ(RegistrationCommand(L"C:\\x y\\lib.DLL"), L"regsvr32.exe /s \"C:\\x y\\lib.DLL\"");
  EXPECT_EQ(RegistrationCommand(L"C:\\ctl.ocx"), L"regocx32.exe \"C:\\ctl.ocx\"");
  EXPECT_EQ(RegistrationCommand(L"C:\\dll.txt"), L"");
  // A plain file asked to be registered is copied and nothing else.
  EXPECT_EQ(Copy(kCopyRegister), CopyResult::kNoError);
}

// Wine on a Linux file system keeps no creation time of its own: it
// answers with the last-written time.
bool KeepsCreationTimes() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
}

TEST(FileTimeTest, EachTimeSetAndReadBack) {
  vtq::test::ScratchDir dir;
  const std::wstring file = Wide(dir / "timed.txt");
  WriteText(dir / "timed.txt", "x");
  const double created = 40000.25, written = 41000.5, accessed = 42000.75;
  ASSERT_TRUE(WriteFileTime(file, FileTimeKind::kCreated, created));
  ASSERT_TRUE(WriteFileTime(file, FileTimeKind::kLastWritten, written));
  ASSERT_TRUE(WriteFileTime(file, FileTimeKind::kLastAccessed, accessed));
  if (KeepsCreationTimes()) {
    EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kCreated), created);
  }
  EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kLastWritten), written);
  EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kLastAccessed), accessed);
  EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kAll), written);
  ASSERT_TRUE(WriteFileTime(file, FileTimeKind::kAll, 43000.0));
  for (auto kind :
       {FileTimeKind::kCreated, FileTimeKind::kLastWritten, FileTimeKind::kLastAccessed})
    EXPECT_DOUBLE_EQ(*ReadFileTime(file, kind), 43000.0);
  // Times taken from another file.
  const std::wstring other = Wide(dir / "other.txt");
  WriteText(dir / "other.txt", "y");
  ASSERT_TRUE(WriteFileTime(other, FileTimeKind::kLastWritten, 44000.5));
  ASSERT_TRUE(CopyFileTime(file, FileTimeKind::kLastWritten, other));
  EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kLastWritten), 44000.5);
  if (KeepsCreationTimes()) {
    EXPECT_DOUBLE_EQ(*ReadFileTime(file, FileTimeKind::kCreated), 43000.0);
  }
  EXPECT_EQ(ReadFileTime(Wide(dir / "none"), FileTimeKind::kCreated), std::nullopt);
  EXPECT_FALSE(WriteFileTime(Wide(dir / "none"), FileTimeKind::kCreated, 1.0));
}

TEST(IniFileTest, WriteReadDefaultsAndLongValues) {
  vtq::test::ScratchDir dir;
  const std::wstring file = Wide(dir / "settings.ini");
  EXPECT_EQ(ReadIniString(L"Main", L"Key", file, L"fallback"), L"fallback");
  ASSERT_TRUE(WriteIniString(L"Main", L"Key", L"value one", file));
  ASSERT_TRUE(WriteIniString(L"Other", L"Key", L"value two", file));
  EXPECT_EQ(ReadIniString(L"Main", L"Key", file, L""), L"value one");
  EXPECT_EQ(ReadIniString(L"other", L"key", file, L""), L"value two");
  EXPECT_EQ(ReadIniString(L"Main", L"Absent", file, L""), L"");
  const std::wstring longValue(5000, L'v');
  ASSERT_TRUE(WriteIniString(L"Main", L"Long", longValue, file));
  EXPECT_EQ(ReadIniString(L"Main", L"Long", file, L""), longValue);
  EXPECT_NE(Text(dir / "settings.ini").find("[Main]"), std::string::npos);
}

}  // namespace
}  // namespace orrin
