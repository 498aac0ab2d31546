// Whatever a command lets escape, vtq ends with one line and status 1.

#include "cli/console_barrier.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/error.h"

namespace vtq::cli {
namespace {

std::string Read(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;)
    text.push_back(static_cast<char>(c));
  return text;
}

VbError AboutFile() {
  VbError error(err::kFileNotFound);
  error.SetFileName("disk/a.001");
  return error;
}

TEST(ConsoleBarrierTest, AnEscapedExceptionIsOneLineAndStatusOne) {
  const struct {
    std::function<void()> raise;
    const char* line;
  } cases[] = {
      {[] { throw VbError(err::kDiskFull); }, "vtq: error 61: Disk full\n"},
      {[] { throw AboutFile(); }, "vtq: disk/a.001: File not found (runtime error 53)\n"},
      {[] { throw std::bad_alloc(); }, "vtq: error 7: Out of memory\n"},
      {[] { throw std::logic_error("vector::_M_range_check"); }, "vtq: error 51: Internal error\n"},
      {[] { throw 42; }, "vtq: error 51: Internal error\n"},
  };
  for (const auto& c : cases) {
    std::FILE* err = std::tmpfile();
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(ConsoleBarrier(
                  [&]() -> int {
                    c.raise();
                    return 0;
                  },
                  err),
              1)
        << c.line;
    EXPECT_EQ(Read(err), c.line);
    std::fclose(err);
  }
}

TEST(ConsoleBarrierTest, AProgramThatReturnsKeepsItsStatusAndPrintsNothing) {
  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  EXPECT_EQ(ConsoleBarrier([] { return 2; }, err), 2);
  EXPECT_EQ(Read(err), "");
  std::fclose(err);
}

}  // namespace
}  // namespace vtq::cli
