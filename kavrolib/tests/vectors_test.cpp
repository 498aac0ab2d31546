// Known answers: the building blocks as libgcrypt provides them, and the
// weave itself on fixed buffers. The digests were computed independently of
// this code; native and Windows builds must both meet them, or fragments
// would not travel between them.

#include <gcrypt.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/libraries/gcrypt_start.h"
#include "kavrolib/tests/test_support.h"
#include "kavrolib/weave.h"

namespace kavro::test {
namespace {

TEST(KavrolibVectors, ChaCha20With12ByteNonceIsRfc8439WithCounterFromZero) {
  ASSERT_TRUE(vtq::base::StartGcrypt());
  // RFC 8439 section 2.4.2 enciphers with block counter 1; a run from counter
  // 0 over one block of zeros first reaches the same keystream at byte 64.
  const std::vector<uint8_t> key =
      FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  const std::vector<uint8_t> nonce = FromHex("000000000000004a00000000");
  const std::string plain =
      "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the "
      "future, sunscreen would be it.";
  std::vector<uint8_t> buffer(64, 0);
  buffer.insert(buffer.end(), plain.begin(), plain.end());

  gcry_cipher_hd_t h = nullptr;
  ASSERT_EQ(gcry_cipher_open(&h, GCRY_CIPHER_CHACHA20, GCRY_CIPHER_MODE_STREAM, 0), 0u);
  ASSERT_EQ(gcry_cipher_setkey(h, key.data(), key.size()), 0u);
  ASSERT_EQ(gcry_cipher_setiv(h, nonce.data(), nonce.size()), 0u);
  ASSERT_EQ(gcry_cipher_encrypt(h, buffer.data(), buffer.size(), nullptr, 0), 0u);
  gcry_cipher_close(h);

  EXPECT_EQ(Hex(buffer.data() + 64, buffer.size() - 64),
            "6e2e359a2568f98041ba0728dd0d6981e97e7aec1d4360c20a27afccfd9fae0bf91b65c5524733ab8f5"
            "93dabcd62b3571639d624e65152ab8f530c359f0861d807ca0dbf500d6a6156a38e088a22b65e52bc51"
            "4d16ccf806818ce91ab77937365af90bbf74a35be6b40b8eedf2785e42874d");
}

TEST(KavrolibVectors, ScryptUsesBlockSize8) {
  ASSERT_TRUE(vtq::base::StartGcrypt());
  // RFC 7914 section 12, N = 1024, r = 8, p = 16.
  uint8_t out[64];
  ASSERT_EQ(gcry_kdf_derive("password", 8, GCRY_KDF_SCRYPT, 1024, "NaCl", 4, 16, sizeof out, out),
            0u);
  EXPECT_EQ(Hex(out, sizeof out),
            "fdbabe1c9d3472007856e7190d01e9fe7c6ad7cbc8237830e77376634b3731622eaf30d92e22a3886ff10"
            "9279d9830dac727afb94a83ee6d8360cbdfa2cc0640");
}

TEST(KavrolibVectors, MasterKeyOfTheBuiltInPassphrase) {
  MasterKey key;
  ASSERT_TRUE(DeriveMasterKey(Bytes(kPassphrase), key));
  EXPECT_EQ(Hex(key.bytes.data(), key.bytes.size()),
            "49dbea61632b4c1295c7dbf164f434a2093684acf9ed1d157beee23e6967cdec7ec823cc384e2bde5bdb7"
            "2f457561b0329e40600d84d1736c20dc73625aea9bd");
}

TEST(KavrolibVectors, KeyedBlake2b256) {
  ASSERT_TRUE(vtq::base::StartGcrypt());
  std::vector<uint8_t> key(32);
  for (size_t i = 0; i < key.size(); ++i)
    key[i] = static_cast<uint8_t>(i);
  gcry_md_hd_t h = nullptr;
  ASSERT_EQ(gcry_md_open(&h, GCRY_MD_BLAKE2B_256, 0), 0u);
  ASSERT_EQ(gcry_md_setkey(h, key.data(), key.size()), 0u);
  gcry_md_write(h, "abc", 3);
  EXPECT_EQ(Hex(gcry_md_read(h, GCRY_MD_BLAKE2B_256), 32),
            "d63a32d3e44738d7907f964316c241adaba0abfeabc32349677578a15a203f7f");
  gcry_md_close(h);
}

TEST(KavrolibVectors, WeaveOfFixedBuffers) {
  MasterKey key;
  ASSERT_TRUE(DeriveMasterKey(Bytes(kPassphrase), key));
  const struct {
    size_t length;
    const char* sha256;
  } cases[] = {
      {0, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {1, "892f60b39450a0e770f00a836761c8e964fd74671ae2cc51cff36cde4f914c12"},
      {2, "ed9d30cb29f183d56327858eb6f70aaf970ea6f2fef9c1939c620aadab62f381"},
      {63, "623abd13ef08a866a877b9a94c4cbb3bce302e267109c1045b14905dd79adf51"},
      {64, "e94b68db086bc6bbeba3b29a3e58c8f5f73e3568b00af6cfd6e9902b731f3bc6"},
      {65, "dec0930abb46d348f49df6d24d67c9a3c46980f004550cc164d10bef33550ad0"},
      {1457664, "f2510c6264a5db81c8fcdbb85700009b777677802640f7f792455d6506c53be9"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> data = Pattern(c.length);
    ASSERT_TRUE(Weave(data, key));
    EXPECT_EQ(Sha256Hex(data), c.sha256) << "length " << c.length;
  }
}

TEST(KavrolibVectors, GetcheckFoldsTheCrc32) {
  // CRC-32 of "123456789" is cbf43926: cbf4 ^ 3926 = f2d2, as 16 bits -3374.
  EXPECT_EQ(Getcheck(Bytes("123456789")), -3374);
  EXPECT_EQ(Getcheck({}), 0);
  // CRC-32 of "a" is e8b7be43: e8b7 ^ be43 = 56f4 = 22260 (positive stays positive).
  EXPECT_EQ(Getcheck(Bytes("a")), 22260);
}

}  // namespace
}  // namespace kavro::test
