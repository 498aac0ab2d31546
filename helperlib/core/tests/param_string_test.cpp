#include "helperlib/core/param_string.h"

#include <gtest/gtest.h>

namespace orrin {
namespace {

TEST(GetParam, TakesTheFieldBetweenSeparators) {
  EXPECT_EQ(GetParam(L"a,b,c", 1), L"a");
  EXPECT_EQ(GetParam(L"a,b,c", 2), L"b");
  EXPECT_EQ(GetParam(L"a,b,c", 3), L"c");
  EXPECT_EQ(GetParam(L"a,b,c", 4), L"");
  EXPECT_EQ(GetParam(L"a,b,c", 0), L"");
  EXPECT_EQ(GetParam(L"a,b,c", -3), L"");
  EXPECT_EQ(GetParam(L"no separators here", 1), L"no separators here");
}

TEST(GetParam, EmptySeparatorMeansComma) {
  EXPECT_EQ(GetParam(L"a,b", 2, L""), L"b");
  EXPECT_EQ(SetParam(L"a", 2, L"x", L""), L"a,x");
  EXPECT_EQ(ParamCount(L"a,b", L""), 2);
}

TEST(GetParam, BlankSeparatedCommandLineWithTrim) {
  EXPECT_EQ(GetParam(L"/assext C:\\data\\x.001", 1, L" ", true), L"/assext");
  EXPECT_EQ(GetParam(L"/assext C:\\data\\x.001", 2, L" ", true), L"C:\\data\\x.001");
  // Two blanks in a row make an empty field between them.
  EXPECT_EQ(GetParam(L"one  two", 2, L" ", true), L"");
  EXPECT_EQ(GetParam(L"one  two", 3, L" ", true), L"two");
}

TEST(GetParam, TrimDropsOnlyOuterBlanks) {
  EXPECT_EQ(GetParam(L"  a b  ;c", 1, L";", true), L"a b");
  EXPECT_EQ(GetParam(L"  a b  ;c", 1, L";", false), L"  a b  ");
  EXPECT_EQ(GetParam(L"   ;c", 1, L";", true), L"");
}

TEST(GetParam, MultiCharacterSeparator) {
  EXPECT_EQ(GetParam(L"a<>b<>c", 2, L"<>"), L"b");
  EXPECT_EQ(ParamCount(L"a<>b<>c", L"<>"), 3);
}

TEST(ParamCount, CountsFieldsAsRebuilt) {
  EXPECT_EQ(ParamCount(L""), 0);
  EXPECT_EQ(ParamCount(L"a"), 1);
  EXPECT_EQ(ParamCount(L"a,b,c"), 3);
  EXPECT_EQ(ParamCount(L"a,,c"), 3);
  EXPECT_EQ(ParamCount(L"a,b,"), 2);
  EXPECT_EQ(ParamCount(L",b"), 2);
  EXPECT_EQ(ParamCount(L","), 1);
  EXPECT_EQ(ParamCount(L"a,,"), 2);
}

TEST(SetParam, ReplacesAndPadsFields) {
  EXPECT_EQ(SetParam(L"a", 3, L"x"), L"a,,x");
  EXPECT_EQ(SetParam(L"a,b,c", 2, L"x"), L"a,x,c");
  EXPECT_EQ(SetParam(L"", 1, L"x"), L"x");
  EXPECT_EQ(SetParam(L"a,b", 0, L"x"), L"a,b");
  EXPECT_EQ(SetParam(L"a;b", 2, L"", L";"), L"a;");
}

TEST(FindParam, SearchMethods) {
  const std::wstring list = L"alpha,Beta,gamma,delta";
  EXPECT_EQ(FindParam(list, L"amm"), 3);
  EXPECT_EQ(FindParam(list, L"ta", L",", {SearchMethod::kEndsWith}), 2);
  EXPECT_EQ(FindParam(list, L"del", L",", {SearchMethod::kStartsWith}), 4);
  EXPECT_EQ(FindParam(list, L"gam", L",", {SearchMethod::kIs}), 0);
  EXPECT_EQ(FindParam(list, L"GAMMA", L",", {SearchMethod::kIs}), 3);
}

TEST(FindParam, CaseStartAndStops) {
  const std::wstring list = L"alpha,Beta,gamma,beta";
  EXPECT_EQ(FindParam(list, L"beta", L",", {SearchMethod::kIs, 1, true}), 4);
  EXPECT_EQ(FindParam(list, L"beta"), 2);
  EXPECT_EQ(FindParam(list, L"beta", L",", {SearchMethod::kContains, 3}), 4);
  EXPECT_EQ(FindParam(list, L""), 0);
  EXPECT_EQ(FindParam(list, L"zeta"), 0);
  // The search ends at the first empty field.
  EXPECT_EQ(FindParam(L"a,,c", L"c"), 0);
}

TEST(ChangeParamSep, ReplacesEverySeparator) {
  EXPECT_EQ(ChangeParamSep(L"a,b,,c", L";"), L"a;b;;c");
  EXPECT_EQ(ChangeParamSep(L"a b c", L"|", L" "), L"a|b|c");
  EXPECT_EQ(ChangeParamSep(L"a;b", L"--", L";"), L"a--b");
  EXPECT_EQ(ChangeParamSep(L"", L";"), L"");
}

}  // namespace
}  // namespace orrin
