// The split run: fragment layouts byte for byte in the three formats, the
// events and their values, re-creation of one fragment, and the refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/program/error_trap.h"
#include "engine/program/protection.h"
#include "engine/splitter.h"
#include "engine/tests/support/splitter_harness.h"

namespace vtq {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, int v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void PutText(Bytes& b, std::string_view t) {
  Put16(b, static_cast<int>(t.size()));
  b.insert(b.end(), t.begin(), t.end());
}

// The own-format header written out field by field, independently of the
// engine's encoders.
Bytes ExpectedHeader(int count, const std::string& name, bool multisize, bool checkable) {
  Bytes b;
  PutText(b, "Quorvelle Extendable Fragment Format");
  for (int w : {3, 0, 0, 2, 0, 0})
    Put16(b, w);
  Put16(b, count);
  PutText(b, name);
  Put16(b, multisize ? -1 : 0);
  Put16(b, 0);  // encrypted
  Put16(b, 0);  // encodability
  Put16(b, 0);  // reserved feature
  Put16(b, checkable ? -1 : 0);
  return b;
}

Bytes Slice(const Bytes& b, size_t from, size_t count) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
               b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class SplitRunTest : public ::testing::Test, protected test::SplitterHarness {
 protected:
  SplitRunTest() : test::SplitterHarness(test::SplitterDrives::kSystem) {}

  std::string out = dir / "out";

  void SetUp() override {
    test::MakeFolder(out);
    splitter.SetDestinationFolder(out);
  }
  Bytes Source(const std::string& name, size_t size, const std::string& folder = {}) {
    const std::string full = (folder.empty() ? dir.Path() : folder) + name;
    Bytes data = test::PatternBytes(size, 7);
    test::WriteBytes(full, data);
    EXPECT_EQ(splitter.FilesToSplit().Add(full), 0);
    return data;
  }
  Bytes Fragment(const std::string& name) { return test::ReadBytes(Out(name)); }
  std::string Out(const std::string& name) { return splitter.DestinationFolder() + name; }
  std::vector<std::string> OutFiles() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static Bytes Digits(const Bytes& data) {
    Kavrolib library;
    const std::string d = CheckDigitsOf(library, data);
    return Bytes(d.begin(), d.end());
  }
};

TEST_F(SplitRunTest, FourMillionBytesInTheOwnFormat) {
  const Bytes data = Source("data.bin", 4000000);
  splitter.Split();
  const size_t h = 8 + 64;
  const Bytes header = ExpectedHeader(3, "data.bin", false, false);
  ASSERT_EQ(header.size(), h);
  EXPECT_EQ(Fragment("data.001"), Join(header, Slice(data, 0, 1457664 - h)));
  EXPECT_EQ(Fragment("data.002"), Slice(data, 1457664 - h, 1457664));
  EXPECT_EQ(Fragment("data.003"), Slice(data, 2 * 1457664 - h, 1084672 + h));
  EXPECT_EQ(OutFiles(), (std::vector<std::string>{"data.001", "data.002", "data.003"}));
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"SplitStart(5830656)", "SplitInterval(1457664)",
                                      "SplitInterval(2915328)", "SplitInterval(4372992)",
                                      "SplitInterval(5830656)"}));
  EXPECT_EQ(events.written,
            (std::vector<std::string>{Out("data.001"), Out("data.002"), Out("data.003")}));
  EXPECT_EQ(doubles.loop.yields, 3);
  EXPECT_TRUE(doubles.boxes.shown.empty());
  EXPECT_EQ(test::ReadBytes(dir / "data.bin"), data);  // the source is only read
}

// Plain fragments are copied two at a time; a host still sees each one
// reported written, whole under its name, before the next one's interval.
TEST_F(SplitRunTest, PlainFragmentsAreReportedWholeBeforeTheNextInterval) {
  int32_t size = 10240;
  splitter.SetFileFormat(aftRaw);
  splitter.SetFragmentSize(size);
  const Bytes data = Source("plain.bin", 10240 * 5 + 77);
  std::vector<size_t> writtenAtInterval;
  events.onInterval = [&](int32_t) {
    writtenAtInterval.push_back(events.written.size());
    for (size_t k = 0; k < events.written.size(); ++k)
      EXPECT_EQ(test::ReadBytes(events.written[k]),
                Slice(data, k * 10240, std::min<size_t>(10240, data.size() - k * 10240)));
  };
  splitter.Split();
  // Fragments 1 to 6, then the closing interval.
  EXPECT_EQ(writtenAtInterval, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Fragment("plain.006"), Slice(data, 10240 * 5, 77));
  EXPECT_EQ(OutFiles().size(), 6u);  // no working file left behind
}

// An error at an interval that ends the run leaves the fragment being copied
// gone and the one before it whole, as when each fragment is finished in turn.
TEST_F(SplitRunTest, AnErrorWhileAFragmentIsCopiedKeepsOnlyTheFinishedOnes) {
  int32_t size = 10240;
  splitter.SetFileFormat(aftRaw);
  splitter.SetFragmentSize(size);
  const Bytes data = Source("plain.bin", 10240 * 4);
  events.onInterval = [](int32_t value) {
    if (value == 3 * 10240)
      Raise(err::kDiskFull);
  };
  splitter.Split();
  EXPECT_EQ(doubles.advisor.asked, std::vector<int32_t>{err::kDiskFull});
  EXPECT_EQ(OutFiles(), (std::vector<std::string>{"plain.001", "plain.002"}));
  EXPECT_EQ(Fragment("plain.002"), Slice(data, 10240, 10240));
}

TEST_F(SplitRunTest, OneFragmentHoldsHeaderAndSourceWithoutFiller) {
  const Bytes data = Source("notes.txt", 1000);
  splitter.Split();
  EXPECT_EQ(Fragment("notes.001"), Join(ExpectedHeader(1, "notes.txt", false, false), data));
  EXPECT_EQ(Fragment("notes.001").size(), 1073u);
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"notes.001"});
}

TEST_F(SplitRunTest, OneCheckableFragmentEndsInTheDigitsOfItsData) {
  const Bytes data = Source("notes.txt", 1000);
  splitter.SetCheckabilityEnabled(true);
  splitter.Split();
  EXPECT_EQ(Fragment("notes.001"),
            Join(Join(ExpectedHeader(1, "notes.txt", false, true), data), Digits(data)));
}

TEST_F(SplitRunTest, RawAndOlderFormatsOfOneFragment) {
  const Bytes data = Source("notes.txt", 1000);
  splitter.SetFileFormat(aftRaw);
  splitter.Split();
  EXPECT_EQ(Fragment("notes.001"), data);
  splitter.SetFileFormat(aftBrannock);
  splitter.Split();
  Bytes prefix{'n', 'o', 't', 'e', 's', '.', 't', 'x', 't', 27};
  EXPECT_EQ(Fragment("notes.001"), Join(prefix, data));
}

TEST_F(SplitRunTest, EmptySourcesInEveryFormat) {
  Source("empty.dat", 0);
  splitter.Split();
  EXPECT_EQ(Fragment("empty.001"), ExpectedHeader(1, "empty.dat", false, false));
  splitter.SetFileFormat(aftRaw);
  splitter.Split();
  EXPECT_TRUE(Fragment("empty.001").empty());
  splitter.SetFileFormat(aftBrannock);
  splitter.Split();
  const Bytes prefix{'e', 'm', 'p', 't', 'y', '.', 'd', 'a', 't', 27};
  EXPECT_EQ(Fragment("empty.001"), prefix);
  splitter.SetCheckabilityEnabled(true);
  splitter.Split();
  EXPECT_EQ(Fragment("empty.001"), Join(prefix, Digits(prefix)));
  splitter.SetFileFormat(aftRaw);
  splitter.Split();
  EXPECT_EQ(Fragment("empty.001"), Digits({}));
}

TEST_F(SplitRunTest, CheckableRawFragmentsAreNominalSizeExceptTheLast) {
  const Bytes data = Source("big.bin", 3000000);
  splitter.SetFileFormat(aftRaw);
  splitter.SetCheckabilityEnabled(true);
  splitter.Split();
  const size_t d = 1457660;
  const Bytes parts[] = {Slice(data, 0, d), Slice(data, d, d), Slice(data, 2 * d, 3000000 - 2 * d)};
  EXPECT_EQ(Fragment("big.001"), Join(parts[0], Digits(parts[0])));
  EXPECT_EQ(Fragment("big.002"), Join(parts[1], Digits(parts[1])));
  EXPECT_EQ(Fragment("big.003"), Join(parts[2], Digits(parts[2])));
  EXPECT_EQ(Fragment("big.001").size(), 1457664u);
  EXPECT_EQ(Fragment("big.003").size(), 3000000 - 2 * d + 4);
}

TEST_F(SplitRunTest, MultisizeFirstFragmentHasItsOwnSize) {
  const Bytes data = Source("data.bin", 1000000);
  int32_t first = 100000;
  splitter.SetFragmentSizeAtStart(first);
  int32_t other = 300000;
  splitter.SetFragmentSize(other);
  splitter.Split();
  const size_t h = 72;
  EXPECT_EQ(Fragment("data.001"),
            Join(ExpectedHeader(5, "data.bin", true, false), Slice(data, 0, 100000 - h)));
  EXPECT_EQ(Fragment("data.002"), Slice(data, 100000 - h, 300000));
  EXPECT_EQ(Fragment("data.004"), Slice(data, 700000 - h, 300000));
  EXPECT_EQ(Fragment("data.005"), Slice(data, 1000000 - h, h));
  EXPECT_EQ(events.log.front(), "MultisizeFlagChange(true)");
  EXPECT_EQ(events.log[1], "SplitStart(1600000)");  // 5 x 300,000 + 100,000
  EXPECT_EQ(events.log[2], "SplitInterval(100000)");
  EXPECT_EQ(events.log[3], "SplitInterval(400000)");
}

TEST_F(SplitRunTest, ADotInAFolderNameDoesNotChangeTheStem) {
  const std::string folder = dir / "my.docs";
  test::MakeFolder(folder);
  Source("report.txt", 50000, WithTrailingSeparator(folder));
  int32_t size = 20000;
  splitter.SetFragmentSize(size);
  splitter.Split();
  EXPECT_EQ(OutFiles(), (std::vector<std::string>{"report.001", "report.002", "report.003"}));
}

TEST_F(SplitRunTest, ANameWithoutADotGivesBareNumbers) {
  Source("README", 30000);
  int32_t size = 20000;
  splitter.SetFragmentSize(size);
  splitter.Split();
  EXPECT_EQ(OutFiles(), (std::vector<std::string>{"001", "002"}));
}

TEST_F(SplitRunTest, ReCreatingFragmentTwoMatchesTheFullRun) {
  Source("data.bin", 4000000);
  splitter.SetCheckabilityEnabled(true);
  splitter.Split();
  const Bytes full[] = {Fragment("data.001"), Fragment("data.002"), Fragment("data.003")};
  std::filesystem::remove(Out("data.001"));
  std::filesystem::remove(Out("data.003"));
  test::WriteBytes(Out("data.002"), Bytes(3000000, 0xEE));  // longer, to be replaced
  events.log.clear();
  splitter.SetRegenerateFragment(2);
  splitter.Split();
  EXPECT_EQ(Fragment("data.002"), full[1]);
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"data.002"});
  EXPECT_EQ(events.log, (std::vector<std::string>{"SplitStart(5830656)", "SplitInterval(2915328)",
                                                  "SplitInterval(5830656)"}));
  splitter.SetRegenerateFragment(1);
  splitter.Split();
  EXPECT_EQ(Fragment("data.001"), full[0]);
  splitter.SetRegenerateFragment(3);
  splitter.Split();
  EXPECT_EQ(Fragment("data.003"), full[2]);
}

TEST_F(SplitRunTest, ALongerFileOfAFragmentsNameIsReplaced) {
  const Bytes data = Source("notes.txt", 1000);
  test::WriteBytes(Out("notes.001"), Bytes(5000, 0xAA));
  splitter.SetFileFormat(aftRaw);
  splitter.Split();
  EXPECT_EQ(Fragment("notes.001"), data);
}

TEST_F(SplitRunTest, EveryEntryOfTheListIsSplitInOrder) {
  Source("a.bin", 100);
  Source("b.bin", 100);
  splitter.Split();
  EXPECT_EQ(events.written, (std::vector<std::string>{Out("a.001"), Out("b.001")}));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "SplitStart(2915328)"), 2);
}

TEST_F(SplitRunTest, AFragmentThatWouldBeTheSourceIsRefusedBeforeAnythingIsWritten) {
  splitter.SetDestinationFolder(dir.Path());  // the source's own folder
  const Bytes data = Source("data.001", 30000);
  int32_t size = 10240;
  splitter.SetFragmentSize(size);
  splitter.Split();
  EXPECT_EQ(test::ReadBytes(dir / "data.001"), data);
  EXPECT_FALSE(FileExists(dir / "data.002"));
  EXPECT_FALSE(FileExists(dir / "data.003"));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Source would be overwritten");
  EXPECT_EQ(doubles.boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_NE(doubles.boxes.shown[0].text.find("data.001"), std::string::npos);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(SplitRunTest, TheSourceCheckFindsTheSameFileUnderAnotherSpelling) {
#ifdef _WIN32
  const Bytes data = Source("data.002", 30000);
  // The same folder, named in another case: still the same file.
  std::string folder = dir.Path();
  std::transform(folder.begin(), folder.end(), folder.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  splitter.SetDestinationFolder(folder);
#else
  const Bytes data = Source("data.002", 30000);
  splitter.SetDestinationFolder(dir.Path() + "." + kPathSeparator);
#endif
  int32_t size = 10240;
  splitter.SetFragmentSize(size);
  splitter.Split();
  EXPECT_EQ(test::ReadBytes(dir / "data.002"), data);
  EXPECT_FALSE(FileExists(dir / "data.001"));
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Source would be overwritten");
}

TEST_F(SplitRunTest, AFragmentNumberBeyondTheSeriesIsRefused) {
  Source("notes.txt", 1000);
  splitter.SetRegenerateFragment(2);
  splitter.Split();
  EXPECT_TRUE(OutFiles().empty());
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Fragment regeneration");
}

TEST_F(SplitRunTest, EncryptedSeriesRoundTripsThroughTheCipher) {
  const Bytes data = Source("data.bin", 30000);
  int32_t size = 10240;
  splitter.SetFragmentSize(size);
  splitter.SetEncryptionKey("open sesame");
  splitter.Split();
  Kavrolib library;
  const size_t h = 8 + kEncryptionNotice.size() + 72;
  Bytes first = Fragment("data.001");
  ASSERT_EQ(first.size(), 10240u);
  // Header in clear: the encryption flag and the key check.
  EXPECT_EQ(first[56 + 8 + 0], 0xFF);
  const int16_t keyCheck = KeyCheck(library, "open sesame");
  EXPECT_EQ(first[h - 2], static_cast<uint8_t>(keyCheck & 0xFF));
  EXPECT_EQ(first[h - 1], static_cast<uint8_t>((keyCheck >> 8) & 0xFF));
  Bytes body(first.begin() + static_cast<std::ptrdiff_t>(h), first.end());
  library.Qweave(body, "open sesame");
  EXPECT_EQ(body, Slice(data, 0, 10240 - h));
  Bytes second = Fragment("data.002");
  library.Qweave(second, "open sesame");
  EXPECT_EQ(second, Slice(data, 10240 - h, 10240));
}

}  // namespace
}  // namespace vtq
