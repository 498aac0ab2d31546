// Outside-view checks of fragment protection over the real kavrolib: what
// the writer and the reader rely on beyond protection_test.cpp — no state
// kept between fragments, digits over the enciphered data, and the silent
// wrong result of a passphrase whose key check happens to match.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/program/protection.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

namespace vtq {
namespace {

// Two different passphrases with the same key check (16 bits collide after
// a few hundred tries).
std::pair<std::string, std::string> CollidingPassphrases(Kavrolib& library) {
  std::map<int16_t, std::string> seen;
  for (int i = 0;; ++i) {
    const std::string candidate = "pass phrase " + std::to_string(i);
    const auto [it, inserted] = seen.emplace(KeyCheck(library, candidate), candidate);
    if (!inserted)
      return {it->second, candidate};
  }
}

TEST(ProtectionAcceptance, EachFragmentIsEncipheredOnItsOwn) {
  Kavrolib library;
  const auto one = test::PatternBytes(300, 1);
  const auto two = test::PatternBytes(300, 2);
  auto oneFirst = one, twoSecond = two;
  library.Qweave(oneFirst, "Halvering Sealworthiness");
  library.Qweave(twoSecond, "Halvering Sealworthiness");
  // The other order, and a call with another key in between, change nothing.
  auto twoFirst = two, oneSecond = one;
  library.Qweave(twoFirst, "Halvering Sealworthiness");
  auto other = one;
  library.Qweave(other, "another key");
  library.Qweave(oneSecond, "Halvering Sealworthiness");
  EXPECT_EQ(oneFirst, oneSecond);
  EXPECT_EQ(twoSecond, twoFirst);
  EXPECT_NE(oneFirst, one);
  EXPECT_NE(other, oneFirst);
}

TEST(ProtectionAcceptance, DigitsCoverTheEncipheredDataAndSurviveTheRoundTrip) {
  Kavrolib library;
  test::RecordingBoxes boxes;
  const std::string key = "Halvering Sealworthiness";
  const auto source = test::PatternBytes(1000, 9);
  // Writer: encipher, then append the digits of the enciphered buffer.
  auto fragment = source;
  library.Qweave(fragment, key);
  const std::string digits = CheckDigitsOf(library, fragment);
  EXPECT_NE(digits, CheckDigitsOf(library, source));
  fragment.insert(fragment.end(), digits.begin(), digits.end());
  // Reader: check, drop the digits, decipher.
  EXPECT_NO_THROW(VerifyCheckDigits(library, boxes, fragment, 1));
  EXPECT_TRUE(boxes.shown.empty());
  fragment.resize(fragment.size() - 4);
  library.Qweave(fragment, key);
  EXPECT_EQ(fragment, source);
}

TEST(ProtectionAcceptance, DamagedDigitsOfAnEncipheredFragmentAreAskedAbout) {
  Kavrolib library;
  test::RecordingBoxes boxes;
  auto fragment = test::PatternBytes(64, 4);
  library.Qweave(fragment, "k");
  std::string digits = CheckDigitsOf(library, fragment);
  digits[3] = digits[3] == '9' ? '8' : '9';
  fragment.insert(fragment.end(), digits.begin(), digits.end());
  boxes.Answer(mb::kIdYes);
  EXPECT_NO_THROW(VerifyCheckDigits(library, boxes, fragment, 5));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "The checkability verification on fragment 5 failed indicating that the fragment is "
            "probably corrupted. Are you sure you wish to continue?");
  // No is the default: Enter must not join a damaged fragment in.
  EXPECT_EQ(boxes.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefaultButton2);
}

TEST(ProtectionAcceptance, AMatchingKeyCheckOfAnotherPassphraseGivesWrongDataSilently) {
  Kavrolib library;
  const auto [written, read] = CollidingPassphrases(library);
  ASSERT_NE(written, read);
  EXPECT_EQ(KeyCheck(library, written), KeyCheck(library, read));
  const auto source = test::PatternBytes(200, 3);
  auto data = source;
  library.Qweave(data, written);
  library.Qweave(data, read);
  EXPECT_NE(data, source);
  EXPECT_EQ(data.size(), source.size());
}

}  // namespace
}  // namespace vtq
