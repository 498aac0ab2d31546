#pragma once
// What the console commands' end-to-end tests share: a scratch folder with
// a source file and a folder for its fragments, and a command run with its
// standard output and error captured.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/path.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::cli {

class CommandTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::string out = dir / "out";
  std::string source = dir / "data.bin";
  test::Bytes data = test::PatternBytes(30000, 5);
  std::string err;
  std::string stdoutText;

  void SetUp() override {
    test::MakeFolder(out);
    test::WriteBytes(source, data);
  }
  std::string Frag(const std::string& name) { return WithTrailingSeparator(out) + name; }
  template <typename Command>
  int Run(Command command, const std::vector<std::string>& args) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const int status = command(args);
    stdoutText = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return status;
  }
};

}  // namespace vtq::cli
