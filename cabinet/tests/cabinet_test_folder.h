#pragma once
// A scratch folder for the cabinet tests under Wine, removed with all it
// holds, and small file helpers over the wide file APIs, names in UTF-8.

#include <cstdint>
#include <string>
#include <vector>

#include "cabinet/compressor.h"
#include "cabinet/extractor.h"
#include "engine/error.h"

namespace vtq::cabinet::testing {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const noexcept { return path_; }
  std::wstring WidePath() const;
  // Writes `bytes` to Path() + "\" + relative, creating folders on the way.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Relative names below `root`, sorted; folders end with "\".
std::vector<std::string> ListTree(const std::string& root);
// Bytes that MSZIP compresses a little, so that data blocks are not trivial.
std::string Pattern(size_t size, uint32_t seed);

struct Recorder : CompressorEvents, ExtractorEvents {
  std::vector<int16_t> percents;
  std::vector<std::wstring> names;
  void Progress(int16_t percent) override { percents.push_back(percent); }
  void Progress(const std::wstring& name, int16_t percent) override {
    names.push_back(name);
    percents.push_back(percent);
  }
};

// Runs `call`, expecting the component's failure; gives its description.
template <class Call>
std::string FailureOf(Call&& call) {
  try {
    call();
  } catch (const VbError& error) {
    if (error.Number() != static_cast<int32_t>(0x800403E8))
      return "unexpected error " + std::to_string(error.Number()) + ": " + error.Description();
    return error.Description();
  }
  return "no failure";
}

}  // namespace vtq::cabinet::testing
