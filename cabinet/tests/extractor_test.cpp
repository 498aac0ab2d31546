// The Extractor on cabinets it should refuse: hostile entry names, damaged
// data, files that are not cabinets, missing cabinets. Hostile cabinets are
// made here by packing a harmless name and patching it in the file table.

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "base/utf8_text.h"
#include "cabinet/tests/cabinet_test_folder.h"

namespace vtq::cabinet::testing {
namespace {

class ExtractorTest : public ::testing::Test {
 protected:
  // A cabinet of `files` (stored names) in the test folder.
  std::string Make(const std::vector<std::pair<std::string, std::string>>& files, bool compress,
                   const std::string& cabName = "made.cab") {
    Recorder events;
    Compressor compressor(events);
    compressor.SetCompression(compress);
    compressor.SetCabFile(base::FromUtf8(folder_.Path() + "\\" + cabName));
    for (const auto& [name, bytes] : files) {
      const size_t slash = name.find_last_of('\\');
      const std::string dir = slash == std::string::npos ? "" : name.substr(0, slash);
      compressor.Files().Add(base::FromUtf8(folder_.Write("src\\" + name, bytes)),
                             base::FromUtf8(dir));
    }
    compressor.Compress();
    return base::ToUtf8(compressor.CabFile());
  }

  static void Patch(const std::string& cabinet, const std::string& from, const std::string& to) {
    ASSERT_EQ(from.size(), to.size());
    std::string bytes = ReadWhole(cabinet);
    const size_t at = bytes.find(from + '\0');
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, from.size(), to);
    WriteWhole(cabinet, bytes);
  }

  std::string ExtractFailure(const std::string& cabinet, const std::string& into) {
    Extractor extractor(recorder_);
    extractor.SetCabFile(base::FromUtf8(cabinet));
    return FailureOf([&] { extractor.Extract(base::FromUtf8(into)); });
  }

  TestFolder folder_;
  Recorder recorder_;
};

struct Hostile {
  const char* harmless;
  const char* stored;
  const char* reason;
};

TEST_F(ExtractorTest, HostileEntriesRefuseTheWholeCabinetAndWriteNothing) {
  const Hostile cases[] = {
      {"aa\\evil.txt", "..\\evil.txt", "it climbs out of the folder with \"..\""},
      {"d\\aa\\aa\\ev.txt", "d\\..\\..\\ev.txt", "it climbs out of the folder with \"..\""},
      {"abevil.txt", "C:evil.txt", "it names a drive"},
      {"aevil.txt", "\\evil.txt", "it starts at the root of a drive"},
      {"aevil.txt", "/evil.txt", "it starts at the root of a drive"},
      {"abc.txt", "CON.txt", "it names a device"},
      {"abc", "NUL", "it names a device"},
      {"abcd.log", "COM1.log", "it names a device"},
      {"abcd", "LPT1", "it names a device"},
      {"abc.x", "AUX.x", "it names a device"},
      {"abc", "prn", "it names a device"},
  };
  for (const Hostile& hostile : cases) {
    SCOPED_TRACE(hostile.stored);
    // A good entry first: it must not be written either.
    const std::string cabinet =
        Make({{"first.txt", "harmless"}, {hostile.harmless, "payload"}}, true);
    Patch(cabinet, hostile.harmless, hostile.stored);
    const std::string into = folder_.Path() + "\\out\\deep";
    EXPECT_EQ(ExtractFailure(cabinet, into),
              "The cabinet \"" + cabinet + "\" was refused: its entry \"" + hostile.stored +
                  "\" would be written outside the destination folder (" + hostile.reason +
                  "). Nothing was extracted.");
    EXPECT_FALSE(Exists(folder_.Path() + "\\out")) << "the destination was created";
    const std::vector<std::string> left = ListTree(folder_.Path());
    EXPECT_EQ(std::count_if(left.begin(), left.end(),
                            [](const std::string& n) {
                              return n.find("evil") != std::string::npos &&
                                     n.rfind("src\\", 0) != 0;
                            }),
              0);
    DeleteFileA(cabinet.c_str());
  }
}

TEST_F(ExtractorTest, MissingCabinetFails) {
  const std::string cabinet = folder_.Path() + "\\gone.cab";
  EXPECT_EQ(ExtractFailure(cabinet, folder_.Path() + "\\out"),
            "The cabinet \"" + cabinet + "\" could not be found.");
  Extractor extractor(recorder_);
  extractor.SetCabFile(base::FromUtf8(cabinet));
  EXPECT_EQ(FailureOf([&] { extractor.Entries(); }),
            "The cabinet \"" + cabinet + "\" could not be found.");
  EXPECT_FALSE(Exists(folder_.Path() + "\\out"));
}

TEST_F(ExtractorTest, NoCabinetNamedFails) {
  Extractor extractor(recorder_);
  EXPECT_EQ(FailureOf([&] { extractor.Extract(L"C:\\x"); }), "No cabinet was named to extract.");
}

TEST_F(ExtractorTest, FileThatIsNotACabinetFails) {
  const std::string cabinet = folder_.Write("text.cab", "This is only text, not a cabinet at all.");
  EXPECT_EQ(ExtractFailure(cabinet, folder_.Path() + "\\out"),
            "The file \"" + cabinet + "\" is not a cabinet.");
}

TEST_F(ExtractorTest, TruncatedCabinetFailsAndLeavesNoPartialFile) {
  const std::string cabinet =
      Make({{"whole.txt", "complete before the damage"}, {"big.bin", Pattern(300'000, 4)}}, true);
  std::string bytes = ReadWhole(cabinet);
  bytes.resize(bytes.size() - 40'000);
  WriteWhole(cabinet, bytes);
  const std::string into = folder_.Path() + "\\out";
  EXPECT_EQ(ExtractFailure(cabinet, into), "The cabinet \"" + cabinet + "\" is damaged.");
  EXPECT_FALSE(Exists(into + "\\big.bin"));
}

TEST_F(ExtractorTest, DamagedCompressedDataFailsAndLeavesNoPartialFile) {
  const std::string cabinet = Make({{"big.bin", Pattern(300'000, 5)}}, true);
  std::string bytes = ReadWhole(cabinet);
  // Not an even number of flipped words: those cancel out in the checksum.
  for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 61; ++i)
    bytes[i] = static_cast<char>(0x55 + i);
  WriteWhole(cabinet, bytes);
  const std::string into = folder_.Path() + "\\out";
  EXPECT_EQ(ExtractFailure(cabinet, into), "The cabinet \"" + cabinet + "\" is damaged.");
  EXPECT_FALSE(Exists(into + "\\big.bin"));
}

TEST_F(ExtractorTest, StopInAProgressHandlerLeavesNoPartialFile) {
  struct Throwing : ExtractorEvents {
    void Progress(const std::wstring& name, int16_t percent) override {
      if (name == L"big.bin" && percent >= 50)
        throw std::runtime_error("stop");
    }
  } events;
  const std::string cabinet =
      Make({{"a.txt", Pattern(1'000, 6)}, {"big.bin", Pattern(400'000, 7)}}, false);
  Extractor extractor(events);
  extractor.SetCabFile(base::FromUtf8(cabinet));
  EXPECT_THROW(extractor.Extract(base::FromUtf8(folder_.Path() + "\\out")), std::runtime_error);
  EXPECT_EQ(ListTree(folder_.Path() + "\\out"), (std::vector<std::string>{"a.txt"}));
}

std::string Le16(uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string Le32(uint32_t v) {
  return Le16(v & 0xFFFF) + Le16(v >> 16);
}

// The first cabinet of a set: its one file continues in "next.cab", which
// does not exist. FDI asks for it; the extraction must end, not wait for
// ever, and leave nothing half written.
TEST_F(ExtractorTest, CabinetContinuedInAnotherIsRefused) {
  const std::string next = std::string("next.cab") + '\0' + "disk 2" + '\0';
  const std::string file =
      Le32(100) + Le32(0) + Le16(0xFFFE) + Le16(0x5A21) + Le16(0) + Le16(0x20) + "spans.bin" + '\0';
  const uint32_t headerSize = 36 + static_cast<uint32_t>(next.size());
  const uint32_t firstBlock = headerSize + 8 + static_cast<uint32_t>(file.size());
  const std::string block = Le32(0) + Le16(40) + Le16(0) + std::string(40, 'x');
  const uint32_t total = firstBlock + static_cast<uint32_t>(block.size());
  const std::string bytes = "MSCF" + Le32(0) + Le32(total) + Le32(0) + Le32(headerSize + 8) +
                            Le32(0) + "\x03\x01" + Le16(1) + Le16(1) + Le16(0x0002) + Le16(0x4856) +
                            Le16(0) + next + Le32(firstBlock) + Le16(1) + Le16(0) + file + block;
  const std::string cabinet = folder_.Write("first.cab", bytes);
  const std::string into = folder_.Path() + "\\out";
  EXPECT_EQ(ExtractFailure(cabinet, into),
            "The cabinet continues in another cabinet; only single cabinets can be read.");
  EXPECT_EQ(ListTree(into), std::vector<std::string>{});
}

TEST_F(ExtractorTest, ResetAndNewCabFileForgetTheEntries) {
  const std::string one = Make({{"one.txt", "1"}}, false, "one.cab");
  const std::string two = Make({{"a.txt", "1"}, {"b.txt", "2"}}, false, "two.cab");
  Extractor extractor(recorder_);
  extractor.SetCabFile(base::FromUtf8(one));
  EXPECT_EQ(extractor.Entries().Count(), 1);
  extractor.SetCabFile(base::FromUtf8(two));
  EXPECT_EQ(extractor.Entries().Count(), 2);
  EXPECT_EQ(extractor.Entries().Item(2).Name, L"b.txt");
  extractor.Reset();
  EXPECT_EQ(extractor.CabFile(), L"");
}

}  // namespace
}  // namespace vtq::cabinet::testing
