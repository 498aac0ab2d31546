// Files written beside their final names: the short working name, the three
// ways out (complete, discard, kept beside), what an abandoned one leaves,
// and names cut to fit the longest base name.

#include "engine/working_file.h"

#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/path.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

void Put(WorkingFile& file, const std::string& text) {
  file.Write(text.data(), text.size());
}

TEST(WorkingFile, IsWrittenUnderAShortNameOfItsOwnThenTakesTheFinalName) {
  ScratchDir dir;
  WriteText(dir / "report.doc", "old");
  WorkingFile file(dir / "report.doc");
  EXPECT_EQ(file.FinalName(), dir / "report.doc");
  const std::string working = BaseName(file.Name());
  EXPECT_EQ(file.Name(), dir / working);  // the same folder
  EXPECT_EQ(working.size(), 16u);         // ".vtq" + 8 hex digits + ".tmp"
  EXPECT_EQ(WorkingFilesIn(dir.Path()), std::vector<std::string>{working});
  Put(file, "new data");
  EXPECT_EQ(ReadBytes(dir / "report.doc"), Text("old"));  // untouched until complete
  file.Complete();
  EXPECT_EQ(ReadBytes(dir / "report.doc"), Text("new data"));
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"report.doc"});
}

TEST(WorkingFile, TwoAtOnceBesideOneNameGetTwoNames) {
  ScratchDir dir;
  WorkingFile a(dir / "x");
  WorkingFile b(dir / "x");
  EXPECT_NE(a.Name(), b.Name());
  Put(a, "a");
  Put(b, "b");
  a.Complete();
  b.Complete();
  EXPECT_EQ(ReadBytes(dir / "x"), Text("b"));
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"x"});
}

TEST(WorkingFile, DiscardedOrAbandonedItLeavesNothingAndTouchesNothing) {
  ScratchDir dir;
  WriteText(dir / "f", "old");
  {
    WorkingFile file(dir / "f");
    Put(file, "half");
    file.Discard();
  }
  {
    WorkingFile file(dir / "f");
    Put(file, "half");
  }  // abandoned, as on an error
  {
    WorkingFile file(dir / "f");
    file = WorkingFile();  // replaced by nothing
  }
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"f"});
  EXPECT_EQ(ReadBytes(dir / "f"), Text("old"));
  WorkingFile none;
  EXPECT_EQ(ErrorOf([&] { Put(none, "x"); }), err::kBadFileName);
}

TEST(WorkingFile, KeptBesideItTakesTheFirstFreeNameAndReplacesNothing) {
  ScratchDir dir;
  WriteText(dir / "r.doc.partial", "mine");
  WriteText(dir / "r.doc.partial3", "mine too");
  std::vector<std::string> kept;
  for (const char* text : {"one", "two"}) {
    WorkingFile file(dir / "r.doc");
    Put(file, text);
    kept.push_back(file.KeepBeside(".partial"));
  }
  EXPECT_EQ(kept, (std::vector<std::string>{dir / "r.doc.partial2", dir / "r.doc.partial4"}));
  EXPECT_EQ(ReadBytes(dir / "r.doc.partial"), Text("mine"));
  EXPECT_EQ(ReadBytes(dir / "r.doc.partial2"), Text("one"));
  EXPECT_EQ(ReadBytes(dir / "r.doc.partial3"), Text("mine too"));
  EXPECT_EQ(ReadBytes(dir / "r.doc.partial4"), Text("two"));
  EXPECT_FALSE(FileExists(dir / "r.doc"));
  EXPECT_TRUE(WorkingFilesIn(dir.Path()).empty());
}

TEST(WorkingFile, AFolderOfTheFinalNameIsRefusedBeforeAnythingIsWritten) {
  ScratchDir dir;
  MakeFolder(dir / "taken");
  EXPECT_EQ(ErrorOf([&] { WorkingFile file(dir / "taken"); }), err::kPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { WorkingFile::InPlace(dir / "taken"); }), err::kPermissionDenied);
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"taken"});
  // The refusal says which name it was about.
  try {
    WorkingFile file(dir / "taken");
    ADD_FAILURE() << "a folder was taken for a file";
  } catch (const VbError& error) {
    EXPECT_EQ(error.FileName(), dir / "taken");
  }
}

TEST(WorkingFile, InPlaceItRemovesTheOldFileFirstAndGoesWhenAbandoned) {
  ScratchDir dir;
  WriteText(dir / "frag.002", "old and longer");
  {
    WorkingFile file = WorkingFile::InPlace(dir / "frag.002");
    EXPECT_EQ(file.Name(), dir / "frag.002");
    EXPECT_EQ(FileLength(dir / "frag.002"), 0u);
    Put(file, "new");
    file.Complete();
  }
  EXPECT_EQ(ReadBytes(dir / "frag.002"), Text("new"));
  {
    WorkingFile file = WorkingFile::InPlace(dir / "frag.002");
    Put(file, "ha");
  }
  EXPECT_TRUE(NamesIn(dir.Path()).empty());  // no stub under a finished name
}

TEST(WorkingFile, ASuffixIsMadeToFitByCuttingTheEndOfTheBaseName) {
  const std::string folder = WithTrailingSeparator("folder.with.dots");
  EXPECT_EQ(WithSuffixThatFits(folder + "a.doc", ".partial"), folder + "a.doc.partial");
  const std::string fits(247, 'n');
  EXPECT_EQ(WithSuffixThatFits(folder + fits, ".partial"), folder + fits + ".partial");
  const std::string longName = std::string(246, 'n') + ".doc";  // 250
  EXPECT_EQ(WithSuffixThatFits(folder + longName, ".partial"),
            folder + std::string(246, 'n') + "..partial");
  EXPECT_EQ(BaseName(WithSuffixThatFits(folder + longName, ".partial12")).size(), 255u);
  // A character of several bytes is cut whole.
  const std::string wide = std::string(246, 'n') + "\xC3\xA9" + "xyz";  // 251 bytes
  EXPECT_EQ(WithSuffixThatFits(folder + wide, ".partial"),
            folder + std::string(246, 'n') + ".partial");
}

TEST(WorkingFile, ANameOfTheLongestLengthStillHasAWorkingFileAndAKeptPart) {
  ScratchDir dir;
  const std::string longest(255, 'z');
  {
    WorkingFile file(dir / longest);
    Put(file, "whole");
    file.Complete();
  }
  EXPECT_EQ(ReadBytes(dir / longest), Text("whole"));
  WorkingFile file(dir / longest);
  Put(file, "part");
  const std::string kept = file.KeepBeside(".partial");
  EXPECT_EQ(kept, dir / (std::string(247, 'z') + ".partial"));
  EXPECT_EQ(ReadBytes(kept), Text("part"));
}

}  // namespace
}  // namespace vtq::test
