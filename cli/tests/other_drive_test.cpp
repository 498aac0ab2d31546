// vtq.exe's relative names on a drive other than the one the tests live
// on: a current folder on the fixed drive H:, and "H:name" (relative to
// H:'s own current folder) given from another drive. The free room and the
// drive type are asked of H: itself.

#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cli/tests/command_test.h"
#include "cli/tests/current_folder.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/simulated_drive.h"

namespace vtq::cli {
namespace {

TEST_F(CommandTest, ACurrentFolderOnAnotherDriveAndANameRelativeToADrive) {
  const test::SimulatedDrive fixed('H');
  test::MakeFolder(fixed / "work");
  test::WriteBytes(fixed / "work\\data.bin", data);
  {
    const test::CurrentFolder here(fixed / "work");
    ASSERT_EQ(Run(RunSplit, {"data.bin", "-c", "-s", "10k"}), 0) << err;
    EXPECT_TRUE(err.starts_with("vtq: 3 fragments, ")) << err;
    EXPECT_TRUE(err.ends_with(" written to H:\\work\\\n")) << err;
    ASSERT_EQ(Run(RunAssemble, {"data.001", "-d", "..\\joined"}), 2);
    EXPECT_EQ(err, "vtq: the destination folder H:\\joined does not exist\n");
    test::MakeFolder(fixed / "joined");
    ASSERT_EQ(Run(RunAssemble, {"data.001", "-d", "..\\joined"}), 0) << err;
    EXPECT_EQ(stdoutText, "H:\\joined\\data.bin\n");
  }
  EXPECT_EQ(test::ReadBytes(fixed / "joined\\data.bin"), data);

  // H: is not the current drive here: "H:" alone is H:'s root.
  test::WriteBytes(fixed / "root.bin", data);
  const test::CurrentFolder here(dir.Path());
  ASSERT_EQ(Run(RunSplit, {"H:root.bin", "-s", "10k"}), 0) << err;
  EXPECT_TRUE(FileExists(fixed / "root.003"));
  ASSERT_EQ(Run(RunAssemble, {"H:root.001", "-d", "."}), 0) << err;
  EXPECT_EQ(test::ReadBytes(dir / "root.bin"), data);
}

}  // namespace
}  // namespace vtq::cli
