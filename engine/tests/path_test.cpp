#include "engine/path.h"

#include <gtest/gtest.h>

#include "engine/error.h"

namespace vtq {
namespace {

const std::string S(1, kPathSeparator);

TEST(FragmentNaming, StemKeepsItsFirstDot) {
  EXPECT_EQ(StemOf("report.final.doc"), "report.");
  EXPECT_EQ(StemOf("archive.tar.gz"), "archive.");
  EXPECT_EQ(StemOf("README"), "");
  EXPECT_EQ(StemOf(".hidden"), ".");
}

TEST(FragmentNaming, NumbersArePaddedToThreeDigitsThenGrow) {
  EXPECT_EQ(FragmentNumber(1), "001");
  EXPECT_EQ(FragmentNumber(10), "010");
  EXPECT_EQ(FragmentNumber(999), "999");
  EXPECT_EQ(FragmentNumber(1000), "1000");
  EXPECT_EQ(FragmentNumber(32767), "32767");
}

TEST(FragmentNaming, BaseNameIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(BaseName("C:" + S + "data" + S + "report.doc"), "report.doc");
  EXPECT_EQ(BaseName("report.doc"), "report.doc");
  EXPECT_EQ(BaseName("dir" + S), "");
}

TEST(FragmentNaming, NameUpToFirstDotIgnoresDotsInFolders) {
  EXPECT_EQ(NameUpToFirstDot("C:" + S + "data" + S + "big.zip.001"),
            "C:" + S + "data" + S + "big.");
  EXPECT_EQ(NameUpToFirstDot("C:" + S + "my.dir" + S + "big.001"),
            "C:" + S + "my.dir" + S + "big.");
  EXPECT_EQ(NameUpToFirstDot("C:" + S + "my.dir" + S + "readme"), "");
}

TEST(FragmentNaming, TrailingSeparatorIsAddedOnce) {
  EXPECT_EQ(WithTrailingSeparator("out"), "out" + S);
  EXPECT_EQ(WithTrailingSeparator("out" + S), "out" + S);
  EXPECT_EQ(WithTrailingSeparator(""), S);
}

#ifdef _WIN32
TEST(DriveRoots, OnlyTheFirstCharacterCounts) {
  EXPECT_EQ(DriveRoot("a"), "A:\\");
  EXPECT_EQ(DriveRoot("A:"), "A:\\");
  EXPECT_EQ(DriveRoot("a:\\temp"), "A:\\");
  EXPECT_EQ(DriveRoot(""), ":\\");
  EXPECT_EQ(DriveOfName("A:\\big.001"), "A:");
}
#endif

TEST(Errors, CarryNumberSourceAndClassicDescription) {
  const VbError e(err::kFileNotFound);
  EXPECT_EQ(e.Number(), 53);
  EXPECT_EQ(e.Description(), "File not found");
  EXPECT_EQ(e.Source(), kDefaultErrorSource);
  const VbError own(err::kObjectErrorBase + 2001, "ActiveAssembler", "Checkability check failed");
  EXPECT_EQ(own.Number(), -2147219503);
  EXPECT_EQ(own.Source(), "ActiveAssembler");
  EXPECT_STREQ(own.what(), "Checkability check failed");
}

}  // namespace
}  // namespace vtq
