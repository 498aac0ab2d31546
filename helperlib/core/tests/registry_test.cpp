#include "helperlib/core/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/ansi_text.h"

#include "base/tests/win/support/registry_sandbox.h"

namespace orrin {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  vtq::test::RegistrySandbox sandbox_;
  Registry reg_;
};

TEST_F(RegistryTest, MissingKeyReadsNothingAndCreatesNothing) {
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\Nobody\\Here", L"Value"), std::nullopt);
  EXPECT_FALSE(reg_.LastError().empty());
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, L"Software\\Nobody\\Here", L"Value"), std::nullopt);
  EXPECT_FALSE(vtq::test::RegistrySandbox::KeyExists(L"Software\\Nobody"));
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u);
}

TEST_F(RegistryTest, SetTextCreatesEveryLevel) {
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\A\\B\\C", L"Name", L"v\u00e4lue"));
  EXPECT_TRUE(reg_.LastError().empty());
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(L"Software\\A\\B\\C"));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\A\\B\\C", L"Name"), L"v\u00e4lue");
}

TEST_F(RegistryTest, OneLeadingBackslashIsDropped) {
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"\\Software\\Lead", L"N", L"x"));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\Lead", L"N"), L"x");
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"\\Software\\Lead", L"N"), L"x");
}

TEST_F(RegistryTest, LastErrorEmptiesOnSuccess) {
  EXPECT_FALSE(reg_.RemoveValue(HKEY_CURRENT_USER, L"Software\\Missing", L"N"));
  const std::wstring text = reg_.LastError();
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  EXPECT_EQ(text, SystemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(reg_.CreateTree(HKEY_CURRENT_USER, L"Software\\Missing"));
  EXPECT_TRUE(reg_.LastError().empty());
}

TEST_F(RegistryTest, MissingValueUnderExistingKey) {
  ASSERT_TRUE(reg_.CreateTree(HKEY_CURRENT_USER, L"Software\\K"));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\K", L"Absent"), std::nullopt);
  EXPECT_FALSE(reg_.LastError().empty());
}

TEST_F(RegistryTest, RemoveDeletesOneValue) {
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\K", L"A", L"1"));
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\K", L"B", L"2"));
  EXPECT_TRUE(reg_.RemoveValue(HKEY_CURRENT_USER, L"Software\\K", L"A"));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\K", L"A"), std::nullopt);
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\K", L"B"), L"2");
  EXPECT_FALSE(reg_.RemoveValue(HKEY_CURRENT_USER, L"Software\\K", L"A"));
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(L"Software\\K"));
}

TEST_F(RegistryTest, NumbersAndTypes) {
  ASSERT_TRUE(reg_.SetNumber(HKEY_CURRENT_USER, L"Software\\N", L"Long", -5));
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, L"Software\\N", L"Long"), -5);
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\N", L"Long"), L"-5");
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\N", L"Text", L"42 apples"));
  EXPECT_EQ(reg_.GetNumber(HKEY_CURRENT_USER, L"Software\\N", L"Text"), 42);
  ASSERT_TRUE(reg_.SetBinary(HKEY_CURRENT_USER, L"Software\\N", L"Bin", {1, 2, 3}));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\N", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  BYTE data[8] = {};
  DWORD size = sizeof data;
  const LONG rc = RegQueryValueExW(key, L"Bin", nullptr, &type, data, &size);
  RegCloseKey(key);
  ASSERT_EQ(rc, ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 3u);
}

TEST_F(RegistryTest, LongTextIsReadWhole) {
  const std::wstring text(Registry::kTextBufferChars + 100, L'x');
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\Big", L"T", text));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\Big", L"T"), text);
}

TEST_F(RegistryTest, EmptyTextIsAValue) {
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\E", L"T", L""));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\E", L"T"), L"");
}

TEST_F(RegistryTest, EnumeratesSubkeysAndValuesInOrderAndThenStops) {
  const HKEY user = HKEY_CURRENT_USER;
  ASSERT_TRUE(reg_.CreateTree(user, L"Software\\Enum\\Alpha"));
  ASSERT_TRUE(reg_.CreateTree(user, L"Software\\Enum\\Beta\\Deeper"));
  ASSERT_TRUE(reg_.SetText(user, L"Software\\Enum", L"Name", L"text"));
  ASSERT_TRUE(reg_.SetNumber(user, L"Software\\Enum", L"Count", -12));
  ASSERT_TRUE(reg_.SetBinary(user, L"Software\\Enum", L"Raw", {'A', 'B', 0xE4}));
  EXPECT_EQ(reg_.EnumSection(user, L"\\Software\\Enum", 0), L"Alpha");
  EXPECT_EQ(reg_.EnumSection(user, L"Software\\Enum", 1), L"Beta");
  EXPECT_EQ(reg_.EnumSection(user, L"Software\\Enum", 2), std::nullopt);
  EXPECT_EQ(reg_.LastError(), SystemErrorText(ERROR_NO_MORE_ITEMS));
  std::vector<std::pair<std::wstring, std::wstring>> values;
  for (DWORD i = 0;; ++i) {
    const auto value = reg_.EnumValue(user, L"Software\\Enum", i);
    if (!value)
      break;
    EXPECT_TRUE(reg_.LastError().empty());
    values.emplace_back(value->name, value->data);
  }
  std::sort(values.begin(), values.end());
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0], (std::pair<std::wstring, std::wstring>{L"Count", L"-12"}));
  EXPECT_EQ(values[1], (std::pair<std::wstring, std::wstring>{L"Name", L"text"}));
  EXPECT_EQ(values[2].second, vtq::base::FromAnsi("AB\xE4"));
  EXPECT_EQ(reg_.EnumValue(user, L"Software\\Absent", 0), std::nullopt);
  EXPECT_EQ(reg_.LastError(), SystemErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, LongNamesAreEnumeratedWhole) {
  const std::wstring longName(300, L'k');
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\LongNames", longName, L"v"));
  ASSERT_TRUE(
      reg_.CreateTree(HKEY_CURRENT_USER, L"Software\\LongNames\\" + std::wstring(200, L's')));
  EXPECT_EQ(reg_.EnumValue(HKEY_CURRENT_USER, L"Software\\LongNames", 0)->name, longName);
  EXPECT_EQ(reg_.EnumSection(HKEY_CURRENT_USER, L"Software\\LongNames", 0),
            std::wstring(200, L's'));
}

TEST_F(RegistryTest, RemoveTreeDeletesEverythingBelowAndOnlyThat) {
  const HKEY user = HKEY_CURRENT_USER;
  ASSERT_TRUE(reg_.SetText(user, L"Software\\Tree\\A\\B\\C", L"v", L"1"));
  ASSERT_TRUE(reg_.SetText(user, L"Software\\Tree\\A\\D", L"v", L"2"));
  ASSERT_TRUE(reg_.SetText(user, L"Software\\Tree\\A", L"v", L"3"));
  ASSERT_TRUE(reg_.SetText(user, L"Software\\Tree\\Sibling", L"v", L"4"));
  EXPECT_TRUE(reg_.RemoveTree(user, L"\\Software\\Tree\\A"));
  EXPECT_TRUE(reg_.LastError().empty());
  EXPECT_FALSE(vtq::test::RegistrySandbox::KeyExists(L"Software\\Tree\\A"));
  EXPECT_EQ(reg_.GetText(user, L"Software\\Tree\\Sibling", L"v"), L"4");
  EXPECT_FALSE(reg_.RemoveTree(user, L"Software\\Tree\\A"));
  EXPECT_EQ(reg_.LastError(), SystemErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, RemoveTreeRefusesTheRootItself) {
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, L"Software\\Keep", L"v", L"1"));
  EXPECT_FALSE(reg_.RemoveTree(HKEY_CURRENT_USER, L""));
  EXPECT_FALSE(reg_.RemoveTree(HKEY_CURRENT_USER, L"\\"));
  EXPECT_FALSE(reg_.RemoveTree(HKEY_CURRENT_USER, L"\\\\"));
  EXPECT_EQ(reg_.LastError(), SystemErrorText(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, L"Software\\Keep", L"v"), L"1");
}

}  // namespace
}  // namespace orrin
