// Fuzzes the first-fragment readers and a whole assemble run over a series
// whose fragments come from the input.
//
// Input: byte 0 chooses the answers and the format for unknowns, byte 1 the
// number of fragments (1-6); then per fragment a 16-bit little-endian length
// followed by that many bytes (cut short at the end of the input).

#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/file_io.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"

namespace fs = std::filesystem;

namespace {

class BoundedEvents : public vtq::AssemblerEvents {
 public:
  void AssembleStart(int16_t) override {}
  void AssembleInterval(int16_t) override {}
  void RequireNextDisk(int16_t, bool& cancel) override {
    // Give up after a few asks, as a person would.
    if (++asked_ > 3)
      cancel = true;
  }

 private:
  int asked_ = 0;
};

const fs::path& WorkFolder() {
  static const fs::path folder =
      fs::temp_directory_path() / ("vtq-fuzz-" + std::to_string(::getpid()));
  return folder;
}

void Fresh(const fs::path& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
}

template <typename Call>
void Tolerate(Call call) {
  try {
    call();
  } catch (const vtq::VbError&) {
    // The engine's reported failures are fine; crashes and over-reads are not.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const uint8_t control = data[0];
  const int count = data[1] % 6 + 1;
  size_t at = 2;
  const fs::path in = WorkFolder() / "in";
  const fs::path out = WorkFolder() / "out";
  Fresh(in);
  Fresh(out);
  for (int i = 1; i <= count && at < size; ++i) {
    size_t length = data[at];
    if (at + 1 < size)
      length |= static_cast<size_t>(data[at + 1]) << 8;
    at += 2;
    length = std::min(length, size > at ? size - at : 0);
    const std::string name = (in / ("f." + vtq::FragmentNumber(i))).string();
    vtq::File file(name, vtq::File::Mode::kReplace);
    file.Write(data + at, length);
    at += length;
  }
  const std::string first = (in / "f.001").string();
  if (!fs::exists(first))
    return 0;

  vtq::test::TestPlatform doubles;
  for (int i = 0; i < 8; ++i)
    doubles.boxes.Answer((control >> i) & 1 ? vtq::mb::kIdYes : vtq::mb::kIdNo);
  if (control & 0x80)
    doubles.fakeDrives.drives[first].type = vtq::DriveType::kRemovable;
  vtq::Platform platform = doubles.Fake();
  vtq::Globals globals(platform);
  BoundedEvents events;
  vtq::ActiveAssembler assembler(globals, events);
  assembler.DestinationFolder(out.string());
  assembler.FormatForUnknowns(control & 0x40 ? vtq::aftBrannock : vtq::aftRaw);
  if (assembler.FilesToAssemble().Add(first) != 0)
    return 0;

  Tolerate([&] { assembler.FormatCouldBe(1, vtq::aftQuorvelle); });
  Tolerate([&] { assembler.FormatCouldBe(1, vtq::aftBrannock); });
  Tolerate([&] { assembler.Header(1); });
  Tolerate([&] { assembler.FragmentCount(1); });
  Tolerate([&] { assembler.AssembledFilename(1); });
  Tolerate([&] { assembler.KeyValid(1); });
  Tolerate([&] { assembler.OutputPathFor(1); });
  Tolerate([&] { assembler.Assemble(); });

  // Whatever the header said, nothing may land outside the destination.
  for (const auto& entry : fs::directory_iterator(in)) {
    const std::string base = entry.path().filename().string();
    if (base.rfind("f.", 0) != 0)
      std::abort();
  }
  if (!fs::is_directory(out))
    std::abort();
  return 0;
}
