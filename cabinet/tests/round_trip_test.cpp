// Cabinets made by the Compressor and read back by the Extractor: the
// tree, its folders, empty files and names of every script come back byte
// for byte (the tests' prefix runs with the code page 1252, which carries
// only the accented one).

#include <gtest/gtest.h>

#include "base/utf8_text.h"
#include "cabinet/tests/cabinet_test_folder.h"

namespace vtq::cabinet::testing {
namespace {

class RoundTripTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    files_ = {
        {"top.txt", "at the top\r\n"},
        {"empty.dat", ""},
        {"big.bin", Pattern(200'000, 1)},
        {"docs\\readme.txt", Pattern(5'000, 2)},
        {"docs\\deeper\\nothing", ""},
        {"docs\\deeper\\last.bin", Pattern(70'000, 3)},
        {base::ToUtf8(L"caf\u00e9 cr\u00e8me.txt"), "accented name"},
        {base::ToUtf8(L"docs\\deeper\\\u5199\u771F \u03A9\u03BC\u03AD\u03B3\u03B1 \U0001F389.txt"),
         "CJK, Greek and an emoji"}};
    for (const auto& [name, bytes] : files_)
      source_.Write("tree\\" + name, bytes);
  }

  std::string Pack(const std::string& cabinet) {
    Compressor compressor(recorder_);
    compressor.SetCompression(GetParam());
    compressor.SetCabFile(base::FromUtf8(cabinet));
    EXPECT_EQ(compressor.Files().AddFolder(base::FromUtf8(source_.Path() + "\\tree"), true), 8);
    compressor.Compress();
    return cabinet;
  }

  std::vector<std::pair<std::string, std::string>> files_;
  TestFolder source_;
  TestFolder target_;
  Recorder recorder_;
};

TEST_P(RoundTripTest, TreeComesBackByteForByte) {
  const std::string cabinet = Pack(target_.Path() + "\\tree.cab");
  EXPECT_EQ(recorder_.percents.front(), 0);
  EXPECT_EQ(recorder_.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(recorder_.percents.begin(), recorder_.percents.end()));

  Recorder extracting;
  Extractor extractor(extracting);
  extractor.SetCabFile(base::FromUtf8(cabinet));
  extractor.Extract(base::FromUtf8(target_.Path() + "\\out"));
  for (const auto& [name, bytes] : files_)
    EXPECT_EQ(ReadWhole(target_.Path() + "\\out\\" + name), bytes) << name;
  EXPECT_EQ(ListTree(target_.Path() + "\\out"), ListTree(source_.Path() + "\\tree"));
  EXPECT_EQ(extracting.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(extracting.percents.begin(), extracting.percents.end()));
}

TEST_P(RoundTripTest, EntriesNameEveryFileWithItsFolder) {
  const std::string cabinet = Pack(target_.Path() + "\\tree.cab");
  Recorder events;
  Extractor extractor(events);
  extractor.SetCabFile(base::FromUtf8(cabinet));
  const CabinetEntries& entries = extractor.Entries();
  ASSERT_EQ(entries.Count(), 8);
  std::vector<std::string> names;
  for (int32_t i = 1; i <= entries.Count(); ++i)
    names.push_back(base::ToUtf8(entries.Item(i).Name));
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected;
  for (const auto& file : files_)
    expected.push_back(file.first);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  // The folder's own files come before its subfolders'.
  EXPECT_EQ(base::ToUtf8(entries.Item(entries.Count()).Name).rfind("docs\\deeper\\", 0), 0u);
  EXPECT_THROW(entries.Item(0), VbError);
  EXPECT_THROW(entries.Item(9), VbError);
}

TEST_P(RoundTripTest, FolderOfOnlyEmptyFilesStillMakesACabinet) {
  source_.Write("blank\\a.txt", "");
  source_.Write("blank\\sub\\b.txt", "");
  Compressor compressor(recorder_);
  compressor.SetCompression(GetParam());
  compressor.SetCabFile(base::FromUtf8(target_.Path() + "\\blank.cab"));
  compressor.Files().AddFolder(base::FromUtf8(source_.Path() + "\\blank"), true);
  compressor.Compress();
  EXPECT_EQ(recorder_.percents.back(), 100);

  Recorder events;
  Extractor extractor(events);
  extractor.SetCabFile(compressor.CabFile());
  extractor.Extract(base::FromUtf8(target_.Path() + "\\out"));
  EXPECT_EQ(events.percents.back(), 100);
  EXPECT_EQ(ListTree(target_.Path() + "\\out"),
            (std::vector<std::string>{"a.txt", "sub\\", "sub\\b.txt"}));
  EXPECT_EQ(ReadWhole(target_.Path() + "\\out\\sub\\b.txt"), "");
}

TEST_P(RoundTripTest, SingleFileAddedWithoutFolderLandsAtTheTop) {
  Compressor compressor(recorder_);
  compressor.SetCompression(GetParam());
  compressor.SetCabFile(base::FromUtf8(target_.Path() + "\\one.cab"));
  compressor.Files().Add(base::FromUtf8(source_.Path() + "\\tree\\docs\\readme.txt"), L"");
  compressor.Compress();
  Extractor extractor(recorder_);
  extractor.SetCabFile(compressor.CabFile());
  extractor.Extract(base::FromUtf8(target_.Path() + "\\out"));
  EXPECT_EQ(ListTree(target_.Path() + "\\out"), (std::vector<std::string>{"readme.txt"}));
  EXPECT_EQ(ReadWhole(target_.Path() + "\\out\\readme.txt"), files_[3].second);
}

INSTANTIATE_TEST_SUITE_P(MsZipAndStored, RoundTripTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "MsZip" : "Stored"; });

}  // namespace
}  // namespace vtq::cabinet::testing
