// A passphrase read from a file leaves no copy of itself in memory given
// back: the program's allocation functions are replaced here by ones that,
// while a test watches, look into every block freed for the passphrase.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <string>

#include "cli/console_host.h"
#include "cli/passphrase_source.h"
#include "engine/secure_wipe.h"
#include "engine/tests/support/scratch.h"

namespace {

std::atomic<bool> watching{false};
std::atomic<int> copiesFreed{0};
constexpr char kMarker = 'Q';

// A run of 64 marker bytes: a piece of the passphrase below.
bool HoldsPassphrase(const void* block, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  std::size_t run = 0;
  for (std::size_t i = 0; i < size; ++i) {
    run = bytes[i] == kMarker ? run + 1 : 0;
    if (run == 64)
      return true;
  }
  return false;
}

void* Allocate(std::size_t size) {
  return std::malloc(size == 0 ? 1 : size);
}

void Free(void* block, std::size_t size) {
  if (block != nullptr && size > 0 && watching && HoldsPassphrase(block, size))
    ++copiesFreed;
  std::free(block);
}

}  // namespace

// Every form, so that whatever is allocated here is freed here.
void* operator new(std::size_t size) {
  if (void* block = Allocate(size))
    return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
// What the standard containers and strings give their memory back with.
void operator delete(void* block, std::size_t size) noexcept {
  Free(block, size);
}
void operator delete[](void* block, std::size_t size) noexcept {
  Free(block, size);
}

namespace vtq::cli {
namespace {

TEST(PassphraseMemoryTest, ALongFirstLineLeavesNoCopyInFreedMemory) {
  test::ScratchDir dir;
  // Longer than the buffers a growing line would pass through on its way.
  test::WriteText(dir / "pw", std::string(3000, kMarker) + "\nnext\n");
  ParsedArgs args = ParseArgs({"--passphrase-file", dir / "pw"}, {"--passphrase-file"}, {});
  std::string error;
  copiesFreed = 0;
  watching = true;
  std::optional<std::string> passphrase = PassphraseFrom(args, error);
  watching = false;
  ASSERT_TRUE(passphrase);
  EXPECT_EQ(*passphrase, std::string(3000, kMarker));
  SecureWipe(passphrase);
  EXPECT_EQ(copiesFreed, 0);
}

}  // namespace
}  // namespace vtq::cli
