// The Compressor's members and every way Compress can fail, each with the
// description the program shows.

#include <gtest/gtest.h>

#include "base/utf8_text.h"
#include "base/win/handles.h"
#include "cabinet/tests/cabinet_test_folder.h"

namespace vtq::cabinet::testing {
namespace {

class CompressorTest : public ::testing::Test {
 protected:
  TestFolder folder_;
  Recorder recorder_;
};

TEST_F(CompressorTest, MembersStartEmptyAndResetForgetsThem) {
  Compressor compressor(recorder_);
  EXPECT_TRUE(compressor.Compression());
  compressor.SetCompression(false);
  compressor.SetCabFile(L"C:\\x.cab");
  compressor.Files().Add(L"C:\\a.txt", L"docs");
  EXPECT_EQ(compressor.Files().Count(), 1);
  EXPECT_EQ(compressor.Files().Item(1).Source, L"C:\\a.txt");
  EXPECT_EQ(compressor.Files().Item(1).CabDir, L"docs");
  try {
    compressor.Files().Item(2);
    ADD_FAILURE() << "no error";
  } catch (const VbError& error) {
    EXPECT_EQ(error.Number(), 9);
    EXPECT_EQ(error.Source(), "Compressor");
  }
  compressor.Reset();
  EXPECT_TRUE(compressor.Compression());
  EXPECT_EQ(compressor.CabFile(), L"");
  EXPECT_EQ(compressor.Files().Count(), 0);
}

TEST_F(CompressorTest, AddFolderCountsFilesAndKeepsSubfoldersOnlyWhenAsked) {
  folder_.Write("src\\a", "1");
  folder_.Write("src\\b", "2");
  folder_.Write("src\\sub\\c", "3");
  Compressor compressor(recorder_);
  EXPECT_EQ(compressor.Files().AddFolder(base::FromUtf8(folder_.Path() + "\\src"), false), 2);
  EXPECT_EQ(compressor.Files().AddFolder(base::FromUtf8(folder_.Path() + "\\src\\"), true), 3);
  EXPECT_EQ(compressor.Files().Item(5).CabDir, L"sub");
  EXPECT_EQ(compressor.Files().AddFolder(base::FromUtf8(folder_.Path() + "\\none"), true), 0);
}

TEST_F(CompressorTest, ReplacesAnExistingCabinet) {
  const std::string cabinet = folder_.Write("old.cab", std::string(100'000, 'x'));
  const std::string source = folder_.Write("a.txt", "fresh");
  Compressor compressor(recorder_);
  compressor.SetCabFile(base::FromUtf8(cabinet));
  compressor.Files().Add(base::FromUtf8(source), L"");
  compressor.Compress();
  EXPECT_EQ(ReadWhole(cabinet).substr(0, 4), "MSCF");
  EXPECT_LT(ReadWhole(cabinet).size(), 200u);
}

TEST_F(CompressorTest, MissingSourceFailsBeforeWriting) {
  const std::string cabinet = folder_.Path() + "\\x.cab";
  Compressor compressor(recorder_);
  compressor.SetCabFile(base::FromUtf8(cabinet));
  compressor.Files().Add(base::FromUtf8(folder_.Write("here.txt", "1")), L"");
  compressor.Files().Add(base::FromUtf8(folder_.Path() + "\\gone.txt"), L"");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "The file \"" + folder_.Path() + "\\gone.txt\" to pack could not be found.");
  EXPECT_FALSE(Exists(cabinet));
  EXPECT_TRUE(recorder_.percents.empty());
}

TEST_F(CompressorTest, MissingOutputFolderFails) {
  const std::string cabinet = folder_.Path() + "\\nowhere\\x.cab";
  Compressor compressor(recorder_);
  compressor.SetCabFile(base::FromUtf8(cabinet));
  compressor.Files().Add(base::FromUtf8(folder_.Write("a.txt", "1")), L"");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "The folder of the cabinet \"" + cabinet + "\" does not exist.");
}

TEST_F(CompressorTest, NothingToPackOrNoNameFails) {
  Compressor compressor(recorder_);
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }), "No name was given for the cabinet.");
  compressor.SetCabFile(L"C:\\x.cab");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "There are no files to pack into the cabinet \"C:\\x.cab\".");
}

TEST_F(CompressorTest, CabDirClimbingOutIsRefused) {
  Compressor compressor(recorder_);
  compressor.SetCabFile(base::FromUtf8(folder_.Path() + "\\x.cab"));
  const std::string source = folder_.Write("a.txt", "1");
  compressor.Files().Add(base::FromUtf8(source), L"..\\up");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "The file \"" + source +
                "\" cannot be stored as \"..\\up\\a.txt\": it climbs out of "
                "the folder with \"..\".");
}

// The sizes come from a seam: two files said to hold 1.5 GB each, so that
// nothing of 3 GB has to be written to find the limit.
TEST_F(CompressorTest, MoreThanACabinetHoldsFailsBeforeAnythingIsWritten) {
  const std::string cabinet = folder_.Write("keep.cab", "older cabinet");
  const std::string a = folder_.Write("a.bin", "small");
  const std::string b = folder_.Write("b.bin", "small");
  Compressor compressor(
      recorder_, [](const std::string&) -> std::optional<uint64_t> { return 1'500'000'000ull; });
  compressor.SetCabFile(base::FromUtf8(cabinet));
  compressor.Files().Add(base::FromUtf8(a), L"");
  compressor.Files().Add(base::FromUtf8(b), L"");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "The files to pack hold 3000000000 bytes, more than one cabinet can hold (less than 2 "
            "GB). No cabinet was written.");
  EXPECT_EQ(ReadWhole(cabinet), "older cabinet");
  EXPECT_TRUE(recorder_.percents.empty());
}

// The same through the system's own size query, on a sparse file.
TEST_F(CompressorTest, SparseSourceOverTheLimitFails) {
  const std::string big = folder_.Path() + "\\sparse.bin";
  {
    base::win::FileHandle file(
        CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER size{};
    size.QuadPart = 0x80000000ll;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
  }
  Compressor compressor(recorder_);
  compressor.SetCabFile(base::FromUtf8(folder_.Path() + "\\big.cab"));
  compressor.Files().Add(base::FromUtf8(big), L"");
  EXPECT_EQ(FailureOf([&] { compressor.Compress(); }),
            "The files to pack hold 2147483648 bytes, more than one cabinet can hold (less than 2 "
            "GB). No cabinet was written.");
  EXPECT_FALSE(Exists(folder_.Path() + "\\big.cab"));
}

TEST_F(CompressorTest, ProgressHandlerFailureStopsAndRemovesTheCabinet) {
  struct Throwing : CompressorEvents {
    void Progress(int16_t percent) override {
      if (percent > 0)
        throw std::runtime_error("stop");
    }
  } events;
  const std::string cabinet = folder_.Path() + "\\x.cab";
  Compressor compressor(events);
  compressor.SetCabFile(base::FromUtf8(cabinet));
  compressor.Files().Add(base::FromUtf8(folder_.Write("a.bin", Pattern(300'000, 9))), L"");
  EXPECT_THROW(compressor.Compress(), std::runtime_error);
  EXPECT_FALSE(Exists(cabinet));
}

}  // namespace
}  // namespace vtq::cabinet::testing
