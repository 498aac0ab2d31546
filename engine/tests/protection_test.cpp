// The engine side of fragment protection against the real kavrolib built
// beside the tests: loading by name and its failures, the key check, the
// check digits and the reader's messages.

#include "engine/program/protection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/shared_library.h"
#include "engine/tests/support/error_of.h"
#include "engine/tests/support/platform_doubles.h"

// Last: windows.h defines Yield, a member name of the platform seam.
#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq {
namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(CheckDigits, PadCutAndSign) {
  EXPECT_EQ(CheckDigits(7), "0007");
  EXPECT_EQ(CheckDigits(123456), "3456");
  EXPECT_EQ(CheckDigits(-5), "00-5");
  EXPECT_EQ(CheckDigits(-1234), "1234");
  EXPECT_EQ(CheckDigits(0), "0000");
  EXPECT_EQ(CheckDigits(-32768), "2768");
  EXPECT_EQ(CheckDigits(-99), "0-99");
}

TEST(KavrolibLoader, MissingLibraryRaises53OnEveryCall) {
  Kavrolib missing("no-such-kavrolib-library");
  std::vector<uint8_t> data(10, 1);
  EXPECT_EQ(test::ErrorOf([&] { missing.Getcheck(data); }), err::kFileNotFound);
  EXPECT_EQ(test::ErrorOf([&] { missing.Qweave(data, "key"); }), err::kFileNotFound);
  EXPECT_EQ(test::ErrorOf([&] { KeyCheck(missing, "key"); }), err::kFileNotFound);
  EXPECT_EQ(data, std::vector<uint8_t>(10, 1));
}

TEST(KavrolibLoader, LibraryWithoutTheRoutinesRaises453) {
#ifdef _WIN32
  // A bare name is only looked for beside the program: name the system's copy.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  Kavrolib wrong(std::string(system) + "\\kernel32.dll");
#else
  Kavrolib wrong("libc.so.6");
#endif
  std::vector<uint8_t> data(10, 1);
  EXPECT_EQ(test::ErrorOf([&] { wrong.Getcheck(data); }), err::kDllEntryPointNotFound);
  EXPECT_EQ(test::ErrorOf([&] { wrong.Qweave(data, "key"); }), err::kDllEntryPointNotFound);
}

TEST(KavrolibLoader, RefusedCipherRaises7AndWideCheckValuesOverflow) {
  Kavrolib refusing(SharedLibrary::FileName("kavrolib_refusing"));
  std::vector<uint8_t> data(10, 1);
  EXPECT_EQ(test::ErrorOf([&] { refusing.Qweave(data, "key"); }), err::kOutOfMemory);
  EXPECT_EQ(data, std::vector<uint8_t>(10, 1));
  EXPECT_EQ(refusing.Getcheck(data), 70000);
  EXPECT_EQ(test::ErrorOf([&] { KeyCheck(refusing, "key"); }), err::kOverflow);  // above 32767
  EXPECT_EQ(test::ErrorOf([&] { KeyCheck(refusing, ""); }), err::kOverflow);     // below -32768
  EXPECT_EQ(CheckDigitsOf(refusing, data), "0000");  // 70000: the last four digits
}

TEST(KavrolibLoader, FindsTheLibraryBesideTheProgram) {
  Kavrolib library;
  // CRC-32 of "123456789" is cbf43926, folded: cbf4 ^ 3926 = f2d2.
  EXPECT_EQ(library.Getcheck(Bytes("123456789")), -3374);
  EXPECT_EQ(library.Getcheck({}), 0);
}

TEST(KavrolibCipher, TwiceRestoresAndLeavesTheKeyAlone) {
  Kavrolib library;
  const std::string key = "Halvering Sealworthiness";
  const std::string keyBefore = key;
  for (size_t n : {0u, 1u, 2u, 33u, 64u, 65u, 5000u}) {
    std::vector<uint8_t> original(n);
    for (size_t i = 0; i < n; ++i)
      original[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> data = original;
    library.Qweave(data, key);
    if (n > 8) {
      EXPECT_NE(data, original);
    }
    library.Qweave(data, key);
    EXPECT_EQ(data, original) << "length " << n;
    EXPECT_EQ(key, keyBefore);
  }
}

TEST(KavrolibCipher, SameBytesAsTheLibraryKnownAnswer) {
  // The 64-byte buffer of the library's own known-answer set, through the
  // loaded library: the whole output, and no state kept between calls.
  Kavrolib library;
  std::vector<uint8_t> data(64);
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<uint8_t>((i * 131 + 17) ^ (i >> 9));
  std::vector<uint8_t> other = data;
  library.Qweave(other, "Halvering Sealworthinesz");
  library.Qweave(data, "Halvering Sealworthiness");
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t b : data)
    hex += {kDigits[b >> 4], kDigits[b & 15]};
  EXPECT_EQ(
      hex,
      "44a11b3a978751efc5adfa5293d1ccdd2dbbeead0c0c66e6ae61e8808ec15f1c8fe9985aed89121adac4704"
      "dab436e87cc78972a51f71d721077c2ffcccf731b");
  EXPECT_NE(data, other);
}

TEST(KeyCheck, FitsSixteenBitsForAnyPassphrase) {
  Kavrolib library;
  EXPECT_EQ(KeyCheck(library, "123456789"), -3374);
  EXPECT_EQ(KeyCheck(library, ""), 0);
  EXPECT_EQ(KeyCheck(library, "a"), 22260);
  const std::string nonAscii = "P\xE4ssphr\xE4se \xA9\xFF\x80";
  const int16_t k = KeyCheck(library, nonAscii);
  EXPECT_EQ(k, KeyCheck(library, nonAscii));
  EXPECT_NE(k, KeyCheck(library, "Passphrase"));
  std::string longText;
  for (int i = 0; i < 100000; ++i)
    longText += static_cast<char>('!' + i % 90);
  EXPECT_NO_THROW(KeyCheck(library, longText));
  EXPECT_NO_THROW(KeyCheck(library, "Halvering Sealworthiness"));
}

TEST(CheckDigitsOf, MatchesTheDigitsOfTheChecksum) {
  Kavrolib library;
  EXPECT_EQ(CheckDigitsOf(library, {}), "0000");  // empty data still has digits
  EXPECT_EQ(CheckDigitsOf(library, Bytes("123456789")), "3374");
  EXPECT_EQ(CheckDigitsOf(library, Bytes("a")), "2260");

  std::string fragment = "123456789";
  fragment += CheckDigitsOf(library, Bytes(fragment));
  EXPECT_TRUE(CheckDigitsMatch(library, Bytes(fragment)));
  std::string damaged = fragment;
  damaged[3] ^= 0x20;
  EXPECT_FALSE(CheckDigitsMatch(library, Bytes(damaged)));
  EXPECT_TRUE(CheckDigitsMatch(library, Bytes("0000")));  // empty data, its digits
  EXPECT_FALSE(CheckDigitsMatch(library, Bytes("000")));  // too short to carry digits
}

TEST(ProtectionMessages, PassphraseIncorrect) {
  test::RecordingBoxes boxes;
  ShowPassphraseIncorrect(boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Passphrase incorrect");
  EXPECT_EQ(boxes.shown[0].title, "Access denied");
  EXPECT_EQ(boxes.shown[0].Icon(), mb::kIconCritical);
  EXPECT_EQ(boxes.shown[0].Buttons(), mb::kOk);
}

TEST(ProtectionMessages, DamagedFragmentQuestion) {
  test::RecordingBoxes boxes;
  boxes.Answer(mb::kIdYes);
  boxes.Answer(mb::kIdNo);
  EXPECT_TRUE(ConfirmDamagedFragment(boxes, 12));
  EXPECT_FALSE(ConfirmDamagedFragment(boxes, 3));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text,
            "The checkability verification on fragment 12 failed indicating that the fragment is "
            "probably corrupted. Are you sure you wish to continue?");
  EXPECT_EQ(boxes.shown[1].text.substr(0, 45), "The checkability verification on fragment 3 f");
  for (const auto& box : boxes.shown) {
    EXPECT_EQ(box.title, "Warning");
    EXPECT_EQ(box.Icon(), mb::kIconExclamation);
    EXPECT_EQ(box.Buttons(), mb::kYesNo);
    // No: Enter must not join a damaged fragment in.
    EXPECT_EQ(box.DefaultButton(), mb::kDefaultButton2);
  }
}

TEST(ProtectionMessages, RefusedFragmentError) {
  const VbError e = CheckabilityFailed();
  EXPECT_EQ(e.Number(), -2147219503);
  EXPECT_EQ(e.Source(), "ActiveAssembler");
  EXPECT_EQ(e.Description(), "Checkability check failed");
}

TEST(ProtectionMessages, VerifyAsksOnlyAboutDamagedFragments) {
  Kavrolib library;
  test::RecordingBoxes boxes;
  std::string fragment = "fragment data";
  fragment += CheckDigitsOf(library, Bytes(fragment));
  EXPECT_NO_THROW(VerifyCheckDigits(library, boxes, Bytes(fragment), 1));
  EXPECT_TRUE(boxes.shown.empty());

  fragment[0] = 'F';
  boxes.Answer(mb::kIdYes);
  EXPECT_NO_THROW(VerifyCheckDigits(library, boxes, Bytes(fragment), 2));
  boxes.Answer(mb::kIdNo);
  try {
    VerifyCheckDigits(library, boxes, Bytes(fragment), 7);
    ADD_FAILURE() << "a refused fragment must raise";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), kCheckabilityFailed);
    EXPECT_EQ(e.Source(), "ActiveAssembler");
  }
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[0].text.find("fragment 2 failed"), std::string::npos);
  EXPECT_NE(boxes.shown[1].text.find("fragment 7 failed"), std::string::npos);
}

}  // namespace
}  // namespace vtq
