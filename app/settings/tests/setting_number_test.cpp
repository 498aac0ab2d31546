#include "app/settings/setting_number.h"

#include <gtest/gtest.h>

namespace vtq::settings {
namespace {

TEST(SettingNumber, LeadingNumberRule) {
  EXPECT_EQ(SettingNumber(L"1423"), 1423);
  EXPECT_EQ(SettingNumber(L"  42 apples"), 42);
  EXPECT_EQ(SettingNumber(L"1 2 3"), 123);  // blanks are skipped everywhere
  EXPECT_EQ(SettingNumber(L"abc"), 0);
  EXPECT_EQ(SettingNumber(L""), 0);
  EXPECT_EQ(SettingNumber(L"-7"), -7);
  EXPECT_EQ(SettingNumber(L"+8x"), 8);
  EXPECT_EQ(SettingNumber(L"1e3"), 1000);
  EXPECT_EQ(SettingNumber(L"2D2"), 200);
  EXPECT_EQ(SettingNumber(L"5e"), 5);
  EXPECT_EQ(SettingNumber(L"&H1F"), 31);
  EXPECT_EQ(SettingNumber(L"&o17"), 15);
  EXPECT_EQ(SettingNumber(L"12,5"), 12);
  EXPECT_EQ(SettingNumber(L"1\r\n"), 1);
}

TEST(SettingNumber, HalvesRoundToEven) {
  EXPECT_EQ(SettingNumber(L"2.5"), 2);
  EXPECT_EQ(SettingNumber(L"3.5"), 4);
  EXPECT_EQ(SettingNumber(L"-2.5"), -2);
  EXPECT_EQ(SettingNumber(L"2.51"), 3);
  EXPECT_EQ(SettingNumber(L".4"), 0);
  EXPECT_EQ(SettingNumber(L"0.6"), 1);
}

TEST(SettingNumber, HugeValuesAreClamped) {
  EXPECT_EQ(SettingNumber(L"99999999999"), 2147483647);
  EXPECT_EQ(SettingNumber(L"-99999999999"), -2147483647 - 1);
  EXPECT_EQ(SettingNumber(L"1e999"), 2147483647);
}

}  // namespace
}  // namespace vtq::settings
