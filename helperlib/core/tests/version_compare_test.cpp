#include "helperlib/core/version_compare.h"

#include <gtest/gtest.h>

namespace orrin {
namespace {

constexpr auto kSame = VersionOrder::kSame;
constexpr auto kFirst = VersionOrder::kFirstNewer;
constexpr auto kSecond = VersionOrder::kSecondNewer;

TEST(CompareVersionsTest, ComponentsAreWholeNumbersNotText) {
  EXPECT_EQ(CompareVersions(L"1.2", L"1.10"), kSecond);
  EXPECT_EQ(CompareVersions(L"1.10", L"1.2"), kFirst);
  EXPECT_EQ(CompareVersions(L"2.0", L"1.9.9"), kFirst);
  EXPECT_EQ(CompareVersions(L"1.02", L"1.2"), kSame);
  EXPECT_EQ(CompareVersions(L"3.4.5", L"3.4.5"), kSame);
}

TEST(CompareVersionsTest, TheMostSignificantDifferenceDecides) {
  // Later components point the other way; the first one wins.
  EXPECT_EQ(CompareVersions(L"2.0.0", L"1.9.9"), kFirst);
  EXPECT_EQ(CompareVersions(L"1.9.9", L"2.0.0"), kSecond);
  EXPECT_EQ(CompareVersions(L"1.5.1", L"1.4.9"), kFirst);
}

TEST(CompareVersionsTest, MissingAndEmptyComponentsCountAsZero) {
  EXPECT_EQ(CompareVersions(L"1", L"1.0.0"), kSame);
  EXPECT_EQ(CompareVersions(L"1..3", L"1.0.3"), kSame);
  EXPECT_EQ(CompareVersions(L"1", L"1.0.1"), kSecond);
  EXPECT_EQ(CompareVersions(L"", L"0.1"), kSecond);
  EXPECT_EQ(CompareVersions(L"0.1", L""), kFirst);
  EXPECT_EQ(CompareVersions(L"", L""), kSame);
}

TEST(CompareVersionsTest, NonNumbersAreIgnoredAndLongNumbersDoNotOverflow) {
  EXPECT_EQ(CompareVersions(L"1.beta.3", L"1.alpha.2"), kFirst);
  EXPECT_EQ(CompareVersions(L"1.x", L"1.7"), kSame);
  EXPECT_EQ(CompareVersions(L"99999999999999999999.1", L"99999999999999999998.9"), kFirst);
  EXPECT_EQ(CompareVersions(L"4294967296", L"1"), kFirst);
}

TEST(CompareVersionsTest, OtherSeparators) {
  EXPECT_EQ(CompareVersions(L"1,10", L"1,9", L","), kFirst);
  EXPECT_EQ(CompareVersions(L"1::2", L"1::10", L"::"), kSecond);
  EXPECT_EQ(CompareVersions(L"1.2", L"1.10", L""), kSecond);  // empty means "."
}

}  // namespace
}  // namespace orrin
