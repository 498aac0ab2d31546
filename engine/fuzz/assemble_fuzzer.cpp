// Fuzzes the first-fragment readers and a whole assemble run over a series
// whose fragments come from the input.
//
// Input: byte 0 chooses the answers and the format for unknowns, byte 1 the
// number of fragments (1-6, its remainder by 6) and what is planted in the
// destination before the run (its quotient by 6: bit 0 a link at the output
// name to a file outside, bit 1 a file of the user's at output + ".partial",
// bit 2 a file of the user's at the output name); then per fragment a 16-bit
// little-endian length followed by that many bytes (cut short at the end of
// the input).

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
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

void WriteText(const fs::path& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

std::string ReadText(const fs::path& name) {
  std::ifstream file(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Files that were there before the run and must be there, unchanged, after it.
struct Planted {
  std::vector<std::pair<fs::path, std::string>> files;

  void Add(const fs::path& name, const std::string& text) {
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(name, ignored)))
      return;
    WriteText(name, text);
    // A name the file system refuses (too long, say) plants nothing.
    if (ReadText(name) == text)
      files.emplace_back(name, text);
  }
  bool Intact() const {
    for (const auto& [name, text] : files) {
      if (ReadText(name) != text)
        return false;
    }
    return true;
  }
};

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
  const int plant = data[1] / 6;
  size_t at = 2;
  const fs::path in = WorkFolder() / "in";
  const fs::path out = WorkFolder() / "out";
  const fs::path outside = WorkFolder() / "outside";
  Fresh(in);
  Fresh(out);
  Fresh(outside);
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
  std::string output;
  Tolerate([&] { output = assembler.OutputPathFor(1); });

  // Whatever stands in the destination already is the user's: a run may
  // replace a link or the output name itself, never write through a link or
  // touch a file it did not make.
  Planted planted;
  planted.Add(outside / "target", "outside the destination");
  if (!output.empty()) {
    std::error_code ignored;
    if (plant & 1)
      fs::create_symlink(outside / "target", output, ignored);
    if (plant & 2)
      planted.Add(output + ".partial", "the user's own partial file");
  }
  // A file at the output name is replaced only by a complete result.
  Planted replaceable;
  if (!output.empty() && (plant & 4) && !(plant & 1))
    replaceable.Add(output, "the user's own file");
  Tolerate([&] { assembler.Assemble(); });
  if (!planted.Intact())
    std::abort();
  if (assembler.CompletedSeries() == 0 && !replaceable.Intact())
    std::abort();

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
