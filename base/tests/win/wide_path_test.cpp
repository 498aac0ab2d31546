// Names on their way to the wide calls: short ones as they are, long ones
// in the "\\?\" form that the system takes past MAX_PATH, and back again.
#include "base/win/wide_path.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8_text.h"

namespace vtq::base::win {
namespace {

TEST(WidePath, ShortNamesPassAsTheyAre) {
  EXPECT_EQ(WidePath("C:\\work\\\xE5\x86\x99\xE7\x9C\x9F \xC3\xA9t\xC3\xA9.bin"),
            L"C:\\work\\\u5199\u771F \u00E9t\u00E9.bin");
  EXPECT_EQ(WidePath("relative/name.txt"), L"relative/name.txt");
  EXPECT_EQ(WidePath(""), L"");
}

TEST(WidePath, LongNamesTakeTheLongFormWhole) {
  const std::string folder(250, 'f');
  EXPECT_EQ(WidePath("C:\\" + folder + "\\x.bin"),
            L"\\\\?\\C:\\" + std::wstring(250, L'f') + L"\\x.bin");
  // "/" and ".." are the caller's; the long form knows neither.
  EXPECT_EQ(WidePath("C:/" + folder + "/../" + folder + "/x.bin"),
            L"\\\\?\\C:\\" + std::wstring(250, L'f') + L"\\x.bin");
  EXPECT_EQ(WidePath("\\\\server\\share\\" + folder),
            L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L'f'));
  const std::wstring already = L"\\\\?\\C:\\" + std::wstring(300, L'a');
  EXPECT_EQ(LongPathForm(already), already);
}

TEST(WidePath, ARelativeLongNameBecomesFull) {
  const std::wstring form = WidePath(std::string(260, 'r'));
  ASSERT_TRUE(form.starts_with(L"\\\\?\\")) << ToUtf8(form);
  EXPECT_TRUE(form.ends_with(L"\\" + std::wstring(260, L'r')));
  EXPECT_EQ(form[5], L':');
}

TEST(WidePath, NamesFromTheSystemLoseTheLongForm) {
  EXPECT_EQ(NameFromSystem(L"\\\\?\\C:\\a\\\u5199"), "C:\\a\\\xE5\x86\x99");
  EXPECT_EQ(NameFromSystem(L"\\\\?\\UNC\\server\\share\\x"), "\\\\server\\share\\x");
  EXPECT_EQ(NameFromSystem(L"C:\\plain"), "C:\\plain");
}

}  // namespace
}  // namespace vtq::base::win
