// The exported routines as a caller sees them: refused arguments leave the
// buffer alone, the key text is never written, and the answers are those of
// the routines behind them.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kavrolib/kavrolib_api.h"
#include "kavrolib/tests/test_support.h"
#include "kavrolib/weave.h"

namespace kavro::test {
namespace {

TEST(KavrolibExports, RefusedArgumentsLeaveTheBufferAlone) {
  std::vector<uint8_t> data(16, 0xAB);
  EXPECT_EQ(qweave(nullptr, "key", 5), kavrolib_status_bad_argument);
  EXPECT_EQ(qweave(data.data(), nullptr, 16), kavrolib_status_bad_argument);
  EXPECT_EQ(data, std::vector<uint8_t>(16, 0xAB));
  EXPECT_EQ(qweave(nullptr, "key", 0), kavrolib_status_ok);  // nothing to do
  EXPECT_EQ(getcheck(nullptr, 5), 0);                        // read as empty
}

TEST(KavrolibExports, QweaveMatchesTheWeaveAndKeepsTheKey) {
  char key[] = "Halvering Sealworthiness";
  std::vector<uint8_t> viaExport = Pattern(1000);
  std::vector<uint8_t> direct = viaExport;
  ASSERT_EQ(qweave(viaExport.data(), key, static_cast<uint32_t>(viaExport.size())),
            kavrolib_status_ok);
  EXPECT_STREQ(key, "Halvering Sealworthiness");
  MasterKey master;
  ASSERT_TRUE(DeriveMasterKey(Bytes(kPassphrase), master));
  ASSERT_TRUE(Weave(direct, master));
  EXPECT_EQ(viaExport, direct);
  // A second passphrase and then the first again: the cache follows the key.
  std::vector<uint8_t> other = Pattern(1000);
  ASSERT_EQ(qweave(other.data(), "other", 1000), kavrolib_status_ok);
  EXPECT_NE(other, direct);
  ASSERT_EQ(qweave(viaExport.data(), key, 1000), kavrolib_status_ok);
  EXPECT_EQ(viaExport, Pattern(1000));
}

TEST(KavrolibExports, GetcheckOfTheBytesGiven) {
  const char text[] = "123456789";
  EXPECT_EQ(getcheck(reinterpret_cast<const uint8_t*>(text), 9), -3374);
  EXPECT_EQ(getcheck(reinterpret_cast<const uint8_t*>(text), 0), 0);
}

}  // namespace
}  // namespace kavro::test
