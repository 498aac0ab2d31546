// vtq split, verify and assemble given names relative to the current folder, as
// people type them: beside the source, ".", "..", and folders whose names
// begin like a drive letter. On Windows the engine takes a drive from the
// first letters of a name, so each of these once measured or prompted for
// the wrong drive.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/commands.h"
#include "cli/tests/command_test.h"
#include "cli/tests/current_folder.h"
#include "engine/platform/file_io.h"

namespace vtq::cli {
namespace {

// Folders joined by the system's separator.
std::string In(std::initializer_list<std::string> parts) {
  std::string joined;
  for (const std::string& part : parts)
    joined += (joined.empty() ? "" : std::string(1, kPathSeparator)) + part;
  return joined;
}

struct RelativeCase {
  const char* what;
  // Current folders (under the scratch folder) and arguments of each run;
  // the source is work/data.bin.
  std::string splitFrom;
  std::vector<std::string> split;
  std::string fragmentsIn;
  std::string assembleFrom;
  std::vector<std::string> assemble;
  std::string joinedIn;
};

TEST_F(CommandTest, NamesRelativeToTheCurrentFolderAreTheFilesAndFoldersTheyName) {
  const std::vector<RelativeCase> cases = {
      {"without -d", "work", {"data.bin"}, "work", "work", {"data.001"}, "work"},
      {"-d .",
       In({"work", "series"}),
       {In({"..", "data.bin"}), "-d", "."},
       In({"work", "series"}),
       In({"work", "joined"}),
       {In({"..", "series", "data.001"}), "-d", "."},
       In({"work", "joined"})},
      {"-d ..\\out",
       "work",
       {"data.bin", "-d", In({"..", "out"})},
       "out",
       "work",
       {In({"..", "out", "data.001"}), "-d", In({"..", "joined"})},
       "joined"},
      // "a" and "b" are floppy drives' letters.
      {"folders named like drives",
       "work",
       {"data.bin", "-d", "a"},
       In({"work", "a"}),
       "work",
       {In({"a", "data.001"}), "-d", "b"},
       In({"work", "b"})},
  };
  for (const RelativeCase& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string& folder : {In({"work", "series"}), In({"work", "joined"}),
                                      In({"work", "a"}), In({"work", "b"}), std::string("joined")})
      std::filesystem::create_directories(dir / folder);
    test::WriteBytes(dir / In({"work", "data.bin"}), data);
    {
      const test::CurrentFolder here(dir / c.splitFrom);
      std::vector<std::string> args = c.split;
      args.insert(args.end(), {"-c", "-s", "10k", "--no"});
      ASSERT_EQ(Run(RunSplit, args), 0) << err;
    }
    EXPECT_TRUE(FileExists(dir / In({c.fragmentsIn, "data.003"})))
        << "the fragments are not where the split was told to write them";
    // Beside the first fragment the source would be in the way.
    RemoveFile(dir / In({"work", "data.bin"}));
    {
      const test::CurrentFolder here(dir / c.assembleFrom);
      EXPECT_EQ(Run(RunVerify, {c.assemble.front()}), 0) << err;
      std::vector<std::string> args = c.assemble;
      args.push_back("--no");
      ASSERT_EQ(Run(RunAssemble, args), 0) << err;
    }
    EXPECT_EQ(test::ReadBytes(dir / In({c.joinedIn, "data.bin"})), data);
    std::filesystem::remove_all(dir / "work");
    std::filesystem::remove_all(dir / "out");
    std::filesystem::remove_all(dir / "joined");
    std::filesystem::create_directories(dir / "out");
  }
}

}  // namespace
}  // namespace vtq::cli
