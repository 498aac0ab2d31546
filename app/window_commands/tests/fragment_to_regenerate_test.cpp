// "Regen fragment": which number its text names, and the refusal of a
// number beyond the series.
#include "app/window_commands/fragment_to_regenerate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "base/utf8_text.h"

namespace vtq {
namespace {

TEST(FragmentToRegenerate, RoundsHalvesToEvenAndRefusesWhatNoFragmentIs) {
  model::MainWindowState s;
  s.regenFragVal.text = L"abc";
  EXPECT_EQ(FragmentToRegenerate(s), 0);  // the box is not ticked
  s.regenFragBool.checked = true;
  EXPECT_EQ(FragmentToRegenerate(s), std::nullopt);
  const std::pair<std::wstring, std::optional<int32_t>> cases[] = {
      {L" 7 ", 7},  {L"2.5", 2},       {L"3.5", 4},          {L"0", 0},    {L"-1", {}},
      {L"", {}},    {L"40000", 40000}, {L"32767", 32767},    {L"1e1", 10}, {L"&H10", 16},
      {L"1,5", {}}, {L"-0.4", 0},      {L"1e12", INT32_MAX},
  };
  for (const auto& [text, expected] : cases) {
    s.regenFragVal.text = text;
    EXPECT_EQ(FragmentToRegenerate(s), expected) << base::ToUtf8(text);
  }
}

TEST(FragmentToRegenerate, OutOfRangeTextNamesTheSeriesCount) {
  EXPECT_EQ(FragmentOutOfRangeText(5),
            "It is not possible to regenerate the specified fragment as there are only 5 "
            "fragments in this series!");
}

}  // namespace
}  // namespace vtq
