#include "engine/tests/support/scratch.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/utf8_path.h"
#include "engine/path.h"

namespace vtq::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  const fs::path base = fs::temp_directory_path() / "vtq-tests";
  fs::create_directories(base);
  for (int attempt = 0;; ++attempt) {
    // Appended piece by piece: the chained operator+ form trips a false
    // -Wrestrict in the MinGW build of GCC 12.
    std::string leaf = "t";
    leaf.append(std::to_string(counter++)).append("-").append(std::to_string(std::rand()));
    leaf.append("-").append(std::to_string(attempt));
    const fs::path candidate = base / leaf;
    if (fs::create_directory(candidate)) {
      path_ = base::Utf8FromPath(candidate);
      break;
    }
  }
  path_ = WithTrailingSeparator(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(base::PathFromUtf8(path_), ignored);
}

void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(base::PathFromUtf8(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + name);
}

void WriteText(const std::string& name, const std::string& text) {
  WriteBytes(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadBytes(const std::string& name) {
  std::ifstream in(base::PathFromUtf8(name), std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + name);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return bytes;
}

void MakeFolder(const std::string& name) {
  fs::create_directories(base::PathFromUtf8(name));
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(base::PathFromUtf8(folder)))
    names.push_back(base::Utf8FromPath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> WorkingFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& name : NamesIn(folder)) {
    if (name.starts_with(".vtq") && name.ends_with(".tmp"))
      names.push_back(name);
  }
  return names;
}

}  // namespace vtq::test
