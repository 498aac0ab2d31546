// Every help text and message of the control library is in the built
// Marrowgate32.ocx exactly as containers and users see it: the type
// library and the engine keep their texts in the ANSI code page, the
// version information in UTF-16LE.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "control/tests/expected_library.h"

namespace vtq::control::test {
namespace {

std::string Utf16(const std::string& text) {
  std::string wide;
  for (char c : text)
    wide += std::string{c, '\0'};
  return wide;
}

TEST(MarrowgateTexts, EveryHelpTextAndMessageIsInTheBuiltLibraryAsWritten) {
  std::ifstream file(VTQ_BINARY_DIR "/bin/Marrowgate32.ocx", std::ios::binary);
  const std::string ocx{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_GT(ocx.size(), 10000u);
  for (const auto& entry : ExpectedInterfaces()) {
    for (const auto& member : entry.members)
      EXPECT_NE(ocx.find(member.help), std::string::npos) << member.help;
  }
  for (const std::string text :
       {"Quorvelle ActiveVantrelloquin Control", "Feature unsupported",
        "Encryption / decryption unsupported in this version of ActiveVantrelloquin",
        "Decryption failed", "Feature unsupported in ActiveVantrelloquin",
        "Pellworth Type Library"})
    EXPECT_NE(ocx.find(text), std::string::npos) << text;
  EXPECT_NE(ocx.find(Utf16("OLESelfRegister")), std::string::npos);
  // The control's build carries nothing of the program's protection.
  for (const std::string absent : {"kavrolib", "qweave", "getcheck"}) {
    EXPECT_EQ(ocx.find(absent), std::string::npos) << absent;
    EXPECT_EQ(ocx.find(Utf16(absent)), std::string::npos) << absent;
  }
}

}  // namespace
}  // namespace vtq::control::test
