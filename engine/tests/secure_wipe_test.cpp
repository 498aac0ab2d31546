// Passphrase buffers are overwritten, all of them, before they are let go.

#include "engine/secure_wipe.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vtq {
namespace {

bool AllZero(const char* data, size_t size) {
  return std::all_of(data, data + size, [](char c) { return c == 0; });
}

TEST(SecureWipe, TheWholeBufferOfALongTextIsZeroed) {
  std::string secret(100, 'k');
  secret.resize(10);  // the tail past the length held the passphrase too
  const char* buffer = secret.data();
  const size_t capacity = secret.capacity();
  ASSERT_GE(capacity, 100u);
  SecureWipe(secret);
  EXPECT_TRUE(secret.empty());
  EXPECT_EQ(secret.data(), buffer);  // still the same buffer, now zeros
  EXPECT_TRUE(AllZero(buffer, capacity + 1));
}

TEST(SecureWipe, AShortTextHeldInsideTheStringIsZeroed) {
  std::string secret = "pw";
  const char* buffer = secret.data();
  SecureWipe(secret);
  EXPECT_TRUE(AllZero(buffer, 3));
}

TEST(SecureWipe, OptionalsAndScopes) {
  std::optional<std::string> none;
  SecureWipe(none);
  EXPECT_FALSE(none);
  std::optional<std::string> some = std::string(40, 's');
  const char* buffer = some->data();
  SecureWipe(some);
  ASSERT_TRUE(some);
  EXPECT_TRUE(AllZero(buffer, 40));

  std::string scoped(64, 'x');
  const char* scopedBuffer = scoped.data();
  { WipeOnExit wipe(scoped); }
  EXPECT_TRUE(scoped.empty());
  EXPECT_TRUE(AllZero(scopedBuffer, 64));
}

TEST(SecureWipe, RawBytes) {
  unsigned char bytes[5] = {1, 2, 3, 4, 5};
  SecureWipe(bytes + 1, 3);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
  EXPECT_EQ(bytes[4], 5);
}

}  // namespace
}  // namespace vtq
