// Generated sets against Debian's par2 in both directions: our recovery
// files verified and used for a repair by par2 (and by us), and par2's used
// by our repair. Each case draws from its seed a slice size, a recovery
// count and files that are empty, shorter than a slice, exactly one slice,
// or several slices among which some repeat an earlier one and some are
// all zeros; then damage within what the recovery slices can rebuild: files
// lost and single bits flipped. A few cases run here; scripts/recovery-cases
// runs many (VTQ_RECOVERY_CASES, VTQ_RECOVERY_SEED). par2 itself cannot
// repair a slice whose bytes stand elsewhere in the same file: there it
// must fail with its own recovery files as well.
// Also the format's limits: a set of 32,768 slices, and (with
// VTQ_RECOVERY_HUGE=1, from the same script) a sparse file over 4 GiB.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>

#include "engine/platform/file_io.h"
#include "engine/tests/support/scratch.h"
#include "recovery/packets.h"
#include "recovery/recovery_files.h"
#include "recovery/recovery_writer.h"
#include "recovery/repair.h"
#include "recovery/tests/par2_runner.h"

namespace vtq::recovery {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t FromEnvironment(const char* name, uint32_t otherwise) {
  const char* value = std::getenv(name);
  return value && *value ? static_cast<uint32_t>(std::strtoul(value, nullptr, 10)) : otherwise;
}

struct GeneratedSet {
  uint64_t sliceSize = 0;
  uint32_t recovery = 0;
  std::vector<std::string> names;  // base names
  std::vector<Bytes> contents;
  std::string told;  // what the case is, for the failure messages
};

Bytes RandomBytes(size_t size, std::mt19937& random) {
  Bytes bytes(size);
  for (auto& b : bytes)
    b = static_cast<uint8_t>(random());
  return bytes;
}

GeneratedSet Generate(uint32_t seed) {
  std::mt19937 random(seed);
  const auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
  GeneratedSet set;
  set.sliceSize = 4 * (1 + below(below(2) ? 32 : 1024));
  set.recovery = 1 + below(6);
  const size_t slice = static_cast<size_t>(set.sliceSize);
  const uint32_t files = 1 + below(5);
  bool someData = false;
  for (uint32_t f = 0; f < files || !someData; ++f) {
    Bytes bytes;
    const uint32_t kind = below(5);
    if (kind == 1) {
      bytes = RandomBytes(1 + below(static_cast<uint32_t>(slice) - 1), random);
    } else if (kind == 2) {
      bytes = RandomBytes(slice, random);
    } else if (kind >= 3) {
      // Several slices: fresh, a repeat of an earlier one, or zeros; the
      // last one often shorter.
      const uint32_t slices = 2 + below(5);
      for (uint32_t s = 0; s < slices; ++s) {
        const uint32_t what = s == 0 ? 0 : below(3);
        Bytes next = what == 0   ? RandomBytes(slice, random)
                     : what == 1 ? Bytes(bytes.begin(), bytes.begin() + slice)
                                 : Bytes(slice, 0);
        bytes.insert(bytes.end(), next.begin(), next.end());
      }
      if (below(2))
        bytes.resize(bytes.size() - below(static_cast<uint32_t>(slice)));
    }
    someData = someData || !bytes.empty();
    set.names.push_back(std::string("f").append(std::to_string(f)).append(".bin"));
    set.contents.push_back(std::move(bytes));
  }
  set.told = std::string("seed ").append(std::to_string(seed));
  set.told.append(": slice ").append(std::to_string(set.sliceSize));
  set.told.append(", ").append(std::to_string(set.recovery)).append(" recovery slices, files of");
  for (const Bytes& bytes : set.contents)
    set.told.append(" ").append(std::to_string(bytes.size()));
  return set;
}

// Loses whole files and flips single bits, never more slices than the
// recovery slices rebuild; at least one harm. Returns what it did.
std::string Damage(const GeneratedSet& set, const std::string& folder, uint32_t seed) {
  std::mt19937 random(seed * 7919 + 1);
  std::set<std::pair<size_t, uint64_t>> lost;  // (file, slice)
  std::set<size_t> gone;
  std::vector<Bytes> now = set.contents;
  std::string done;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const size_t f = random() % set.names.size();
    const uint64_t slices = SliceCount(now[f].size(), set.sliceSize);
    if (slices == 0 || gone.count(f))
      continue;
    if (random() % 3 == 0) {
      uint64_t cost = 0;
      for (uint64_t s = 0; s < slices; ++s)
        cost += lost.count({f, s}) ? 0 : 1;
      if (lost.size() + cost > set.recovery)
        continue;
      for (uint64_t s = 0; s < slices; ++s)
        lost.insert({f, s});
      gone.insert(f);
      done += " lost " + set.names[f];
    } else {
      const uint64_t bit = random() % (now[f].size() * 8);
      const uint64_t s = bit / 8 / set.sliceSize;
      if (!lost.count({f, s}) && lost.size() == set.recovery)
        continue;
      lost.insert({f, s});
      now[f][bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      done += " bit " + std::to_string(bit) + " of " + set.names[f];
    }
    if (!done.empty() && random() % 2 == 0)
      break;
  }
  for (size_t f = 0; f < set.names.size(); ++f) {
    if (gone.count(f))
      RemoveFile(folder + set.names[f]);
    else if (now[f] != set.contents[f])
      test::WriteBytes(folder + set.names[f], now[f]);
  }
  return done.empty() ? " nothing" : done;
}

class GeneratedSets : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HavePar2())
      GTEST_SKIP() << "par2 (par2cmdline) is not installed on this build machine";
  }
  static void WriteFiles(const GeneratedSet& set, const std::string& folder) {
    for (size_t f = 0; f < set.names.size(); ++f)
      test::WriteBytes(folder + set.names[f], set.contents[f]);
  }
  static void ExpectAsWritten(const GeneratedSet& set, const std::string& folder,
                              const std::string& told) {
    for (size_t f = 0; f < set.names.size(); ++f) {
      EXPECT_TRUE(FileExists(folder + set.names[f])) << told;
      if (FileExists(folder + set.names[f])) {
        EXPECT_EQ(test::ReadBytes(folder + set.names[f]), set.contents[f]) << told;
      }
    }
  }
  static RepairOutcome RepairWithOurs(const std::string& index, const std::string& folder) {
    const LoadedSet loaded = LoadRecoveryFiles(FindRecoveryFiles(index));
    if (!loaded.set)
      return {{}, {}, "no set", {}};
    return RepairFiles(*loaded.set, loaded.slices, CheckFiles(*loaded.set, folder));
  }
  static bool Par2RepairsItsOwn(const GeneratedSet& set, uint32_t seed) {
    test::ScratchDir dir;
    WriteFiles(set, dir.Path());
    if (Par2In(dir.Path(), "create -q" + Par2CreateOptions(set)) != 0)
      return false;
    Damage(set, dir.Path(), seed);
    return Par2In(dir.Path(), "repair set.par2") == 0;
  }
  // The slice size, count and files for par2 create, which leaves empty
  // files out of its sets.
  static std::string Par2CreateOptions(const GeneratedSet& set) {
    std::string options = " -s" + std::to_string(set.sliceSize);
    options += " -c" + std::to_string(set.recovery) + " set.par2";
    for (size_t f = 0; f < set.names.size(); ++f)
      options += set.contents[f].empty() ? "" : " " + set.names[f];
    return options;
  }
  static uint32_t Cases() { return FromEnvironment("VTQ_RECOVERY_CASES", 6); }
  static uint32_t FirstSeed() { return FromEnvironment("VTQ_RECOVERY_SEED", 1); }
};

TEST_F(GeneratedSets, OursAreVerifiedAndUsedByPar2AndByUs) {
  for (uint32_t seed = FirstSeed(); seed < FirstSeed() + Cases(); ++seed) {
    const GeneratedSet set = Generate(seed);
    test::ScratchDir dir;
    const std::string folder = dir.Path();
    WriteFiles(set, folder);
    RecoveryRequest request;
    for (const std::string& name : set.names)
      request.files.push_back(folder + name);
    request.prefix = folder + "set.";
    request.sliceSize = set.sliceSize;
    request.recoverySlices = set.recovery;
    WriteRecoveryFiles(request);
    ASSERT_EQ(Par2In(folder, "verify set.par2"), 0) << set.told << "\n" << Par2LogIn(folder);
    std::string told = set.told + ";" + Damage(set, folder, seed);
    if (Par2In(folder, "repair set.par2") == 0) {
      ExpectAsWritten(set, folder, told + " (par2's repair)");
    } else {
      // par2cmdline 0.8 fails where a damaged slice's bytes stand elsewhere
      // in the same file (it takes the copy for the slice): then it fails
      // with its own recovery files alike.
      EXPECT_FALSE(Par2RepairsItsOwn(set, seed)) << told << "\n" << Par2LogIn(folder);
      WriteFiles(set, folder);
    }
    told = set.told + ";" + Damage(set, folder, seed);
    const RepairOutcome outcome = RepairWithOurs(folder + "set.par2", folder);
    EXPECT_TRUE(outcome.notRebuilt.empty()) << told << ": " << outcome.problem;
    ExpectAsWritten(set, folder, told + " (our repair)");
  }
}

TEST_F(GeneratedSets, Par2sAreUsedByOurRepair) {
  for (uint32_t seed = FirstSeed(); seed < FirstSeed() + Cases(); ++seed) {
    const GeneratedSet set = Generate(seed);
    test::ScratchDir dir;
    const std::string folder = dir.Path();
    WriteFiles(set, folder);
    ASSERT_EQ(Par2In(folder, "create -q" + Par2CreateOptions(set)), 0) << set.told << "\n"
                                                                       << Par2LogIn(folder);
    const std::string told = set.told + ";" + Damage(set, folder, seed);
    const RepairOutcome outcome = RepairWithOurs(folder + "set.par2", folder);
    EXPECT_TRUE(outcome.notRebuilt.empty()) << told << ": " << outcome.problem;
    ExpectAsWritten(set, folder, told);
  }
}

// The most slices a set may have, each of 4 bytes, in both directions.
TEST_F(GeneratedSets, ASetOf32768SlicesGoesBothWays) {
  test::ScratchDir dir;
  const std::string folder = dir.Path();
  GeneratedSet set;
  set.sliceSize = 4;
  set.recovery = 3;
  set.names = {"many.bin"};
  set.contents = {test::PatternBytes(kMaxInputSlices * 4, 5)};
  WriteFiles(set, folder);
  RecoveryRequest request;
  request.files = {folder + "many.bin"};
  request.prefix = folder + "many.";
  request.sliceSize = 4;
  request.recoverySlices = 3;
  EXPECT_EQ(WriteRecoveryFiles(request).set.files.at(0).slices.size(), kMaxInputSlices);
  ASSERT_EQ(Par2In(folder, "verify many.par2"), 0) << Par2LogIn(folder);
  Bytes damaged = set.contents[0];
  damaged[7] ^= 1;
  damaged[kMaxInputSlices * 4 - 1] ^= 0x80;
  test::WriteBytes(folder + "many.bin", damaged);
  ASSERT_EQ(Par2In(folder, "repair many.par2"), 0) << Par2LogIn(folder);
  ExpectAsWritten(set, folder, "par2's repair");

  test::ScratchDir theirs;
  WriteFiles(set, theirs.Path());
  ASSERT_EQ(Par2In(theirs.Path(), "create -q -s4 -c3 many.par2 many.bin"), 0)
      << Par2LogIn(theirs.Path());
  test::WriteBytes(theirs / "many.bin", damaged);
  const RepairOutcome outcome = RepairWithOurs(theirs / "many.par2", theirs.Path());
  EXPECT_EQ(outcome.rebuilt.size(), 1u) << outcome.problem;
  ExpectAsWritten(set, theirs.Path(), "our repair");
}

// A sparse file of 4 GiB and 2 MiB with data in its first, middle and last
// slices; a slice past 4 GiB damaged. Minutes of hashing: asked for.
TEST_F(GeneratedSets, AFileOver4GiBGoesBothWays) {
  if (FromEnvironment("VTQ_RECOVERY_HUGE", 0) == 0)
    GTEST_SKIP() << "set VTQ_RECOVERY_HUGE=1 (scripts/recovery-cases does)";
  const uint64_t slice = 1 << 20;
  const uint64_t length = (uint64_t{4} << 30) + 2 * slice + 12;
  const std::vector<uint64_t> placed = {0, 2047 * slice + 100, (uint64_t{4} << 30) + slice};
  const Bytes data = test::PatternBytes(5000, 77);
  const auto makeFile = [&](const std::string& name) {
    File file(name, File::Mode::kReplace);
    for (const uint64_t at : placed) {
      file.Seek(at);
      file.Write(data.data(), data.size());
    }
    file.Seek(length - 4);
    file.Write(data.data(), 4);
  };
  const auto damage = [&](const std::string& name) {
    std::FILE* file = std::fopen(name.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    fseeko(file, static_cast<off_t>(placed[2] + 17), SEEK_SET);
    std::fputc('Z', file);
    std::fclose(file);
  };
  const auto sound = [&](const std::string& name) {
    File file(name, File::Mode::kRead);
    Bytes got(data.size());
    file.Seek(placed[2]);
    file.ReadExactly(got.data(), got.size());
    return file.Length() == length && got == data;
  };
  test::ScratchDir ours;
  makeFile(ours / "big.bin");
  RecoveryRequest request;
  request.files = {ours / "big.bin"};
  request.prefix = ours / "big.";
  request.sliceSize = slice;
  request.recoverySlices = 2;
  WriteRecoveryFiles(request);
  ASSERT_EQ(Par2In(ours.Path(), "verify big.par2"), 0) << Par2LogIn(ours.Path());
  damage(ours / "big.bin");
  EXPECT_FALSE(sound(ours / "big.bin"));
  ASSERT_EQ(Par2In(ours.Path(), "repair big.par2"), 0) << Par2LogIn(ours.Path());
  EXPECT_TRUE(sound(ours / "big.bin"));

  test::ScratchDir theirs;
  makeFile(theirs / "big.bin");
  ASSERT_EQ(Par2In(theirs.Path(), "create -q -s" + std::to_string(slice) + " -c2 big.par2 big.bin"),
            0)
      << Par2LogIn(theirs.Path());
  damage(theirs / "big.bin");
  const RepairOutcome outcome = RepairWithOurs(theirs / "big.par2", theirs.Path());
  EXPECT_EQ(outcome.rebuilt.size(), 1u) << outcome.problem;
  EXPECT_TRUE(sound(theirs / "big.bin"));
}

}  // namespace
}  // namespace vtq::recovery
