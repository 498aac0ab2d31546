// The assemble run on Wine's simulated floppy, CD-ROM and fixed drives: the
// disk questions, the lone unformatted fragment, the CD-ROM warnings.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "engine/assembler.h"
#include "engine/globals.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/assembler_harness.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/simulated_drive.h"

namespace vtq::test {
namespace {

struct OnDrives : public ::testing::Test {
  TestPlatform doubles;
  Platform platform = doubles.Real();
  Globals globals{platform};
  RecordingAssemblerEvents events;
  ActiveAssembler assembler{globals, events};
  ScratchDir out;

  OnDrives() { assembler.DestinationFolder(out.Path()); }
  // One fragment per disk, disk 1 left in the drive.
  void OnePerDisk(SimulatedDrive& drive, const std::vector<Bytes>& fragments,
                  const std::string& stem) {
    for (size_t i = 0; i < fragments.size(); ++i) {
      if (i > 0)
        drive.InsertNewDisk();
      WriteBytes(drive / (stem + FragmentNumber(static_cast<int>(i + 1))), fragments[i]);
    }
    drive.InsertDisk(1);
  }
};

TEST_F(OnDrives, EachDiskIsAskedForAndSwappedIn) {
  SimulatedDrive a('A');
  const Bytes data = PatternBytes(30000);
  OnePerDisk(a, OwnSeries(data, 10240), "notes.");
  assembler.FilesToAssemble().Add(a / "notes.001");
  events.onDisk = [&](int16_t disk, bool&) { a.InsertDisk(disk); };
  assembler.Assemble();
  EXPECT_EQ(events.log, (std::vector<std::string>{"start 3", "interval 1", "disk 2", "interval 2",
                                                  "disk 3", "interval 3"}));
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(OnDrives, AnEmptyDriveIsAskedAboutAgain) {
  SimulatedDrive a('A');
  const Bytes data = PatternBytes(20000);
  OnePerDisk(a, OwnSeries(data, 10240), "notes.");
  assembler.FilesToAssemble().Add(a / "notes.001");
  int asked = 0;
  events.onDisk = [&](int16_t disk, bool&) {
    if (++asked == 1) {
      a.Eject();
    } else {
      a.InsertDisk(disk);
    }
  };
  assembler.Assemble();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(OnDrives, CancellingDisk3DeletesTheOutput) {
  SimulatedDrive a('A');
  OnePerDisk(a, OwnSeries(PatternBytes(30000), 10240), "notes.");
  assembler.FilesToAssemble().Add(a / "notes.001");
  events.onDisk = [&](int16_t disk, bool& cancel) {
    if (disk == 3) {
      const std::vector<std::string> working = WorkingFilesIn(out.Path());
      ASSERT_EQ(working.size(), 1u);
      EXPECT_EQ(FileLength(out / working[0]), (10240u - 73u) + 10240u);
      cancel = true;
    } else {
      a.InsertDisk(disk);
    }
  };
  assembler.Assemble();
  EXPECT_FALSE(FileExists(out / "notes.txt"));
  EXPECT_TRUE(NamesIn(out.Path()).empty());
}

TEST_F(OnDrives, ALoneUnformattedFragmentOnAFloppyIsRefusedAndOnAHardDiskJoined) {
  SimulatedDrive a('A');
  SimulatedDrive h('H');
  WriteBytes(a / "big.001", PatternBytes(100));
  WriteBytes(h / "big.001", PatternBytes(100));
  assembler.FilesToAssemble().Add(a / "big.001");
  assembler.Assemble();
  ASSERT_EQ(doubles.boxes.shown.size(), 1u);
  EXPECT_EQ(doubles.boxes.shown[0].title, "Unable to determine number of fragments");
  EXPECT_FALSE(FileExists(out / "big.Unk"));
  assembler.FilesToAssemble().Clear();
  assembler.FilesToAssemble().Add(h / "big.001");
  assembler.Assemble();
  EXPECT_EQ(ReadBytes(out / "big.Unk"), PatternBytes(100));
}

TEST_F(OnDrives, ACdRomWarnsBeforeTheFirstAndAfterEveryFragmentAndAsksForNoDisk) {
  SimulatedDrive r('R');
  const Bytes data = PatternBytes(30000);
  WriteFragments(r.Root() + "notes.", OwnSeries(data, 10240));
  assembler.FilesToAssemble().Add(r / "notes.001");
  assembler.Assemble();
  EXPECT_EQ(doubles.boxes.shown.size(), 4u);
  for (const ShownBox& box : doubles.boxes.shown)
    EXPECT_EQ(box.title, "CDROM Warning");
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"start 3", "interval 1", "interval 2", "interval 3"}));
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);
}

TEST_F(OnDrives, DiskQuestionsFollowTheListsFirstEntry) {
  SimulatedDrive a('A');
  SimulatedDrive h('H');
  WriteFragments(h.Root() + "fixed.", OwnSeries(PatternBytes(20000), 10240, "fixed.bin"));
  WriteFragments(a.Root() + "floppy.", OwnSeries(PatternBytes(20000), 10240, "floppy.bin"));
  assembler.FilesToAssemble().Add(h / "fixed.001");
  assembler.FilesToAssemble().Add(a / "floppy.001");
  assembler.Assemble();
  for (const std::string& line : events.log)
    EXPECT_EQ(line.find("disk"), std::string::npos) << line;
  EXPECT_EQ(ReadBytes(out / "floppy.bin"), PatternBytes(20000));
}

}  // namespace
}  // namespace vtq::test

#endif
