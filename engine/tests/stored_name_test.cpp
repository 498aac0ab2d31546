// The source name in a first fragment: a name the code page carries is
// stored in it, byte for byte as every earlier version stored it; any other
// is stored as the UTF-8 mark and UTF-8. Both come back as they were, in the
// own format and in the older one, and so do the names of series that
// earlier versions wrote (engine/tests/fixtures/code-page-names).

#include "engine/stored_name.h"

#include <gtest/gtest.h>

#include "engine/assembler.h"
#include "engine/format.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/splitter.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/header_bytes.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {
namespace {

const std::string kMark(kUtf8NameMark);

// The round-trip names: CJK, Greek, combining accents (NFD), an emoji
// outside the BMP, blanks; none of them fits Latin-1.
const std::string kUnicodeNames[] = {
    "\xE5\x86\x99\xE7\x9C\x9F \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.bin",  // 写真 テスト.bin
    "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt",                       // Ωμέγα.txt
    "Cafe\xCC\x81 cre\xCC\x80me.doc",                                     // Café crème, NFD
    "party \xF0\x9F\x8E\x89.tar.gz",                                      // party 🎉.tar.gz
    "  two  blanks \xE2\x80\x94 and a dash  .iso",
};

TEST(StoredName, TheRuleOverNamesOfEveryKind) {
  struct Case {
    const char* what;
    std::string name;
    std::string stored;
  };
  const Case cases[] = {
      {"ASCII", "notes.txt", "notes.txt"},
      {"code page", "caf\xC3\xA9.txt", "caf\xE9.txt"},
      // "Ã©.txt": its code-page bytes C3 A9 are UTF-8 for "é"; they are
      // still what is stored, and they read back as "Ã©".
      {"looks like UTF-8", "\xC3\x83\xC2\xA9.txt", "\xC3\xA9.txt"},
      {"CJK", "\xE5\x86\x99.bin", kMark + "\xE5\x86\x99.bin"},
      {"mixed", "caf\xC3\xA9 \xCE\xA9", kMark + "caf\xC3\xA9 \xCE\xA9"},
      // A code-page name that begins with the mark's bytes (Latin-1 "ï»¿")
      // would read as UTF-8: it is stored as UTF-8 itself.
      {"begins like the mark", "\xC3\xAF\xC2\xBB\xC2\xBFx", kMark + "\xC3\xAF\xC2\xBB\xC2\xBFx"},
      // The mark's bytes anywhere but in front are code-page text.
      {"the mark inside", "x\xC3\xAF\xC2\xBB\xC2\xBF", "x\xEF\xBB\xBF"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StoredName(c.name, base::Latin1CodePage()), c.stored) << c.what;
    EXPECT_EQ(NameFromStored(c.stored, base::Latin1CodePage()), c.name) << c.what;
  }
  for (const std::string& name : kUnicodeNames) {
    EXPECT_EQ(StoredName(name, base::Latin1CodePage()), kMark + name);
    EXPECT_EQ(NameFromStored(kMark + name, base::Latin1CodePage()), name);
  }
}

class StoredNameRoundTrip : public ::testing::Test {
 protected:
  StoredNameRoundTrip() { platform.codePage = &base::Latin1CodePage(); }

  TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  SplitterEvents splitEvents;
  RecordingAssemblerEvents assembleEvents;
  ScratchDir source;
  ScratchDir fragments;
  ScratchDir out;

  // The first fragment's bytes.
  std::string Split(const std::string& name, AftFileFormat format) {
    ActiveSplitter splitter(globals, splitEvents);
    splitter.FilesToSplit().Add(source / name);
    splitter.SetDestinationFolder(fragments.Path());
    splitter.SetFileFormat(format);
    int32_t size = 10240;
    splitter.SetFragmentSize(size);
    splitter.Split();
    const std::vector<uint8_t> first = ReadBytes(fragments / (StemOf(name) + "001"));
    return std::string(first.begin(), first.end());
  }

  std::string AssembledName(const std::string& name, AftFileFormat format) {
    ActiveAssembler assembler(globals, assembleEvents);
    assembler.DestinationFolder(out.Path());
    assembler.FormatForUnknowns(format);
    assembler.FilesToAssemble().Add(fragments / (StemOf(name) + "001"));
    const std::string stored = assembler.AssembledFilename(1).value_or("?");
    assembler.Assemble();
    EXPECT_EQ(assembler.CompletedSeries(), 1) << name;
    return stored;
  }
};

TEST_F(StoredNameRoundTrip, EveryNameComesBackInBothFormats) {
  std::vector<std::string> names(std::begin(kUnicodeNames), std::end(kUnicodeNames));
  names.push_back("caf\xC3\xA9.txt");
  names.push_back("\xC3\x83\xC2\xA9.txt");
  uint32_t seed = 0;
  for (const std::string& name : names) {
    const std::vector<uint8_t> data = PatternBytes(25000, ++seed);
    WriteBytes(source / name, data);
    const std::string stored = StoredName(name, base::Latin1CodePage());
    for (const AftFileFormat format : {aftQuorvelle, aftBrannock}) {
      const std::string first = Split(name, format);
      if (format == aftQuorvelle) {
        EXPECT_EQ(WordAt(first, 52), stored.size()) << name;
        EXPECT_EQ(first.substr(54, stored.size()), stored) << name;
      } else {
        EXPECT_EQ(first.substr(0, stored.size() + 1), stored + kEscape) << name;
      }
      EXPECT_EQ(AssembledName(name, format), name) << name << " format " << format;
      EXPECT_EQ(ReadBytes(out / name), data) << name << " format " << format;
    }
  }
  EXPECT_TRUE(doubles.boxes.shown.empty());
}

// Written by an earlier version with the code page 1252: the names come
// back as they were written. Natively Latin-1 stands in for 1252 (the two
// agree on these letters); the tests' Windows runs with 1252 itself.
TEST(EarlierVersionsSeries, AssembleWithTheNameTheyWereWrittenWith) {
  const std::string name = "R\xC3\xA9sum\xC3\xA9 f\xC3\xBCr J\xC3\xBCrgen.txt";
  std::vector<uint8_t> source(15000);
  for (size_t i = 0; i < source.size(); ++i)
    source[i] = static_cast<uint8_t>(i * 131 + i / 256);
  const std::string fixtures =
      std::string(VTQ_SOURCE_DIR) + "/engine/tests/fixtures/code-page-names/";
  for (const char* kind : {"own", "old", "enc"}) {
#ifndef _WIN32
    // The passphrase was handed to kavrolib in code page 1252, which only
    // the Windows build speaks.
    if (std::string_view(kind) == "enc")
      continue;
#endif
    AssemblerHarness h;
    Platform platform = h.doubles.Real();
#ifndef _WIN32
    platform.codePage = &base::Latin1CodePage();
#endif
    Globals globals{platform};
    ActiveAssembler assembler(globals, h.events);
    assembler.DestinationFolder(h.out.Path());
    assembler.FormatForUnknowns(aftBrannock);
    if (std::string_view(kind) == "enc")
      assembler.DecryptionKey(
          "Gr\xC3\xBC\xC3\x9F"
          "e aus K\xC3\xB6ln");
    assembler.FilesToAssemble().Add(fixtures + kind +
                                    "/R\xC3\xA9sum\xC3\xA9 f\xC3\xBCr J\xC3\xBCrgen.001");
    EXPECT_EQ(assembler.AssembledFilename(1), name) << kind;
    assembler.Assemble();
    EXPECT_EQ(assembler.CompletedSeries(), 1) << kind;
    EXPECT_EQ(NamesIn(h.out.Path()), std::vector<std::string>{name}) << kind;
    EXPECT_EQ(ReadBytes(h.out / name), source) << kind;
    EXPECT_TRUE(h.doubles.boxes.shown.empty()) << kind;
  }
}

}  // namespace
}  // namespace vtq::test
