#include "engine/platform/file_io.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/system_error.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/scratch.h"

#include <cerrno>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vtq {
namespace {

using test::ErrorOf;

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

const std::string S(1, kPathSeparator);

TEST(FileAccess, WritesReadsSeeksAndMeasures) {
  ScratchDir dir;
  const auto content = test::PatternBytes(5000);
  {
    File out(dir / "a.bin", File::Mode::kReplace);
    out.Write(content.data(), 3000);
    out.Write(content.data() + 3000, 2000);
  }
  EXPECT_EQ(ReadBytes(dir / "a.bin"), content);
  EXPECT_EQ(FileLength(dir / "a.bin"), 5000u);

  File in(dir / "a.bin", File::Mode::kRead);
  EXPECT_EQ(in.Length(), 5000u);
  in.Seek(4990);
  uint8_t tail[20] = {};
  EXPECT_EQ(in.Read(tail, sizeof tail), 10u);  // fewer only at the end
  EXPECT_EQ(tail[9], content[4999]);
  EXPECT_EQ(in.Read(tail, sizeof tail), 0u);
  in.Seek(0);
  uint8_t head[4];
  in.ReadExactly(head, 4);
  EXPECT_EQ(head[3], content[3]);
}

TEST(FileAccess, ReadingPastTheEndIsError62) {
  ScratchDir dir;
  WriteBytes(dir / "short", {1, 2, 3});
  File in(dir / "short", File::Mode::kRead);
  uint8_t buffer[4];
  EXPECT_EQ(ErrorOf([&] { in.ReadExactly(buffer, 4); }), err::kInputPastEnd);
}

TEST(FileAccess, ReplaceTruncatesAnOlderFile) {
  ScratchDir dir;
  WriteBytes(dir / "f", test::PatternBytes(100));
  { File out(dir / "f", File::Mode::kReplace); }
  EXPECT_EQ(FileLength(dir / "f"), 0u);
}

TEST(FileAccess, MissingFileAndMissingFolderHaveTheirOwnNumbers) {
  ScratchDir dir;
  const std::string missing = dir / "nothere.txt";
  const std::string inMissingFolder = dir / ("nofolder" + S + "x.txt");
  EXPECT_EQ(ErrorOf([&] { File f(missing, File::Mode::kRead); }), err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { File f(inMissingFolder, File::Mode::kRead); }), err::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { File f(inMissingFolder, File::Mode::kReplace); }), err::kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { FileLength(missing); }), err::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { RemoveFile(missing); }), err::kFileNotFound);
  EXPECT_FALSE(FileExists(missing));
  EXPECT_EQ(ErrorOf([&] { File f("", File::Mode::kRead); }), err::kPathFileAccess);
}

// The classic number says what went wrong, the name which file: a front end
// can tell the user which fragment of a hundred is missing.
TEST(FileAccess, AFailureCarriesTheNameOfItsFile) {
  ScratchDir dir;
  const std::string missing = dir / "series.042";
  const auto failure = [](const std::function<void()>& action) -> VbError {
    try {
      action();
    } catch (const VbError& error) {
      return error;
    }
    ADD_FAILURE() << "no error raised";
    return VbError(0);
  };
  const VbError opened = failure([&] { File f(missing, File::Mode::kRead); });
  EXPECT_EQ(opened.Number(), err::kFileNotFound);
  EXPECT_EQ(opened.FileName(), missing);
  EXPECT_EQ(opened.Description(), "File not found");  // the classic words, unchanged
  EXPECT_EQ(failure([&] { FileLength(missing); }).FileName(), missing);
  const std::string inMissingFolder = dir / ("gone" + S + "out.bin");
  EXPECT_EQ(failure([&] { File f(inMissingFolder, File::Mode::kReplace); }).FileName(),
            inMissingFolder);
  EXPECT_EQ(VbError(err::kDiskFull).FileName(), "");  // an error about no file names none
}

TEST(FileAccess, AFolderIsNoFile) {
  ScratchDir dir;
  test::MakeFolder(dir / "sub");
  EXPECT_EQ(ErrorOf([&] { File f(dir / "sub", File::Mode::kRead); }), err::kPermissionDenied);
  EXPECT_FALSE(FileExists(dir / "sub"));
  EXPECT_EQ(ErrorOf([&] { FileLength(dir / "sub"); }), err::kFileNotFound);
}

TEST(FileAccess, OthersMayReadWriteAndDeleteWhileOpen) {
  ScratchDir dir;
  WriteBytes(dir / "shared", {1, 2, 3});
  {
    File reader(dir / "shared", File::Mode::kRead);
    File second(dir / "shared", File::Mode::kRead);
    EXPECT_EQ(second.Length(), 3u);
    RemoveFile(dir / "shared");
  }
  EXPECT_FALSE(FileExists(dir / "shared"));
}

TEST(FileAccess, ClosedAndMovedFromFilesRefuseWork) {
  ScratchDir dir;
  File out(dir / "m", File::Mode::kReplace);
  File moved(std::move(out));
  EXPECT_FALSE(out.IsOpen());  // NOLINT(bugprone-use-after-move): checked on purpose
  EXPECT_TRUE(moved.IsOpen());
  EXPECT_EQ(moved.Name(), dir / "m");
  uint8_t byte = 7;
  EXPECT_EQ(ErrorOf([&] { out.Write(&byte, 1); }), err::kBadFileName);
  moved.Write(&byte, 1);
  moved.Close();
  EXPECT_FALSE(moved.IsOpen());
  EXPECT_EQ(ErrorOf([&] { moved.Read(&byte, 1); }), err::kBadFileName);
  File other;
  other = File(dir / "m", File::Mode::kRead);
  EXPECT_EQ(other.Length(), 1u);
}

TEST(FileAccess, ReplaceFileMovesOverTheTarget) {
  ScratchDir dir;
  WriteBytes(dir / "new", {9, 9});
  WriteBytes(dir / "old", {1, 2, 3, 4});
  ReplaceFile(dir / "new", dir / "old");
  EXPECT_FALSE(FileExists(dir / "new"));
  EXPECT_EQ(ReadBytes(dir / "old"), (std::vector<uint8_t>{9, 9}));
  EXPECT_EQ(ErrorOf([&] { ReplaceFile(dir / "new", dir / "old"); }), err::kFileNotFound);
}

TEST(FileAccess, CreateNewRefusesATakenNameAndLeavesItAlone) {
  ScratchDir dir;
  {
    File created(dir / "fresh", File::Mode::kCreateNew);
    created.Write("ab", 2);
  }
  EXPECT_EQ(ReadBytes(dir / "fresh"), (std::vector<uint8_t>{'a', 'b'}));
  EXPECT_EQ(ErrorOf([&] { File f(dir / "fresh", File::Mode::kCreateNew); }),
            err::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(dir / "fresh"), (std::vector<uint8_t>{'a', 'b'}));
  test::MakeFolder(dir / "sub");
  EXPECT_NE(ErrorOf([&] { File f(dir / "sub", File::Mode::kCreateNew); }), 0);
  EXPECT_EQ(ErrorOf([&] { File f(dir / ("nofolder" + S + "x"), File::Mode::kCreateNew); }),
            err::kPathNotFound);
  EXPECT_EQ(DefaultDescription(err::kFileAlreadyExists), "File already exists");
}

TEST(FileAccess, MoveToFreeNameNeverReplaces) {
  ScratchDir dir;
  WriteBytes(dir / "a", {1});
  WriteBytes(dir / "b", {2});
  EXPECT_FALSE(MoveToFreeName(dir / "a", dir / "b"));
  EXPECT_EQ(ReadBytes(dir / "a"), std::vector<uint8_t>{1});
  EXPECT_EQ(ReadBytes(dir / "b"), std::vector<uint8_t>{2});
  EXPECT_TRUE(MoveToFreeName(dir / "a", dir / "c"));
  EXPECT_FALSE(FileExists(dir / "a"));
  EXPECT_EQ(ReadBytes(dir / "c"), std::vector<uint8_t>{1});
  EXPECT_EQ(ErrorOf([&] { MoveToFreeName(dir / "a", dir / "d"); }), err::kFileNotFound);
}

#ifdef _WIN32
TEST(SystemErrors, WindowsCodesMapToClassicNumbers) {
  const std::pair<SystemErrorCode, int32_t> table[] = {
      {2, 53},   {3, 76},   {5, 70}, {32, 70}, {33, 70}, {19, 70}, {21, 71}, {112, 61}, {39, 61},
      {123, 52}, {161, 52}, {8, 7},  {14, 7},  {1, 75},  {87, 75}, {80, 58}, {183, 58}};
  for (const auto& [code, number] : table)
    EXPECT_EQ(ClassicFileError(code, "x"), number) << code;
}
#else
TEST(SystemErrors, ErrnoValuesMapToClassicNumbers) {
  const std::pair<int, int32_t> table[] = {
      {ENOTDIR, 76}, {EACCES, 70}, {EPERM, 70},        {EROFS, 70}, {EBUSY, 70},  {ENOSPC, 61},
      {EDQUOT, 61},  {ENOMEM, 7},  {ENAMETOOLONG, 52}, {EIO, 57},   {EINVAL, 75}, {EEXIST, 58}};
  for (const auto& [code, number] : table)
    EXPECT_EQ(ClassicFileError(code, "x"), number) << code;
  ScratchDir dir;
  EXPECT_EQ(ClassicFileError(ENOENT, dir / "gone"), 53);
  EXPECT_EQ(ClassicFileError(ENOENT, dir / "gone/x"), 76);
}

#endif

// Linux's always-full device, reached through Wine's Z: drive on Windows.
TEST(FileAccess, AFullDeviceIsDiskFull) {
#ifdef _WIN32
  const std::string device = "Z:\\dev\\full";
#else
  const std::string device = "/dev/full";
  if (!FileExists(device))
    GTEST_SKIP() << "no /dev/full";
#endif
  File full(device, File::Mode::kReplace);
  const auto bytes = test::PatternBytes(100);
  EXPECT_EQ(ErrorOf([&] { full.Write(bytes.data(), bytes.size()); }), err::kDiskFull);
}

// Copies between open files: the system's own copy and the buffer must give
// the same bytes from the same positions, and fail alike.
TEST(FileCopy, BothPathsCopyFromThePositionsAndMoveThemOn) {
  ScratchDir dir;
  const auto content = test::PatternBytes(3 * 1024 * 1024 + 17);
  WriteBytes(dir / "src", content);
  for (const auto path : {File::CopyPath::kFastest, File::CopyPath::kThroughBuffer}) {
    {
      File in(dir / "src", File::Mode::kRead);
      File out(dir / "dst", File::Mode::kReplace);
      out.Write("head", 4);
      in.Seek(100);
      in.CopyTo(out, 2 * 1024 * 1024 + 5, path);
      in.CopyTo(out, 0, path);
      in.CopyTo(out, 1000, path);
      uint8_t next = 0;
      ASSERT_EQ(in.Read(&next, 1), 1u);
      EXPECT_EQ(next, content[100 + 2 * 1024 * 1024 + 5 + 1000]);
    }
    auto expected = std::vector<uint8_t>{'h', 'e', 'a', 'd'};
    expected.insert(expected.end(), content.begin() + 100,
                    content.begin() + 100 + 2 * 1024 * 1024 + 5 + 1000);
    EXPECT_EQ(ReadBytes(dir / "dst"), expected);
  }
}

TEST(FileCopy, ASourceThatEndsFirstIsError62OnBothPaths) {
  ScratchDir dir;
  WriteBytes(dir / "src", test::PatternBytes(5000));
  WriteBytes(dir / "long", test::PatternBytes(3 * 1024 * 1024));
  for (const auto path : {File::CopyPath::kFastest, File::CopyPath::kThroughBuffer}) {
    File in(dir / "src", File::Mode::kRead);
    File out(dir / "dst", File::Mode::kReplace);
    EXPECT_EQ(ErrorOf([&] { in.CopyTo(out, 5001, path); }), err::kInputPastEnd);
    // Past the first piece of the buffer too.
    File longer(dir / "long", File::Mode::kRead);
    EXPECT_EQ(ErrorOf([&] { longer.CopyTo(out, 3 * 1024 * 1024 + 1, path); }), err::kInputPastEnd);
    File closed;
    EXPECT_EQ(ErrorOf([&] { in.CopyTo(closed, 1, path); }), err::kBadFileName);
  }
}

#ifndef _WIN32
// The system's copy refuses to cross from one file system to another on
// most kernels, and refuses devices: the buffer carries on from there.
TEST(FileCopy, AcrossFileSystemsAndOntoAFullDeviceTheBufferTakesOver) {
  if (!FolderExists("/dev/shm"))
    GTEST_SKIP() << "no /dev/shm";
  ScratchDir dir;
  const auto content = test::PatternBytes(1024 * 1024 + 3, 4);
  const std::string shm = "/dev/shm/vtq-copy-test-" + std::to_string(getpid());
  WriteBytes(shm, content);
  {
    File in(shm, File::Mode::kRead);
    File out(dir / "from-shm", File::Mode::kReplace);
    in.CopyTo(out, content.size());
  }
  EXPECT_EQ(ReadBytes(dir / "from-shm"), content);
  {
    File in(dir / "from-shm", File::Mode::kRead);
    File out(shm + ".back", File::Mode::kReplace);
    in.CopyTo(out, content.size());
  }
  EXPECT_EQ(ReadBytes(shm + ".back"), content);
  RemoveFile(shm);
  RemoveFile(shm + ".back");
  if (FileExists("/dev/full")) {
    File in(dir / "from-shm", File::Mode::kRead);
    File full("/dev/full", File::Mode::kReplace);
    EXPECT_EQ(ErrorOf([&] { in.CopyTo(full, 100); }), err::kDiskFull);
  }
}
#endif

}  // namespace
}  // namespace vtq
