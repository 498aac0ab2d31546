// The help text tells how a passphrase can be given without showing it.

#include <gtest/gtest.h>

#include <string>

#include "cli/commands.h"

namespace vtq::cli {
namespace {

TEST(UsageTest, WarnsThatAPassphraseOptionIsVisibleAndNamesTheOtherWays) {
  const std::string usage(UsageText());
  EXPECT_NE(usage.find("-p PASSPHRASE is visible to other users of the computer"),
            std::string::npos);
  EXPECT_NE(usage.find("--passphrase-file FILE"), std::string::npos);
  EXPECT_NE(usage.find("-P or --ask-passphrase"), std::string::npos);
  EXPECT_NE(usage.find("environment variable VTQ_PASSPHRASE, used when no option gives one"),
            std::string::npos);
  EXPECT_NE(usage.find("Check digits (-c) and passphrases need the own format (-f own)"),
            std::string::npos);
  EXPECT_TRUE(usage.starts_with("usage: vtq split SOURCE -d DIR"));
}

}  // namespace
}  // namespace vtq::cli
