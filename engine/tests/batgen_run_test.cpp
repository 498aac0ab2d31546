// Generated batch files run for real by the system's command interpreter:
// raw fragments cut here are joined back byte for byte, also for names
// that hold characters the interpreter acts on.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "engine/program/batgen.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

// After the engine's headers: windows.h defines a Yield() macro.
#include <windows.h>
#undef Yield

namespace vtq {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Cuts `data` into raw fragments named stem + 001, 002, ... of `size` bytes.
int CutRaw(const test::ScratchDir& dir, const std::string& name, const std::vector<uint8_t>& data,
           size_t size) {
  int count = 0;
  for (size_t at = 0; at < data.size(); at += size) {
    const auto end = data.begin() + static_cast<long>(std::min(data.size(), at + size));
    WriteBytes(dir / (StemOf(name) + FragmentNumber(++count)),
               std::vector<uint8_t>(data.begin() + static_cast<long>(at), end));
  }
  return count;
}

// Runs `cmd /c batch` in the folder; returns the exit code and the output.
DWORD RunBatch(const test::ScratchDir& dir, const std::string& batch, std::string& output) {
  const std::string log = dir / "cmd-output.log";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE)
    return 999;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process = {};
  std::string command = "cmd.exe /c " + batch;
  DWORD code = 998;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     dir.Path().c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  const auto bytes = ReadBytes(log);
  output.assign(bytes.begin(), bytes.end());
  DeleteFileA(log.c_str());
  return code;
}

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct Case {
  std::string name;
  size_t size;
  size_t fragment;
  friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class BatchRun : public ::testing::TestWithParam<Case> {};

TEST_P(BatchRun, RejoinsRawFragmentsByteForByte) {
  const Case& c = GetParam();
  test::ScratchDir dir;
  const auto data = test::PatternBytes(c.size, 7);
  const int count = CutRaw(dir, c.name, data, c.fragment);
  // Files that an unescaped "&del x.doc" or "%" would hit.
  WriteBytes(dir / "x.doc", {1, 2, 3});
  WriteBytes(dir / "x", {4});
  test::WriteText(dir / "rejoin.bat", BatGenText({c.name, count, false}, nullptr) + "\r\n");

  std::string output;
  EXPECT_EQ(RunBatch(dir, "rejoin.bat", output), 0u) << output;
  ASSERT_TRUE(Exists(dir / c.name)) << output;
  EXPECT_EQ(ReadBytes(dir / c.name), data);
  EXPECT_TRUE(Exists(dir / "x.doc")) << output;
  EXPECT_TRUE(Exists(dir / "x")) << output;
  for (int i = 1; i <= count; ++i)
    EXPECT_TRUE(Exists(dir / (StemOf(c.name) + FragmentNumber(i))));
  EXPECT_NE(output.find("Assembling fragments into " + c.name), std::string::npos) << output;
  EXPECT_NE(output.find("Done!"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Names, BatchRun,
                         ::testing::Values(Case{"report.doc", 25000, 10000},
                                           Case{"single.txt", 500, 10000},
                                           Case{"a&del x.doc", 30001, 10000},
                                           Case{"r&d 100%.doc", 12345, 4096}));

TEST(BatchRunMissing, LastFragmentMissingJoinsNothing) {
  test::ScratchDir dir;
  const int count = CutRaw(dir, "report.doc", test::PatternBytes(25000, 3), 10000);
  DeleteFileA((dir / "report.003").c_str());
  test::WriteText(dir / "rejoin.bat", BatGenText({"report.doc", count, false}, nullptr) + "\r\n");
  std::string output;
  RunBatch(dir, "rejoin.bat", output);
  EXPECT_FALSE(Exists(dir / "report.doc")) << output;
  EXPECT_NE(output.find("Please copy all the pieces"), std::string::npos) << output;
}

TEST(BatchRunIntro, HostileIntroIsOnlyShown) {
  test::ScratchDir dir;
  WriteBytes(dir / "x.doc", {1});
  class Intro : public SettingsSource {
   public:
    std::optional<std::string> ReadProgramSetting(std::string_view name) override {
      if (name == "BATGenIText")
        return std::string("Tom & Jerry >x.doc | 50% ^off\r\n");
      return std::nullopt;
    }
  } intro;
  const int count = CutRaw(dir, "y.bin", test::PatternBytes(100, 5), 60);
  test::WriteText(dir / "rejoin.bat", BatGenText({"y.bin", count, false}, &intro) + "\r\n");
  std::string output;
  RunBatch(dir, "rejoin.bat", output);
  EXPECT_NE(output.find("Tom & Jerry >x.doc | 50% ^off"), std::string::npos) << output;
  EXPECT_EQ(ReadBytes(dir / "x.doc"), std::vector<uint8_t>{1});
  EXPECT_EQ(ReadBytes(dir / "y.bin"), test::PatternBytes(100, 5));
}

// Names the native build meets (Windows names cannot hold a quote or a line
// break), given to the generator the way the splitter gives them: cmd must
// never run a part of a name.
TEST(BatchRunHostileName, NoPartOfTheNameEverRuns) {
  const std::string names[] = {"NUL\" mkdir INJECTED1 & rem .bin", "a\nmkdir INJECTED2\n.bin",
                               "b\r\nmkdir INJECTED3\r\nrem .cab",
                               "c\" & mkdir INJECTED4 & \".bin"};
  for (const std::string& name : names) {
    test::ScratchDir dir;
    test::TestPlatform doubles;
    const std::string text = CheckedBatGenText({name, 3, true}, doubles.Fake());
    test::WriteText(dir / "rejoin.bat", text + "\r\n");
    std::string output;
    RunBatch(dir, "rejoin.bat", output);
    for (const char* made : {"INJECTED1", "INJECTED2", "INJECTED3", "INJECTED4"})
      EXPECT_FALSE(Exists(dir / made)) << made << " from " << text << output;
    ASSERT_EQ(doubles.boxes.shown.size(), 1u);
    EXPECT_EQ(doubles.boxes.shown[0].title, "BAT Unavailable");
  }
}

}  // namespace
}  // namespace vtq
#endif
