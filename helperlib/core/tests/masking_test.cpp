#include "helperlib/core/masking.h"

#include <gtest/gtest.h>

#include <set>

namespace orrin {
namespace {

const std::wstring kMask = L"ABCDEFGHIJKLMNOP";

TEST(MaskingTest, MaskRules) {
  EXPECT_EQ(CheckMask(L""), std::nullopt);
  EXPECT_EQ(CheckMask(kMask), std::nullopt);
  EXPECT_EQ(CheckMask(L"abcdefghijklmnopqrstuvwxyz0123"), std::nullopt);
  const auto short15 = CheckMask(L"ABCDEFGHIJKLMNO");
  ASSERT_TRUE(short15);
  EXPECT_EQ(short15->number, 1001);
  EXPECT_EQ(short15->description,
            L"The mask for en/decryption MUST be at least 16 characters long!");
  const auto repeated = CheckMask(L"ABCDEFGHIJKLMNOA");
  ASSERT_TRUE(repeated);
  EXPECT_EQ(repeated->number, 1002);
  EXPECT_EQ(repeated->description,
            L"The character 'A' in the CryptMask string occured more than once! Change the "
            L"string and reassign it to CryptMask.");
  // Length is checked first.
  EXPECT_EQ(CheckMask(L"AA")->number, 1001);
}

TEST(MaskingTest, DefaultMaskIsValidAndOfLettersAndDigits) {
  EXPECT_EQ(kDefaultMask.size(), 22u);
  EXPECT_EQ(CheckMask(kDefaultMask), std::nullopt);
  for (wchar_t c : kDefaultMask)
    EXPECT_TRUE((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) << static_cast<int>(c);
}

TEST(MaskingTest, RoundTrips) {
  const std::wstring texts[] = {L"",
                                L"a",
                                L"ab",
                                L"Halvering Sealworthiness",
                                L"\u00e4\u00f6\u00fc \u20ac \u4e2d\u6587",
                                std::wstring(L"x\0y", 3),
                                std::wstring(1000, L'z')};
  for (const auto& text : texts) {
    for (const std::wstring& mask : {std::wstring(), kMask}) {
      for (const wchar_t* key : {L"", L"key", L"another key"}) {
        const std::wstring hidden = KeyHide(text, key, mask);
        EXPECT_EQ(KeyShow(hidden, key, mask), text);
      }
    }
  }
}

TEST(MaskingTest, OutputUsesTwoMaskCharactersPerPaddedByte) {
  EXPECT_EQ(KeyHide(L"abc", L"k", kMask).size(), 8u);  // padded to 4 bytes
  EXPECT_EQ(KeyHide(L"abcd", L"k", kMask).size(), 8u);
  EXPECT_EQ(KeyHide(L"", L"k", kMask), L"");
  // A longer mask uses its first 16 characters only.
  const std::wstring hidden = KeyHide(L"some text", L"k", kMask + L"QRS");
  EXPECT_EQ(hidden.find_first_not_of(kMask), std::wstring::npos);
  EXPECT_EQ(KeyShow(hidden, L"k", kMask), L"some text");
  const std::wstring byDefault = KeyHide(L"some text", L"k", L"");
  EXPECT_EQ(byDefault.find_first_not_of(kDefaultMask.substr(0, 16)), std::wstring::npos);
}

TEST(MaskingTest, KeyAndMaskMatter) {
  const std::wstring text = L"The quick brown fox";
  const std::wstring hidden = KeyHide(text, L"key one", kMask);
  EXPECT_NE(hidden, KeyHide(text, L"key two", kMask));
  EXPECT_NE(KeyShow(hidden, L"key two", kMask), text);
  EXPECT_NE(KeyShow(hidden, L"key one", L"PONMLKJIHGFEDCBA"), text);
  // Equal characters of the text do not show as equal groups.
  const std::wstring same = KeyHide(L"aaaaaaaa", L"k", kMask);
  std::set<std::wstring> groups;
  for (size_t i = 0; i < same.size(); i += 2)
    groups.insert(same.substr(i, 2));
  EXPECT_GT(groups.size(), 2u);
}

TEST(MaskingTest, ForeignTextIsRefused) {
  EXPECT_EQ(KeyShow(L"ABC", L"k", kMask), std::nullopt);     // odd
  EXPECT_EQ(KeyShow(L"ABCDEZ", L"k", kMask), std::nullopt);  // 6: not whole byte pairs
  EXPECT_EQ(KeyShow(L"ABCZ", L"k", kMask), std::nullopt);    // Z is not in the mask
  EXPECT_EQ(KeyShow(L"", L"k", kMask), L"");
}

}  // namespace
}  // namespace orrin
